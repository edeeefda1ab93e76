#include "capture/OutputNaming.h"

#include <cstring>

namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::tm LocalTime(std::time_t now) {
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}

bool IsUtf8Continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

std::string FormatTimestamp(const std::tm& local_time) {
  char stamp[32] = {};
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %I.%M.%S %p", &local_time);
  return stamp;
}

std::u16string NameUnits(const void* name_bytes, AEGP_MemSize name_size) {
  std::u16string units;
  if (name_bytes == nullptr) return units;
  const auto* bytes = static_cast<const unsigned char*>(name_bytes);
  const std::size_t count = name_size / 2;
  units.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    // Little-endian, assembled byte by byte: the handle need not be aligned.
    const auto unit = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      ++i;  // a whole pair
    } else if (IsHighSurrogate(units[i]) || IsLowSurrogate(units[i])) {
      units[i] = kReplacementCharacter;
    }
  }
  return units;
}

std::string FileSafeName(std::string name, bool reserves_windows_characters) {
  for (char& c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool reserved =
        c == '/' || (reserves_windows_characters &&
                     (byte < 0x20 || std::strchr("\\<>:\"|?*", c) != nullptr));
    if (reserved) c = '_';
  }
  return name;
}

std::string CutPath(std::string path, std::size_t max_bytes) {
  if (path.size() <= max_bytes) return path;
  std::size_t end = max_bytes;
  while (end > 0 && IsUtf8Continuation(path[end])) --end;
  path.resize(end);
  return path;
}

std::optional<std::string> BuildOutputPath(const void* name_bytes, AEGP_MemSize name_size,
                                           std::time_t now, const NamingPlatform& platform) {
  const std::string timestamp = FormatTimestamp(LocalTime(now));

  const std::optional<std::string> name = platform.name_to_utf8(NameUnits(name_bytes, name_size));
  if (!name) return std::nullopt;

  const DesktopLookup desktop = platform.desktop_folder();
  if (desktop.status == DesktopLookup::kUnavailable && platform.show_message != nullptr) {
    platform.show_message("Can't Access Desktop", "Error");
  }
  if (desktop.status != DesktopLookup::kFound) return std::nullopt;

  std::string path = desktop.utf8_path;
  if (path.empty() || path.back() != platform.path_separator) path += platform.path_separator;
  path += FileSafeName(*name, platform.reserves_windows_characters);
  path += ' ';
  path += timestamp;
  path += ".png";
  return CutPath(std::move(path), kMaxOutputPathBytes);
}
