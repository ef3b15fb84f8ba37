// The resources of the built KANTRELL.exe, read from its file, and the icon as Windows loads it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>

#include "built_image.h"
#include "pe_image.h"
#include "win32/window_toolkit_win32.h"

namespace {

constexpr std::uint32_t kIcon = 3;
constexpr std::uint32_t kIconGroup = 14;
constexpr std::uint32_t kVersion = 16;
constexpr std::uint32_t kManifest = 24;
constexpr std::uint32_t kUsEnglish = 1033;

const std::u16string kUsage =
    u"NumLock-, ScrollLock- und CapsLock-Taste auf einen definierten Zustand setzen;  Syntax: "
    u"KANTRELL.exe [ON|OFF] [ON|OFF] [ON|OFF] [Wartezeit in s] [Statusbildschirm]";

std::uint32_t le(const std::vector<std::uint8_t>& data, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | data.at(at + i);
  return value;
}

class ResourcesTest : public BuiltImageTest {};

TEST_F(ResourcesTest, FourResourcesEachNumberOneInUsEnglish) {
  std::set<std::uint32_t> types;
  for (const pe::Resource& resource : image_->resources()) {
    EXPECT_FALSE(resource.named);
    EXPECT_EQ(resource.id, 1u) << "type " << resource.type;
    EXPECT_EQ(resource.language, kUsEnglish) << "type " << resource.type;
    types.insert(resource.type);
  }
  EXPECT_EQ(types, (std::set<std::uint32_t>{kIcon, kIconGroup, kVersion, kManifest}));
  EXPECT_EQ(image_->resources().size(), 4u);
}

TEST_F(ResourcesTest, IconGroupListsOneImageOf47By37At24Bits) {
  const pe::Resource* group = image_->findResource(kIconGroup, 1);
  ASSERT_NE(group, nullptr);
  const auto& data = group->data;
  ASSERT_EQ(data.size(), 6u + 14u);
  EXPECT_EQ(le(data, 0, 2), 0u);      // reserved
  EXPECT_EQ(le(data, 2, 2), 1u);      // icons
  EXPECT_EQ(le(data, 4, 2), 1u);      // one entry
  EXPECT_EQ(data[6], 47);             // width
  EXPECT_EQ(data[7], 37);             // height
  EXPECT_EQ(data[8], 0);              // colour count
  EXPECT_EQ(le(data, 10, 2), 1u);     // planes
  EXPECT_EQ(le(data, 12, 2), 24u);    // bits per pixel
  EXPECT_EQ(le(data, 14, 4), 5664u);  // bytes
  EXPECT_EQ(le(data, 18, 2), 1u);     // icon resource 1
}

TEST_F(ResourcesTest, IconIsADibOfColourAndMask) {
  const pe::Resource* icon = image_->findResource(kIcon, 1);
  ASSERT_NE(icon, nullptr);
  const auto& data = icon->data;
  ASSERT_EQ(data.size(), 5664u);
  EXPECT_EQ(le(data, 0, 4), 40u);   // header size
  EXPECT_EQ(le(data, 4, 4), 47u);   // width
  EXPECT_EQ(le(data, 8, 4), 74u);   // height: colour image and mask
  EXPECT_EQ(le(data, 12, 2), 1u);   // planes
  EXPECT_EQ(le(data, 14, 2), 24u);  // bits per pixel
  EXPECT_EQ(le(data, 16, 4), 0u);   // uncompressed
  EXPECT_EQ(40u + 37u * 144u + 37u * 8u, data.size());
}

TEST_F(ResourcesTest, VersionBlockCarriesTheUsageLine) {
  const pe::Resource* version = image_->findResource(kVersion, 1);
  ASSERT_NE(version, nullptr);
  const auto root = pe::parseVersionBlock(version->data);
  ASSERT_TRUE(root.has_value());
  EXPECT_EQ(root->key, u"VS_VERSION_INFO");

  const auto& fixed = root->value;
  ASSERT_EQ(fixed.size(), 52u);
  EXPECT_EQ(le(fixed, 0, 4), 0xFEEF04BDu);
  EXPECT_EQ(le(fixed, 8, 4), 0x00010001u);   // file version 1.1
  EXPECT_EQ(le(fixed, 12, 4), 0x00000000u);  // .0.0
  EXPECT_EQ(le(fixed, 16, 4), 0x00010001u);  // product version 1.1
  EXPECT_EQ(le(fixed, 20, 4), 0x00000000u);
  for (std::size_t at = 24; at < 52; at += 4) {
    EXPECT_EQ(le(fixed, at, 4), 0u)
        << "flags, OS, type, subtype and date are 0 (offset " << at << ")";
  }

  const pe::VersionNode* strings = root->child(u"StringFileInfo");
  ASSERT_NE(strings, nullptr);
  ASSERT_EQ(strings->children.size(), 1u);
  const pe::VersionNode& table = strings->children[0];
  EXPECT_EQ(table.key, u"000004b0");
  const std::vector<std::u16string> keys = {
      u"CompanyName",     u"ProductName",  u"ProductVersion",   u"FileVersion",
      u"FileDescription", u"InternalName", u"OriginalFilename", u"LegalCopyright",
      u"PrivateBuild",    u"Email",        u"Website"};
  ASSERT_EQ(table.children.size(), keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(table.children[i].key, keys[i]) << "entry " << i;
    EXPECT_FALSE(table.children[i].text().empty()) << "entry " << i;
  }
  EXPECT_EQ(table.child(u"ProductName")->text(), u"KANTRELL.exe");
  EXPECT_EQ(table.child(u"ProductVersion")->text(), u"1.1");
  EXPECT_EQ(table.child(u"FileVersion")->text(), u"1.1");
  EXPECT_EQ(table.child(u"FileDescription")->text(), kUsage);
  EXPECT_EQ(table.child(u"InternalName")->text(), u"KANTRELL");
  EXPECT_EQ(table.child(u"OriginalFilename")->text(), u"KANTRELL.exe");
  EXPECT_EQ(table.child(u"PrivateBuild")->text(), kUsage);
  EXPECT_NE(table.child(u"LegalCopyright")->text().find(table.child(u"CompanyName")->text()),
            std::u16string::npos)
      << "the copyright line names the maker";
  EXPECT_NE(table.child(u"Email")->text().find(u'@'), std::u16string::npos);

  const pe::VersionNode* variables = root->child(u"VarFileInfo");
  ASSERT_NE(variables, nullptr);
  const pe::VersionNode* translation = variables->child(u"Translation");
  ASSERT_NE(translation, nullptr);
  EXPECT_EQ(translation->value, (std::vector<std::uint8_t>{0x00, 0x00, 0xB0, 0x04}));
}

// The names of the elements in document order.
std::vector<std::string> elementsOf(const std::string& xml) {
  std::vector<std::string> names;
  for (std::size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
    const char first = xml[at + 1];
    if (first == '?' || first == '/' || first == '!') continue;
    const std::size_t end = xml.find_first_of(" />\r\n\t", at + 1);
    names.push_back(xml.substr(at + 1, end - at - 1));
  }
  return names;
}

TEST_F(ResourcesTest, ManifestAsksForCommonControlsSixAndNothingElse) {
  const pe::Resource* manifest = image_->findResource(kManifest, 1);
  ASSERT_NE(manifest, nullptr);
  const std::string xml(manifest->data.begin(), manifest->data.end());
  EXPECT_EQ(xml.rfind(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)", 0), 0u);
  EXPECT_EQ(elementsOf(xml),
            (std::vector<std::string>{"assembly", "assemblyIdentity", "description", "dependency",
                                      "dependentAssembly", "assemblyIdentity"}));
  for (const char* expected : {
           R"(xmlns="urn:schemas-microsoft-com:asm.v1")",
           R"(manifestVersion="1.0")",
           R"(<assemblyIdentity version="1.0.0.0" processorArchitecture="amd64" )"
           R"(name="CompanyName.ProductName.YourApp" type="win32"/>)",
           R"(<description></description>)",
           R"(<assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" )"
           R"(version="6.0.0.0" processorArchitecture="amd64" publicKeyToken="6595b64144ccf1df" )"
           R"(language="*"/>)",
       }) {
    EXPECT_NE(xml.find(expected), std::string::npos) << expected;
  }
}

TEST(IconTest, LoadsFromTheModuleAtItsOwnSize) {
  HMODULE module = LoadLibraryExW(kantrellPath().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(LoadIconW(module, MAKEINTRESOURCEW(1)), nullptr);
  auto icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, 0));
  ASSERT_NE(icon, nullptr);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP colour = {};
  GetObjectW(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, 47);
  EXPECT_EQ(colour.bmHeight, 37);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(icon);
  FreeLibrary(module);
}

TEST(IconTest, StartUpLoadsItAndTheWindowClassCarriesIt) {
  // This test program carries the same resources as KANTRELL.exe.
  kantrell::Win32WindowToolkit toolkit(GetModuleHandleW(nullptr));
  toolkit.start();
  ASSERT_NE(toolkit.applicationIcon(), nullptr);
  const kantrell::WindowId window = toolkit.openWindow({u"icon", WS_CAPTION, {170, 90}, {0, 0}});
  ASSERT_NE(window, 0u);
  EXPECT_EQ(reinterpret_cast<HICON>(
                GetClassLongPtrW(kantrell::Win32WindowToolkit::toWindow(window), GCLP_HICON)),
            toolkit.applicationIcon());
  toolkit.end();
  EXPECT_FALSE(IsWindow(kantrell::Win32WindowToolkit::toWindow(window)));
}

}  // namespace
