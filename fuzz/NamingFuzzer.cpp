// Output naming under random input: the composition name as random UTF-16LE
// bytes (any count, odd ones included, embedded NULs, unpaired surrogates),
// either platform's separator and reserved characters, a desktop folder of
// random length and text, each outcome of the desktop lookup, any time.
// Aborts unless the path is built whole or not at all: at most 1023 bytes,
// valid UTF-8 without NUL, the desktop folder, the separator, the file-safe
// name, one space, the timestamp and ".png", cut only between characters.
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

namespace {

using glimster::fuzz::EncodeUtf8;
using glimster::fuzz::IsHighSurrogate;
using glimster::fuzz::IsLowSurrogate;
using glimster::fuzz::IsNulFreeWellFormedUtf16;
using glimster::fuzz::IsValidUtf8;

constexpr std::size_t kLongestFolderUnits = 600;  // up to 1800 UTF-8 bytes: past the path limit
constexpr std::size_t kLongestWindowsName = 255;  // UTF-8 bytes the Windows conversion takes

// What the fake platform is to answer for one input, and what it was asked.
struct FakePlatformRun {
  bool gives_up_on_long_names = false;
  DesktopLookup desktop{DesktopLookup::kFound, {}};
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
  std::string utf8 = EncodeUtf8(name);
  if (g_run.gives_up_on_long_names && utf8.size() > kLongestWindowsName) {
    g_run.name_answer.reset();
  } else {
    g_run.name_answer = std::move(utf8);
  }
  return g_run.name_answer;
}

DesktopLookup FakeDesktopFolder() { return g_run.desktop; }

void FakeShowMessage(const char* text, const char* caption) {
  ++g_run.messages;
  FUZZ_CHECK(std::strcmp(text, "Can't Access Desktop") == 0);
  FUZZ_CHECK(std::strcmp(caption, "Error") == 0);
}

const NamingPlatform kFakeMacOS = {FakeNameToUtf8, FakeDesktopFolder, nullptr, '/', false};
const NamingPlatform kFakeWindows = {FakeNameToUtf8, FakeDesktopFolder, FakeShowMessage, '\\', true};

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

bool IsUtf8Continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Checks that `cut` is `whole` kept whole when it fits in `max_bytes`, and
// otherwise cut between two characters, with no more than one character's
// worth of room left unused.
void CheckCut(const std::string& cut, const std::string& whole, std::size_t max_bytes) {
  if (whole.size() <= max_bytes) {
    FUZZ_CHECK(cut == whole);
    return;
  }
  FUZZ_CHECK(cut.size() <= max_bytes);
  FUZZ_CHECK(cut.size() + 3 >= max_bytes);
  FUZZ_CHECK(whole.compare(0, cut.size(), cut) == 0);
  FUZZ_CHECK(!IsUtf8Continuation(whole[cut.size()]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const bool windows = input.ConsumeBool();
  const NamingPlatform& platform = windows ? kFakeWindows : kFakeMacOS;
  g_run = FakePlatformRun{};
  g_run.gives_up_on_long_names = windows && input.ConsumeBool();
  g_run.desktop.status = input.PickValueInArray(
      {DesktopLookup::kFound, DesktopLookup::kUnavailable, DesktopLookup::kUnconvertible});
  if (g_run.desktop.status == DesktopLookup::kFound) g_run.desktop.utf8_path = RandomFolder(input);
  const auto now = static_cast<std::time_t>(input.ConsumeIntegral<std::int64_t>());
  const bool no_name = input.ConsumeIntegralInRange<int>(0, 15) == 0;
  const auto bytes_left_out = input.ConsumeIntegral<std::uint16_t>();
  const auto cut_at = input.ConsumeIntegral<std::uint16_t>();

  // The name handle: the rest of the input in a block of exactly its size,
  // so that a read past it is caught.
  const std::vector<std::uint8_t> rest = input.ConsumeRemainingBytes<std::uint8_t>();
  const std::unique_ptr<std::uint8_t[]> handle(new std::uint8_t[rest.size()]);
  if (!rest.empty()) std::memcpy(handle.get(), rest.data(), rest.size());
  const auto name_size = static_cast<AEGP_MemSize>(rest.size() - std::min<std::size_t>(bytes_left_out, rest.size()));
  const void* name = no_name ? nullptr : handle.get();

  const std::u16string units = no_name ? std::u16string() : ExpectedNameUnits(handle.get(), name_size);
  FUZZ_CHECK(NameUnits(name, name_size) == units);

  const std::optional<std::string> path = BuildOutputPath(name, name_size, now, platform);

  // Built whole or not at all: given up exactly when a platform step gave up,
  // with the message only for a missing desktop, where the platform has one.
  FUZZ_CHECK(g_run.name_conversions == 1);
  FUZZ_CHECK(g_run.name_seen == units);
  const DesktopLookup::Status desktop = g_run.desktop.status;
  FUZZ_CHECK(path.has_value() == (g_run.name_answer.has_value() && desktop == DesktopLookup::kFound));
  const bool message_due =
      g_run.name_answer && desktop == DesktopLookup::kUnavailable && platform.show_message != nullptr;
  FUZZ_CHECK(g_run.messages == (message_due ? 1 : 0));
  if (!path) return 0;

  FUZZ_CHECK(path->size() <= kMaxOutputPathBytes);
  FUZZ_CHECK(path->find('\0') == std::string::npos);
  FUZZ_CHECK(IsValidUtf8(*path));

  std::string folder = g_run.desktop.utf8_path;
  if (folder.empty() || folder.back() != platform.path_separator) folder += platform.path_separator;
  const std::string safe_name = ExpectedFileSafeName(*g_run.name_answer, windows);
  FUZZ_CHECK(FileSafeName(*g_run.name_answer, windows) == safe_name);

  // Nothing after the folder can lead out of it or is reserved by the file system.
  for (std::size_t i = folder.size(); i < path->size(); ++i) FUZZ_CHECK(!IsReserved((*path)[i], windows));

  const std::string head = folder + safe_name + ' ';
  if (const std::optional<std::string> stamp = ExpectedTimestamp(now)) {
    const std::string whole = head + *stamp + ".png";
    CheckCut(*path, whole, kMaxOutputPathBytes);
    CheckCut(CutPath(whole, cut_at), whole, cut_at);
  } else {
    // A time the C library cannot express: the stamp is not known here, only
    // that it is short printable ASCII between the name and ".png".
    if (path->size() <= head.size()) {
      CheckCut(*path, head, kMaxOutputPathBytes);
    } else {
      FUZZ_CHECK(path->compare(0, head.size(), head) == 0);
      const std::string tail = path->substr(head.size());
      for (char c : tail) FUZZ_CHECK(c >= 0x20 && c < 0x7F);
      if (path->size() + 3 < kMaxOutputPathBytes) {
        FUZZ_CHECK(tail.size() > 4 && tail.size() <= 31 + 4);
        FUZZ_CHECK(tail.compare(tail.size() - 4, 4, ".png") == 0);
      }
    }
  }
  return 0;
}
