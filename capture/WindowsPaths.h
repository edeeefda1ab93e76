// Windows paths in the extended form (\\?\), which the file functions take
// past the classic limit of 260 characters: a desktop path plus a file name
// of 255 units is longer than that.
#pragma once

#include <string>

namespace glimster {

// `path` made whole as Windows makes any path whole (GetFullPathNameW: '/'
// becomes '\', separators run together become one, "." and ".." steps are
// resolved, trailing spaces and dots are dropped where Windows drops them),
// then given the extended prefix: \\?\C:\... for a drive, \\?\UNC\server\...
// for a share (however many backslashes came before the server), and \\?\
// in place of a device path's \\.\. The extended form
// takes every character literally, so a path already in it is kept as it is;
// so is one in the system's own spelling \??\ (given \\?\ instead), and one
// whose prefix has '/' for some separators (//?/, \\?/) is only made whole.
// Empty when Windows cannot make the path whole.
std::wstring ExtendedLengthPath(const std::wstring& path);

}  // namespace glimster
