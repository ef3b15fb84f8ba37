// Entry point of KANTRELL.exe.
#include <windows.h>

#include "core/run.h"
#include "toolkit/system_win32.h"
#include "toolkit/window_toolkit_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace kantrell;
  Win32Keyboard keyboard;
  Win32Timer timer;
  Win32WindowToolkit toolkit(GetModuleHandleW(nullptr));
  Platform platform{keyboard, timer, toolkit};
  // ExitProcess rather than a return: the run never hands control back to the C runtime.
  ExitProcess(static_cast<UINT>(runProgram(processCommandLine(), platform)));
}
