// glimster_benchmarks: the capture's speed and peak heap use on frames of
// three sizes and two kinds of content, printed as Markdown tables.
//
//   glimster_benchmarks [--runs N] [--sizes 1080,2160,4320] [--pages reused|fresh]
//                       [--folder DIR] [--plugin FILE]
//   glimster_benchmarks --export-frames DIR [--sizes 1080,2160,4320]
//
// Files are written to a Desktop folder inside a new temporary folder under
// DIR (default $TMPDIR, else /tmp), which is removed at the end. With
// "--pages fresh" every block of 128 KiB or more comes new from the
// operating system and goes back when freed, so that each capture pays for
// first touching its memory; by default the C library keeps and reuses
// freed blocks of up to 32 MiB as it normally does. With --export-frames it
// measures nothing and writes the frames as PNG files into DIR instead
// (bench/FrameExport.h).
#include <malloc.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchFrames.h"
#include "bench/FrameExport.h"
#include "bench/FrameMeasurement.h"
#include "bench/PluginCapture.h"
#include "bench/RepackThroughput.h"
#include "bench/Report.h"
#include "substitute_host/PluginBinary.h"
#include "substitute_host/platform/DesktopRedirect.h"

namespace {

namespace fs = std::filesystem;
using namespace glimster::bench;

struct Options {
  int runs = 3;
  std::vector<std::int32_t> heights = {1080, 2160, 4320};
  fs::path folder;
  fs::path plugin = GLIMSTER_PLUGIN_FILE;
  fs::path export_folder;  // when set: write the frames there, measure nothing
  bool fresh_pages = false;
};

int Usage() {
  std::fprintf(
      stderr,
      "usage: glimster_benchmarks [--runs N] [--sizes 1080,2160,4320] [--pages reused|fresh] "
      "[--folder DIR] [--plugin FILE]\n"
      "       glimster_benchmarks --export-frames DIR [--sizes 1080,2160,4320]\n");
  return 2;
}

bool Parse(int argc, char** argv, Options& options) {
  const char* tmpdir = std::getenv("TMPDIR");
  options.folder = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    const std::string value = argv[i + 1];
    if (flag == "--runs") {
      options.runs = std::atoi(value.c_str());
    } else if (flag == "--sizes") {
      options.heights.clear();
      std::istringstream list(value);
      for (std::string height; std::getline(list, height, ',');)
        options.heights.push_back(std::atoi(height.c_str()));
    } else if (flag == "--pages" && (value == "fresh" || value == "reused")) {
      options.fresh_pages = value == "fresh";
    } else if (flag == "--folder") {
      options.folder = value;
    } else if (flag == "--plugin") {
      options.plugin = value;
    } else if (flag == "--export-frames") {
      options.export_folder = value;
    } else {
      return false;
    }
  }
  if (argc % 2 == 0 || options.runs < 1) return false;
  for (const std::int32_t height : options.heights) {
    if (height != 1080 && height != 2160 && height != 4320) return false;
  }
  return true;
}

// A temporary home folder with a Desktop inside, made the process's HOME
// (for the capture library's own steps) and the plug-in's home folder
// (substitute_host/platform/HomeFolder.h: CFFIXED_USER_HOME for the Mac
// code) so that every capture lands there; removed with everything in it.
class TemporaryHome {
 public:
  TemporaryHome(const fs::path& parent, const glimster::substitute_host::PluginBinary& plugin) {
    std::string pattern = (parent / "glimster-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
      throw std::runtime_error("cannot make a folder in " + parent.string());
    home_ = pattern;
    fs::create_directory(desktop());
    setenv("HOME", home_.c_str(), 1);
    redirect_.emplace(plugin, desktop());
  }
  ~TemporaryHome() {
    redirect_.reset();
    std::error_code ignored;
    fs::remove_all(home_, ignored);
  }
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;

  fs::path desktop() const { return home_ / "Desktop"; }

 private:
  fs::path home_;
  std::optional<glimster::substitute_host::platform::DesktopRedirect> redirect_;
};

int Run(const Options& options) {
  // A fixed threshold also stops glibc from raising it as blocks are freed.
  if (options.fresh_pages && mallopt(M_MMAP_THRESHOLD, 128 * 1024) != 1) {
    throw std::runtime_error("cannot fix the allocator's mmap threshold");
  }
  TemporaryHome home(options.folder, glimster::substitute_host::PluginBinary(options.plugin));
  PluginCapture plugin(options.plugin);
  {
    // One capture first, so that what a process does once is not in the timings.
    HostFrame warm_up = MakeFrame(Content::kFlat, 64, 36);
    MeasureFrame(plugin, warm_up, Content::kFlat, 1, home.desktop());
  }

  std::vector<FrameMeasurement> frames;
  std::vector<RepackRow> repacks;
  for (const std::int32_t height : options.heights) {
    for (const Content content : {Content::kFlat, Content::kNoise}) {
      HostFrame frame = MakeFrame(content, height * 16 / 9, height);
      std::fprintf(stderr, "measuring %s %s\n", frame.SizeLabel().c_str(), ContentName(content));
      frames.push_back(MeasureFrame(plugin, frame, content, options.runs, home.desktop()));
      if (content == Content::kNoise) repacks.push_back({frame.SizeLabel(), MeasureRepack(frame)});
    }
  }

  std::printf("Build: %s (%s), compiler %s; %d runs per frame, medians; pages %s; files in %s\n\n",
              GLIMSTER_BUILD_TYPE, GLIMSTER_BUILD_FLAGS, __VERSION__, options.runs,
              options.fresh_pages ? "fresh" : "reused", options.folder.c_str());
  std::printf("### Capture through the plug-in (ms)\n\n");
  PrintCommandTable(frames);
  std::printf("\n### The capture's steps with the capture library (ms)\n\n");
  PrintStepTable(frames);
  std::printf("\n### Encoders on the same RGBA pixels\n\n");
  PrintEncoderTable(frames);
  std::printf("\n### Repack throughput\n\n");
  PrintRepackTable(repacks);
  std::printf("\n### Peak heap above what was held before\n\n");
  PrintMemoryTable(frames);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, options)) return Usage();
  try {
    if (!options.export_folder.empty()) {
      ExportFrames(options.heights, options.export_folder);
      return 0;
    }
    return Run(options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "glimster_benchmarks: %s\n", error.what());
    return 1;
  }
}
