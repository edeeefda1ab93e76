// Foundation and CoreFoundation as the bundle uses them (NamingMacOS.mm):
// NSString made from UTF-16, its UTF-8 form and a path built from it,
// NSHomeDirectory, NSAutoreleasePool, and constant strings (@"Desktop").
// Each follows what Apple documents for it; memory running out, or a
// failure planted with glimster_macos_fail, answers nil.
#include <pwd.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>

#include "Failure.h"
#include "Faults.h"
#include "Imports.h"
#include "ObjC.h"

namespace macos_runner {
namespace {

// An NSString: laid out as a constant string (struct __NSConstantString:
// isa, flags, bytes, length), so methods read both alike; the rest is the
// heap string's own.
struct String {
  ObjCObject object;
  std::uint32_t flags;
  char* utf8;   // NUL-terminated; embedded NULs end it early, as UTF8String's do
  long length;  // bytes of utf8, without the NUL
  long references;
  String* next_in_pool;
  bool in_pool;
};

// A UTF8String answer: the bytes live until the pool it was made in drains.
struct Utf8Copy {
  Utf8Copy* next;
  char bytes[1];
};

struct AutoreleasePool {
  ObjCObject object;
  AutoreleasePool* outer;
  String* strings;
  Utf8Copy* copies;
};

thread_local AutoreleasePool* t_innermost_pool = nullptr;

// The strings and pools handed out and not yet freed (released for the last
// time, or drained): none once a call of the Mac code has returned, or it
// leaked one (glimster_macos_live_objects, below).
std::atomic<long> g_live_objects{0};

extern const ObjCClass kStringClass, kConstantStringClass, kPoolClass;

// ---- NSAutoreleasePool ----------------------------------------------------

// With no pool in place, what is autoreleased leaks, as on a Mac.
void Autorelease(String* string) {
  if (string->in_pool) FailUnimplemented("autorelease of a string already in a pool");
  if (t_innermost_pool == nullptr) return;
  string->in_pool = true;
  string->next_in_pool = t_innermost_pool->strings;
  t_innermost_pool->strings = string;
}

void ReleaseString(ObjCObject* object);

// -drain (and -release): releases what the pool holds, and first drains the
// pools made inside it that are still there.
void Drain(ObjCObject* object) {
  auto* pool = reinterpret_cast<AutoreleasePool*>(object);
  AutoreleasePool* inner = t_innermost_pool;
  while (inner != nullptr && inner != pool) inner = inner->outer;
  if (inner == nullptr) FailUnimplemented("-[NSAutoreleasePool drain] of another thread's pool");
  while (true) {
    AutoreleasePool* innermost = t_innermost_pool;
    t_innermost_pool = innermost->outer;
    while (String* string = innermost->strings) {
      innermost->strings = string->next_in_pool;
      string->in_pool = false;
      ReleaseString(&string->object);
    }
    while (Utf8Copy* copy = innermost->copies) {
      innermost->copies = copy->next;
      free(copy);
    }
    free(innermost);
    --g_live_objects;
    if (innermost == pool) return;
  }
}

ObjCObject* AllocatePool() {
  auto* pool = static_cast<AutoreleasePool*>(calloc(1, sizeof(AutoreleasePool)));
  if (pool == nullptr) return nullptr;
  pool->object.isa = &kPoolClass;
  ++g_live_objects;
  return &pool->object;
}

ObjCObject* InitializePool(ObjCObject* object) {
  auto* pool = reinterpret_cast<AutoreleasePool*>(object);
  pool->outer = t_innermost_pool;
  t_innermost_pool = pool;
  return object;
}

std::uintptr_t DrainMethod(ObjCObject* self, MessageArguments) {
  Drain(self);
  return 0;
}

// ---- NSString -------------------------------------------------------------

ObjCObject* AllocateString() {
  auto* string = static_cast<String*>(calloc(1, sizeof(String)));
  if (string == nullptr) return nullptr;
  string->object.isa = &kStringClass;
  string->references = 1;
  ++g_live_objects;
  return &string->object;
}

ObjCObject* InitializeString(ObjCObject*) { FailUnimplemented("-[NSString init]"); }

void ReleaseString(ObjCObject* object) {
  auto* string = reinterpret_cast<String*>(object);
  if (--string->references > 0) return;
  free(string->utf8);
  free(string);
  --g_live_objects;
}

// A new string of `length` bytes of UTF-8 at `utf8`, autoreleased; nil when
// memory runs out.
String* NewAutoreleasedString(const char* utf8, std::size_t length) {
  auto* string = reinterpret_cast<String*>(AllocateString());
  char* bytes = static_cast<char*>(malloc(length + 1));
  if (string == nullptr || bytes == nullptr) {
    if (string != nullptr) ReleaseString(&string->object);
    free(bytes);
    return nullptr;
  }
  memcpy(bytes, utf8, length);
  bytes[length] = '\0';
  string->utf8 = bytes;
  string->length = static_cast<long>(length);
  Autorelease(string);
  return string;
}

// Writes the UTF-8 form of `units` UTF-16 code units (little-endian) to
// `out` (when not null) and gives its length; -1 when a surrogate is
// unpaired, which no Unicode string can hold.
long Utf16LeToUtf8(const std::uint8_t* bytes, std::size_t units, char* out) {
  long length = 0;
  const auto put = [&](std::uint32_t byte) {
    if (out != nullptr) out[length] = static_cast<char>(byte);
    ++length;
  };
  for (std::size_t i = 0; i < units; ++i) {
    std::uint32_t code = bytes[2 * i] | bytes[2 * i + 1] << 8;
    if (code >= 0xdc00 && code <= 0xdfff) return -1;
    if (code >= 0xd800 && code <= 0xdbff) {
      const std::uint32_t low = i + 1 < units ? bytes[2 * i + 2] | bytes[2 * i + 3] << 8 : 0;
      if (low < 0xdc00 || low > 0xdfff) return -1;
      code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
      ++i;
    }
    if (code < 0x80) {
      put(code);
    } else if (code < 0x800) {
      put(0xc0 | code >> 6);
      put(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
      put(0xe0 | code >> 12);
      put(0x80 | (code >> 6 & 0x3f));
      put(0x80 | (code & 0x3f));
    } else {
      put(0xf0 | code >> 18);
      put(0x80 | (code >> 12 & 0x3f));
      put(0x80 | (code >> 6 & 0x3f));
      put(0x80 | (code & 0x3f));
    }
  }
  return length;
}

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsUtf8(const unsigned char* text) {
  while (*text != 0) {
    const unsigned lead = *text++;
    if (lead < 0x80) continue;
    int more = lead >= 0xf0 ? 3 : lead >= 0xe0 ? 2 : lead >= 0xc2 ? 1 : -1;
    if (more < 0 || lead > 0xf4) return false;
    std::uint32_t code = lead & (0x3f >> more);
    for (int k = 0; k < more; ++k, ++text) {
      if ((*text & 0xc0) != 0x80) return false;
      code = code << 6 | (*text & 0x3f);
    }
    if ((more == 2 && code < 0x800) || (more == 3 && code < 0x10000) || code > 0x10ffff ||
        (code >= 0xd800 && code <= 0xdfff))
      return false;
  }
  return true;
}

constexpr std::uintptr_t kUtf16LittleEndian = 0x94000100;  // NSUTF16LittleEndianStringEncoding

// -initWithBytes:length:encoding: gives nil (and releases the receiver)
// when the bytes are not a string in the encoding: here, an odd number of
// bytes or an unpaired surrogate. A byte-order mark is a character (U+FEFF)
// of a string in an encoding that names its byte order.
std::uintptr_t InitWithBytes(ObjCObject* self, MessageArguments arguments) {
  auto* string = reinterpret_cast<String*>(self);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(arguments.first);
  const std::size_t size = arguments.second;
  if (arguments.third != kUtf16LittleEndian)
    FailUnimplemented("-[NSString initWithBytes:length:encoding:] with encoding 0x%lx",
                      static_cast<unsigned long>(arguments.third));
  const long length = size % 2 == 0 ? Utf16LeToUtf8(bytes, size / 2, nullptr) : -1;
  char* utf8 = length < 0 || FailsNow(FallibleCall::kInitWithBytes)
                   ? nullptr
                   : static_cast<char*>(malloc(static_cast<std::size_t>(length) + 1));
  if (utf8 == nullptr) {
    ReleaseString(self);
    return 0;
  }
  Utf16LeToUtf8(bytes, size / 2, utf8);
  utf8[length] = '\0';
  string->utf8 = utf8;
  string->length = length;
  return reinterpret_cast<std::uintptr_t>(self);
}

// -UTF8String: "automatically freed just as a returned object would be
// released": a copy that lives until the innermost pool drains, whatever
// becomes of the string. A constant string's bytes live for ever.
std::uintptr_t Utf8String(ObjCObject* self, MessageArguments) {
  const auto* string = reinterpret_cast<const String*>(self);
  if (FailsNow(FallibleCall::kUtf8String)) return 0;
  if (self->isa == &kConstantStringClass) return reinterpret_cast<std::uintptr_t>(string->utf8);
  auto* copy = FailsNow(FallibleCall::kUtf8StringCopy)
                   ? nullptr
                   : static_cast<Utf8Copy*>(malloc(sizeof(Utf8Copy) + string->length));
  if (copy == nullptr) return 0;
  memcpy(copy->bytes, string->utf8, string->length + 1);
  if (t_innermost_pool != nullptr) {
    copy->next = t_innermost_pool->copies;
    t_innermost_pool->copies = copy;
  }
  return reinterpret_cast<std::uintptr_t>(copy->bytes);
}

// -stringByAppendingPathComponent:, by the rules of NSString's path methods:
// the two joined by one "/" ("/tmp" or "/tmp/" and "scratch.tiff" give
// "/tmp/scratch.tiff", "/" gives "/scratch.tiff", "" gives "scratch.tiff"),
// then every run of slashes made one and a final slash dropped, but for the
// root itself.
std::uintptr_t AppendingPathComponent(ObjCObject* self, MessageArguments arguments) {
  const auto* base = reinterpret_cast<const String*>(self);
  const auto* component = reinterpret_cast<const String*>(arguments.first);
  if (component == nullptr)
    FailUnimplemented("-[NSString stringByAppendingPathComponent:] with nil");
  if (FailsNow(FallibleCall::kAppendingPathComponent)) return 0;
  char* joined = static_cast<char*>(malloc(base->length + component->length + 2));
  if (joined == nullptr) return 0;
  std::size_t length = 0;
  const auto append = [&](const String* part) {
    for (long i = 0; i < part->length; ++i) {
      const char c = part->utf8[i];
      if (c != '/' || length == 0 || joined[length - 1] != '/') joined[length++] = c;
    }
  };
  append(base);
  if (base->length != 0 && component->length != 0 && joined[length - 1] != '/')
    joined[length++] = '/';
  append(component);
  if (length > 1 && joined[length - 1] == '/') --length;
  String* result = NewAutoreleasedString(joined, length);
  free(joined);
  return reinterpret_cast<std::uintptr_t>(result);
}

// ---- NSHomeDirectory -----------------------------------------------------

// The current user's home folder, looked for as CoreFoundation looks for it
// (CFCopyHomeDirectoryURL): CFFIXED_USER_HOME first, the documented way to
// give a process another home, ignored in a set-user-ID program; then the
// user database's entry of the effective user. HOME is never read: a Mac's
// Foundation takes the home from the user database, whatever HOME says.
// (CoreFoundation's open sources fall back to HOME where the user database
// has no entry at all; whether a Mac's Foundation does is not known here,
// so the runner answers nil there, the stricter answer.) No home, an empty
// one, or one whose path is not UTF-8 (no NSString holds it): nil.
ObjCObject* HomeDirectory() {
  if (FailsNow(FallibleCall::kHomeDirectory)) return nullptr;
  const char* home = secure_getenv("CFFIXED_USER_HOME");
  passwd entry;
  passwd* user = nullptr;
  char lines[4096];
  if ((home == nullptr || *home == '\0') &&
      getpwuid_r(geteuid(), &entry, lines, sizeof lines, &user) == 0 && user != nullptr)
    home = user->pw_dir;
  if (home == nullptr || *home == '\0' || !IsUtf8(reinterpret_cast<const unsigned char*>(home)))
    return nullptr;
  return reinterpret_cast<ObjCObject*>(NewAutoreleasedString(home, strlen(home)));
}

void ReleaseNothing(ObjCObject*) {}  // a constant string lives for ever

const ObjCClass kStringClass = {nullptr, "NSString", AllocateString, InitializeString,
                                ReleaseString};
const ObjCClass kConstantStringClass = {nullptr, "__NSCFConstantString", nullptr, nullptr,
                                        ReleaseNothing};
const ObjCClass kPoolClass = {nullptr, "NSAutoreleasePool", AllocatePool, InitializePool, Drain};

// The canonical selectors.
constexpr char kInitWithBytes[] = "initWithBytes:length:encoding:";
constexpr char kUtf8String[] = "UTF8String";
constexpr char kAppendingPathComponent[] = "stringByAppendingPathComponent:";
constexpr char kDrain[] = "drain";

}  // namespace

const MethodEntry kFoundationMethods[] = {
    {&kStringClass, kInitWithBytes, InitWithBytes},
    {&kStringClass, kUtf8String, Utf8String},
    {&kConstantStringClass, kUtf8String, Utf8String},
    {&kStringClass, kAppendingPathComponent, AppendingPathComponent},
    {&kConstantStringClass, kAppendingPathComponent, AppendingPathComponent},
    {&kPoolClass, kDrain, DrainMethod},
};
const std::size_t kFoundationMethodCount = sizeof kFoundationMethods / sizeof kFoundationMethods[0];

ImportList FoundationImports() {
  static const Import kImports[] = {
      {"_NSHomeDirectory", Address(HomeDirectory)},
      {"_OBJC_CLASS_$_NSString", &kStringClass},
      {"_OBJC_CLASS_$_NSAutoreleasePool", &kPoolClass},
      {"___CFConstantStringClassReference", &kConstantStringClass},
  };
  return {kImports, sizeof kImports / sizeof kImports[0]};
}

}  // namespace macos_runner

// How many of the strings and pools Foundation handed out are not yet freed
// (released for the last time, or drained). Read when a call of the Mac
// code has returned, it is 0, unless that call leaked one.
extern "C" __attribute__((visibility("default"))) long glimster_macos_live_objects() {
  return macos_runner::g_live_objects.load();
}
