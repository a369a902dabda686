// The application window: zero-sized, it shows only as the taskbar button with the
// application title, and passes activation and closing on to the main window.
#include "win32/cApplication.h"

#include "common/cTextConv.h"

#include <stdexcept>

#include <commctrl.h>

namespace {
const wchar_t *const kApplicationClass = L"FusebenchApplication";
}

TApplication::TApplication() {
  INITCOMMONCONTROLSEX init = {};
  init.dwSize = sizeof(init);
  init.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&init);

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hIconSm =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), 0));
  wc.lpszClassName = kApplicationClass;
  RegisterClassExW(&wc);

  const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  FHandle = CreateWindowExW(0, kApplicationClass, AnsiToWide(kTitle).c_str(),
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS, x, y, 0, 0,
                            nullptr, nullptr, instance, nullptr);
  if (!FHandle)
    throw std::runtime_error("cannot create the application window");
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TApplication::~TApplication() {
  if (FHandle && IsWindow(FHandle)) {
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
  }
}

void TApplication::SetMainWindow(HWND value) {
  FMainWindow = value;
  ShowWindow(FHandle, SW_SHOWNOACTIVATE);
}

LRESULT CALLBACK TApplication::WndProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *application = reinterpret_cast<TApplication *>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  HWND main = application ? application->FMainWindow : nullptr;
  if (main && !IsWindow(main))
    main = nullptr;
  switch (message) {
  case WM_ACTIVATE:
    // The taskbar button activates this window: pass it on to the main window, or
    // to the modal dialog it has open.
    if (LOWORD(wParam) != WA_INACTIVE && main) {
      HWND target = GetLastActivePopup(main);
      if (target && IsWindowVisible(target) && IsWindowEnabled(target))
        SetActiveWindow(target);
      return 0;
    }
    break;
  case WM_CLOSE:
    if (main) {
      PostMessageW(main, WM_CLOSE, 0, 0);
      return 0;
    }
    break;
  default:
    break;
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}
