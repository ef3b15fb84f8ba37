#include "probe.h"

#include <psapi.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace probe {

namespace {

LARGE_INTEGER frequency() {
  LARGE_INTEGER value = {};
  QueryPerformanceFrequency(&value);
  return value;
}

double msSince(const LARGE_INTEGER& origin) {
  static const LARGE_INTEGER ticksPerSecond = frequency();
  LARGE_INTEGER now = {};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - origin.QuadPart) * 1000.0 /
         static_cast<double>(ticksPerSecond.QuadPart);
}

// The hook runs on this thread while it pumps messages; these belong to the current run.
std::vector<KeyEvent>* recordedKeys = nullptr;
LARGE_INTEGER runOrigin = {};

LRESULT CALLBACK recordKey(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && recordedKeys != nullptr) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    recordedKeys->push_back({key->vkCode, key->scanCode, key->flags, msSince(runOrigin)});
  }
  return CallNextHookEx(nullptr, code, message, data);
}

void pumpMessages() {
  MSG message = {};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

struct FoundWindow {
  DWORD processId;
  HWND window;
};

BOOL CALLBACK findVisibleWindowOf(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<FoundWindow*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == found->processId && IsWindowVisible(window)) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

// The screen's pixels under `rect`, as a bottom-up 24-bit BMP file.
bool savePicture(const RECT& rect, const std::wstring& path) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool saved = false;
  if (bitmap != nullptr) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD imageBytes = static_cast<DWORD>(((width * 3 + 3) & ~3) * height);
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + imageBytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      saved = WriteFile(file, &header, sizeof header, &written, nullptr) &&
              WriteFile(file, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
              WriteFile(file, bits, imageBytes, &written, nullptr);
      CloseHandle(file);
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

void lookForWindow(DWORD processId, double atMs, WindowSighting& sighting,
                   const std::wstring& pictureFile) {
  FoundWindow found{processId, nullptr};
  EnumWindows(findVisibleWindowOf, reinterpret_cast<LPARAM>(&found));
  if (found.window == nullptr) return;
  if (!sighting.seen) {
    sighting.seen = true;
    sighting.firstMs = atMs;
    GetWindowRect(found.window, &sighting.rect);
    wchar_t name[256] = {};
    GetClassNameW(found.window, name, 256);
    sighting.className = name;
  }
  // Styles as they settle: the window becomes topmost just after it shows.
  sighting.style = GetWindowLongW(found.window, GWL_STYLE);
  sighting.exStyle = GetWindowLongW(found.window, GWL_EXSTYLE);
  sighting.lastMs = atMs;
  if (!pictureFile.empty() && !sighting.pictureTaken && atMs - sighting.firstMs >= 500) {
    RECT now = {};
    GetWindowRect(found.window, &now);
    sighting.pictureTaken = savePicture(now, pictureFile);
  }
}

double toMs(const FILETIME& time) {
  ULARGE_INTEGER value = {};
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10'000.0;
}

// Processor time and memory as the system reports them for a live process; Wine reports
// nothing useful once the process has ended, so the last reading while it lives counts.
void sampleResources(HANDLE process, Run& run) {
  FILETIME created = {}, exited = {}, kernel = {}, user = {};
  if (GetProcessTimes(process, &created, &exited, &kernel, &user)) {
    run.cpuMs = toMs(kernel) + toMs(user);
  }
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, &memory, sizeof memory)) {
    run.peakWorkingSetBytes =
        std::max({run.peakWorkingSetBytes, memory.PeakWorkingSetSize, memory.WorkingSetSize});
  }
}

// This process's environment with `changes` applied, as CreateProcessW takes it: NAME=VALUE
// strings, each ended by a null, the block ended by another.
std::wstring environmentWith(const std::vector<std::wstring>& changes) {
  std::vector<std::wstring> variables;
  if (wchar_t* block = GetEnvironmentStringsW()) {
    for (const wchar_t* at = block; *at != L'\0'; at += wcslen(at) + 1) variables.emplace_back(at);
    FreeEnvironmentStringsW(block);
  }
  for (const std::wstring& change : changes) {
    const std::wstring name = change.substr(0, change.find(L'=') + 1);
    std::erase_if(variables, [&name](const std::wstring& variable) {
      return _wcsnicmp(variable.c_str(), name.c_str(), name.size()) == 0;
    });
    variables.push_back(change);
  }
  std::wstring environment;
  for (const std::wstring& variable : variables) {
    environment += variable;
    environment.push_back(L'\0');
  }
  environment.push_back(L'\0');
  return environment;
}

}  // namespace

bool underWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring ownDirectory() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory(path, length);
  return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

Run run(const std::wstring& applicationPath, const std::wstring& commandLine, DWORD limitMs,
        const RunOptions& options) {
  Run result;
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, recordKey, GetModuleHandleW(nullptr), 0);
  pumpMessages();
  recordedKeys = &result.keys;

  std::wstring line = commandLine;  // CreateProcessW may write into its command line
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  std::wstring environment;
  if (!options.environment.empty()) environment = environmentWith(options.environment);
  PROCESS_INFORMATION process = {};
  QueryPerformanceCounter(&runOrigin);
  result.started =
      CreateProcessW(applicationPath.c_str(), line.data(), nullptr, nullptr, FALSE,
                     CREATE_UNICODE_ENVIRONMENT, environment.empty() ? nullptr : environment.data(),
                     nullptr, &startup, &process) != FALSE;
  if (result.started) {
    for (;;) {
      const DWORD wake = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 5, QS_ALLINPUT);
      const double nowMs = msSince(runOrigin);
      if (wake == WAIT_OBJECT_0) {
        result.finished = true;
        result.exitMs = nowMs;
        break;
      }
      pumpMessages();
      lookForWindow(process.dwProcessId, nowMs, result.window, options.pictureFile);
      sampleResources(process.hProcess, result);
      const bool farEnough = options.endAfterWindowMs >= 0 && result.window.seen &&
                             nowMs - result.window.firstMs >= options.endAfterWindowMs;
      if (nowMs > limitMs || farEnough) {
        TerminateProcess(process.hProcess, 0xDEAD);
        WaitForSingleObject(process.hProcess, INFINITE);
        break;
      }
    }
    // Let any hook call still queued for this thread arrive. Injected events reach the hook
    // before keybd_event returns in the child, so by its exit they are here; this is a margin.
    const double settleUntil = msSince(runOrigin) + 30;
    while (msSince(runOrigin) < settleUntil) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      pumpMessages();
    }
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  recordedKeys = nullptr;
  UnhookWindowsHookEx(hook);
  return result;
}

}  // namespace probe
