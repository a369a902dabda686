// Creation, placement and notification routing shared by the Win32 controls.
#include "controls/cWinControl.h"

#include <exception>
#include <stdexcept>

namespace {
const wchar_t *const kControlProp = L"FusebenchControl";
}

TWinControl::~TWinControl() {
  if (FHandle && IsWindow(FHandle)) {
    RemovePropW(FHandle, kControlProp);
    DestroyWindow(FHandle);
  }
}

void TWinControl::CreateHandle(DWORD exStyle, const wchar_t *className, const wchar_t *text, DWORD style,
                               HWND parent, int id) {
  FId = id;
  FHandle =
      CreateWindowExW(exStyle, className, text, style, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!FHandle)
    throw std::runtime_error("cannot create a control window");
  SetPropW(FHandle, kControlProp, this);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetFont(HFONT font) {
  FFont = font;
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

TWinControl *TWinControl::FromHandle(HWND handle) {
  return handle ? static_cast<TWinControl *>(GetPropW(handle, kControlProp)) : nullptr;
}

bool TWinControl::ReflectToControl(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  switch (message) {
  case WM_COMMAND:
    if (TWinControl *control = FromHandle(reinterpret_cast<HWND>(lParam)))
      return control->HandleCommand(HIWORD(wParam));
    return false;
  case WM_NOTIFY: {
    auto *header = reinterpret_cast<NMHDR *>(lParam);
    if (TWinControl *control = FromHandle(header->hwndFrom))
      return control->HandleNotify(header, result);
    return false;
  }
  case WM_DRAWITEM: {
    auto *item = reinterpret_cast<DRAWITEMSTRUCT *>(lParam);
    if (TWinControl *control = FromHandle(item->hwndItem)) {
      result = TRUE;
      return control->HandleDrawItem(item);
    }
    return false;
  }
  case WM_MEASUREITEM: {
    auto *item = reinterpret_cast<MEASUREITEMSTRUCT *>(lParam);
    if (TWinControl *control = FromHandle(GetDlgItem(parent, static_cast<int>(item->CtlID)))) {
      result = TRUE;
      return control->HandleMeasureItem(item);
    }
    return false;
  }
  default:
    return false;
  }
}

std::wstring WindowTextW(HWND handle) {
  const int length = GetWindowTextLengthW(handle);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(handle, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

int CaptionWidth(HWND handle, HFONT font, const std::wstring &text) {
  HDC dc = GetDC(handle);
  HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  RECT rect = {0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(handle, dc);
  return rect.right - rect.left;
}

void RunGuarded(const TErrorReporter &reporter, const std::function<void()> &action) noexcept {
  std::string message;
  try {
    action();
    return;
  } catch (const std::exception &e) {
    message = e.what();
  } catch (...) {
    message = "Unknown error";
  }
  try {
    if (reporter)
      reporter(message);
  } catch (...) {
  }
}

void TWinControl::RunOwnEvent(const std::function<void()> &action) noexcept {
  RunGuarded(OnError, [&] {
    if (RunEvent)
      RunEvent(action);
    else
      action();
  });
}

LRESULT ColorStaticOnButtonFace(WPARAM dc) {
  HDC hdc = reinterpret_cast<HDC>(dc);
  SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(hdc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}
