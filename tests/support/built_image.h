// The KANTRELL.exe built beside the test programs, read as a PE image.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "pe_image.h"

inline std::wstring kantrellPath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory(path, length);
  return directory.substr(0, directory.find_last_of(L"\\/") + 1) + L"KANTRELL.exe";
}

class BuiltImageTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(image_.has_value()) << "cannot read KANTRELL.exe"; }
  const std::optional<pe::Image> image_ = pe::Image::load(kantrellPath());
};
