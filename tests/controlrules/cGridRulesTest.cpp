// The grid's rules: rows, selection and the editing sequence in the order the
// window's logic relies on.
#include "controlrules/cGridRules.h"

#include "common/cErrors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
class GridRules : public testing::Test {
protected:
  TComboEditorRules Editor;
  TGridRules Grid{Editor};
};
} // namespace

TEST_F(GridRules, RowsSelectionAndScrolling) {
  EXPECT_EQ(Grid.SelectedRow(), -1);
  EXPECT_EQ(Grid.AddRow(), 0);
  EXPECT_EQ(Grid.AddRow(), 1);
  EXPECT_EQ(Grid.AddRow(), 2);
  EXPECT_EQ(Grid.SelectedRow(), 2);
  EXPECT_EQ(Grid.VisibleRow(), 2);
  Grid.MakeRowVisible(0);
  EXPECT_EQ(Grid.VisibleRow(), 0);
  EXPECT_EQ(Grid.SelectedRow(), 2);
  Grid.SetCell(ISettingsGrid::kColDescription, 1, L"d");
  EXPECT_EQ(Grid.Cell(ISettingsGrid::kColDescription, 1), L"d");
  EXPECT_EQ(Grid.Cell(ISettingsGrid::kColConfig, 1), L"");
  EXPECT_THROW(Grid.Cell(0, 3), EListError);
  EXPECT_THROW(Grid.SetCell(4, 0, L"x"), EListError);
  Grid.ClearRows();
  EXPECT_EQ(Grid.RowCount(), 0);
  EXPECT_EQ(Grid.SelectedRow(), -1);
  Grid.MakeRowVisible(0); // no row: nothing to scroll
  EXPECT_EQ(Grid.VisibleRow(), 0);
}

TEST_F(GridRules, EditingRaisesItsEventsInTheWindowsOrder) {
  Grid.AddRow();
  Grid.AddRow();
  Grid.SetCell(ISettingsGrid::kColSetting, 0, L"B");
  Grid.AddColumnItem(L"column");

  std::vector<std::string> log;
  Grid.OnApplyEditText = [&](int col, int row, WideString &value) {
    // The column's entries are in the editor already; its text is not yet set.
    log.push_back("apply col=" + std::to_string(col) + " row=" + std::to_string(row) +
                  " value=" + WideToAnsi(value) + " items=" + std::to_string(Editor.Count()) +
                  " first=" + WideToAnsi(Editor.Items().at(0)) + " text=" + WideToAnsi(Editor.Text()));
    Grid.SettingEditor().ClearItems();
    for (const wchar_t *item : {L"A", L"B", L"B"})
      Grid.SettingEditor().AddItem(item);
  };
  Grid.OnSelect = [&] {
    log.push_back("select index=" + std::to_string(Grid.SettingEditor().ItemIndex()) +
                  " cell=" + WideToAnsi(Grid.Cell(ISettingsGrid::kColSetting, Grid.SelectedRow())));
  };

  ASSERT_TRUE(Grid.BeginEdit(0));
  EXPECT_EQ(Grid.SelectedRow(), 0);
  EXPECT_EQ(Editor.Text(), L"B");
  EXPECT_EQ(Editor.ItemIndex(), 1); // the first entry equal to the text
  ASSERT_TRUE(Grid.PickEntry(2));
  EXPECT_FALSE(Grid.PickEntry(3));
  Grid.EndEdit(true);
  EXPECT_FALSE(Grid.Editing());
  EXPECT_EQ(log, (std::vector<std::string>{"apply col=2 row=0 value=B items=1 first=column text=",
                                           "select index=2 cell=B"}));
  EXPECT_EQ(Grid.Cell(ISettingsGrid::kColSetting, 0), L"B");

  // Picking A writes A when editing ends; a cancelled edit writes nothing.
  ASSERT_TRUE(Grid.PickSetting(0, 0));
  EXPECT_EQ(Grid.Cell(ISettingsGrid::kColSetting, 0), L"A");
  ASSERT_TRUE(Grid.BeginEdit(1));
  EXPECT_EQ(Editor.ItemIndex(), -1); // an empty cell matches no entry
  Grid.PickEntry(1);
  Grid.EndEdit(false);
  EXPECT_EQ(Grid.Cell(ISettingsGrid::kColSetting, 1), L"");
  EXPECT_FALSE(Grid.BeginEdit(2));
  EXPECT_FALSE(Grid.PickEntry(0)); // not editing
}

TEST_F(GridRules, TheHandlerMayChangeTheShownValue) {
  Grid.AddRow();
  Grid.AddColumnItem(L"X");
  Grid.AddColumnItem(L"Y");
  Grid.OnApplyEditText = [](int, int, WideString &value) { value = L"Y"; };
  Grid.BeginEdit(0);
  EXPECT_EQ(Editor.Text(), L"Y");
  EXPECT_EQ(Editor.ItemIndex(), 1);
  Grid.EndEdit(true);
  EXPECT_EQ(Grid.Cell(ISettingsGrid::kColSetting, 0), L"Y");
}

TEST_F(GridRules, AddingOrClearingRowsWhileEditingEndsTheEdit) {
  Grid.AddRow();
  Grid.AddColumnItem(L"X");
  Grid.BeginEdit(0);
  Grid.PickEntry(0);
  Grid.AddRow(); // commits first
  EXPECT_FALSE(Grid.Editing());
  EXPECT_EQ(Grid.Cell(ISettingsGrid::kColSetting, 0), L"X");
  Grid.BeginEdit(0);
  Grid.ClearRows();
  EXPECT_FALSE(Grid.Editing());
  Grid.EndEdit(true); // nothing left to write
  EXPECT_EQ(Grid.RowCount(), 0);
}

TEST_F(GridRules, PickingAMenuItemEndsEditingThenRunsThatItemOnly) {
  Grid.AddRow();
  Grid.SetCell(ISettingsGrid::kColSetting, 0, L"A");
  Grid.AddColumnItem(L"A");
  Grid.AddColumnItem(L"B");
  std::vector<std::string> log;
  // Each item notes the Setting cell it finds: editing has ended, the pick written.
  auto item = [&](const std::string &text) {
    return TMenuItem{text, [&log, this, text] {
                       log.push_back(text + " " + WideToAnsi(Grid.Cell(ISettingsGrid::kColSetting, 0)) +
                                     (Grid.Editing() ? " editing" : ""));
                     }};
  };
  Grid.ContextMenu = {item("first"), item("second"), item("third")};
  ASSERT_TRUE(Grid.BeginEdit(0));
  ASSERT_TRUE(Grid.PickEntry(1));
  EXPECT_TRUE(Grid.PickMenuItem(1));
  EXPECT_TRUE(Grid.PickMenuItem(2));
  EXPECT_FALSE(Grid.PickMenuItem(3));
  EXPECT_EQ(log, (std::vector<std::string>{"second B", "third B"}));
}
