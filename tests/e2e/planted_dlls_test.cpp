// KANTRELL.exe copied into a folder of its own, with a DLL planted beside it under the name of
// every DLL its run loads that is not one of Windows' known DLLs, and Wine told to prefer such
// native copies, as Windows does for every DLL outside the known ones. Under Wine only.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/lock_keys.h"
#include "probe.h"
#include "wine_log.h"

namespace {

namespace fs = std::filesystem;

// Windows loads these from the system directory whatever the search order (the KnownDLLs list
// of Windows 10); ntdll is always the system's.
const std::set<std::string> kKnownDlls = {
    "advapi32.dll", "clbcatq.dll",  "combase.dll",  "comdlg32.dll", "coml2.dll",    "difxapi.dll",
    "gdi32.dll",    "gdiplus.dll",  "imagehlp.dll", "imm32.dll",    "kernel32.dll", "msctf.dll",
    "msvcrt.dll",   "normaliz.dll", "nsi.dll",      "ole32.dll",    "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll",   "sechost.dll",  "setupapi.dll", "shcore.dll",   "shell32.dll",  "shlwapi.dll",
    "user32.dll",   "wldap32.dll",  "ws2_32.dll",   "ntdll.dll"};

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string fileNameOf(const std::string& path) {
  return lowered(path.substr(path.find_last_of('\\') + 1));
}

// The folder as the loader writes paths: "Z:\\work\\..." with doubled backslashes.
std::string asLogged(const fs::path& folder) {
  std::string logged;
  for (char c : folder.string()) {
    logged += c;
    if (c == '\\') logged += '\\';
  }
  return lowered(logged);
}

TEST(PlantedDlls, NoneIsLoadedFromBesideTheProgram) {
  const winelog::WineOutput output;
  if (!probe::underWine() || !output.available()) GTEST_SKIP() << "reads Wine's loader log";
  const fs::path folder = fs::path(probe::ownDirectory()) / "planted";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path program = folder / "KANTRELL.exe";
  fs::copy_file(fs::path(probe::ownDirectory()) / "KANTRELL.exe", program);

  // 1. Which DLLs the run loads once the program runs, with nothing planted. Those loaded
  // before its first line are the known DLLs it imports and what they need, which Windows takes
  // from its known DLLs as well; Wine does not protect those, so they stay out of this test.
  std::set<std::string> planted = {"comctl32.dll"};  // the manifest must still choose the real one
  {
    const winelog::WineOutput firstRun;
    const winelog::RelayFilter marker(L"KERNEL32.SetDefaultDllDirectories");
    // Everything is loaded by the time the window has painted; the rest of its display is not
    // needed here.
    probe::RunOptions options = probe::withEnvironment({L"WINEDEBUG=+loaddll,+relay,+pid"});
    options.endAfterWindowMs = 500;
    const probe::Run run =
        probe::run(program.wstring(), L"KANTRELL.exe on x x 0 s", 60'000, options);
    ASSERT_TRUE(run.window.seen);
    for (const winelog::LoadedDll& dll : winelog::loadedAfterCall(
             firstRun.writtenSince(), "KANTRELL.exe", "KERNEL32.SetDefaultDllDirectories")) {
      const std::string name = fileNameOf(dll.path);
      if (kKnownDlls.count(name) == 0) planted.insert(name);
    }
  }
  ASSERT_EQ(planted.count("winmm.dll"), 1u) << "the timer DLL is loaded at run time";

  // 2. The same run with a DLL of each of those names beside the program, native copies first.
  std::wstring overrides;
  for (const std::string& name : planted) {
    fs::copy_file(fs::path(probe::ownDirectory()) / "planted.dll", folder / name);
    const std::string key = name.ends_with(".dll") ? name.substr(0, name.size() - 4) : name;
    overrides += (overrides.empty() ? L"" : L",") + std::wstring(key.begin(), key.end());
  }
  const winelog::WineOutput secondRun;
  probe::RunOptions options = probe::withEnvironment(
      {L"WINEDEBUG=+loaddll,+pid", L"WINEDLLOVERRIDES=" + overrides + L"=n,b"});
  options.endAfterWindowMs = 500;  // as far as the first run went
  const probe::Run run = probe::run(program.wstring(), L"KANTRELL.exe on x x 0 s", 60'000, options);

  const std::vector<winelog::LoadedDll> loaded =
      winelog::loadedDlls(secondRun.writtenSince(), "KANTRELL.exe");
  ASSERT_FALSE(loaded.empty()) << "no loader log";
  const std::string beside = asLogged(folder);
  for (const winelog::LoadedDll& dll : loaded) {
    if (fileNameOf(dll.path) == "kantrell.exe") continue;
    EXPECT_NE(lowered(dll.path).rfind(beside, 0), 0u)
        << dll.path << " came from beside the program";
  }
  EXPECT_FALSE(fs::exists(folder / "planted-dll-ran")) << "a planted DLL ran its code";

  // And the run still did its work.
  ASSERT_EQ(run.keys.size(), 2u) << "Num Lock pressed and released";
  EXPECT_EQ(run.keys[0].virtualKey, kantrell::kVkNumLock);
  EXPECT_TRUE(run.window.seen);

  std::string names;
  for (const std::string& name : planted) names += " " + name;
  std::printf("planted:%s\n", names.c_str());
}

}  // namespace
