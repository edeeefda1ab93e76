// The probe for Glimster.aex: the loaded plug-in's import table is patched
// (ImportPatch), so that its calls of the C runtime's clock and strftime,
// the message box and the file calls reach the functions here, which answer
// as a test planned or pass the call on.
#include <windows.h>
#include <bcrypt.h>
#include <malloc.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "tests/support/Probe.h"
#include "tests/windows/WindowsTestSupport.h"

namespace glimster::probe {
namespace {

using windows_tests::ImportPatch;

__time64_t gNow = kFixedNow;
std::string gAm, gPm;  // the made locale's words, in its code page; both empty: none made
bool gMadeLocale = false;
std::wstring gFailFolder;
struct Failure {
  DWORD error;
  int after;
};
std::map<FileCall, Failure> gFailures;
std::map<HANDLE, bool> gWatched;  // the open files in gFailFolder

using CreateFileFunction = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD,
                                           DWORD, HANDLE);
using WriteFileFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
using HandleFunction = BOOL(WINAPI*)(HANDLE);
using PathFunction = BOOL(WINAPI*)(LPCWSTR);
using MoveFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
using StrftimeFunction = std::size_t(__cdecl*)(char*, std::size_t, const char*, const std::tm*);
CreateFileFunction gCreateFile;
WriteFileFunction gWriteFile;
HandleFunction gFlushFileBuffers;
HandleFunction gCloseHandle;
PathFunction gDeleteFile;
MoveFunction gMoveFile;
std::wstring gMoveTarget;           // of the last move
std::vector<std::uint64_t> gDraws;  // what BCryptGenRandom gives; the last one again and again
std::size_t gNextDraw = 0;
using RandomFunction = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, ULONG);
RandomFunction gGenRandom;

// The plug-in's heap calls: a request that would take what it holds past the
// ceiling fails, as when memory runs out.
std::int64_t gHeapHeld =
    0;  // counted from the first Attach(): negative after frees of earlier blocks
std::int64_t gHeapCeiling = INT64_MAX;
StrftimeFunction gStrftime;

__time64_t __cdecl FixedTime(__time64_t* now) {
  if (now != nullptr) *now = gNow;
  return gNow;
}

// The local time is UTC.
std::tm* __cdecl UtcLocalTime(const __time64_t* time) { return _gmtime64(time); }

// A box a test did not ask for would wait for a click that never comes.
int WINAPI NoMessageBox(HWND, LPCWSTR, LPCWSTR, UINT) { return IDOK; }

// A made locale's word for %p, as the C runtime gives a locale's.
std::size_t __cdecl DayHalfTime(char* out, std::size_t size, const char* format,
                                const std::tm* time) {
  if (!gMadeLocale || std::strcmp(format, "%p") != 0) return gStrftime(out, size, format, time);
  const std::string& word = time->tm_hour < 12 ? gAm : gPm;
  if (word.size() >= size) return 0;
  std::memcpy(out, word.c_str(), word.size() + 1);
  return word.size();
}

bool InFailFolder(LPCWSTR path) {
  if (gFailFolder.empty() || path == nullptr) return false;
  std::wstring text = path;
  if (text.rfind(L"\\\\?\\", 0) == 0) text.erase(0, 4);
  return std::filesystem::path(text).parent_path() == std::filesystem::path(gFailFolder);
}

// Whether `call` fails now, as planned; the last error is then the planned one.
bool FailsNow(FileCall call) {
  const auto planned = gFailures.find(call);
  if (planned == gFailures.end()) return false;
  if (planned->second.after > 0) {
    --planned->second.after;
    return false;
  }
  SetLastError(planned->second.error);
  return true;
}

HANDLE WINAPI WatchedCreateFile(LPCWSTR path, DWORD access, DWORD share,
                                LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD attributes,
                                HANDLE templ) {
  const HANDLE file = gCreateFile(path, access, share, security, disposition, attributes, templ);
  if (file != INVALID_HANDLE_VALUE && InFailFolder(path)) gWatched[file] = true;
  return file;
}

BOOL WINAPI WatchedWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                             LPOVERLAPPED overlapped) {
  if (gWatched.count(file) != 0) {
    if (FailsNow(FileCall::kWrite)) return FALSE;
    size = std::min<DWORD>(size, 4096);
  }
  return gWriteFile(file, bytes, size, written, overlapped);
}

BOOL WINAPI WatchedFlush(HANDLE file) {
  if (gWatched.count(file) != 0 && FailsNow(FileCall::kFlush)) return FALSE;
  return gFlushFileBuffers(file);
}

BOOL WINAPI WatchedClose(HANDLE file) {
  if (gWatched.erase(file) != 0 && FailsNow(FileCall::kClose)) {
    const DWORD error = GetLastError();
    gCloseHandle(file);  // closed all the same, as by a close that reports a lost write
    SetLastError(error);
    return FALSE;
  }
  return gCloseHandle(file);
}

BOOL WINAPI WatchedDelete(LPCWSTR path) {
  if (InFailFolder(path) && FailsNow(FileCall::kDelete)) return FALSE;
  return gDeleteFile(path);
}

bool FitsUnderCeiling(std::int64_t held, std::size_t size) {
  return held + static_cast<std::int64_t>(size) <= gHeapCeiling;
}

void* __cdecl CeilingMalloc(std::size_t size) {
  void* block = FitsUnderCeiling(gHeapHeld, size) ? std::malloc(size) : nullptr;
  if (block != nullptr) gHeapHeld += static_cast<std::int64_t>(_msize(block));
  return block;
}

void* __cdecl CeilingRealloc(void* block, std::size_t size) {
  const std::int64_t before = block != nullptr ? static_cast<std::int64_t>(_msize(block)) : 0;
  void* moved = FitsUnderCeiling(gHeapHeld - before, size) ? std::realloc(block, size) : nullptr;
  if (moved != nullptr) gHeapHeld += static_cast<std::int64_t>(_msize(moved)) - before;
  return moved;
}

void __cdecl CeilingFree(void* block) {
  if (block != nullptr) gHeapHeld -= static_cast<std::int64_t>(_msize(block));
  std::free(block);
}

NTSTATUS WINAPI PlannedRandom(BCRYPT_ALG_HANDLE algorithm, PUCHAR buffer, ULONG size, ULONG flags) {
  if (gDraws.empty()) return gGenRandom(algorithm, buffer, size, flags);
  const std::uint64_t draw = gDraws[std::min(gNextDraw++, gDraws.size() - 1)];
  std::memset(buffer, 0, size);
  std::memcpy(buffer, &draw, std::min<std::size_t>(size, sizeof draw));
  return 0;  // STATUS_SUCCESS
}

BOOL WINAPI WatchedMove(LPCWSTR from, LPCWSTR to, DWORD flags) {
  gMoveTarget = to != nullptr ? to : L"";
  return gMoveFile(from, to, flags);
}

// `words` in localedef's notation ("<UAC00>", or the character itself) in code page `page`.
std::string InCodePage(const char* words, UINT page) {
  std::wstring wide;
  for (const char* at = words; *at != '\0';) {
    unsigned unit = 0;
    int used = 0;
    if (std::sscanf(at, "<U%4X>%n", &unit, &used) == 1 && used == 7) {
      wide += static_cast<wchar_t>(unit);
      at += used;
    } else {
      wide += static_cast<wchar_t>(static_cast<unsigned char>(*at++));
    }
  }
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(page, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                       0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(page, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

template <typename Function, typename Replacement>
void Patch(const char* dll, const char* function, Replacement* replacement, Function& original) {
  static std::vector<std::unique_ptr<ImportPatch>> patches;  // for the life of the process
  patches.push_back(std::make_unique<ImportPatch>(windows_tests::loadedPluginModule(), dll,
                                                  function, reinterpret_cast<void*>(replacement)));
  original = reinterpret_cast<Function>(patches.back()->original());
}

}  // namespace

const Platform kPlatform = Platform::kWindows;

void Attach() {
  static const bool patched = [] {
    void* unused = nullptr;
    Patch("msvcrt.dll", "_time64", &FixedTime, unused);
    Patch("msvcrt.dll", "_localtime64", &UtcLocalTime, unused);
    Patch("msvcrt.dll", "strftime", &DayHalfTime, gStrftime);
    Patch("USER32.dll", "MessageBoxW", &NoMessageBox, unused);
    Patch("KERNEL32.dll", "CreateFileW", &WatchedCreateFile, gCreateFile);
    Patch("KERNEL32.dll", "WriteFile", &WatchedWriteFile, gWriteFile);
    Patch("KERNEL32.dll", "FlushFileBuffers", &WatchedFlush, gFlushFileBuffers);
    Patch("KERNEL32.dll", "CloseHandle", &WatchedClose, gCloseHandle);
    Patch("KERNEL32.dll", "DeleteFileW", &WatchedDelete, gDeleteFile);
    Patch("KERNEL32.dll", "MoveFileExW", &WatchedMove, gMoveFile);
    Patch("bcrypt.dll", "BCryptGenRandom", &PlannedRandom, gGenRandom);
    Patch("msvcrt.dll", "malloc", &CeilingMalloc, unused);
    Patch("msvcrt.dll", "realloc", &CeilingRealloc, unused);
    Patch("msvcrt.dll", "free", &CeilingFree, unused);
    return true;
  }();
  (void)patched;
  FixClock(kFixedNow);
  std::setlocale(LC_TIME, "C");
  gMadeLocale = false;
  ClearFileFailures();
  gMoveTarget.clear();
  PlanRandomDraws({});
}

void FixClock(std::time_t now) { gNow = now; }

bool UseTimeLocale(const TimeLocale& locale, const std::filesystem::path&) {
  // The plug-in of this build shares the C runtime (msvcrt.dll), and so its
  // time locale, with this program.
  gMadeLocale = locale.system == nullptr;
  if (!gMadeLocale) return std::setlocale(LC_TIME, locale.system) != nullptr;
  std::setlocale(LC_TIME, "C");
  const UINT page = std::strcmp(locale.charmap, "EUC-KR") == 0 ? 949 : CP_UTF8;
  gAm = InCodePage(locale.am, page);
  gPm = InCodePage(locale.pm, page);
  return true;
}

void FailFileCalls(const std::filesystem::path& folder, FileCall call, FileError error, int after) {
  static const std::map<FileError, DWORD> kErrors = {
      {FileError::kDiskFull, ERROR_DISK_FULL},
      {FileError::kIo, ERROR_IO_DEVICE},
      {FileError::kBusy, ERROR_SHARING_VIOLATION},
      {FileError::kUnsupported, ERROR_INVALID_FUNCTION},
      {FileError::kInvalid, ERROR_INVALID_PARAMETER}};
  gFailFolder = folder.wstring();
  gFailures[call] = {kErrors.at(error), after};
}

void ClearFileFailures() {
  gFailFolder.clear();
  gFailures.clear();
  gWatched.clear();
}

void PlanRandomDraws(std::vector<std::uint64_t> draws) {
  gDraws = std::move(draws);
  gNextDraw = 0;
}

std::string TakeMoveTarget() {
  const std::filesystem::path target(std::exchange(gMoveTarget, std::wstring()));
  return Utf8NameOf(target);
}

std::string InMemoryScope(const std::filesystem::path&, const std::function<std::string()>& body) {
  return body();
}

void CapMemory(std::size_t bytes) { gHeapCeiling = gHeapHeld + static_cast<std::int64_t>(bytes); }

void UncapMemory() { gHeapCeiling = INT64_MAX; }

std::int64_t HeldMemory() { return gHeapHeld; }

}  // namespace glimster::probe
