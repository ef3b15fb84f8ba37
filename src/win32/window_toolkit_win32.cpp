#include "win32/window_toolkit_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/control_colours.h"
#include "win32/text_win32.h"

namespace kantrell {

namespace {

// The one toolkit of this thread; its windows' procedure reaches it through here.
Win32WindowToolkit* currentToolkit = nullptr;

// Vertical pixels per logical inch of the display, or 96 when no display context can be made.
int readScreenDpiY() {
  HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  if (display == nullptr) return 96;
  const int dpiY = GetDeviceCaps(display, LOGPIXELSY);
  DeleteDC(display);
  return dpiY;
}

BOOL CALLBACK forwardSysColorChange(HWND child, LPARAM) {
  SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}

// Moves the keyboard focus to the next (or previous) child that is enabled, visible and a tab
// stop, wrapping around; with no such child nothing changes.
void moveFocus(HWND window, bool forward) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  if (children.empty()) return;
  const auto focused = std::find(children.begin(), children.end(), GetFocus());
  const std::size_t count = children.size();
  std::size_t index = focused == children.end()
                          ? (forward ? count - 1 : 0)
                          : static_cast<std::size_t>(focused - children.begin());
  for (std::size_t step = 0; step < count; ++step) {
    index = forward ? (index + 1) % count : (index + count - 1) % count;
    HWND candidate = children[index];
    const bool tabStop = (GetWindowLongW(candidate, GWL_STYLE) & WS_TABSTOP) != 0;
    if (tabStop && IsWindowEnabled(candidate) && IsWindowVisible(candidate)) {
      if (candidate != GetFocus()) SetFocus(candidate);
      return;
    }
  }
}

UniqueAcceleratorTable makeTabAccelerators() {
  ACCEL entries[] = {
      {FVIRTKEY | FNOINVERT, VK_TAB, kCommandNextControl},
      {FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, kCommandPreviousControl},
  };
  return UniqueAcceleratorTable(CreateAcceleratorTableW(entries, 2));
}

constexpr UINT kRedrawFlags = RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_FRAME;

// Everything that can wake the thread, as Windows 7 knows it. Newer headers add touch and pointer
// bits to QS_ALLINPUT; a system that does not know them fails the wait, and the display loop would
// then spin instead of sleeping. The headers are pinned to Windows 7; this keeps the value honest.
constexpr DWORD kWakeMask = QS_ALLINPUT | QS_ALLPOSTMESSAGE;
static_assert(kWakeMask == 0x5FF, "the wake mask must be the one Windows 7 knows");

}  // namespace

Win32WindowToolkit::Win32WindowToolkit(HINSTANCE module) : module_(module) {
  currentToolkit = this;
}

Win32WindowToolkit::~Win32WindowToolkit() {
  end();
  if (currentToolkit == this) currentToolkit = nullptr;
}

void Win32WindowToolkit::start() {
  dpiY_ = readScreenDpiY();
  icon_.reset(LoadIconW(module_, MAKEINTRESOURCEW(1)));
  cursor_ = LoadCursorW(nullptr, IDC_ARROW);
  defaultControlFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

  // Bound here rather than imported: an imported common-controls library is initialised before
  // the program's first line, and what it loads then is searched for beside the program too. By
  // name, so that the manifest's activation context still chooses version 6.
  using InitCommonControlsExCall = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  HMODULE commonControls = LoadLibraryW(L"comctl32.dll");
  const auto initCommonControlsEx =
      commonControls == nullptr
          ? nullptr
          : reinterpret_cast<InitCommonControlsExCall>(
                reinterpret_cast<void*>(GetProcAddress(commonControls, "InitCommonControlsEx")));
  INITCOMMONCONTROLSEX controls = {};
  controls.dwSize = sizeof controls;  // 8
  controls.dwICC = ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                   ICC_INTERNET_CLASSES;  // 0xB48
  if (initCommonControlsEx != nullptr) initCommonControlsEx(&controls);
}

FontId Win32WindowToolkit::createFont(const FontSpec& wanted) {
  UniqueFont font(CreateFontW(wanted.height, 0, 0, 0, wanted.weight, wanted.italic ? TRUE : FALSE,
                              FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                              wide(wanted.face)));
  if (!font) return 0;
  const auto id = reinterpret_cast<FontId>(font.get());
  fonts_.push_back(std::move(font));
  return id;
}

WindowId Win32WindowToolkit::openWindow(const WindowSpec& wanted) {
  const std::wstring className = L"WindowClass_" + std::to_wstring(windowsMade_++);

  WNDCLASSW windowClass = {};
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = module_;
  windowClass.hIcon = icon_.get();
  windowClass.hCursor = cursor_;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className.c_str();
  RegisterClassW(&windowClass);  // a failure shows as a failed creation below

  RECT outer = {0, 0, wanted.clientSize.width, wanted.clientSize.height};
  AdjustWindowRectEx(&outer, wanted.style, FALSE, 0);
  HWND window = CreateWindowExW(0, className.c_str(), wide(wanted.title), wanted.style,
                                wanted.position.x, wanted.position.y, outer.right - outer.left,
                                outer.bottom - outer.top, nullptr, nullptr, module_, nullptr);
  if (window == nullptr) {
    UnregisterClassW(className.c_str(), module_);
    return 0;
  }
  WindowRecord& record = windows_[window];
  record.window.reset(window);
  record.className = className;
  return toId(window);
}

Size Win32WindowToolkit::windowSize(WindowId window) {
  RECT outer = {};
  GetWindowRect(toWindow(window), &outer);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

Rect Win32WindowToolkit::primaryScreen() {
  // The primary screen's top left corner is the origin of the screen coordinates.
  return {{0, 0}, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
}

void Win32WindowToolkit::moveWindow(WindowId window, Point position) {
  SetWindowPos(toWindow(window), nullptr, position.x, position.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowToolkit::showWindow(WindowId window) {
  HWND hwnd = toWindow(window);
  ShowWindow(hwnd, SW_SHOWNORMAL);  // also activates it
  if (WindowRecord* record = recordOf(hwnd)) {
    record->shown = true;
    record->accelerators = makeTabAccelerators();
  }
}

void Win32WindowToolkit::makeTopmost(WindowId window) {
  SetWindowPos(toWindow(window), HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

ControlId Win32WindowToolkit::addStatic(WindowId parent, const StaticSpec& wanted) {
  WindowRecord* record = recordOf(toWindow(parent));
  if (record == nullptr) return 0;
  HWND control = CreateWindowExW(
      0, L"Static", wide(wanted.text), wanted.style, wanted.position.x, wanted.position.y,
      wanted.size.width, wanted.size.height, toWindow(parent),
      reinterpret_cast<HMENU>(static_cast<std::intptr_t>(wanted.identifier)), module_, nullptr);
  if (control == nullptr) return 0;
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(defaultControlFont_), TRUE);
  ControlRecord controlRecord;
  controlRecord.control = control;
  controlRecord.identifier = wanted.identifier;
  record->controls.push_back(std::move(controlRecord));
  return reinterpret_cast<ControlId>(control);
}

void Win32WindowToolkit::setTextColour(ControlId control, Colour colour) {
  ControlRecord* record = controlRecordOf(toWindow(control));
  if (record == nullptr) return;
  record->textColour = colour;
  RedrawWindow(record->control, nullptr, nullptr, kRedrawFlags);
}

void Win32WindowToolkit::setBackColour(ControlId control, Colour colour) {
  ControlRecord* record = controlRecordOf(toWindow(control));
  if (record == nullptr) return;
  record->backColour = colour;
  record->backBrush.reset(
      colour == kSystemColour ? nullptr : CreateSolidBrush(static_cast<COLORREF>(colour)));
  RedrawWindow(record->control, nullptr, nullptr, kRedrawFlags);
}

void Win32WindowToolkit::setFont(ControlId control, FontId font) {
  // A null font is sent as it is: the control then draws in the system font.
  SendMessageW(toWindow(control), WM_SETFONT, static_cast<WPARAM>(font), TRUE);
}

std::int64_t Win32WindowToolkit::nextEvent(std::int32_t timeoutMs) {
  if (!pendingEvents_.empty()) {
    const std::int64_t code = pendingEvents_.front().second;
    pendingEvents_.pop_front();
    return code;
  }

  constexpr UINT kRemove = PM_REMOVE | PM_NOYIELD;
  MSG message = {};
  if (timeoutMs == -1) {
    GetMessageW(&message, nullptr, 0, 0);
  } else if (!PeekMessageW(&message, nullptr, 0, 0, kRemove)) {
    if (timeoutMs == 0) return 0;
    const DWORD wake =
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeoutMs), kWakeMask);
    // A failed wait counts as a wake-up: the message check below then finds nothing.
    if (wake == WAIT_TIMEOUT) return 0;
    if (!PeekMessageW(&message, nullptr, 0, 0, kRemove)) return 0;
  }

  HWND active = GetActiveWindow();
  HACCEL accelerators = acceleratorTableOf(active);
  if (accelerators == nullptr || !TranslateAcceleratorW(active, accelerators, &message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // Never 1: WM_CREATE is only ever sent, and the system refuses to post it.
  return static_cast<std::int32_t>(message.message);
}

void Win32WindowToolkit::closeWindow(WindowId window) {
  HWND hwnd = toWindow(window);
  const WindowRecord* record = recordOf(hwnd);
  if (record == nullptr) return;
  const std::wstring className = record->className;
  if (HWND owner = GetWindow(hwnd, GW_OWNER)) SetActiveWindow(owner);
  DestroyWindow(hwnd);  // its WM_NCDESTROY releases the record
  if (WindowRecord* left = recordOf(hwnd)) {
    left->window.release();  // already gone from the system; only the record is left
    onNcDestroy(hwnd);
  }
  dropEventsOf(hwnd);
  // While WM_NCDESTROY runs the window still counts as existing, and Windows refuses to
  // unregister a class that has windows; now that it is gone the class goes too.
  UnregisterClassW(className.c_str(), module_);
}

void Win32WindowToolkit::end() {
  while (!windows_.empty()) closeWindow(toId(windows_.begin()->first));
  icon_.reset();
  fonts_.clear();
}

HACCEL Win32WindowToolkit::acceleratorTableOf(HWND window) const {
  const auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : found->second.accelerators.get();
}

LRESULT CALLBACK Win32WindowToolkit::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
  if (currentToolkit == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return currentToolkit->handleMessage(window, message, wParam, lParam);
}

LRESULT Win32WindowToolkit::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = recordOf(window);
  switch (message) {
    case WM_CTLCOLORSTATIC:
      return onControlColour(record, window, reinterpret_cast<HDC>(wParam),
                             reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:
      // Swallowed: only the program decides when its window goes.
      recordEvent(window, kEventCloseRequested);
      return 0;
    case WM_ACTIVATE:
      return onActivate(record, window, wParam);
    case WM_MOVE:
      if (record != nullptr && record->shown) recordEvent(window, kEventMoved);
      return 0;
    case WM_SIZE:
      if (record != nullptr && record->shown) {
        recordEvent(window, kEventSized);
        return 0;
      }
      break;
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONUP:
      recordEvent(window, kEventClicked);
      return 0;
    case WM_ERASEBKGND:
      recordEvent(window, kEventRepainted);
      break;  // the default paints the class brush
    case WM_SYSCOLORCHANGE:
      EnumChildWindows(window, forwardSysColorChange, 0);
      break;
    case WM_GETMINMAXINFO:
      return 0;  // the system's limits stand
    case WM_COMMAND:
      if (lParam == 0 &&
          (LOWORD(wParam) == kCommandNextControl || LOWORD(wParam) == kCommandPreviousControl)) {
        moveFocus(window, LOWORD(wParam) == kCommandNextControl);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      onNcDestroy(window);
      return 1;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32WindowToolkit::onControlColour(WindowRecord* record, HWND window, HDC dc,
                                            HWND control) {
  ControlRecord* own = nullptr;
  if (record != nullptr) {
    const int identifier = GetDlgCtrlID(control);
    for (ControlRecord& candidate : record->controls) {
      if (candidate.identifier == identifier) own = &candidate;
    }
  }
  if (own == nullptr) {
    return DefWindowProcW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(control));
  }
  const auto text = static_cast<COLORREF>(own->textColour);
  const auto back = static_cast<COLORREF>(own->backColour);
  switch (colourAnswerFor(own->textColour, own->backColour)) {
    case ColourAnswer::TextOnDialogFace:
      SetTextColor(dc, text);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));  // the system's: kept
    case ColourAnswer::TextOnOwnBrush:
      SetTextColor(dc, text);
      SetBkColor(dc, back);
      return reinterpret_cast<LRESULT>(own->backBrush.get());
    case ColourAnswer::OwnBrushOnly:
      SetBkColor(dc, back);
      return reinterpret_cast<LRESULT>(own->backBrush.get());
    case ColourAnswer::SystemDefault:
      break;
  }
  return DefWindowProcW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(control));
}

LRESULT Win32WindowToolkit::onActivate(WindowRecord* record, HWND window, WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    if (record != nullptr) {
      HWND focus = GetFocus();
      record->focusBeforeDeactivation = IsChild(window, focus) ? focus : nullptr;
    }
    recordEvent(window, kEventDeactivated);
  } else {
    if (record != nullptr && record->focusBeforeDeactivation != nullptr) {
      SetFocus(record->focusBeforeDeactivation);
    }
    recordEvent(window, kEventActivated);
  }
  return 1;
}

void Win32WindowToolkit::onNcDestroy(HWND window) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  const std::wstring className = found->second.className;
  found->second.window.release();  // being destroyed right now
  windows_.erase(found);           // frees its accelerator table and control brushes
  dropEventsOf(window);
  UnregisterClassW(className.c_str(), module_);
}

Win32WindowToolkit::WindowRecord* Win32WindowToolkit::recordOf(HWND window) {
  const auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : &found->second;
}

Win32WindowToolkit::ControlRecord* Win32WindowToolkit::controlRecordOf(HWND control) {
  for (auto& [window, record] : windows_) {
    for (ControlRecord& candidate : record.controls) {
      if (candidate.control == control) return &candidate;
    }
  }
  return nullptr;
}

void Win32WindowToolkit::recordEvent(HWND window, std::int64_t code) {
  if (recordOf(window) != nullptr) pendingEvents_.emplace_back(window, code);
}

void Win32WindowToolkit::dropEventsOf(HWND window) {
  std::erase_if(pendingEvents_, [window](const auto& event) { return event.first == window; });
}

}  // namespace kantrell
