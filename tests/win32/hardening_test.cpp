// The built KANTRELL.exe's image header: what Windows needs to load it safely.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "built_image.h"
#include "pe_image.h"

namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

class HardeningTest : public BuiltImageTest {};

TEST_F(HardeningTest, SixtyFourBitGuiImage) {
  EXPECT_EQ(image_->machine(), 0x8664);  // x64
  EXPECT_EQ(image_->magic(), 0x20B);     // PE32+
  EXPECT_EQ(image_->subsystem(), IMAGE_SUBSYSTEM_WINDOWS_GUI) << "no console window";
}

TEST_F(HardeningTest, NamesWindowsSevenAsTheOldestSystem) {
  EXPECT_EQ(image_->osVersion(), 601u);
  EXPECT_EQ(image_->subsystemVersion(), 601u);
}

TEST_F(HardeningTest, AddressSpaceRandomisationAndNoExecuteData) {
  const std::uint16_t flags = image_->dllCharacteristics();
  EXPECT_NE(flags & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, 0);
  EXPECT_NE(flags & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, 0);
  EXPECT_NE(flags & IMAGE_DLLCHARACTERISTICS_NX_COMPAT, 0);
}

TEST_F(HardeningTest, NoSectionIsBothWritableAndExecutable) {
  ASSERT_FALSE(image_->sections().empty());
  for (const pe::Section& section : image_->sections()) {
    const bool writable = (section.characteristics & IMAGE_SCN_MEM_WRITE) != 0;
    const bool executable = (section.characteristics & IMAGE_SCN_MEM_EXECUTE) != 0;
    EXPECT_FALSE(writable && executable) << section.name;
  }
}

TEST_F(HardeningTest, ImportsOnlyKnownDlls) {
  // Windows loads its known DLLs from the system directory whatever the search order; any other
  // imported DLL, and what it loads while it starts, could be picked up from the program's own
  // folder before the program runs a line. The rest is bound at run time.
  const std::set<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"};
  ASSERT_FALSE(image_->importedDlls().empty());
  for (const std::string& dll : image_->importedDlls()) {
    EXPECT_EQ(allowed.count(lower(dll)), 1u) << dll;
  }
}

}  // namespace
