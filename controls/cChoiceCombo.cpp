// The owner-drawn choice-only combo box shared by the device list and the grid editor.
#include "controls/cChoiceCombo.h"

#include <commctrl.h>

TChoiceCombo::TChoiceCombo(HWND parent, int id, DWORD extraStyle) {
  CreateHandle(0, WC_COMBOBOXW, L"",
               WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | extraStyle,
               parent, id);
  UpdateItemHeights();
}

void TChoiceCombo::ClearItems() {
  FItems.clear();
  SendMessageW(FHandle, CB_RESETCONTENT, 0, 0);
}

void TChoiceCombo::AddItem(const std::wstring &item) {
  FItems.push_back(item);
  SendMessageW(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int TChoiceCombo::CurSel() const {
  return static_cast<int>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0));
}

void TChoiceCombo::SetCurSel(int index) {
  SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TChoiceCombo::SetShownText(const std::wstring &text) {
  FShownText = text;
  InvalidateRect(FHandle, nullptr, FALSE);
}

bool TChoiceCombo::DroppedDown() const {
  return SendMessageW(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TChoiceCombo::SetDroppedDown(bool value) {
  SendMessageW(FHandle, CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

void TChoiceCombo::SetFont(HFONT font) {
  TWinControl::SetFont(font);
  UpdateItemHeights();
}

void TChoiceCombo::SetDpi(UINT dpi) {
  TWinControl::SetDpi(dpi);
  UpdateItemHeights();
}

int TChoiceCombo::FieldHeight() const {
  RECT rect;
  GetWindowRect(FHandle, &rect);
  return rect.bottom - rect.top;
}

void TChoiceCombo::UpdateItemHeights() {
  // An owner-drawn combo takes its heights from WM_MEASUREITEM only once; the font
  // and the density change later, so both heights are set here.
  HDC dc = GetDC(FHandle);
  HGDIOBJ old = SelectObject(dc, FFont ? FFont : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(FHandle, dc);
  const int itemHeight = metrics.tmHeight + ScaleToDpi(2, FDpi);
  SendMessageW(FHandle, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight);
  SendMessageW(FHandle, CB_SETITEMHEIGHT, 0, itemHeight);
}

bool TChoiceCombo::HandleCommand(WORD code) {
  if (OnNotify)
    OnNotify(code);
  return true;
}

bool TChoiceCombo::HandleMeasureItem(MEASUREITEMSTRUCT *item) {
  item->itemHeight = static_cast<UINT>(ScaleToDpi(15, FDpi)); // replaced by UpdateItemHeights
  return true;
}

bool TChoiceCombo::HandleDrawItem(DRAWITEMSTRUCT *item) {
  const bool field = (item->itemState & ODS_COMBOBOXEDIT) != 0;
  const int index = static_cast<int>(item->itemID);
  std::wstring text;
  if (field)
    text = FShownText;
  else if (index >= 0 && index < EntryCount())
    text = FItems[static_cast<size_t>(index)];

  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  const bool enabled = (item->itemState & ODS_DISABLED) == 0;
  // The field is highlighted only while the combo has the focus and shows an entry.
  const bool highlight = selected && (!field || GetFocus() == FHandle);
  HDC dc = item->hDC;
  FillRect(dc, &item->rcItem, GetSysColorBrush(highlight ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(!enabled    ? COLOR_GRAYTEXT
                               : highlight ? COLOR_HIGHLIGHTTEXT
                                           : COLOR_WINDOWTEXT));
  RECT textRect = item->rcItem;
  textRect.left += ScaleToDpi(2, FDpi);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if ((item->itemState & ODS_FOCUS) && !(item->itemState & ODS_NOFOCUSRECT))
    DrawFocusRect(dc, &item->rcItem);
  return true;
}
