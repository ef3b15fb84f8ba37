#include "win32/system_dlls_win32.h"

#include <string>

namespace kantrell {

namespace {

using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);

// Windows 8, and Windows 7 with the update KB2533623: the call that restricts the default search,
// and with it the LOAD_LIBRARY_SEARCH_* flags of LoadLibraryExW.
SetDefaultDllDirectoriesCall setDefaultDllDirectories() {
  // kernel32 is always loaded, so looking it up loads nothing.
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<SetDefaultDllDirectoriesCall>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
}

}  // namespace

void restrictDllSearchToSystemDirectory() {
  if (const SetDefaultDllDirectoriesCall restrict = setDefaultDllDirectories()) {
    restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
}

HMODULE loadSystemDll(const wchar_t* name) {
  if (setDefaultDllDirectories() != nullptr) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  // Without the search flags: the full path keeps the search away from the program's folder, and
  // the altered search path makes the DLL's own dependencies start from the system directory.
  wchar_t directory[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(directory, length) + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace kantrell
