// The main window: layout, fonts and density, notification routing, life cycle.
#include "win32/cMainWindow.h"

#include "common/cTextConv.h"

#include <stdexcept>

#include <commctrl.h>

namespace {
const wchar_t *const kWindowClass = L"FusebenchMainWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Control ids; 1 and 2 (IDOK, IDCANCEL) stay free for the dialog manager.
enum : int {
  kIdLabel1 = 1001,
  kIdLabelIncludePath,
  kIdButtonChangeFolder,
  kIdButtonLoadDeviceInfoFile,
  kIdLabel2,
  kIdDeviceSelectComboBox,
  kIdChkIncludeLF,
  kIdCheckBoxUseInfoDefaults,
  kIdButtonSetDefaults,
  kIdSettingsGrid,
  kIdButtonGenerate,
  kIdButtonCopy,
  kIdCheckBoxComments,
  kIdCheckBoxOrvaneSyntax,
  kIdMemo,
  kIdPanelStatus,
  kIdStatusBar,
};

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
  FHandle = CreateWindowExW(kExStyle, kWindowClass, AnsiToWide(kCaption).c_str(), kStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, kClientWidth, kClientHeight, FSetup.Owner, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!FHandle)
    throw std::runtime_error("cannot create the main window");
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  FPump.SetDialogWindow(FHandle);
  FClipboard.SetOwner(FHandle);

  CreateControls();
  ApplyDpi(WindowDpi(FHandle));

  const TMainFormControls controls{*FLabelIncludePath,
                                   *FButtonChangeFolder,
                                   *FButtonLoadDeviceInfoFile,
                                   *FDeviceSelectComboBox,
                                   *FChkIncludeLF,
                                   *FCheckBoxUseInfoDefaults,
                                   *FButtonSetDefaults,
                                   *FSettingsGrid,
                                   *FButtonGenerate,
                                   *FButtonCopy,
                                   *FCheckBoxComments,
                                   *FCheckBoxOrvaneSyntax,
                                   *FMemo,
                                   *FStatusBar};
  const TMainFormServices services{FPump, FClipboard, *FSetup.Registry, *FSetup.FileSystem,
                                   [this] { return FSetup.CreateFolderDialog(FHandle); }};
  FForm = std::make_unique<TMainForm>(controls, services);
  WireHandlers();
  RunGuarded([this](const std::string &message) { ReportError(message); }, [this] { FForm->FormCreate(); });
}

TMainWindow::~TMainWindow() {
  if (FHandle)
    DestroyWindow(FHandle);
  FForm.reset();
  DeleteFonts();
}

void TMainWindow::CreateControls() {
  // Created in tab order; the labels, which take no focus, last.
  FButtonGenerate = std::make_unique<TButton>(FHandle, kIdButtonGenerate, "Generate");
  FButtonChangeFolder = std::make_unique<TButton>(FHandle, kIdButtonChangeFolder, "Change Folder...");
  FMemo = std::make_unique<TOutputBox>(FHandle, kIdMemo);
  FButtonLoadDeviceInfoFile = std::make_unique<TButton>(FHandle, kIdButtonLoadDeviceInfoFile, "Load File");
  FButtonCopy = std::make_unique<TButton>(FHandle, kIdButtonCopy, "Copy to Clipboard");
  FPanelStatus = std::make_unique<TStatusPanel>(FHandle, kIdPanelStatus);
  FStatusBar = std::make_unique<TLabel>(FPanelStatus->Handle(), kIdStatusBar, TMainForm::kStatusReady, true);
  FSettingsGrid =
      std::make_unique<TSettingsGrid>(FHandle, kIdSettingsGrid, "Config Settings from '8bit_device.info'");
  FDeviceSelectComboBox = std::make_unique<TDropDownList>(FHandle, kIdDeviceSelectComboBox, "select device");
  FButtonSetDefaults = std::make_unique<TButton>(FHandle, kIdButtonSetDefaults, "Set Defaults");
  FCheckBoxComments = std::make_unique<TCheckBox>(FHandle, kIdCheckBoxComments, "Comments", true);
  FCheckBoxOrvaneSyntax =
      std::make_unique<TCheckBox>(FHandle, kIdCheckBoxOrvaneSyntax, "Orvane Syntax", false);
  FCheckBoxUseInfoDefaults =
      std::make_unique<TCheckBox>(FHandle, kIdCheckBoxUseInfoDefaults, "Use .info Defaults", false);
  FChkIncludeLF = std::make_unique<TCheckBox>(FHandle, kIdChkIncludeLF, "Include 18LF", false);
  FLabel1 = std::make_unique<TLabel>(FHandle, kIdLabel1, "Microchip MPASM/MPASMX Folder", false);
  FLabelIncludePath =
      std::make_unique<TLabel>(FHandle, kIdLabelIncludePath, TMainForm::kInitialFolderText, true);
  FLabel2 = std::make_unique<TLabel>(FHandle, kIdLabel2, "Device", false);
}

void TMainWindow::WireHandlers() {
  // The drop-down and the grid events are wired by TMainForm itself.
  FButtonChangeFolder->OnClick = [this] { FForm->ButtonChangeFolderClick(); };
  FButtonLoadDeviceInfoFile->OnClick = [this] { FForm->ButtonLoadDeviceInfoFileClick(); };
  FButtonSetDefaults->OnClick = [this] { FForm->ButtonSetDefaultsClick(); };
  FButtonGenerate->OnClick = [this] { FForm->ButtonGenerateClick(); };
  FButtonCopy->OnClick = [this] { FForm->ButtonCopyClick(); };
  FCheckBoxComments->OnClick = [this] { FForm->CheckBoxCommentsClick(); };
  FCheckBoxOrvaneSyntax->OnClick = [this] { FForm->CheckBoxOrvaneSyntaxClick(); };
  FCheckBoxUseInfoDefaults->OnClick = [this] { FForm->CheckBoxUseInfoDefaultsClick(); };
  FSettingsGrid->OnError = [this](const std::string &message) { ReportError(message); };
  // The grid raises these two from its own window procedure (keys, its editor), not
  // through this window's routing: they count as handler runs as well.
  FSettingsGrid->OnApplyEditText = [this, handler = FSettingsGrid->OnApplyEditText](int col, int row,
                                                                                    WideString &value) {
    const THandlerScope scope(*this);
    if (handler)
      handler(col, row, value);
  };
  FSettingsGrid->OnSelect = [this, handler = FSettingsGrid->OnSelect] {
    const THandlerScope scope(*this);
    if (handler)
      handler();
  };
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

  TWinControl *const controls[] = {FLabel1.get(),
                                   FLabelIncludePath.get(),
                                   FButtonChangeFolder.get(),
                                   FButtonLoadDeviceInfoFile.get(),
                                   FLabel2.get(),
                                   FDeviceSelectComboBox.get(),
                                   FChkIncludeLF.get(),
                                   FCheckBoxUseInfoDefaults.get(),
                                   FButtonSetDefaults.get(),
                                   FSettingsGrid.get(),
                                   FButtonGenerate.get(),
                                   FButtonCopy.get(),
                                   FCheckBoxComments.get(),
                                   FCheckBoxOrvaneSyntax.get(),
                                   FMemo.get(),
                                   FPanelStatus.get(),
                                   FStatusBar.get()};
  for (TWinControl *control : controls) {
    control->SetDpi(dpi);
    control->SetFont(FFont);
  }
  FLabel1->SetFont(FBoldFont);
  FMemo->SetFont(FMemoFont);
  FSettingsGrid->SetHeaderFont(FHeaderFont);
  for (HFONT font : oldFonts)
    if (font)
      DeleteObject(font);

  const int clientWidth = ScaleToDpi(kClientWidth, dpi);
  const int clientHeight = ScaleToDpi(kClientHeight, dpi);
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
  struct TPlace {
    TWinControl *Control;
    int Left, Top, Width, Height;
  };
  const TPlace places[] = {
      {FLabel1.get(), 8, 16, 192, 13},
      {FLabelIncludePath.get(), 8, 32, 222, 13},
      {FButtonChangeFolder.get(), 8, 56, 100, 25},
      {FButtonLoadDeviceInfoFile.get(), 128, 56, 100, 25},
      {FLabel2.get(), 8, 96, 32, 13},
      {FDeviceSelectComboBox.get(), 8, 112, 121, 21},
      {FChkIncludeLF.get(), 144, 112, 97, 17},
      {FCheckBoxUseInfoDefaults.get(), 536, 120, 113, 17},
      {FButtonSetDefaults.get(), 672, 112, 100, 25},
      {FSettingsGrid.get(), 8, 152, 769, 201},
      {FButtonGenerate.get(), 8, 368, 100, 25},
      {FButtonCopy.get(), 128, 368, 100, 25},
      {FCheckBoxComments.get(), 248, 376, 97, 17},
      {FCheckBoxOrvaneSyntax.get(), 344, 376, 97, 17},
      {FMemo.get(), 8, 408, 769, 153},
      {FStatusBar.get(), 8, 6, 31, 13},
  };
  const UINT dpi = FDpi;
  for (const TPlace &place : places) {
    int height = ScaleToDpi(place.Height, dpi);
    if (place.Control == FDeviceSelectComboBox.get())
      height += ScaleToDpi(200, dpi); // the combo's height includes its open list
    place.Control->SetBounds(ScaleToDpi(place.Left, dpi), ScaleToDpi(place.Top, dpi),
                             ScaleToDpi(place.Width, dpi), height);
  }
  // The status panel is docked to the bottom edge, across the full width.
  RECT client;
  GetClientRect(FHandle, &client);
  const int panelHeight = ScaleToDpi(25, dpi);
  FPanelStatus->SetBounds(0, client.bottom - panelHeight, client.right, panelHeight);
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
