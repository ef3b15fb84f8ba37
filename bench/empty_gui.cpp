// The smallest GUI-subsystem program: the yardstick for KANTRELL.exe's start-up cost.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { ExitProcess(0); }
