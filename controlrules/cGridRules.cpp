// The grid's rows, cells, selection and its editing sequence.
#include "controlrules/cGridRules.h"

#include "common/cErrors.h"

void TComboEditorRules::ClearItems() {
  FItems.clear();
  FItemIndex = -1;
  ItemsChanged();
}

void TComboEditorRules::AddItem(const WideString &item) {
  FItems.push_back(item);
  ItemsChanged();
}

void TComboEditorRules::Refresh() {
  Repaint();
}

void TComboEditorRules::SetText(const WideString &text) {
  FText = text;
  ShownChanged();
}

void TComboEditorRules::SetItemIndex(int index) {
  FItemIndex = index >= 0 && index < Count() ? index : -1;
  ShownChanged();
}

void TGridRules::ClearRows() {
  EndEdit(false);
  FCells.clear();
  FMarks.clear();
  FSelectedRow = -1;
  FVisibleRow = 0;
  RowsChanged();
  SelectionChanged();
}

int TGridRules::AddRow() {
  EndEdit(true);
  FCells.emplace_back();
  FMarks.emplace_back();
  const int row = RowCount() - 1;
  RowsChanged();
  SelectRow(row);
  MakeRowVisible(row);
  return row;
}

void TGridRules::MakeRowVisible(int row) {
  if (row < 0 || row >= RowCount())
    return;
  FVisibleRow = row;
  ShowRow(row);
}

void TGridRules::CheckCell(int col, int row) const {
  if (row < 0 || row >= RowCount())
    throw EListError(row);
  if (col < 0 || col > kColDescription)
    throw EListError(col);
}

WideString TGridRules::Cell(int col, int row) const {
  CheckCell(col, row);
  return CellText(col, row);
}

void TGridRules::SetCell(int col, int row, const WideString &text) {
  CheckCell(col, row);
  FCells[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
  RowChanged(row);
}

void TGridRules::SetRowMark(int row, const TRowMark &mark) {
  CheckCell(0, row);
  if (FMarks[static_cast<size_t>(row)] == mark)
    return;
  FMarks[static_cast<size_t>(row)] = mark;
  RowChanged(row);
}

TRowMark TGridRules::RowMark(int row) const {
  return row >= 0 && row < RowCount() ? FMarks[static_cast<size_t>(row)] : TRowMark{};
}

void TGridRules::SelectRow(int row) {
  FSelectedRow = row >= 0 && row < RowCount() ? row : -1;
  SelectionChanged();
}

bool TGridRules::BeginEdit(int row) {
  if (row < 0 || row >= RowCount())
    return false;
  EndEdit(true);
  SelectRow(row);
  MakeRowVisible(row);
  // The column's own entries first; the handler may replace them and the value.
  FEditor.ClearItems();
  for (const WideString &item : FColumnItems)
    FEditor.AddItem(item);
  WideString value = CellText(kColSetting, row);
  if (OnApplyEditText)
    OnApplyEditText(kColSetting, row, value);
  FEditor.SetText(value);
  int preselected = -1;
  for (int i = 0; i < FEditor.Count() && preselected < 0; ++i)
    if (FEditor.Items()[static_cast<size_t>(i)] == value)
      preselected = i;
  FEditor.SetItemIndex(preselected);
  FEditingRow = row;
  EditBegun(row);
  return true;
}

bool TGridRules::PickEntry(int index) {
  if (!Editing() || index < 0 || index >= FEditor.Count())
    return false;
  FEditor.SetItemIndex(index);
  FEditor.SetText(FEditor.Items()[static_cast<size_t>(index)]);
  if (OnSelect)
    OnSelect();
  return true;
}

void TGridRules::EndEdit(bool commit) {
  if (!Editing())
    return;
  const int row = FEditingRow;
  FEditingRow = -1;
  if (commit && row < RowCount()) {
    FCells[static_cast<size_t>(row)][kColSetting] = FEditor.Text();
    RowChanged(row);
  }
  EditEnded();
}

bool TGridRules::PickMenuItem(size_t index) {
  if (index >= ContextMenu.size())
    return false;
  // A copy: the item may fill the menu anew.
  const TNotifyEvent run = ContextMenu[index].OnClick;
  EndEdit(true);
  if (run)
    run();
  return true;
}

bool TGridRules::PickSetting(int row, int index) {
  if (!BeginEdit(row))
    return false;
  if (!PickEntry(index)) {
    EndEdit(false);
    return false;
  }
  EndEdit(true);
  return true;
}
