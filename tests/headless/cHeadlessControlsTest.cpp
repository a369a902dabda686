// The headless controls keep the events and their order that the window's logic
// relies on.
#include "headless/cHeadlessControls.h"

#include "common/cErrors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
TStringList List(std::initializer_list<const char *> items) {
  TStringList list;
  for (const char *item : items)
    list.Add(item);
  return list;
}
} // namespace

// --- Drop-down list -------------------------------------------------------------

TEST(THeadlessDropDownList, RaisesChangeExactlyWhenTheShownTextChanges) {
  THeadlessDropDownList list;
  std::vector<std::string> seen; // shown text and index as the handler sees them
  list.OnChange = [&] { seen.push_back(list.Text() + "@" + std::to_string(list.ItemIndex())); };
  EXPECT_EQ(list.Text(), "select device");
  EXPECT_EQ(list.ItemIndex(), -1);

  list.AddStrings(List({"18F1", "18F2", "18f2"}));
  list.SetItemIndex(5); // outside: stored only
  EXPECT_EQ(list.ItemIndex(), 5);
  EXPECT_EQ(list.Text(), "select device");
  list.SetItemIndex(1);
  list.SetItemIndex(1); // same text: no event
  EXPECT_TRUE(list.UserPick(0));
  EXPECT_FALSE(list.UserPick(3));
  list.ClearText();
  list.ClearText(); // already empty
  EXPECT_EQ(seen, (std::vector<std::string>{"18F2@1", "18F1@0", "@0"}));
  EXPECT_EQ(list.ChangeCount(), 3);

  // Removing the entries keeps the shown text.
  list.SetItemIndex(2);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.Text(), "18f2");
  list.SetItemIndex(0); // empty list: stored only
  EXPECT_EQ(list.ItemIndex(), 0);
  EXPECT_EQ(list.Text(), "18f2");
  EXPECT_THROW(list.Item(0), EListError);
}

TEST(THeadlessDropDownList, IndexOfIgnoresLetterCaseAndTakesTheFirstMatch) {
  THeadlessDropDownList list;
  list.AddStrings(List({"18F2550", "18f2550", "18LF25K22"}));
  EXPECT_EQ(list.IndexOf("18f2550"), 0);
  EXPECT_EQ(list.IndexOf("18lf25k22"), 2);
  EXPECT_EQ(list.IndexOf("18F255"), -1);
  EXPECT_EQ(list.IndexOf(""), -1);
}

// --- Output box ---------------------------------------------------------------------

TEST(THeadlessOutputBox, LinesEndInCrLfAndTheLastBreakStartsNoLine) {
  THeadlessOutputBox box;
  EXPECT_EQ(box.LineCount(), 0);
  box.AddLine("a");
  box.AddLine("");
  box.AddLine("c");
  EXPECT_EQ(box.Text(), "a\r\n\r\nc\r\n");
  EXPECT_EQ(box.LineCount(), 3);
  TStringList lines;
  lines.Add("stale");
  box.GetLines(lines);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), (std::vector<std::string>{"a", "", "c"}));

  // Text the user typed: LF breaks count, a missing final break is supplied.
  box.UserSetText("x\ny");
  EXPECT_EQ(box.LineCount(), 2);
  box.AddLine("z");
  EXPECT_EQ(box.Text(), "x\ny\r\nz\r\n");
  box.SetSelection(3, 2);
  EXPECT_EQ(box.SelectionStart(), 3);
  box.Clear();
  EXPECT_EQ(box.Text(), "");
  EXPECT_EQ(box.SelectionStart(), 0);
}

// --- Grid -----------------------------------------------------------------------------

TEST(THeadlessSettingsGrid, RowsSelectionAndScrolling) {
  THeadlessSettingsGrid grid;
  EXPECT_EQ(grid.SelectedRow(), -1);
  EXPECT_EQ(grid.AddRow(), 0);
  EXPECT_EQ(grid.AddRow(), 1);
  EXPECT_EQ(grid.AddRow(), 2);
  EXPECT_EQ(grid.SelectedRow(), 2);
  EXPECT_EQ(grid.TopRow(), 2);
  grid.MakeRowVisible(0);
  EXPECT_EQ(grid.TopRow(), 0);
  EXPECT_EQ(grid.SelectedRow(), 2);
  grid.SetCell(ISettingsGrid::kColDescription, 1, L"d");
  EXPECT_EQ(grid.Cell(ISettingsGrid::kColDescription, 1), L"d");
  EXPECT_EQ(grid.Cell(ISettingsGrid::kColConfig, 1), L"");
  EXPECT_THROW(grid.Cell(0, 3), EListError);
  EXPECT_THROW(grid.SetCell(4, 0, L"x"), EListError);
  grid.ClearRows();
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_EQ(grid.SelectedRow(), -1);
  grid.MakeRowVisible(0); // no row: nothing to scroll
  EXPECT_EQ(grid.TopRow(), 0);
}

TEST(THeadlessSettingsGrid, EditingRaisesItsEventsInTheWindowsOrder) {
  THeadlessSettingsGrid grid;
  grid.AddRow();
  grid.AddRow();
  grid.SetCell(ISettingsGrid::kColSetting, 0, L"B");
  grid.AddColumnItem(L"column");

  std::vector<std::string> log;
  grid.OnApplyEditText = [&](int col, int row, WideString &value) {
    // The column's entries are in the editor already; its text is not yet set.
    const auto &editor = grid.Editor();
    log.push_back("apply col=" + std::to_string(col) + " row=" + std::to_string(row) +
                  " value=" + WideToAnsi(value) + " items=" + std::to_string(editor.Count()) +
                  " first=" + WideToAnsi(editor.Items().at(0)) + " text=" + WideToAnsi(editor.Text()));
    grid.SettingEditor().ClearItems();
    for (const wchar_t *item : {L"A", L"B", L"B"})
      grid.SettingEditor().AddItem(item);
  };
  grid.OnSelect = [&] {
    log.push_back("select index=" + std::to_string(grid.SettingEditor().ItemIndex()) +
                  " cell=" + WideToAnsi(grid.Cell(ISettingsGrid::kColSetting, grid.SelectedRow())));
  };

  ASSERT_TRUE(grid.BeginEdit(0));
  EXPECT_EQ(grid.SelectedRow(), 0);
  EXPECT_EQ(grid.Editor().Text(), L"B");
  EXPECT_EQ(grid.Editor().ItemIndex(), 1); // the first entry equal to the text
  ASSERT_TRUE(grid.PickEntry(2));
  EXPECT_FALSE(grid.PickEntry(3));
  grid.EndEdit();
  EXPECT_FALSE(grid.Editing());
  EXPECT_EQ(log, (std::vector<std::string>{"apply col=2 row=0 value=B items=1 first=column text=",
                                           "select index=2 cell=B"}));
  EXPECT_EQ(grid.Cell(ISettingsGrid::kColSetting, 0), L"B");

  // Picking A writes A when editing ends; a cancelled edit writes nothing.
  ASSERT_TRUE(grid.PickSetting(0, 0));
  EXPECT_EQ(grid.Cell(ISettingsGrid::kColSetting, 0), L"A");
  ASSERT_TRUE(grid.BeginEdit(1));
  EXPECT_EQ(grid.Editor().ItemIndex(), -1); // an empty cell matches no entry
  grid.PickEntry(1);
  grid.CancelEdit();
  EXPECT_EQ(grid.Cell(ISettingsGrid::kColSetting, 1), L"");
  EXPECT_FALSE(grid.BeginEdit(2));
  EXPECT_FALSE(grid.PickEntry(0)); // not editing
}

TEST(THeadlessSettingsGrid, TheHandlerMayChangeTheShownValue) {
  THeadlessSettingsGrid grid;
  grid.AddRow();
  grid.AddColumnItem(L"X");
  grid.AddColumnItem(L"Y");
  grid.OnApplyEditText = [](int, int, WideString &value) { value = L"Y"; };
  grid.BeginEdit(0);
  EXPECT_EQ(grid.Editor().Text(), L"Y");
  EXPECT_EQ(grid.Editor().ItemIndex(), 1);
  grid.EndEdit();
  EXPECT_EQ(grid.Cell(ISettingsGrid::kColSetting, 0), L"Y");
}

TEST(THeadlessSettingsGrid, ClearingTheRowsWhileEditingEndsTheEdit) {
  THeadlessSettingsGrid grid;
  grid.AddRow();
  grid.AddColumnItem(L"X");
  grid.BeginEdit(0);
  grid.ClearRows();
  EXPECT_FALSE(grid.Editing());
  grid.EndEdit(); // nothing left to write
  EXPECT_EQ(grid.RowCount(), 0);
}
