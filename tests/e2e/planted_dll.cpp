// A DLL to plant beside KANTRELL.exe under the names of the DLLs it loads: it exports nothing,
// and when any process loads it, it leaves a mark in its own folder.
#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring mark(path, length);
    mark = mark.substr(0, mark.find_last_of(L'\\') + 1) + L"planted-dll-ran";
    CloseHandle(CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  return TRUE;
}
