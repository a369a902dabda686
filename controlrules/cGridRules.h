// TGridRules: the settings grid's cells, selection and editing sequence without a
// screen, and TComboEditorRules, its in-place list. The Win32 grid draws them; the
// tests' stand-in is these classes as they stand.
#pragma once

#include "seams/cControls.h"

#include <array>
#include <vector>

class TComboEditorRules : public IComboEditor {
public:
  void ClearItems() override;
  void AddItem(const WideString &item) override;
  int ItemIndex() const override { return FItemIndex; }
  void Refresh() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  const std::vector<WideString> &Items() const { return FItems; }
  // The text the editor shows, and the entry highlighted in its list (-1: none).
  const WideString &Text() const { return FText; }
  void SetText(const WideString &text);
  void SetItemIndex(int index);

protected:
  // For a view: the entries, the shown text or the highlighted entry changed;
  // the list is to be repainted at once.
  virtual void ItemsChanged() {}
  virtual void ShownChanged() {}
  virtual void Repaint() {}

private:
  std::vector<WideString> FItems;
  int FItemIndex = -1;
  WideString FText;
};

// When editing of a Setting cell begins the grid copies the column's own entries
// into the editor, raises OnApplyEditText, then shows the (possibly changed) text
// and preselects the entry equal to it; picking an entry raises OnSelect; when
// editing ends with a commit, the editor's text becomes the cell's text.
class TGridRules : public ISettingsGrid {
public:
  explicit TGridRules(TComboEditorRules &editor) : FEditor(editor) {}

  int RowCount() const override { return static_cast<int>(FCells.size()); }
  void ClearRows() override;
  int AddRow() override;
  void MakeRowVisible(int row) override;
  WideString Cell(int col, int row) const override;
  void SetCell(int col, int row, const WideString &text) override;
  int SelectedRow() const override { return FSelectedRow; }
  void ClearColumnItems() override { FColumnItems.clear(); }
  void AddColumnItem(const WideString &item) override { FColumnItems.push_back(item); }
  IComboEditor &SettingEditor() override { return FEditor; }
  void SetRowMark(int row, const TRowMark &mark) override;
  // Row Row's mark (none for a row that does not exist).
  TRowMark RowMark(int row) const;

  // Begins editing row Row's Setting cell; false, and nothing happens, for a row
  // that does not exist.
  bool BeginEdit(int row);
  // The user picks entry Index of the open editor; OnSelect follows. False when no
  // cell is being edited or Index is outside the editor's list.
  bool PickEntry(int index);
  // Editing ends; with Commit the editor's text becomes the cell's text.
  void EndEdit(bool commit);
  // Begins editing, picks entry Index and ends editing; false if a step could not run.
  bool PickSetting(int row, int index);
  // The user selects a row (or none, -1).
  void SelectRow(int row);
  // The user picks item Index of the context menu: editing ends, then the item
  // runs. False, and nothing happens, for an index outside the menu.
  bool PickMenuItem(size_t index);

  bool Editing() const { return FEditingRow >= 0; }
  int EditingRow() const { return FEditingRow; }
  // The row the grid was last asked to show.
  int VisibleRow() const { return FVisibleRow; }
  const std::vector<WideString> &ColumnItems() const { return FColumnItems; }
  const TComboEditorRules &Editor() const { return FEditor; }
  // A cell's text without a bounds check (the view's drawing asks for rows it has).
  const WideString &CellText(int col, int row) const {
    return FCells[static_cast<size_t>(row)][static_cast<size_t>(col)];
  }

protected:
  // For a view: the rows were added or removed; a row's text changed; the
  // selection moved; a row is to be scrolled into view; editing began or ended.
  virtual void RowsChanged() {}
  virtual void RowChanged(int row) { (void)row; }
  virtual void SelectionChanged() {}
  virtual void ShowRow(int row) { (void)row; }
  virtual void EditBegun(int row) { (void)row; }
  virtual void EditEnded() {}

private:
  void CheckCell(int col, int row) const;

  TComboEditorRules &FEditor;
  std::vector<std::array<WideString, 4>> FCells;
  std::vector<TRowMark> FMarks; // parallel to FCells
  std::vector<WideString> FColumnItems;
  int FSelectedRow = -1;
  int FVisibleRow = 0;
  int FEditingRow = -1;
};
