// The settings grid: an owner-data report ListView holding the cells here, with a
// choice-only combo laid over the Setting cell while it is edited.
#include "controls/cSettingsGrid.h"

#include "common/cErrors.h"

#include <algorithm>

#include <commctrl.h>
#include <windowsx.h>

namespace {
constexpr int kEditorId = 100;
constexpr UINT_PTR kSubclassId = 1;
const wchar_t *const kHeaders[4] = {L"Config", L"Function", L"Setting", L"Description"};
} // namespace

void TGridComboEditor::ItemsChanged() {
  // Entries are cleared, then appended one at a time.
  if (Count() == FCombo->EntryCount() + 1) {
    FCombo->AddItem(Items().back());
    return;
  }
  FCombo->ClearItems();
  for (const WideString &item : Items())
    FCombo->AddItem(item);
}

void TGridComboEditor::ShownChanged() {
  FCombo->SetShownText(Text());
  FCombo->SetCurSel(ItemIndex());
}

void TGridComboEditor::Repaint() {
  InvalidateRect(FCombo->Handle(), nullptr, TRUE);
  UpdateWindow(FCombo->Handle());
}

TSettingsGrid::TSettingsGrid(HWND parent, int id, const std::string &caption) : TGridRules(FEditor) {
  CreateHandle(WS_EX_CLIENTEDGE, WC_LISTVIEWW, AnsiToWide(caption).c_str(),
               WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | LVS_REPORT | LVS_SINGLESEL |
                   LVS_SHOWSELALWAYS | LVS_OWNERDATA,
               parent, id);
  ListView_SetExtendedListViewStyle(FHandle, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
  for (int col = 0; col < 4; ++col) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t *>(kHeaders[col]);
    column.cx = kColumnWidths[static_cast<size_t>(col)];
    column.iSubItem = col;
    SendMessageW(FHandle, LVM_INSERTCOLUMNW, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(&column));
  }
  SetWindowSubclass(FHandle, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));

  FCombo = std::make_unique<TChoiceCombo>(FHandle, kEditorId);
  FEditor.Attach(*FCombo);
  FCombo->OnNotify = [this](WORD code) { EditorNotify(code); };

  FTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_NOANIMATE | TTS_NOFADE, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, FHandle, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  TOOLINFOW tool = {};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = FHandle;
  tool.uId = 1;
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(FTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(FTip, TTM_SETMAXTIPWIDTH, 0, 600);
  UpdateRowHeight();
}

TSettingsGrid::~TSettingsGrid() {
  if (FHandle && IsWindow(FHandle))
    RemoveWindowSubclass(FHandle, SubclassProc, kSubclassId);
  FCombo.reset();
  if (FTip)
    DestroyWindow(FTip);
  if (FRowImages)
    ImageList_Destroy(FRowImages);
  if (FBoldFont)
    DeleteObject(FBoldFont);
}

void TSettingsGrid::Paste() {
  EndEdit(true);
  if (OnPaste)
    OnPaste();
}

void TSettingsGrid::ShowContextMenu(LPARAM point) {
  if (ContextMenu.empty())
    return;
  POINT at = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  if (at.x == -1 && at.y == -1) {
    // From the keyboard: under the selected row, or the grid's corner.
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    const int row = SelectedRow();
    if (row < 0 ||
        !SendMessageW(FHandle, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)))
      GetClientRect(FHandle, &rect);
    at = {rect.left + ScaleToDpi(8, FDpi), rect.bottom};
    ClientToScreen(FHandle, &at);
  }
  // Each item's command is its place in the menu plus one (0: none chosen).
  HMENU menu = CreatePopupMenu();
  for (size_t i = 0; i < ContextMenu.size(); ++i)
    AppendMenuW(menu, MF_STRING, i + 1, AnsiToWide(ContextMenu[i].Text).c_str());
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, FHandle, nullptr));
  DestroyMenu(menu);
  if (chosen > 0)
    PickMenuItem(chosen - 1);
}

void TSettingsGrid::RowsChanged() {
  ListView_SetItemCountEx(FHandle, RowCount(), LVSICF_NOSCROLL);
  InvalidateRect(FHandle, nullptr, TRUE);
  FitColumns();
}

void TSettingsGrid::RowChanged(int row) {
  ListView_RedrawItems(FHandle, row, row);
}

int TSettingsGrid::SelectedRow() const {
  return ListView_GetNextItem(FHandle, -1, LVNI_SELECTED);
}

void TSettingsGrid::SelectionChanged() {
  ListView_SetItemState(FHandle, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  const int row = TGridRules::SelectedRow();
  if (row >= 0)
    ListView_SetItemState(FHandle, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TSettingsGrid::ShowRow(int row) {
  ListView_EnsureVisible(FHandle, row, FALSE);
}

void TSettingsGrid::BeginEdit(int row, bool dropDown) {
  if (TGridRules::BeginEdit(row) && dropDown)
    FCombo->SetDroppedDown(true);
}

void TSettingsGrid::EditBegun(int row) {
  FEditCancelled = false;
  RECT cell = {};
  cell.top = kColSetting;
  cell.left = LVIR_BOUNDS;
  SendMessageW(FHandle, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  const int listHeight = ScaleToDpi(160, FDpi);
  SetWindowPos(FCombo->Handle(), HWND_TOP, cell.left, cell.top, cell.right - cell.left,
               cell.bottom - cell.top + listHeight, SWP_SHOWWINDOW);
  ::SetFocus(FCombo->Handle());
}

void TSettingsGrid::EditEnded() {
  if (FCombo->DroppedDown())
    FCombo->SetDroppedDown(false);
  const bool hadFocus = GetFocus() == FCombo->Handle();
  ShowWindow(FCombo->Handle(), SW_HIDE);
  if (hadFocus)
    ::SetFocus(FHandle);
}

void TSettingsGrid::EditorNotify(WORD code) {
  if (!Editing())
    return;
  switch (code) {
  case CBN_SELENDOK:
    PickEntry(FCombo->CurSel());
    break;
  case CBN_SELENDCANCEL:
    FEditCancelled = true;
    FCombo->SetCurSel(FEditor.ItemIndex());
    break;
  case CBN_CLOSEUP:
    EndEdit(!FEditCancelled);
    break;
  case CBN_KILLFOCUS:
    if (!FCombo->DroppedDown())
      EndEdit(!FEditCancelled);
    break;
  default:
    break;
  }
}

WideString TSettingsGrid::CellTip(int col, int row) const {
  if (row < 0 || row >= RowCount() || col < 0 || col > 3)
    return {};
  const WideString &text = CellText(col, row);
  if (text.empty())
    return {};
  HDC dc = GetDC(FHandle);
  HGDIOBJ old = SelectObject(dc, FFont ? FFont : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(FHandle, dc);
  // The list draws a cell's text with a margin on either side.
  const int needed = size.cx + ScaleToDpi(12, FDpi);
  return needed > ColumnWidth(col) ? text : WideString();
}

WideString TSettingsGrid::TipText(int col, int row) const {
  // The risk in place of a cut-off cell's text, then where the switch's bits are.
  const TRowMark &mark = RowMark(row);
  WideString tip = mark.Risk.empty() ? CellTip(col, row) : AnsiToWide(mark.Risk);
  if (!mark.Place.empty())
    tip += (tip.empty() ? L"" : L"\r\n") + AnsiToWide(mark.Place);
  return tip;
}

int TSettingsGrid::ColumnWidth(int col) const {
  return ListView_GetColumnWidth(FHandle, col);
}

int TSettingsGrid::RowHeight() const {
  RECT rect = {};
  rect.left = LVIR_BOUNDS;
  if (RowCount() > 0 && SendMessageW(FHandle, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect)))
    return rect.bottom - rect.top;
  return 0;
}

void TSettingsGrid::SetBounds(int left, int top, int width, int height) {
  EndEdit(true);
  TWinControl::SetBounds(left, top, width, height);
  FitColumns();
}

void TSettingsGrid::SetFont(HFONT font) {
  TWinControl::SetFont(font);
  // Rows whose setting differs from the chip default are drawn in bold.
  LOGFONTW logFont = {};
  if (font && GetObjectW(font, sizeof(logFont), &logFont)) {
    logFont.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectW(&logFont);
    if (FBoldFont)
      DeleteObject(FBoldFont);
    FBoldFont = bold;
  }
  FCombo->SetFont(font);
  SendMessageW(FTip, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  UpdateRowHeight();
}

void TSettingsGrid::SetDpi(UINT dpi) {
  TWinControl::SetDpi(dpi);
  FCombo->SetDpi(dpi);
  UpdateRowHeight();
  FitColumns();
}

void TSettingsGrid::SetHeaderFont(HFONT font) {
  SendMessageW(ListView_GetHeader(FHandle), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void TSettingsGrid::UpdateRowHeight() {
  // Rows as tall as the editor's field, so the editor covers its cell exactly; a
  // one-pixel-wide image list is the ListView's way to set the row height.
  const int height = FCombo->FieldHeight();
  HIMAGELIST images = ImageList_Create(1, height, ILC_COLOR, 0, 1);
  ListView_SetImageList(FHandle, images, LVSIL_SMALL);
  if (FRowImages)
    ImageList_Destroy(FRowImages);
  FRowImages = images;
}

void TSettingsGrid::FitColumns() {
  if (FFitting)
    return;
  FFitting = true;
  RECT client;
  GetClientRect(FHandle, &client);
  const int available = client.right - client.left;
  const int config = ScaleToDpi(kColumnWidths[0], FDpi);
  int setting = ScaleToDpi(kColumnWidths[2], FDpi);
  int spare = available - config - setting;
  if (spare < 0) {
    setting = std::max(ScaleToDpi(kMinSettingWidth, FDpi), setting + spare);
    spare = std::max(0, available - config - setting);
  }
  const int function = MulDiv(spare, kColumnWidths[1], kColumnWidths[1] + kColumnWidths[3]);
  const int widths[4] = {config, function, setting, spare - function};
  for (int col = 0; col < 4; ++col)
    if (ListView_GetColumnWidth(FHandle, col) != widths[col])
      ListView_SetColumnWidth(FHandle, col, widths[col]);
  FFitting = false;
}

bool TSettingsGrid::HitCell(POINT point, int &col, int &row) const {
  LVHITTESTINFO hit = {};
  hit.pt = point;
  if (SendMessageW(FHandle, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 || hit.iItem < 0)
    return false;
  if (!(hit.flags & LVHT_ONITEM))
    return false;
  row = hit.iItem;
  col = hit.iSubItem;
  return row < RowCount() && col >= 0 && col <= 3;
}

void TSettingsGrid::TrackTip(LPARAM point) {
  POINT pt = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  int col = -1;
  int row = -1;
  if (!HitCell(pt, col, row))
    col = row = -1;
  if (col == FTipCol && row == FTipRow)
    return;
  FTipCol = col;
  FTipRow = row;
  SendMessageW(FTip, TTM_POP, 0, 0);
  TOOLINFOW tool = {};
  tool.cbSize = sizeof(tool);
  tool.hwnd = FHandle;
  tool.uId = 1;
  GetClientRect(FHandle, &tool.rect);
  SendMessageW(FTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TSettingsGrid::GetDispInfo(LVITEMW &item) {
  if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || item.iItem >= RowCount() || item.iSubItem < 0 ||
      item.iSubItem > 3 || !item.pszText || item.cchTextMax <= 0)
    return;
  const WideString &text = CellText(item.iSubItem, item.iItem);
  const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
  text.copy(item.pszText, n);
  item.pszText[n] = L'\0';
}

namespace {
// Red that stays readable on the window's background, light or dark.
COLORREF WarningColor() {
  const COLORREF back = GetSysColor(COLOR_WINDOW);
  const int luminance = (GetRValue(back) * 299 + GetGValue(back) * 587 + GetBValue(back) * 114) / 1000;
  return luminance >= 128 ? RGB(176, 0, 0) : RGB(255, 128, 128);
}
} // namespace

LRESULT TSettingsGrid::CustomDraw(NMLVCUSTOMDRAW &draw) {
  switch (draw.nmcd.dwDrawStage) {
  case CDDS_PREPAINT:
    return CDRF_NOTIFYITEMDRAW;
  case CDDS_ITEMPREPAINT: {
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    const TRowMark mark = RowMark(row);
    LRESULT result = CDRF_DODEFAULT;
    if (mark.Changed && FBoldFont) {
      SelectObject(draw.nmcd.hdc, FBoldFont);
      result = CDRF_NEWFONT;
    }
    // A selected row keeps the highlight's own colours.
    const bool selected = ListView_GetItemState(FHandle, row, LVIS_SELECTED) != 0;
    if (!mark.Risk.empty() && !selected) {
      draw.clrText = WarningColor();
      result = CDRF_NEWFONT;
    }
    return result;
  }
  default:
    return CDRF_DODEFAULT;
  }
}

bool TSettingsGrid::HandleNotify(NMHDR *header, LRESULT &result) {
  switch (header->code) {
  case NM_CUSTOMDRAW:
    result = CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW *>(header));
    return true;
  case LVN_GETDISPINFOW:
    GetDispInfo(reinterpret_cast<NMLVDISPINFOW *>(header)->item);
    result = 0;
    return true;
  case LVN_GETDISPINFOA: {
    LVITEMA &item = reinterpret_cast<NMLVDISPINFOA *>(header)->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 && item.iItem >= 0 &&
        item.iItem < RowCount() && item.iSubItem >= 0 && item.iSubItem <= 3) {
      const std::string text = WideToAnsi(CellText(item.iSubItem, item.iItem));
      const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
      text.copy(item.pszText, n);
      item.pszText[n] = '\0';
    }
    result = 0;
    return true;
  }
  case NM_CLICK:
  case NM_DBLCLK: {
    const auto *activate = reinterpret_cast<NMITEMACTIVATE *>(header);
    int col = -1;
    int row = -1;
    if (HitCell(activate->ptAction, col, row) && col == kColSetting)
      BeginEdit(row, true);
    result = 0;
    return true;
  }
  default:
    return false;
  }
}

LRESULT CALLBACK TSettingsGrid::SubclassProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR data) {
  (void)id;
  auto *grid = reinterpret_cast<TSettingsGrid *>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(handle, SubclassProc, kSubclassId);
    return DefSubclassProc(handle, message, wParam, lParam);
  }
  return grid->GridProc(message, wParam, lParam);
}

LRESULT TSettingsGrid::GridProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_GETDLGCODE: {
    // Enter opens the list here rather than pressing a default button.
    LRESULT code = DefSubclassProc(FHandle, message, wParam, lParam);
    const auto *msg = reinterpret_cast<const MSG *>(lParam);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
      code |= DLGC_WANTMESSAGE;
    return code;
  }
  case WM_KEYDOWN:
    if ((wParam == 'V' && GetKeyState(VK_CONTROL) < 0) ||
        (wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0)) {
      RunOwnEvent([this] { Paste(); });
      return 0;
    }
    if (wParam == VK_F2 || wParam == VK_RETURN) {
      RunOwnEvent([this] { BeginEdit(SelectedRow(), true); });
      return 0;
    }
    break;
  case WM_SYSKEYDOWN:
    if (wParam == VK_DOWN) {
      RunOwnEvent([this] { BeginEdit(SelectedRow(), true); });
      return 0;
    }
    break;
  case WM_CONTEXTMENU:
    RunOwnEvent([&] { ShowContextMenu(lParam); });
    return 0;
  case WM_CHAR:
  case WM_SYSCHAR:
    // The keys above produce no character input for the list's incremental search.
    if (wParam == VK_RETURN)
      return 0;
    break;
  case WM_VSCROLL:
  case WM_HSCROLL:
  case WM_MOUSEWHEEL:
    RunOwnEvent([this] { EndEdit(true); });
    break;
  case WM_SIZE: {
    const LRESULT result = DefSubclassProc(FHandle, message, wParam, lParam);
    FitColumns();
    return result;
  }
  case WM_MOUSEMOVE:
    TrackTip(lParam);
    break;
  case WM_COMMAND:
  case WM_DRAWITEM:
  case WM_MEASUREITEM: {
    LRESULT result = 0;
    bool handled = false;
    RunOwnEvent([&] { handled = ReflectToControl(FHandle, message, wParam, lParam, result); });
    if (handled)
      return result;
    break;
  }
  case WM_NOTIFY: {
    auto *header = reinterpret_cast<NMHDR *>(lParam);
    if (header->hwndFrom == FTip && header->code == TTN_GETDISPINFOW) {
      auto *info = reinterpret_cast<NMTTDISPINFOW *>(lParam);
      FTipText = TipText(FTipCol, FTipRow);
      info->lpszText = const_cast<wchar_t *>(FTipText.c_str());
      info->hinst = nullptr;
      return 0;
    }
    // Columns keep their places and widths.
    if (header->code == HDN_BEGINTRACKW || header->code == HDN_BEGINTRACKA ||
        header->code == HDN_DIVIDERDBLCLICKW || header->code == HDN_DIVIDERDBLCLICKA)
      return TRUE;
    break;
  }
  default:
    break;
  }
  return DefSubclassProc(FHandle, message, wParam, lParam);
}
