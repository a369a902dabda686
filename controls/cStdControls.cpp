// Push button, check box, label, output box and status panel over the Win32 controls.
#include "controls/cStdControls.h"

#include "common/cTextConv.h"

#include <commctrl.h>

TButton::TButton(HWND parent, int id, const std::string &caption) {
  CreateHandle(0, WC_BUTTONW, AnsiToWide(caption).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
               parent, id);
}

void TButton::SetEnabled(bool value) {
  EnableWindow(FHandle, value ? TRUE : FALSE);
}

bool TButton::Enabled() const {
  return IsWindowEnabled(FHandle) != FALSE;
}

void TButton::SetFocus() {
  ::SetFocus(FHandle);
}

int TButton::NeededWidth() const {
  return CaptionWidth(FHandle, FFont, WindowTextW(FHandle)) + TextMargins();
}

bool TButton::HandleCommand(WORD code) {
  if (code != BN_CLICKED)
    return false;
  if (OnClick)
    OnClick();
  return true;
}

TCheckBox::TCheckBox(HWND parent, int id, const std::string &caption, bool checked) {
  CreateHandle(0, WC_BUTTONW, AnsiToWide(caption).c_str(),
               WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, parent, id);
  SetChecked(checked);
}

bool TCheckBox::Checked() const {
  return SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool value) {
  SendMessageW(FHandle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

int TCheckBox::TextLeft() const {
  // A 13-pixel box (at 96 DPI), then a small gap before the caption.
  return ScaleToDpi(13 + 5, FDpi);
}

int TCheckBox::NeededWidth() const {
  return TextLeft() + CaptionWidth(FHandle, FFont, WindowTextW(FHandle));
}

bool TCheckBox::HandleCommand(WORD code) {
  if (code != BN_CLICKED)
    return false;
  if (OnClick)
    OnClick();
  return true;
}

TLabel::TLabel(HWND parent, int id, const std::string &caption, bool autoSize)
    : FText(caption), FAutoSize(autoSize) {
  CreateHandle(0, WC_STATICW, AnsiToWide(caption).c_str(),
               WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, parent, id);
}

void TLabel::SetText(const std::string &text) {
  FText = text;
  SetWindowTextW(FHandle, AnsiToWide(text).c_str());
  FitWidth();
}

void TLabel::SetBounds(int left, int top, int width, int height) {
  if (FAutoSize)
    width = TextWidth();
  TWinControl::SetBounds(left, top, width, height);
}

void TLabel::SetFont(HFONT font) {
  TWinControl::SetFont(font);
  FitWidth();
}

int TLabel::TextWidth() const {
  return CaptionWidth(FHandle, FFont, AnsiToWide(FText));
}

void TLabel::FitWidth() {
  if (!FAutoSize)
    return;
  RECT rect;
  GetWindowRect(FHandle, &rect);
  SetWindowPos(FHandle, nullptr, 0, 0, TextWidth(), rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(FHandle, nullptr, TRUE);
}

TOutputBox::TOutputBox(HWND parent, int id) {
  CreateHandle(WS_EX_CLIENTEDGE, WC_EDITW, L"",
               WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                   ES_WANTRETURN | ES_NOHIDESEL,
               parent, id);
  // No limit beyond the control's own: device lists of large files are long.
  SendMessageW(FHandle, EM_SETLIMITTEXT, 0, 0);
}

void TOutputBox::Clear() {
  SetWindowTextW(FHandle, L"");
}

void TOutputBox::AddLine(const std::string &line) {
  const std::wstring text = AnsiToWide(line) + L"\r\n";
  const LRESULT length = GetWindowTextLengthW(FHandle);
  SendMessageW(FHandle, EM_SETSEL, static_cast<WPARAM>(length), length);
  SendMessageW(FHandle, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TOutputBox::SetLines(const std::vector<std::string> &lines) {
  std::string text;
  for (const std::string &line : lines)
    text.append(line).append("\r\n");
  SetText(text);
}

int TOutputBox::LineCount() const {
  TStringList lines;
  GetLines(lines);
  return lines.Count();
}

void TOutputBox::GetLines(TStringList &lines) const {
  SplitTextLines(Text(), lines);
}

std::string TOutputBox::Text() const {
  return WideToAnsi(WindowTextW(FHandle));
}

void TOutputBox::SetText(const std::string &text) {
  SetWindowTextW(FHandle, AnsiToWide(text).c_str());
}

void TOutputBox::SetSelection(int start, int length) {
  SendMessageW(FHandle, EM_SETSEL, static_cast<WPARAM>(start), start + length);
  SendMessageW(FHandle, EM_SCROLLCARET, 0, 0);
}

namespace {
const wchar_t *const kPanelClass = L"FusebenchPanel";
}

TStatusPanel::TStatusPanel(HWND parent, int id) {
  static const ATOM atom = [] {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kPanelClass;
    return RegisterClassExW(&wc);
  }();
  (void)atom;
  CreateHandle(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, parent, id);
}

LRESULT CALLBACK TStatusPanel::WndProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle, &ps);
    RECT rect;
    GetClientRect(handle, &rect);
    DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
    EndPaint(handle, &ps);
    return 0;
  }
  case WM_SIZE:
    InvalidateRect(handle, nullptr, TRUE);
    break;
  case WM_CTLCOLORSTATIC:
    return ColorStaticOnButtonFace(wParam);
  default:
    break;
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}
