#include "Errno.h"

#include <errno.h>

#include "Imports.h"

namespace macos_runner {
namespace {

// Linux's errno and macOS's number for the same condition, where they
// differ; 1-10 and 12-34 are the same on both. Linux's EOPNOTSUPP is also
// its ENOTSUP, macOS's ENOTSUP (45) for a file operation, and macOS's
// EOPNOTSUPP (102) comes back as it.
constexpr struct {
  int linux_number, mac_number;
} kDiffering[] = {
    {EAGAIN, 35},          {EDEADLK, 11},         {EINPROGRESS, 36},
    {EALREADY, 37},        {ENOTSOCK, 38},        {EDESTADDRREQ, 39},
    {EMSGSIZE, 40},        {EPROTOTYPE, 41},      {ENOPROTOOPT, 42},
    {EPROTONOSUPPORT, 43}, {ESOCKTNOSUPPORT, 44}, {EOPNOTSUPP, 45},
    {EPFNOSUPPORT, 46},    {EAFNOSUPPORT, 47},    {EADDRINUSE, 48},
    {EADDRNOTAVAIL, 49},   {ENETDOWN, 50},        {ENETUNREACH, 51},
    {ENETRESET, 52},       {ECONNABORTED, 53},    {ECONNRESET, 54},
    {ENOBUFS, 55},         {EISCONN, 56},         {ENOTCONN, 57},
    {ESHUTDOWN, 58},       {ETOOMANYREFS, 59},    {ETIMEDOUT, 60},
    {ECONNREFUSED, 61},    {ELOOP, 62},           {ENAMETOOLONG, 63},
    {EHOSTDOWN, 64},       {EHOSTUNREACH, 65},    {ENOTEMPTY, 66},
    {EUSERS, 68},          {EDQUOT, 69},          {ESTALE, 70},
    {EREMOTE, 71},         {ENOLCK, 77},          {ENOSYS, 78},
    {EOVERFLOW, 84},       {ECANCELED, 89},       {EIDRM, 90},
    {ENOMSG, 91},          {EILSEQ, 92},          {EBADMSG, 94},
    {EMULTIHOP, 95},       {ENODATA, 96},         {ENOLINK, 97},
    {ENOSR, 98},           {ENOSTR, 99},          {EPROTO, 100},
    {ETIME, 101},          {EOPNOTSUPP, 102},     {ENOTRECOVERABLE, 104},
    {EOWNERDEAD, 105},
};
constexpr int kEio = 5;  // the same on both

bool SameOnBoth(int number) { return number >= 0 && number <= 34 && number != 11; }

thread_local int t_mac_errno = 0;

int* Error() { return &t_mac_errno; }

}  // namespace

int MacErrno(int number) {
  if (SameOnBoth(number)) return number;
  for (const auto& pair : kDiffering)
    if (pair.linux_number == number) return pair.mac_number;
  return kEio;
}

int LinuxErrno(int number) {
  if (SameOnBoth(number)) return number;
  for (const auto& pair : kDiffering)
    if (pair.mac_number == number) return pair.linux_number;
  return EIO;
}

int& MacErrnoHere() { return t_mac_errno; }

ErrnoScope::ErrnoScope() { errno = LinuxErrno(t_mac_errno); }
ErrnoScope::~ErrnoScope() { t_mac_errno = MacErrno(errno); }

ImportList ErrnoImports() {
  static const Import kImports[] = {
      {"___error", Address(Error)},
  };
  return {"libSystem", kImports, sizeof kImports / sizeof kImports[0]};
}

}  // namespace macos_runner
