#include "wine_log.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace winelog {

namespace {

// Lines look like "0118:011c:Call user32.keybd_event(00000090,...) ret=14000823f" and
// "0118:011c:trace:loaddll:build_module Loaded L"C:\\...\\x.dll" at 00000002945E0000: builtin".
constexpr std::size_t kThreadPrefix = 10;  // "pppp:tttt:"

struct ProgramLoad {
  std::string thread;  // "pppp:tttt:" of the loader, the main thread
  std::string process;
  std::uint64_t base = 0;
};

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool endsWithProgram(const std::string& path, const std::string& program) {
  const std::string name = path.substr(path.find_last_of('\\') + 1);
  return lowered(name) == lowered(program);
}

ProgramLoad findProgram(const std::string& log, const std::string& program) {
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t loaded = line.find(":trace:loaddll:build_module Loaded L\"");
    const std::size_t at = line.find("\" at ");
    if (loaded == std::string::npos || at == std::string::npos) continue;
    const std::size_t start = loaded + std::string(":trace:loaddll:build_module Loaded L\"").size();
    if (!endsWithProgram(line.substr(start, at - start), program)) continue;
    ProgramLoad found;
    found.thread = line.substr(0, kThreadPrefix);
    found.process = line.substr(0, 5);
    found.base = std::stoull(line.substr(at + 5, 16), nullptr, 16);
    return found;
  }
  return {};
}

}  // namespace

WineOutput::WineOutput() {
  wchar_t unixPath[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"KANTRELL_WINE_OUTPUT", unixPath, MAX_PATH) == 0) return;
  // Wine sees the Unix root as drive Z:.
  path_ = std::wstring(L"Z:") + unixPath;
  std::replace(path_.begin(), path_.end(), L'/', L'\\');
  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  if (!GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &attributes)) {
    path_.clear();
    return;
  }
  start_ = (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
}

std::string WineOutput::writtenSince() const {
  std::ifstream file(std::filesystem::path(path_), std::ios::binary);
  file.seekg(static_cast<std::streamoff>(start_));
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

namespace {

std::vector<LoadedDll> loadedSince(const std::string& log, const std::string& program,
                                   const std::string& function) {
  const ProgramLoad load = findProgram(log, program);
  std::vector<LoadedDll> dlls;
  if (load.process.empty()) return dlls;
  std::istringstream lines(log);
  const std::string marker = ":trace:loaddll:build_module Loaded L\"";
  const std::string call = load.thread + "Call " + function + "(";
  bool counting = function.empty();
  for (std::string line; std::getline(lines, line);) {
    if (!counting) {
      counting = line.rfind(call, 0) == 0;
      continue;
    }
    if (line.rfind(load.process, 0) != 0) continue;
    const std::size_t loaded = line.find(marker);
    const std::size_t at = line.find("\" at ");
    if (loaded == std::string::npos || at == std::string::npos) continue;
    const std::size_t start = loaded + marker.size();
    LoadedDll dll;
    dll.path = line.substr(start, at - start);
    dll.kind = line.substr(line.rfind(' ') + 1);
    dlls.push_back(dll);
  }
  return dlls;
}

}  // namespace

std::vector<LoadedDll> loadedDlls(const std::string& log, const std::string& program) {
  return loadedSince(log, program, "");
}

std::vector<LoadedDll> loadedAfterCall(const std::string& log, const std::string& program,
                                       const std::string& function) {
  return loadedSince(log, program, function);
}

std::vector<Call> programCalls(const std::string& log, const std::string& program,
                               std::uint32_t imageSize) {
  const ProgramLoad load = findProgram(log, program);
  std::vector<Call> calls;
  if (load.thread.empty()) return calls;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (line.compare(0, kThreadPrefix, load.thread) != 0) continue;
    if (line.compare(kThreadPrefix, 5, "Call ") != 0) continue;
    const std::size_t open = line.find('(', kThreadPrefix);
    const std::size_t ret = line.rfind(") ret=");
    if (open == std::string::npos || ret == std::string::npos || ret < open) continue;
    const std::string function = line.substr(kThreadPrefix + 5, open - kThreadPrefix - 5);
    if (function.find('.') == std::string::npos || function.find(' ') != std::string::npos) {
      continue;  // "Call window proc ..." and the like
    }
    const std::uint64_t returnAddress = std::stoull(line.substr(ret + 6), nullptr, 16);
    if (returnAddress < load.base || returnAddress >= load.base + imageSize) continue;
    calls.push_back({function, line.substr(open + 1, ret - open - 1)});
  }
  return calls;
}

RelayFilter::RelayFilter(const std::wstring& functions) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Debug", 0, nullptr, 0, KEY_SET_VALUE,
                  nullptr, &key, nullptr);
  RegSetValueExW(key, L"RelayInclude", 0, REG_SZ, reinterpret_cast<const BYTE*>(functions.c_str()),
                 static_cast<DWORD>((functions.size() + 1) * sizeof(wchar_t)));
  key_ = key;
}

RelayFilter::~RelayFilter() {
  RegDeleteValueW(static_cast<HKEY>(key_), L"RelayInclude");
  RegCloseKey(static_cast<HKEY>(key_));
}

bool matches(const std::string& text, const std::string& pattern) {
  std::size_t t = 0, p = 0, star = std::string::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (star != std::string::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace winelog
