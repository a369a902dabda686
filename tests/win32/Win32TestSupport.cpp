// A parent window for control tests, message pumping and simulated keys.
#include "tests/win32/Win32TestSupport.h"

#include "controls/cWinControl.h"

#include <commctrl.h>

void InitControlsForTests() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX init = {};
    init.dwSize = sizeof(init);
    init.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)done;
}

namespace {
LRESULT CALLBACK ParentProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (TWinControl::ReflectToControl(handle, message, wParam, lParam, result))
    return result;
  return DefWindowProcW(handle, message, wParam, lParam);
}
} // namespace

TTestParent::TTestParent() {
  static const HWND shared = [] {
    InitControlsForTests();
    static const ATOM atom = [] {
      WNDCLASSEXW wc = {};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = ParentProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = L"FusebenchTestParent";
      return RegisterClassExW(&wc);
    }();
    (void)atom;
    HWND handle = CreateWindowExW(WS_EX_CONTROLPARENT, L"FusebenchTestParent", L"test", WS_OVERLAPPEDWINDOW,
                                  10, 10, 900, 500, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(handle, SW_SHOW);
    SetForegroundWindow(handle);
    PumpMessages(handle);
    return handle;
  }();
  FHandle = shared;
}

void PumpMessages(HWND dialogWindow) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (dialogWindow && IsWindow(dialogWindow) && IsDialogMessageW(dialogWindow, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void PressKey(HWND target, UINT key, HWND dialogWindow, bool alt) {
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
  LPARAM up = down | (1LL << 30) | (1LL << 31);
  if (alt) {
    down |= 1LL << 29;
    up |= 1LL << 29;
  }
  PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down);
  PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, up);
  PumpMessages(dialogWindow);
}

void TypeText(HWND target, const std::string &text, HWND dialogWindow) {
  for (const char c : text)
    PressKey(target, LOBYTE(VkKeyScanA(c)), dialogWindow);
}

bool PutRegValue(const char *path, const char *name, const TRegValue &value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG result =
      RegSetValueExA(key, name, 0, value.Type, reinterpret_cast<const BYTE *>(value.Data.data()),
                     static_cast<DWORD>(value.Data.size()));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

std::optional<TRegValue> GetRegValue(const char *path, const char *name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  char data[1024];
  DWORD size = sizeof(data);
  DWORD type = 0;
  const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(data), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS)
    return std::nullopt;
  return TRegValue{type, std::string(data, size)};
}
