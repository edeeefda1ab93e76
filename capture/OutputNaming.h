// The path of the PNG a capture writes: the desktop folder, then the
// composition's name, one space, the local time and ".png".
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "capture/NamingPlatform.h"

namespace glimster {

// Longest path handed to the PNG writer, in UTF-8 bytes.
inline constexpr std::size_t kMaxOutputPathBytes = 1023;
// Longest file name, in the platform's file-name units.
inline constexpr std::size_t kMaxFileNameUnits = 255;
// The bytes of a UTF-16 name, its NUL included, that can reach a file name:
// each unit of the name takes at least one of the file name's units. A name
// whose size the host cannot tell is read up to its NUL, at most this far.
inline constexpr std::uint32_t kLongestUsefulNameBytes = (kMaxFileNameUnits + 1) * 2;

// Why no path was built.
enum class NamingFailure {
  kNone,
  kNameUnconvertible,     // the platform gave no UTF-8 form of the name
  kDesktopUnavailable,    // there is no desktop folder
  kDesktopUnconvertible,  // the desktop folder has no UTF-8 form
  kNoRoomForFileName,     // not even an empty composition part fits the limits
};

struct OutputPath {
  std::string path;  // the whole path; empty unless `failure` is kNone
  NamingFailure failure = NamingFailure::kNone;
  bool message_shown = false;  // the platform already told the user why
};

// The output path for the name held in `name_bytes` (UTF-16LE, `name_size`
// bytes, taken up to its first NUL; null: the empty name) at time `now`.
// The file name is the composition part (file-safe, visible, shortened at a
// character boundary as far as the limits need), " ", the timestamp and
// ".png": at most kMaxFileNameUnits of the platform's units, and the whole
// path at most kMaxOutputPathBytes.
OutputPath BuildOutputPath(const void* name_bytes, std::uint32_t name_size, std::time_t now,
                           const NamingPlatform& platform);

// "%Y-%m-%d %I.%M.%S %p" of a local time, e.g. "2021-06-15 04.04.05 PM";
// "%Y-%m-%d %H.%M.%S" (24-hour clock, no designator) when either of the
// locale's AM/PM words is empty, the two are the same, or either is not
// UTF-8, holds a control character or one of / \ < > : " | ? *, or makes the
// timestamp longer than 31 bytes: one clock all day in every locale.
std::string FormatTimestamp(const std::tm& local_time);

// The name's UTF-16 units up to its first NUL, each unpaired surrogate
// replaced by U+FFFD.
std::u16string NameUnits(const void* name_bytes, std::uint32_t name_size);

// `name` with every character that would steer the file out of the folder,
// or that the file system reserves, replaced by '_'.
std::string FileSafeName(std::string name, ReservedNames reserved);

// The composition part of the file name for the UTF-8 `name`: file-safe, a
// leading '.' made '_' (no hidden file), and on Windows a device name before
// the first '.' (trailing spaces ignored) followed by '_'.
std::string CompositionPart(std::string name, ReservedNames reserved);

}  // namespace glimster
