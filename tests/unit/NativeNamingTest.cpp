// The Foundation naming operations, as compiled into the Linux build.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "capture/NamingPlatform.h"

namespace glimster {

namespace {

TEST(FoundationNaming, ConvertsUtf16NamesToUtf8) {
  EXPECT_EQ(kNativeNamingPlatform.name_to_utf8(u"Comp 1"), "Comp 1");
  EXPECT_EQ(kNativeNamingPlatform.name_to_utf8(u"Ünïcødé – 日本 😀"),
            "\xc3\x9cn\xc3\xaf"
            "c\xc3\xb8"
            "d\xc3\xa9 \xe2\x80\x93 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80");
  EXPECT_EQ(kNativeNamingPlatform.name_to_utf8(u""), "");
  EXPECT_EQ(kNativeNamingPlatform.name_to_utf8(std::u16string{u'a', 0xFFFD}), "a\xef\xbf\xbd");
}

TEST(FoundationNaming, TheDesktopIsTheDesktopFolderOfHome) {
  const char* saved = std::getenv("HOME");
  const std::string previous = saved ? saved : "";
  setenv("HOME", "/tmp/h\xc3\xa9me", 1);
  const DesktopLookup desktop = kNativeNamingPlatform.desktop_folder();
  EXPECT_EQ(desktop.status, DesktopLookup::Status::kFound);
  EXPECT_EQ(desktop.utf8_path, "/tmp/h\xc3\xa9me/Desktop");
  setenv("HOME", previous.c_str(), 1);
}

}  // namespace

}  // namespace glimster
