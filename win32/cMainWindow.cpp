// The main window: layout, fonts and density, notification routing, life cycle.
#include "win32/cMainWindow.h"

#include "common/cTextConv.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include <commctrl.h>
#include <shellapi.h>

namespace {
const wchar_t *const kWindowClass = L"FusebenchMainWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Per-monitor DPI functions of Windows 10; looked up so the program still starts
// where they are missing.
UINT WindowDpi(HWND handle) {
  using TGetDpiForWindow = UINT(WINAPI *)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<TGetDpiForWindow>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow) {
    const UINT dpi = getDpiForWindow(handle);
    if (dpi != 0)
      return dpi;
  }
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void AdjustRectForDpi(RECT &rect, UINT dpi) {
  using TAdjust = BOOL(WINAPI *)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = reinterpret_cast<TAdjust>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (adjust)
    adjust(&rect, kStyle, FALSE, kExStyle, dpi);
  else
    AdjustWindowRectEx(&rect, kStyle, FALSE, kExStyle);
}

// Pitch: where the face is missing, the font mapper picks one of this pitch.
HFONT MakeFont(const wchar_t *face, int points, bool bold, UINT dpi,
               BYTE pitch = DEFAULT_PITCH | FF_DONTCARE) {
  return CreateFontW(-MulDiv(points, static_cast<int>(dpi), 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                     FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     pitch, face);
}

// The paths of the files in a drop, in the ANSI code page as the window's paths are.
std::vector<std::string> DroppedFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1)));
    paths.push_back(WideToAnsi(path));
  }
  return paths;
}

void RegisterWindowClass(WNDPROC proc) {
  static const ATOM atom = [proc] {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    if (!wc.hIcon)
      wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));   // IDI_APPLICATION
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc);
  }();
  if (!atom)
    throw std::runtime_error("cannot register the main window class");
}
} // namespace

class TMainWindow::THandlerScope {
public:
  explicit THandlerScope(TMainWindow &window) : FWindow(window) { ++FWindow.FHandlersRunning; }
  ~THandlerScope() { FWindow.LeaveHandler(); }
  THandlerScope(const THandlerScope &) = delete;
  THandlerScope &operator=(const THandlerScope &) = delete;

private:
  TMainWindow &FWindow;
};

TMainWindow::TMainWindow(TMainWindowSetup setup) : FSetup(std::move(setup)) {
  if (!FSetup.Registry || !FSetup.FileSystem || !FSetup.CreateFolderDialog)
    throw std::invalid_argument("TMainWindow needs a registry, a file system and a folder dialog");
  RegisterWindowClass(WndProc);
  FHandle = CreateWindowExW(kExStyle, kWindowClass, AnsiToWide(MainFormCaption()).c_str(), kStyle,
                            CW_USEDEFAULT, CW_USEDEFAULT, kMainFormClientWidth, kMainFormClientHeight,
                            FSetup.Owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!FHandle)
    throw std::runtime_error("cannot create the main window");
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  FPump.SetDialogWindow(FHandle);
  FClipboard.SetOwner(FHandle);
  FSaveFileDialog.SetOwner(FHandle);
  DragAcceptFiles(FHandle, TRUE);

  MakeControls(*this);
  ApplyDpi(WindowDpi(FHandle));
  FForm = MakeForm({FPump, FClipboard, *FSetup.Registry, *FSetup.FileSystem, FSaveFileDialog,
                    [this] { return FSetup.CreateFolderDialog(FHandle); }});
  RunGuarded([this](const std::string &message) { ReportError(message); }, [this] { FForm->FormCreate(); });
}

TMainWindow::~TMainWindow() {
  if (FHandle)
    DestroyWindow(FHandle);
  FForm.reset();
  DeleteFonts();
}

template <typename T>
std::unique_ptr<T> TMainWindow::Make(std::type_identity<T> /*kind*/,
                                     const TControlRequest<TWinControl> &request) {
  const TControlDef &def = request.Def;
  const HWND parent = request.Parent != nullptr ? request.Parent->Handle() : FHandle;
  std::unique_ptr<T> control;
  if constexpr (std::is_same_v<T, TLabel>)
    control = std::make_unique<T>(parent, request.Id, def.Caption, def.AutoSize);
  else if constexpr (std::is_same_v<T, TCheckBox>)
    control = std::make_unique<T>(parent, request.Id, def.Caption, def.Checked);
  else if constexpr (std::is_constructible_v<T, HWND, int, const std::string &>)
    control = std::make_unique<T>(parent, request.Id, def.Caption);
  else
    control = std::make_unique<T>(parent, request.Id);
  control->OnError = [this](const std::string &message) { ReportError(message); };
  // What a control runs from its own window procedure (the grid's keys, editor and
  // menu, the drop-down's typed keys) does not pass through this window's routing:
  // it counts as a run of the form's handlers all the same.
  control->RunEvent = [this](const std::function<void()> &handler) {
    const THandlerScope scope(*this);
    handler();
  };
  return control;
}

void TMainWindow::LeaveHandler() {
  if (--FHandlersRunning > 0 || !FClosePending)
    return;
  FClosePending = false;
  // Closed from the message loop, once the control that raised the handler is done too.
  if (FHandle)
    PostMessageW(FHandle, WM_CLOSE, 0, 0);
}

void TMainWindow::CreateFonts(UINT dpi) {
  DeleteFonts();
  FFont = MakeFont(L"Tahoma", 8, false, dpi);
  FBoldFont = MakeFont(L"Tahoma", 8, true, dpi);
  FMemoFont = MakeFont(L"Lucida Console", 8, false, dpi, FIXED_PITCH | FF_MODERN);
  FHeaderFont = MakeFont(L"MS Sans Serif", 8, false, dpi);
}

void TMainWindow::DeleteFonts() {
  for (HFONT *font : {&FFont, &FBoldFont, &FMemoFont, &FHeaderFont}) {
    if (*font)
      DeleteObject(*font);
    *font = nullptr;
  }
}

void TMainWindow::ApplyDpi(UINT dpi) {
  FDpi = dpi;
  // The controls take the new fonts before the old ones are deleted.
  HFONT oldFonts[4] = {FFont, FBoldFont, FMemoFont, FHeaderFont};
  FFont = FBoldFont = FMemoFont = FHeaderFont = nullptr;
  CreateFonts(dpi);

  for (const TControlDef &def : kMainFormControls) {
    TWinControl &control = ControlOf(def);
    control.SetDpi(dpi);
    control.SetFont(def.Bold ? FBoldFont : def.Kind == TControlKind::OutputBox ? FMemoFont : FFont);
  }
  Grid("SettingsGrid").SetHeaderFont(FHeaderFont);
  for (HFONT font : oldFonts)
    if (font)
      DeleteObject(font);

  const int clientWidth = ScaleToDpi(kMainFormClientWidth, dpi);
  const int clientHeight = ScaleToDpi(kMainFormClientHeight, dpi);
  RECT rect = {0, 0, clientWidth, clientHeight};
  AdjustRectForDpi(rect, dpi);
  SetWindowPos(FHandle, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Where the frame is not drawn at Dpi after all (a process that is not aware of
  // per-monitor density), correct by what the client area really got.
  RECT client;
  GetClientRect(FHandle, &client);
  if (client.right != clientWidth || client.bottom != clientHeight)
    SetWindowPos(FHandle, nullptr, 0, 0, rect.right - rect.left + clientWidth - client.right,
                 rect.bottom - rect.top + clientHeight - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutControls();
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TMainWindow::LayoutControls() {
  const UINT dpi = FDpi;
  RECT client;
  GetClientRect(FHandle, &client);
  for (const TControlDef &def : kMainFormControls) {
    TWinControl &control = ControlOf(def);
    if (def.Kind == TControlKind::Panel) {
      // Docked to the bottom edge, across the full width.
      const int height = ScaleToDpi(def.Height, dpi);
      control.SetBounds(0, client.bottom - height, client.right, height);
      continue;
    }
    int height = ScaleToDpi(def.Height, dpi);
    if (def.Kind == TControlKind::DropDown)
      height += ScaleToDpi(200, dpi); // the combo's height includes its open list
    control.SetBounds(ScaleToDpi(def.Left, dpi), ScaleToDpi(def.Top, dpi),
                      FittedWidth(def, ScaleToDpi(def.Width, dpi)), height);
  }
}

int TMainWindow::FittedWidth(const TControlDef &def, int width) const {
  int needed = 0;
  const TWinControl &control = ControlOf(def);
  if (def.Kind == TControlKind::Label && !def.AutoSize)
    needed = static_cast<const TLabel &>(control).TextWidth();
  else if (def.Kind == TControlKind::CheckBox)
    needed = static_cast<const TCheckBox &>(control).NeededWidth();
  else if (def.Kind == TControlKind::Button)
    needed = static_cast<const TButton &>(control).NeededWidth();
  if (needed <= width)
    return width;
  // Up to the nearest control to the right whose rows it shares, a gap short of it.
  const int left = ScaleToDpi(def.Left, FDpi);
  int limit = ScaleToDpi(kMainFormClientWidth - 8, FDpi);
  for (const TControlDef &other : kMainFormControls) {
    const bool sameParent = (other.Parent == nullptr) == (def.Parent == nullptr);
    const bool sharesRows = other.Top < def.Top + def.Height && def.Top < other.Top + other.Height;
    if (&other != &def && sameParent && sharesRows && other.Left > def.Left &&
        other.Kind != TControlKind::Panel)
      limit = std::min(limit, ScaleToDpi(other.Left - 4, FDpi));
  }
  return std::max(width, std::min(needed, limit - left));
}

void TMainWindow::CenterOnScreen() {
  RECT window;
  GetWindowRect(FHandle, &window);
  HMONITOR monitor = MonitorFromWindow(FHandle, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(monitor, &info);
  const RECT &screen = info.rcMonitor;
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  SetWindowPos(FHandle, nullptr, screen.left + (screen.right - screen.left - width) / 2,
               screen.top + (screen.bottom - screen.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainWindow::Show() {
  CenterOnScreen();
  ShowWindow(FHandle, SW_SHOW);
  UpdateWindow(FHandle);
  const THandlerScope scope(*this);
  RunGuarded([this](const std::string &message) { ReportError(message); }, [this] { FForm->FormShow(); });
}

void TMainWindow::ReportError(const std::string &message) {
  if (FSetup.ReportError) {
    FSetup.ReportError(message);
    return;
  }
  MessageBoxW(FHandle, AnsiToWide(message).c_str(), AnsiToWide(kErrorTitle).c_str(), MB_OK | MB_ICONERROR);
}

LRESULT CALLBACK TMainWindow::WndProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *window = reinterpret_cast<TMainWindow *>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  if (!window)
    return DefWindowProcW(handle, message, wParam, lParam);
  return window->HandleMessage(message, wParam, lParam);
}

LRESULT TMainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND handle = FHandle;
  const TErrorReporter reporter = [this](const std::string &text) { ReportError(text); };
  switch (message) {
  case WM_COMMAND:
    if (LOWORD(wParam) == IDOK && lParam == 0) {
      // Enter, through IsDialogMessage: it presses the focused push button.
      HWND focus = GetFocus();
      if (auto *button = dynamic_cast<TButton *>(TWinControl::FromHandle(focus)))
        SendMessageW(button->Handle(), BM_CLICK, 0, 0);
      return 0;
    }
    [[fallthrough]];
  case WM_NOTIFY:
  case WM_DRAWITEM:
  case WM_MEASUREITEM: {
    LRESULT result = 0;
    bool handled = false;
    {
      const THandlerScope scope(*this);
      RunGuarded(reporter,
                 [&] { handled = TWinControl::ReflectToControl(FHandle, message, wParam, lParam, result); });
    }
    if (handled)
      return result;
    break;
  }
  case WM_DROPFILES: {
    const auto drop = reinterpret_cast<HDROP>(wParam);
    {
      const THandlerScope scope(*this);
      RunGuarded(reporter, [&] { FForm->FormDropFiles(DroppedFiles(drop)); });
    }
    DragFinish(drop);
    return 0;
  }
  case WM_CTLCOLORSTATIC:
    return ColorStaticOnButtonFace(wParam);
  case WM_ACTIVATE:
    // Give the focus back to the control that had it when the window was left.
    if (LOWORD(wParam) == WA_INACTIVE) {
      HWND focus = GetFocus();
      if (focus && IsChild(FHandle, focus))
        FLastFocus = focus;
    } else if (FLastFocus && IsWindow(FLastFocus) && IsWindowEnabled(FLastFocus)) {
      SetFocus(FLastFocus);
      return 0;
    }
    break;
  case WM_DPICHANGED: {
    const auto *suggested = reinterpret_cast<const RECT *>(lParam);
    SetWindowPos(FHandle, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyDpi(LOWORD(wParam));
    return 0;
  }
  case WM_CLOSE:
    // Alt+F4, the close box or the application window, met by a handler's pump.
    if (FHandlersRunning > 0) {
      FClosePending = true;
      return 0;
    }
    DestroyWindow(FHandle);
    return 0;
  case WM_DESTROY:
    // The settings are written while the window and its logic still exist.
    RunGuarded(reporter, [this] { FForm->FormDestroy(); });
    if (FSetup.QuitOnDestroy)
      PostQuitMessage(0);
    return 0;
  case WM_NCDESTROY:
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    FHandle = nullptr;
    FPump.SetDialogWindow(nullptr);
    break;
  default:
    break;
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}
