#include "capture/OutputNaming.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace glimster {

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

// Bytes of the UTF-8 sequence that starts with `lead`.
std::size_t SequenceBytes(char lead) {
  const auto byte = static_cast<unsigned char>(lead);
  return byte < 0xC0 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
}

// What the character of `bytes` UTF-8 bytes counts in `unit`.
std::size_t UnitsOfCharacter(std::size_t bytes, FileNameUnit unit) {
  if (unit == FileNameUnit::kUtf8Byte) return bytes;
  return bytes == 4 ? 2 : 1;  // a surrogate pair, or one unit
}

std::size_t UnitsOf(const std::string& utf8, FileNameUnit unit) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < utf8.size(); i += SequenceBytes(utf8[i])) {
    units += UnitsOfCharacter(SequenceBytes(utf8[i]), unit);
  }
  return units;
}

// The longest run of whole characters from the start of `text` within both
// budgets.
std::string LeadingCharacters(const std::string& text, std::size_t max_bytes, std::size_t max_units,
                              FileNameUnit unit) {
  std::size_t end = 0;
  std::size_t units = 0;
  while (end < text.size()) {
    const std::size_t bytes = SequenceBytes(text[end]);
    const std::size_t character_units = UnitsOfCharacter(bytes, unit);
    if (end + bytes > max_bytes || units + character_units > max_units) break;
    end += bytes;
    units += character_units;
  }
  return text.substr(0, end);
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether `text` begins with `word` (upper case), its ASCII letters taken
// in either case.
bool EqualsIgnoringAsciiCase(const std::string& text, const char* word) {
  const std::size_t length = std::strlen(word);
  if (text.size() < length) return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (AsciiUpper(text[i]) != word[i]) return false;
  }
  return true;
}

// Whether `stem` (a file name's part before its first '.', trailing spaces
// removed) is one of the names Windows keeps for its devices.
bool IsWindowsDeviceName(const std::string& stem) {
  for (const char* word : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
    if (stem.size() == std::strlen(word) && EqualsIgnoringAsciiCase(stem, word)) return true;
  }
  for (const char* word : {"COM", "LPT"}) {
    if (stem.size() < 4 || !EqualsIgnoringAsciiCase(stem, word)) continue;
    const std::string number = stem.substr(3);
    if (number.size() == 1 && number[0] >= '1' && number[0] <= '9') return true;
    // Superscript one, two and three.
    if (number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3") return true;
  }
  return false;
}

// The answer when no path could be built.
OutputPath NoPath(NamingFailure failure) {
  OutputPath output;
  output.failure = failure;
  return output;
}

// Whether `text` is well-formed UTF-8: no stray continuation byte, no
// overlong form, no surrogate, nothing past U+10FFFF.
bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t bytes = lead < 0x80                  ? 1
                              : lead < 0xC2 || lead > 0xF4 ? 0
                                                           : SequenceBytes(text[i]);
    if (bytes == 0 || text.size() - i < bytes) return false;
    // The second byte's range, which rules out overlong forms, surrogates and
    // code points past U+10FFFF.
    const auto second = static_cast<unsigned char>(bytes > 1 ? text[i + 1] : 0x80);
    const unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high) return false;
    for (std::size_t k = 2; k < bytes; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += bytes;
  }
  return true;
}

// Whether the AM/PM word `word` can stand in a file name on every platform:
// well-formed UTF-8 (not a code page's bytes), no control character, and
// none that a path or Windows reserves.
bool IsFileNameWord(const std::string& word) {
  for (const char c : word) {
    if (static_cast<unsigned char>(c) < 0x20 || std::strchr("/\\<>:\"|?*", c) != nullptr) {
      return false;
    }
  }
  return IsUtf8(word);
}

// The locale's two AM/PM words.
struct DayHalfWords {
  std::string am, pm;
};

// The locale's AM/PM words, or nullopt when they could not tell morning from
// afternoon in a file name: either one empty, the two the same, or either
// one not fit for a file name.
std::optional<DayHalfWords> DayHalfWordsOf(const std::tm& local_time) {
  std::tm morning = local_time;
  morning.tm_hour = local_time.tm_hour % 12;
  std::tm afternoon = morning;
  afternoon.tm_hour += 12;
  char am[32] = {};
  char pm[32] = {};
  if (std::strftime(am, sizeof am, "%p", &morning) == 0 ||
      std::strftime(pm, sizeof pm, "%p", &afternoon) == 0 || std::strcmp(am, pm) == 0 ||
      !IsFileNameWord(am) || !IsFileNameWord(pm)) {
    return std::nullopt;
  }
  return DayHalfWords{am, pm};
}

}  // namespace

std::string FormatTimestamp(const std::tm& local_time) {
  char stamp[32] = {};
  const std::optional<DayHalfWords> words = DayHalfWordsOf(local_time);
  // strftime gives 0, and leaves the buffer undefined, when the text does not fit.
  const std::size_t length = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %I.%M.%S ", &local_time);
  // Both words must fit: otherwise one half of the day would have the other clock.
  if (words && length != 0 &&
      length + std::max(words->am.size(), words->pm.size()) < sizeof stamp) {
    return stamp + (local_time.tm_hour < 12 ? words->am : words->pm);
  }
  if (std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H.%M.%S", &local_time) == 0) return {};
  return stamp;
}

std::u16string NameUnits(const void* name_bytes, std::uint32_t name_size) {
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

std::string FileSafeName(std::string name, ReservedNames reserved) {
  const bool windows = reserved == ReservedNames::kWindows;
  for (char& c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || (windows && (byte < 0x20 || std::strchr("\\<>:\"|?*", c) != nullptr))) c = '_';
  }
  return name;
}

std::string CompositionPart(std::string name, ReservedNames reserved) {
  name = FileSafeName(std::move(name), reserved);
  if (!name.empty() && name.front() == '.') name.front() = '_';
  const std::size_t first_dot = name.find('.');
  if (reserved == ReservedNames::kWindows && first_dot != std::string::npos) {
    std::string stem = name.substr(0, first_dot);
    stem.erase(stem.find_last_not_of(' ') + 1);  // all of it when it is only spaces
    if (IsWindowsDeviceName(stem)) name.insert(first_dot, 1, '_');
  }
  return name;
}

OutputPath BuildOutputPath(const void* name_bytes, std::uint32_t name_size, std::time_t now,
                           const NamingPlatform& platform) {
  const std::string timestamp = FormatTimestamp(LocalTime(now));

  const std::optional<std::string> name = platform.name_to_utf8(NameUnits(name_bytes, name_size));
  if (!name) return NoPath(NamingFailure::kNameUnconvertible);

  const DesktopLookup desktop = platform.desktop_folder();
  if (desktop.status == DesktopLookup::Status::kUnavailable) {
    OutputPath output = NoPath(NamingFailure::kDesktopUnavailable);
    if (platform.show_message != nullptr) {
      platform.show_message("Can't Access Desktop", "Error");
      output.message_shown = true;
    }
    return output;
  }
  if (desktop.status != DesktopLookup::Status::kFound)
    return NoPath(NamingFailure::kDesktopUnconvertible);

  std::string folder = desktop.utf8_path;
  if (folder.empty() || folder.back() != platform.path_separator) folder += platform.path_separator;
  const std::string suffix = ' ' + timestamp + ".png";
  const std::size_t suffix_units = UnitsOf(suffix, platform.file_name_unit);
  if (folder.size() + suffix.size() > kMaxOutputPathBytes || suffix_units > kMaxFileNameUnits) {
    return NoPath(NamingFailure::kNoRoomForFileName);
  }
  const std::string part =
      LeadingCharacters(CompositionPart(*name, platform.reserved),
                        kMaxOutputPathBytes - folder.size() - suffix.size(),
                        kMaxFileNameUnits - suffix_units, platform.file_name_unit);
  OutputPath output;
  output.path = folder + part + suffix;
  return output;
}

}  // namespace glimster
