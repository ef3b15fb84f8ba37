// Entry point of KANTRELL.exe.
#include <windows.h>

#include "app/run.h"
#include "core/command_line.h"
#include "status/status_display.h"
#include "toolkit/clock.h"
#include "win32/clock_win32.h"
#include "win32/system_dlls_win32.h"
#include "win32/system_win32.h"
#include "win32/window_toolkit_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace kantrell;
  // Before anything else can load a DLL: only from the system directory.
  restrictDllSearchToSystemDirectory();
  Win32Keyboard keyboard;
  Win32Timer timer;
  Win32WindowToolkit toolkit(GetModuleHandleW(nullptr));
  Win32PerformanceCounter counter;
  CounterClock clock(counter);
  WindowStatusDisplay status(toolkit, toolkit, clock);
  Platform platform{keyboard, timer, toolkit, toolkit, status};
  CommandLineReader words(processCommandLine());
  // ExitProcess rather than a return: the run never hands control back to the C runtime.
  ExitProcess(static_cast<UINT>(runProgram(words, platform)));
}
