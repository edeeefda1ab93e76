// Output naming on macOS, with Foundation. Manual retain/release and an
// explicit autorelease pool: this file compiles unchanged with Apple's clang
// (-fno-objc-arc) and with GNUstep's gobjc++, where the Linux test build of
// the plug-in takes its desktop from $HOME instead of the user database.
#import <Foundation/Foundation.h>

#include <cstdlib>
#include <new>

#include "capture/NamingPlatform.h"

namespace glimster {

namespace {

// Drains the pool when the scope ends, whichever way it ends.
class AutoreleasePool {
 public:
  AutoreleasePool() : pool_([[NSAutoreleasePool alloc] init]) {}
  ~AutoreleasePool() { [pool_ drain]; }
  AutoreleasePool(const AutoreleasePool&) = delete;
  AutoreleasePool& operator=(const AutoreleasePool&) = delete;

 private:
  NSAutoreleasePool* pool_;
};

std::optional<std::string> NameToUtf8(const std::u16string& name) {
  AutoreleasePool pool;
  NSString* text = [[NSString alloc] initWithBytes:name.data()
                                            length:name.size() * sizeof(char16_t)
                                          encoding:NSUTF16LittleEndianStringEncoding];
  const char* utf8 = [text UTF8String];
  std::optional<std::string> result;
  if (utf8 != nullptr) result = std::string(utf8);
  [text release];
  // The name is well-formed UTF-16 (unpaired surrogates were replaced before):
  // only a lack of memory keeps Foundation from converting it, and that is
  // what the capture answers, not a name that cannot be a file name.
  if (!result) throw std::bad_alloc();
  return result;
}

NSString* HomeFolder() {
#if defined(__APPLE__)
  return NSHomeDirectory();
#else
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return NSHomeDirectory();
  return [[[NSString alloc] initWithUTF8String:home] autorelease];
#endif
}

DesktopLookup DesktopFolder() {
  AutoreleasePool pool;
  NSString* desktop = [HomeFolder() stringByAppendingPathComponent:@"Desktop"];
  const char* utf8 = [desktop UTF8String];
  if (utf8 == nullptr) return {DesktopLookup::Status::kUnconvertible, {}};
  return {DesktopLookup::Status::kFound, utf8};
}

constexpr NamingPlatform MacOSNaming() {
  NamingPlatform platform{};
  platform.name_to_utf8 = NameToUtf8;
  platform.desktop_folder = DesktopFolder;
  platform.show_message = nullptr;  // the desktop is always there: nothing to tell the user
  platform.path_separator = '/';
  platform.reserved = ReservedNames::kSlash;
  platform.file_name_unit = FileNameUnit::kUtf8Byte;
  return platform;
}

}  // namespace

const NamingPlatform kNativeNamingPlatform = MacOSNaming();

}  // namespace glimster
