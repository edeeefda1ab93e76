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

__time64_t g_now = kFixedNow;
std::string g_am, g_pm;  // the made locale's words, in its code page; both empty: none made
bool g_made_locale = false;
std::wstring g_fail_folder;
struct Failure {
  DWORD error;
  int after;
};
std::map<FileCall, Failure> g_failures;
std::map<HANDLE, bool> g_watched;  // the open files in gFailFolder

using CreateFileFunction = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD,
                                           DWORD, HANDLE);
using WriteFileFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
using HandleFunction = BOOL(WINAPI*)(HANDLE);
using PathFunction = BOOL(WINAPI*)(LPCWSTR);
using MoveFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
using StrftimeFunction = std::size_t(__cdecl*)(char*, std::size_t, const char*, const std::tm*);
CreateFileFunction g_create_file;
WriteFileFunction g_write_file;
HandleFunction g_flush_file_buffers;
HandleFunction g_close_handle;
PathFunction g_delete_file;
MoveFunction g_move_file;
std::wstring g_move_target;          // of the last move
std::vector<std::uint64_t> g_draws;  // what BCryptGenRandom gives; the last one again and again
std::size_t g_next_draw = 0;
using RandomFunction = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, ULONG);
RandomFunction g_gen_random;

// The plug-in's heap calls: a request that would take what it holds past the
// ceiling fails, as when memory runs out.
std::int64_t g_heap_held =
    0;  // counted from the first Attach(): negative after frees of earlier blocks
std::int64_t g_heap_ceiling = INT64_MAX;
StrftimeFunction g_strftime;

__time64_t __cdecl FixedTime(__time64_t* now) {
  if (now != nullptr) *now = g_now;
  return g_now;
}

// The local time is UTC.
std::tm* __cdecl UtcLocalTime(const __time64_t* time) { return _gmtime64(time); }

// A box a test did not ask for would wait for a click that never comes.
int WINAPI NoMessageBox(HWND, LPCWSTR, LPCWSTR, UINT) { return IDOK; }

// A made locale's word for %p, as the C runtime gives a locale's.
std::size_t __cdecl DayHalfTime(char* out, std::size_t size, const char* format,
                                const std::tm* time) {
  if (!g_made_locale || std::strcmp(format, "%p") != 0) return g_strftime(out, size, format, time);
  const std::string& word = time->tm_hour < 12 ? g_am : g_pm;
  if (word.size() >= size) return 0;
  std::memcpy(out, word.c_str(), word.size() + 1);
  return word.size();
}

bool InFailFolder(LPCWSTR path) {
  if (g_fail_folder.empty() || path == nullptr) return false;
  std::wstring text = path;
  if (text.rfind(L"\\\\?\\", 0) == 0) text.erase(0, 4);
  return std::filesystem::path(text).parent_path() == std::filesystem::path(g_fail_folder);
}

// Whether `call` fails now, as planned; the last error is then the planned one.
bool FailsNow(FileCall call) {
  const auto planned = g_failures.find(call);
  if (planned == g_failures.end()) return false;
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
  const HANDLE file = g_create_file(path, access, share, security, disposition, attributes, templ);
  if (file != INVALID_HANDLE_VALUE && InFailFolder(path)) g_watched[file] = true;
  return file;
}

BOOL WINAPI WatchedWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                             LPOVERLAPPED overlapped) {
  if (g_watched.count(file) != 0) {
    if (FailsNow(FileCall::kWrite)) return FALSE;
    size = std::min<DWORD>(size, 4096);
  }
  return g_write_file(file, bytes, size, written, overlapped);
}

BOOL WINAPI WatchedFlush(HANDLE file) {
  if (g_watched.count(file) != 0 && FailsNow(FileCall::kFlush)) return FALSE;
  return g_flush_file_buffers(file);
}

BOOL WINAPI WatchedClose(HANDLE file) {
  if (g_watched.erase(file) != 0 && FailsNow(FileCall::kClose)) {
    const DWORD error = GetLastError();
    g_close_handle(file);  // closed all the same, as by a close that reports a lost write
    SetLastError(error);
    return FALSE;
  }
  return g_close_handle(file);
}

BOOL WINAPI WatchedDelete(LPCWSTR path) {
  if (InFailFolder(path) && FailsNow(FileCall::kDelete)) return FALSE;
  return g_delete_file(path);
}

bool FitsUnderCeiling(std::int64_t held, std::size_t size) {
  return held + static_cast<std::int64_t>(size) <= g_heap_ceiling;
}

void* __cdecl CeilingMalloc(std::size_t size) {
  void* block = FitsUnderCeiling(g_heap_held, size) ? std::malloc(size) : nullptr;
  if (block != nullptr) g_heap_held += static_cast<std::int64_t>(_msize(block));
  return block;
}

void* __cdecl CeilingRealloc(void* block, std::size_t size) {
  const std::int64_t before = block != nullptr ? static_cast<std::int64_t>(_msize(block)) : 0;
  void* moved = FitsUnderCeiling(g_heap_held - before, size) ? std::realloc(block, size) : nullptr;
  if (moved != nullptr) g_heap_held += static_cast<std::int64_t>(_msize(moved)) - before;
  return moved;
}

void __cdecl CeilingFree(void* block) {
  if (block != nullptr) g_heap_held -= static_cast<std::int64_t>(_msize(block));
  std::free(block);
}

NTSTATUS WINAPI PlannedRandom(BCRYPT_ALG_HANDLE algorithm, PUCHAR buffer, ULONG size, ULONG flags) {
  if (g_draws.empty()) return g_gen_random(algorithm, buffer, size, flags);
  const std::uint64_t draw = g_draws[std::min(g_next_draw++, g_draws.size() - 1)];
  std::memset(buffer, 0, size);
  std::memcpy(buffer, &draw, std::min<std::size_t>(size, sizeof draw));
  return 0;  // STATUS_SUCCESS
}

BOOL WINAPI WatchedMove(LPCWSTR from, LPCWSTR to, DWORD flags) {
  g_move_target = to != nullptr ? to : L"";
  return g_move_file(from, to, flags);
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
  patches.push_back(std::make_unique<ImportPatch>(windows_tests::LoadedPluginModule(), dll,
                                                  function, reinterpret_cast<void*>(replacement)));
  original = reinterpret_cast<Function>(patches.back()->original());
}

}  // namespace

const Platform kPlatform = Platform::kWindows;

void Attach() {
  static const bool kPatched = [] {
    void* unused = nullptr;
    Patch("msvcrt.dll", "_time64", &FixedTime, unused);
    Patch("msvcrt.dll", "_localtime64", &UtcLocalTime, unused);
    Patch("msvcrt.dll", "strftime", &DayHalfTime, g_strftime);
    Patch("USER32.dll", "MessageBoxW", &NoMessageBox, unused);
    Patch("KERNEL32.dll", "CreateFileW", &WatchedCreateFile, g_create_file);
    Patch("KERNEL32.dll", "WriteFile", &WatchedWriteFile, g_write_file);
    Patch("KERNEL32.dll", "FlushFileBuffers", &WatchedFlush, g_flush_file_buffers);
    Patch("KERNEL32.dll", "CloseHandle", &WatchedClose, g_close_handle);
    Patch("KERNEL32.dll", "DeleteFileW", &WatchedDelete, g_delete_file);
    Patch("KERNEL32.dll", "MoveFileExW", &WatchedMove, g_move_file);
    Patch("bcrypt.dll", "BCryptGenRandom", &PlannedRandom, g_gen_random);
    Patch("msvcrt.dll", "malloc", &CeilingMalloc, unused);
    Patch("msvcrt.dll", "realloc", &CeilingRealloc, unused);
    Patch("msvcrt.dll", "free", &CeilingFree, unused);
    return true;
  }();
  (void)kPatched;
  FixClock(kFixedNow);
  std::setlocale(LC_TIME, "C");
  g_made_locale = false;
  ClearFileFailures();
  g_move_target.clear();
  PlanRandomDraws({});
}

void FixClock(std::time_t now) { g_now = now; }

bool UseTimeLocale(const TimeLocale& locale, const std::filesystem::path&) {
  // The plug-in of this build shares the C runtime (msvcrt.dll), and so its
  // time locale, with this program.
  g_made_locale = locale.system == nullptr;
  if (!g_made_locale) return std::setlocale(LC_TIME, locale.system) != nullptr;
  std::setlocale(LC_TIME, "C");
  const UINT page = std::strcmp(locale.charmap, "EUC-KR") == 0 ? 949 : CP_UTF8;
  g_am = InCodePage(locale.am, page);
  g_pm = InCodePage(locale.pm, page);
  return true;
}

void FailFileCalls(const std::filesystem::path& folder, FileCall call, FileError error, int after) {
  static const std::map<FileError, DWORD> kErrors = {
      {FileError::kDiskFull, ERROR_DISK_FULL},
      {FileError::kIo, ERROR_IO_DEVICE},
      {FileError::kBusy, ERROR_SHARING_VIOLATION},
      {FileError::kUnsupported, ERROR_INVALID_FUNCTION},
      {FileError::kInvalid, ERROR_INVALID_PARAMETER}};
  g_fail_folder = folder.wstring();
  g_failures[call] = {kErrors.at(error), after};
}

void ClearFileFailures() {
  g_fail_folder.clear();
  g_failures.clear();
  g_watched.clear();
}

void PlanRandomDraws(std::vector<std::uint64_t> draws) {
  g_draws = std::move(draws);
  g_next_draw = 0;
}

std::string TakeMoveTarget() {
  const std::filesystem::path target(std::exchange(g_move_target, std::wstring()));
  return Utf8NameOf(target);
}

std::string InMemoryScope(const std::filesystem::path&, const std::function<std::string()>& body) {
  return body();
}

void CapMemory(std::size_t bytes) {
  g_heap_ceiling = g_heap_held + static_cast<std::int64_t>(bytes);
}

void UncapMemory() { g_heap_ceiling = INT64_MAX; }

std::int64_t HeldMemory() { return g_heap_held; }

}  // namespace glimster::probe
