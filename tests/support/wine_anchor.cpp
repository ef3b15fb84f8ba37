// Keeps a Wine session warm for as long as it runs: a process that owns one hidden window, so
// that Wine's desktop and its system processes never shut down between the short runs of the
// tests, the demo and the benchmark (each shutdown and restart costs time and, while it happens,
// a new process may fail to start). Ended by the runner's --stop.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  CreateWindowExW(0, L"Static", L"kantrell wine anchor", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                  instance, nullptr);
  MSG message = {};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
