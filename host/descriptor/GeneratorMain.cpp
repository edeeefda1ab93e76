// glimster_pipl_gen: writes Glimster's descriptor for one platform, run by the
// build on the build machine.
//
//   glimster_pipl_gen windows OUTPUT           the bytes of the Windows "PIPL" resource
//   glimster_pipl_gen macos OUTPUT [--arm64]   a resource file holding the 'PiPL' resource;
//                                              --arm64 when the bundle also holds arm64 code
#include "DescriptorFacts.h"
#include "GlimsterDescriptor.h"
#include "ResourceFile.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace {

using namespace glimster::descriptor;

struct Platform {
  std::string_view name;
  bool accepts_arm64;
  Bytes (*build)(bool with_arm64_code);
};

constexpr Platform kPlatforms[] = {
    {"windows", false, [](bool) { return WindowsDescriptor(); }},
    {"macos", true,
     [](bool with_arm64_code) {
       return BuildResourceFile(
           {FourCharCode{kMacResourceType}, kResourceId, MacDescriptor(with_arm64_code)});
     }},
};

constexpr std::string_view kArm64Flag = "--arm64";

struct Request {
  const Platform* platform;
  std::filesystem::path output;
  bool with_arm64_code;
};

const Platform* FindPlatform(std::string_view name) {
  for (const Platform& platform : kPlatforms) {
    if (platform.name == name) {
      return &platform;
    }
  }
  return nullptr;
}

std::optional<Request> ParseArguments(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    return std::nullopt;
  }
  const Platform* platform = FindPlatform(argv[1]);
  if (platform == nullptr) {
    return std::nullopt;
  }
  const bool with_arm64_code = argc == 4;
  if (with_arm64_code && (!platform->accepts_arm64 || argv[3] != kArm64Flag)) {
    return std::nullopt;
  }
  return Request{platform, argv[2], with_arm64_code};
}

// Writes beside the output first so that a failed run never leaves a partial
// file that the build would take for up to date.
void WriteFile(const std::filesystem::path& output, const Bytes& bytes) {
  std::filesystem::path partial = output;
  partial += ".partial";
  try {
    std::ofstream stream(partial, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
    stream.close();
    if (!stream) {
      throw std::runtime_error("cannot write " + partial.string());
    }
    std::filesystem::rename(partial, output);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    throw;
  }
}

void PrintUsage() {
  std::cerr << "usage: glimster_pipl_gen windows OUTPUT\n"
               "       glimster_pipl_gen macos OUTPUT [--arm64]\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Request> request = ParseArguments(argc, argv);
  if (!request) {
    PrintUsage();
    return 2;
  }
  try {
    WriteFile(request->output, request->platform->build(request->with_arm64_code));
  } catch (const std::exception& error) {
    std::cerr << "glimster_pipl_gen: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
