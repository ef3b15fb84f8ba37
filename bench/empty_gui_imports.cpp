// An empty GUI-subsystem program that loads the same system DLLs as KANTRELL.exe (which binds two
// of them at run time; this one imports all four) and carries the same resources, so the same
// common-controls manifest: it shows what loading those costs by itself. The calls never run; they
// only make the imports.
#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <mmsystem.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  if (GetCommandLineW() == nullptr) {
    keybd_event(0, 0, 0, 0);
    DeleteObject(GetStockObject(DEFAULT_GUI_FONT));
    InitCommonControls();
    timeBeginPeriod(1);
  }
  ExitProcess(0);
}
