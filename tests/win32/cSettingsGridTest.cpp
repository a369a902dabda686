// The settings grid under Wine: order of the editing events, keyboard editing,
// column widths, cell tips and rows.
#include "controls/cSettingsGrid.h"

#include "common/cErrors.h"
#include "tests/win32/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <stdexcept>

#include <string>
#include <vector>

#include <commctrl.h>

namespace {
constexpr int kGridId = 500;

class SettingsGridTest : public ::testing::Test {
protected:
  SettingsGridTest() : Grid(Parent.Handle(), kGridId, "caption") {
    Grid.SetBounds(8, 8, 769, 201);
    Font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, L"Tahoma");
    Grid.SetFont(Font);
    // Two rows: A (settings A1, A2, A3) at A2 and B (settings B1, B2) at B1.
    const std::vector<std::vector<std::wstring>> rows = {{L"A", L"fa", L"A2", L"desc A2"},
                                                         {L"B", L"fb", L"B1", L"desc B1"}};
    for (const auto &cells : rows) {
      const int row = Grid.AddRow();
      for (int col = 0; col < 4; ++col)
        Grid.SetCell(col, row, cells[static_cast<size_t>(col)]);
    }
    Grid.AddColumnItem(L"column 1");
    Grid.AddColumnItem(L"column 2");
    Grid.OnApplyEditText = [this](int col, int row, WideString &value) {
      Events.push_back("apply " + std::to_string(col) + "," + std::to_string(row) + " " + WideToAnsi(value));
      // What the editor held when the event came: the column's own entries.
      std::string items;
      for (const WideString &item : Grid.Editor().Items())
        items += WideToAnsi(item) + ";";
      Events.push_back("editor " + items);
      Grid.SettingEditor().ClearItems();
      for (const std::wstring &item : RowItems[static_cast<size_t>(row)])
        Grid.SettingEditor().AddItem(item);
      Grid.SettingEditor().Refresh();
      if (!NewValue.empty())
        value = NewValue;
    };
    Grid.OnSelect = [this] {
      Events.push_back("select row " + std::to_string(Grid.SelectedRow()) + " index " +
                       std::to_string(Grid.SettingEditor().ItemIndex()) + " cell " +
                       WideToAnsi(Grid.Cell(2, Grid.SelectedRow())));
    };
    Grid.OnError = [this](const std::string &message) { Errors.push_back(message); };
    PumpMessages(Parent.Handle());
  }
  ~SettingsGridTest() override { DeleteObject(Font); }

  void Press(HWND target, UINT key, bool alt = false) { PressKey(target, key, Parent.Handle(), alt); }
  void FocusRow(int row) {
    SetFocus(Grid.Handle());
    Press(Grid.Handle(), VK_HOME);
    for (int i = 0; i < row; ++i)
      Press(Grid.Handle(), VK_DOWN);
  }

  TTestParent Parent;
  TSettingsGrid Grid;
  HFONT Font;
  std::vector<std::vector<std::wstring>> RowItems = {{L"A1", L"A2", L"A3"}, {L"B1", L"B2"}};
  std::vector<std::string> Events;
  std::vector<std::string> Errors;
  std::wstring NewValue;
};
} // namespace

TEST_F(SettingsGridTest, BeginEditCopiesColumnItemsThenRaisesApplyThenPreselectsTheCellText) {
  Grid.BeginEdit(0, false);
  ASSERT_EQ(Events.size(), 2u);
  EXPECT_EQ(Events[0], "apply 2,0 A2");
  EXPECT_EQ(Events[1], "editor column 1;column 2;");
  EXPECT_TRUE(Grid.Editing());
  EXPECT_EQ(Grid.Editor().Count(), 3);
  EXPECT_EQ(Grid.Editor().Text(), L"A2");
  EXPECT_EQ(Grid.SettingEditor().ItemIndex(), 1);
  EXPECT_EQ(Grid.SelectedRow(), 0);
  EXPECT_TRUE(IsWindowVisible(Grid.Editor().Handle()));
}

TEST_F(SettingsGridTest, ValueChangedByTheHandlerIsShownAndBecomesTheCellTextWhenEditingEnds) {
  NewValue = L"A3";
  Grid.BeginEdit(0, false);
  EXPECT_EQ(Grid.Editor().Text(), L"A3");
  EXPECT_EQ(Grid.SettingEditor().ItemIndex(), 2);
  Grid.EndEdit(true);
  EXPECT_FALSE(Grid.Editing());
  EXPECT_EQ(Grid.Cell(2, 0), L"A3");
  EXPECT_FALSE(IsWindowVisible(Grid.Editor().Handle()));
}

TEST_F(SettingsGridTest, CellTextThatIsNoEntryIsShownWithNothingPreselected) {
  Grid.SetCell(2, 1, L"OFF");
  Grid.BeginEdit(1, false);
  EXPECT_EQ(Grid.Editor().Text(), L"OFF");
  EXPECT_EQ(Grid.SettingEditor().ItemIndex(), -1);
  Grid.EndEdit(true);
  EXPECT_EQ(Grid.Cell(2, 1), L"OFF");
}

TEST_F(SettingsGridTest, KeyboardOpensTheListAndEnterConfirmsThePick) {
  struct TCase {
    UINT OpenKey;
    bool Alt;
  };
  for (const TCase &c : {TCase{VK_F2, false}, TCase{VK_RETURN, false}, TCase{VK_DOWN, true}}) {
    SCOPED_TRACE(c.OpenKey);
    Grid.SetCell(2, 1, L"B1");
    Events.clear();
    FocusRow(1);
    ASSERT_EQ(Grid.SelectedRow(), 1);
    Press(Grid.Handle(), c.OpenKey, c.Alt);
    ASSERT_TRUE(Grid.Editing());
    EXPECT_EQ(Grid.EditingRow(), 1);
    EXPECT_NE(SendMessageW(Grid.Editor().Handle(), CB_GETDROPPEDSTATE, 0, 0), 0);
    EXPECT_EQ(GetFocus(), Grid.Editor().Handle());

    Press(Grid.Editor().Handle(), VK_DOWN);
    Press(Grid.Editor().Handle(), VK_RETURN);
    EXPECT_FALSE(Grid.Editing());
    ASSERT_EQ(Events.size(), 3u);
    // OnSelect sees the picked index while the cell still holds the old text.
    EXPECT_EQ(Events[2], "select row 1 index 1 cell B1");
    EXPECT_EQ(Grid.Cell(2, 1), L"B2");
    EXPECT_EQ(GetFocus(), Grid.Handle());
  }
  EXPECT_TRUE(Errors.empty());
}

TEST_F(SettingsGridTest, EscapeCancelsWithoutSelectAndLeavesTheCell) {
  FocusRow(0);
  Press(Grid.Handle(), VK_F2);
  ASSERT_TRUE(Grid.Editing());
  Press(Grid.Editor().Handle(), VK_DOWN);
  Press(Grid.Editor().Handle(), VK_ESCAPE);
  EXPECT_FALSE(Grid.Editing());
  EXPECT_EQ(Grid.Cell(2, 0), L"A2");
  ASSERT_EQ(Events.size(), 2u); // apply and the editor's items only
  EXPECT_EQ(GetFocus(), Grid.Handle());
}

TEST_F(SettingsGridTest, FailureOfAHandlerRunFromTheKeyboardGoesToOnError) {
  Grid.OnApplyEditText = [](int, int, WideString &) { throw std::runtime_error("no list"); };
  FocusRow(0);
  Press(Grid.Handle(), VK_F2);
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], "no list");
  EXPECT_FALSE(Grid.Editing());
  EXPECT_FALSE(IsWindowVisible(Grid.Editor().Handle()));
}

TEST_F(SettingsGridTest, ArrowKeysMoveTheSelectedRow) {
  FocusRow(0);
  EXPECT_EQ(Grid.SelectedRow(), 0);
  Press(Grid.Handle(), VK_DOWN);
  EXPECT_EQ(Grid.SelectedRow(), 1);
  Press(Grid.Handle(), VK_UP);
  EXPECT_EQ(Grid.SelectedRow(), 0);
}

TEST_F(SettingsGridTest, RowsAddAtTheEndSelectedAndClearLeavesNoSelection) {
  const int row = Grid.AddRow();
  EXPECT_EQ(row, 2);
  EXPECT_EQ(Grid.RowCount(), 3);
  EXPECT_EQ(Grid.SelectedRow(), 2);
  EXPECT_EQ(Grid.Cell(0, 2), L"");
  EXPECT_EQ(ListView_GetItemCount(Grid.Handle()), 3);
  Grid.ClearRows();
  EXPECT_EQ(Grid.RowCount(), 0);
  EXPECT_EQ(Grid.SelectedRow(), -1);
  EXPECT_EQ(ListView_GetItemCount(Grid.Handle()), 0);
  EXPECT_THROW(Grid.Cell(0, 0), EListError);
}

TEST_F(SettingsGridTest, ColumnsFillTheClientWidthWithTheSpareGoingToFunctionAndDescription) {
  RECT client;
  GetClientRect(Grid.Handle(), &client);
  EXPECT_EQ(Grid.ColumnWidth(0), 108);
  EXPECT_EQ(Grid.ColumnWidth(2), 88);
  const int spare = client.right - 108 - 88;
  EXPECT_EQ(Grid.ColumnWidth(1) + Grid.ColumnWidth(3), spare);
  EXPECT_LE(std::abs(Grid.ColumnWidth(1) - MulDiv(spare, 244, 571)), 1);

  Grid.SetDpi(144);
  Grid.SetBounds(8, 8, 1154, 302);
  EXPECT_EQ(Grid.ColumnWidth(0), 162);
  EXPECT_EQ(Grid.ColumnWidth(2), 132);

  // Too narrow for every column: Setting gives way down to its minimum.
  Grid.SetDpi(96);
  Grid.SetBounds(8, 8, 150, 201);
  EXPECT_EQ(Grid.ColumnWidth(2), 80);
}

TEST_F(SettingsGridTest, CellTipGivesTheWholeTextOnlyWhenItDoesNotFit) {
  const std::wstring longText(120, L'W');
  Grid.SetCell(3, 0, longText);
  EXPECT_EQ(Grid.CellTip(3, 0), longText);
  EXPECT_EQ(Grid.CellTip(0, 0), L""); // "A" fits
  EXPECT_EQ(Grid.CellTip(0, 5), L""); // no such row
}

// A changed row is drawn in bold; a risky one in the warning colour, its tip
// giving the reason; a selected row keeps the highlight's own colours.
TEST_F(SettingsGridTest, MarkedRowsAreDrawnInBoldAndTheWarningColourWithTheReasonAsTip) {
  Grid.SetRowMark(0, {true, "", ""});
  Grid.SetRowMark(1, {false, "B = B1: it is risky", ""});
  Grid.SelectRow(-1);
  HDC dc = CreateCompatibleDC(nullptr);
  auto draw = [&](int row) {
    NMLVCUSTOMDRAW custom = {};
    custom.nmcd.hdr.hwndFrom = Grid.Handle();
    custom.nmcd.hdr.code = NM_CUSTOMDRAW;
    custom.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    custom.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    custom.nmcd.hdc = dc;
    custom.clrText = CLR_DEFAULT;
    SelectObject(dc, Font);
    LRESULT result = 0;
    EXPECT_TRUE(Grid.HandleNotify(&custom.nmcd.hdr, result));
    LOGFONTW font = {};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof(font), &font);
    return std::make_pair(font.lfWeight, custom.clrText);
  };
  EXPECT_EQ(draw(0).first, FW_BOLD);
  EXPECT_EQ(draw(0).second, static_cast<COLORREF>(CLR_DEFAULT));
  EXPECT_EQ(draw(1).first, FW_NORMAL);
  EXPECT_NE(draw(1).second, static_cast<COLORREF>(CLR_DEFAULT));
  Grid.SelectRow(1);
  EXPECT_EQ(draw(1).second, static_cast<COLORREF>(CLR_DEFAULT));
  DeleteDC(dc);

  EXPECT_EQ(Grid.TipText(0, 1), L"B = B1: it is risky");
  EXPECT_EQ(Grid.TipText(0, 0), L"");
  // Where the switch's bits are follows on a line of its own.
  Grid.SetRowMark(0, {false, "",
                      "CONFIG1H, bits 0\x96"
                      "3"});
  Grid.SetRowMark(1, {false, "B = B1: it is risky", "CONFIG2L, bit 4"});
  EXPECT_EQ(Grid.TipText(0, 0), L"CONFIG1H, bits 0\u2013"
                                L"3");
  EXPECT_EQ(Grid.TipText(0, 1), L"B = B1: it is risky\r\nCONFIG2L, bit 4");
}

TEST_F(SettingsGridTest, EditorCoversItsCellWithoutReachingTheNextRow) {
  Grid.BeginEdit(0, false);
  RECT editor;
  GetWindowRect(Grid.Editor().Handle(), &editor);
  MapWindowPoints(nullptr, Grid.Handle(), reinterpret_cast<POINT *>(&editor), 2);
  RECT cell = {};
  cell.top = ISettingsGrid::kColSetting;
  cell.left = LVIR_BOUNDS;
  SendMessageW(Grid.Handle(), LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
  EXPECT_EQ(editor.left, cell.left);
  EXPECT_EQ(editor.top, cell.top);
  EXPECT_EQ(editor.right, cell.right);
  // The row's grid line may stay visible below the editor.
  EXPECT_LE(editor.bottom, cell.bottom);
  EXPECT_GE(editor.bottom, cell.bottom - 1);
}

namespace {
// While the grid's context menu is open: its items' texts are read, then the item
// Choose is picked with the arrow keys and Enter (Escape when none is found soon).
struct TMenuPick {
  HWND Owner = nullptr;
  int Choose = 0;
  int Waited = 0;
  std::vector<std::string> Texts;
};
TMenuPick *gMenuPick = nullptr;

void CALLBACK PickFromOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if ((menuWindow == nullptr || !IsWindowVisible(menuWindow)) && ++gMenuPick->Waited < 100)
    return; // not open yet: the timer comes again
  KillTimer(nullptr, timer);
  if (menuWindow == nullptr) {
    PostMessageW(gMenuPick->Owner, WM_KEYDOWN, VK_ESCAPE, 0);
    return;
  }
  auto *menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    gMenuPick->Texts.push_back(WideToAnsi(text));
  }
  for (int i = 0; i <= gMenuPick->Choose; ++i)
    PostMessageW(gMenuPick->Owner, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(gMenuPick->Owner, WM_KEYDOWN, VK_RETURN, 0);
}
} // namespace

TEST_F(SettingsGridTest, TheContextMenuShowsTheItemsItsOwnerSuppliesAndRunsThePickedOne) {
  Grid.OnPaste = [this] { Events.push_back("ctrl+v paste"); };
  const std::vector<std::string> texts = {"Paste Configuration", "Copy Configuration Words", "Save as HEX...",
                                          "Copy as C",           "Copy as Assembler",        "Another item"};
  for (const std::string &text : texts)
    Grid.ContextMenu.push_back({text, [this, text] { Events.push_back(text); }});
  for (int item = 0; item < static_cast<int>(texts.size()); ++item) {
    TMenuPick pick;
    pick.Owner = Grid.Handle();
    pick.Choose = item;
    gMenuPick = &pick;
    SetFocus(Grid.Handle());
    SetTimer(nullptr, 0, 50, PickFromOpenMenu);
    // As the menu key opens it: under the selected row.
    SendMessageW(Grid.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Grid.Handle()), MAKELPARAM(-1, -1));
    gMenuPick = nullptr;
    EXPECT_EQ(pick.Texts, texts);
  }
  // Each item ran once, in the order picked; none raised the grid's own paste.
  EXPECT_EQ(Events, texts);
}
