// Output naming under random input: the composition name as random UTF-16LE
// bytes (any count, odd ones included, embedded NULs, unpaired surrogates),
// either platform's separator and reserved characters, a desktop folder of
// random length and text, each outcome of the desktop lookup, any time.
// Aborts unless the path is built whole or not at all: the desktop folder,
// the separator, the composition part (file-safe, no leading '.', Windows
// device names followed by '_'), shortened only between characters and only
// as far as the limits need, one space, the timestamp and ".png", always
// kept; at most 1023 bytes of valid UTF-8 without NUL, a file name of at most
// 255 of the platform's units; no path only when a step failed, with the
// reason given and the message shown only for a missing Windows desktop.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/OutputNaming.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/Unicode.h"

namespace glimster {

namespace {

using glimster::fuzz::EncodeUtf8;
using glimster::fuzz::IsHighSurrogate;
using glimster::fuzz::IsLowSurrogate;
using glimster::fuzz::IsNulFreeWellFormedUtf16;
using glimster::fuzz::IsValidUtf8;

constexpr std::size_t kLongestFolderUnits = 600;  // up to 1800 UTF-8 bytes: past the path limit
constexpr std::size_t kPathLimit = 1023;          // bytes of the whole path
constexpr std::size_t kFileNameLimit = 255;       // the platform's units of the file name

// What the fake platform is to answer for one input, and what it was asked.
struct FakePlatformRun {
  bool name_gives_up = false;
  DesktopLookup desktop{DesktopLookup::Status::kFound, {}};
  int name_conversions = 0;
  std::u16string name_seen;
  std::optional<std::string> name_answer;
  int messages = 0;
};
FakePlatformRun g_run;

std::optional<std::string> FakeNameToUtf8(const std::u16string& name) {
  ++g_run.name_conversions;
  g_run.name_seen = name;
  FUZZ_CHECK(IsNulFreeWellFormedUtf16(name));  // what the platform operation is promised
  if (g_run.name_gives_up) {
    g_run.name_answer.reset();
  } else {
    g_run.name_answer = EncodeUtf8(name);
  }
  return g_run.name_answer;
}

DesktopLookup FakeDesktopFolder() { return g_run.desktop; }

void FakeShowMessage(const char* text, const char* caption) {
  ++g_run.messages;
  FUZZ_CHECK(std::strcmp(text, "Can't Access Desktop") == 0);
  FUZZ_CHECK(std::strcmp(caption, "Error") == 0);
}

const NamingPlatform kFakeMacOS = {FakeNameToUtf8,        FakeDesktopFolder,      nullptr, '/',
                                   ReservedNames::kSlash, FileNameUnit::kUtf8Byte};
const NamingPlatform kFakeWindows = {FakeNameToUtf8,          FakeDesktopFolder,
                                     FakeShowMessage,         '\\',
                                     ReservedNames::kWindows, FileNameUnit::kUtf16Unit};

// `units` with every surrogate that is not half of a high-low pair replaced by U+FFFD.
std::u16string WithUnpairedSurrogatesReplaced(std::u16string units) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      ++i;
    } else if (IsHighSurrogate(units[i]) || IsLowSurrogate(units[i])) {
      units[i] = 0xFFFD;
    }
  }
  return units;
}

// The name a handle of `size` bytes holds: little-endian units up to the
// first NUL, an odd last byte left out, unpaired surrogates replaced.
std::u16string ExpectedNameUnits(const std::uint8_t* bytes, std::size_t size) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == 0) break;
    units += unit;
  }
  return WithUnpairedSurrogatesReplaced(std::move(units));
}

// A desktop folder as a platform could report it: random text, valid UTF-8, no NUL.
std::string RandomFolder(FuzzedDataProvider& input) {
  std::u16string units(input.ConsumeIntegralInRange<std::size_t>(0, kLongestFolderUnits), u'\0');
  for (char16_t& unit : units) {
    unit = input.ConsumeIntegral<std::uint16_t>();
    if (unit == 0) unit = u'/';
  }
  return EncodeUtf8(WithUnpairedSurrogatesReplaced(std::move(units)));
}

bool IsReserved(char c, bool windows) {
  const auto byte = static_cast<unsigned char>(c);
  return c == '/' || (windows && (byte < 0x20 || std::strchr("\\<>:\"|?*", c) != nullptr));
}

std::string ExpectedFileSafeName(std::string name, bool windows) {
  for (char& c : name) {
    if (IsReserved(c, windows)) c = '_';
  }
  return name;
}

// The local time of `now` as the file name shows it, or nullopt when the C
// library cannot express that time.
std::optional<std::string> ExpectedTimestamp(std::time_t now) {
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return std::nullopt;
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %I.%M.%S %p", &local);
  FUZZ_CHECK(length > 0);
  return std::string(text, length);
}

// The UTF-8 characters of `text`, each as its bytes.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> characters;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

// The length of `text` in the file system's units: bytes, or UTF-16 units.
std::size_t FileNameUnits(const std::string& text, bool windows) {
  if (!windows) return text.size();
  std::size_t units = 0;
  for (const std::string& character : Characters(text)) units += character.size() == 4 ? 2 : 1;
  return units;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The composition part the rules give for the whole name.
std::string ExpectedCompositionPart(const std::string& name, bool windows) {
  std::string part = ExpectedFileSafeName(name, windows);
  if (!part.empty() && part[0] == '.') part[0] = '_';
  const std::size_t dot = part.find('.');
  if (!windows || dot == std::string::npos) return part;
  std::string stem = part.substr(0, dot);
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  static const std::vector<std::string> kDevices = [] {
    std::vector<std::string> devices = {"CON", "PRN", "AUX", "NUL"};
    for (const char* port : {"COM", "LPT"}) {
      for (const char* digit :
           {"1", "2", "3", "4", "5", "6", "7", "8", "9", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"}) {
        devices.push_back(std::string(port) + digit);
      }
    }
    return devices;
  }();
  for (const std::string& device : kDevices) {
    if (Upper(stem) == device) return part.substr(0, dot) + "_" + part.substr(dot);
  }
  return part;
}

// Checks that `kept` is the longest run of whole characters from the start
// of `part` for which `fits` holds.
template <class Fits>
void CheckShortened(const std::string& kept, const std::string& part, Fits&& fits) {
  FUZZ_CHECK(part.compare(0, kept.size(), kept) == 0);
  FUZZ_CHECK(fits(kept));
  std::string longer;
  for (const std::string& character : Characters(part)) {
    if (longer.size() >= kept.size()) {
      FUZZ_CHECK(longer.size() == kept.size());  // cut between two characters
      if (longer.size() < part.size()) FUZZ_CHECK(!fits(longer + character));
      return;
    }
    longer += character;
  }
  FUZZ_CHECK(longer == kept);
}

}  // namespace

int FuzzOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const bool windows = input.ConsumeBool();
  const NamingPlatform& platform = windows ? kFakeWindows : kFakeMacOS;
  g_run = FakePlatformRun{};
  g_run.name_gives_up = input.ConsumeIntegralInRange<int>(0, 15) == 0;
  g_run.desktop.status =
      input.PickValueInArray({DesktopLookup::Status::kFound, DesktopLookup::Status::kUnavailable,
                              DesktopLookup::Status::kUnconvertible});
  if (g_run.desktop.status == DesktopLookup::Status::kFound)
    g_run.desktop.utf8_path = RandomFolder(input);
  const auto now = static_cast<std::time_t>(input.ConsumeIntegral<std::int64_t>());
  const bool no_name = input.ConsumeIntegralInRange<int>(0, 15) == 0;
  const auto bytes_left_out = input.ConsumeIntegral<std::uint16_t>();

  // The name handle: the rest of the input in a block of exactly its size,
  // so that a read past it is caught.
  const std::vector<std::uint8_t> rest = input.ConsumeRemainingBytes<std::uint8_t>();
  const std::unique_ptr<std::uint8_t[]> handle(new std::uint8_t[rest.size()]);
  if (!rest.empty()) std::memcpy(handle.get(), rest.data(), rest.size());
  const auto name_size =
      static_cast<std::uint32_t>(rest.size() - std::min<std::size_t>(bytes_left_out, rest.size()));
  const void* name = no_name ? nullptr : handle.get();

  const std::u16string units =
      no_name ? std::u16string() : ExpectedNameUnits(handle.get(), name_size);
  FUZZ_CHECK(NameUnits(name, name_size) == units);

  const OutputPath output = BuildOutputPath(name, name_size, now, platform);

  // Built whole or not at all, with the reason of the step that failed; the
  // message only for a missing desktop, where the platform has one.
  FUZZ_CHECK(g_run.name_conversions == 1);
  FUZZ_CHECK(g_run.name_seen == units);
  const DesktopLookup::Status desktop = g_run.desktop.status;
  const bool message_due = g_run.name_answer && desktop == DesktopLookup::Status::kUnavailable &&
                           platform.show_message != nullptr;
  FUZZ_CHECK(g_run.messages == (message_due ? 1 : 0));
  FUZZ_CHECK(output.message_shown == message_due);
  FUZZ_CHECK((output.failure == NamingFailure::kNone) != output.path.empty());
  if (!g_run.name_answer) {
    FUZZ_CHECK(output.failure == NamingFailure::kNameUnconvertible);
    return 0;
  }
  if (desktop != DesktopLookup::Status::kFound) {
    FUZZ_CHECK(output.failure == (desktop == DesktopLookup::Status::kUnavailable
                                      ? NamingFailure::kDesktopUnavailable
                                      : NamingFailure::kDesktopUnconvertible));
    return 0;
  }

  std::string folder = g_run.desktop.utf8_path;
  if (folder.empty() || folder.back() != platform.path_separator) folder += platform.path_separator;
  FUZZ_CHECK(FileSafeName(*g_run.name_answer, platform.reserved) ==
             ExpectedFileSafeName(*g_run.name_answer, windows));
  const std::string part = ExpectedCompositionPart(*g_run.name_answer, windows);
  FUZZ_CHECK(CompositionPart(*g_run.name_answer, platform.reserved) == part);

  const std::optional<std::string> stamp = ExpectedTimestamp(now);
  if (!stamp) {
    // A time the C library cannot express: the stamp is not known here, only
    // that the limits hold around it.
    if (output.failure != NamingFailure::kNone) {
      FUZZ_CHECK(output.failure == NamingFailure::kNoRoomForFileName);
      return 0;
    }
    const std::string& path = output.path;
    FUZZ_CHECK(path.size() <= kPathLimit && IsValidUtf8(path));
    FUZZ_CHECK(path.compare(0, folder.size(), folder) == 0);
    FUZZ_CHECK(FileNameUnits(path.substr(folder.size()), windows) <= kFileNameLimit);
    FUZZ_CHECK(path.size() > folder.size() + 4 && path.compare(path.size() - 4, 4, ".png") == 0);
    return 0;
  }

  const std::string suffix = " " + *stamp + ".png";
  const auto fits = [&](const std::string& kept) {
    return folder.size() + kept.size() + suffix.size() <= kPathLimit &&
           FileNameUnits(kept + suffix, windows) <= kFileNameLimit;
  };
  if (!fits("")) {
    FUZZ_CHECK(output.failure == NamingFailure::kNoRoomForFileName);
    return 0;
  }
  FUZZ_CHECK(output.failure == NamingFailure::kNone);
  const std::string& path = output.path;
  FUZZ_CHECK(path.find('\0') == std::string::npos);
  FUZZ_CHECK(IsValidUtf8(path));
  FUZZ_CHECK(path.size() >= folder.size() + suffix.size());
  FUZZ_CHECK(path.compare(0, folder.size(), folder) == 0);
  FUZZ_CHECK(path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0);
  // Nothing after the folder can lead out of it or is reserved by the file system.
  for (std::size_t i = folder.size(); i < path.size(); ++i)
    FUZZ_CHECK(!IsReserved(path[i], windows));
  CheckShortened(path.substr(folder.size(), path.size() - folder.size() - suffix.size()), part,
                 fits);
  return 0;
}

}  // namespace glimster

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return glimster::FuzzOneInput(data, size);
}
