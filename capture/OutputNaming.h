// The path of the PNG a capture writes: the desktop folder, then the
// composition's name, one space, the local time and ".png".
#pragma once

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>

#include "capture/NamingPlatform.h"
#include "host/AE_HostInterface.h"

// Longest path handed to the PNG writer, in UTF-8 bytes.
inline constexpr std::size_t kMaxOutputPathBytes = 1023;

// The output path for the name held in `name_bytes` (UTF-16LE, `name_size`
// bytes, taken up to its first NUL; null: the empty name) at time `now`, or
// nullopt when the platform gives up (no file is written then).
std::optional<std::string> BuildOutputPath(const void* name_bytes, AEGP_MemSize name_size,
                                           std::time_t now, const NamingPlatform& platform);

// "%Y-%m-%d %I.%M.%S %p" of a local time, e.g. "2021-06-15 04.04.05 PM".
std::string FormatTimestamp(const std::tm& local_time);

// The name's UTF-16 units up to its first NUL, each unpaired surrogate
// replaced by U+FFFD.
std::u16string NameUnits(const void* name_bytes, AEGP_MemSize name_size);

// `name` with every character that would steer the file out of the folder,
// or that the file system reserves, replaced by '_'.
std::string FileSafeName(std::string name, bool reserves_windows_characters);

// `path` cut to at most `max_bytes`, never inside a UTF-8 sequence.
std::string CutPath(std::string path, std::size_t max_bytes);
