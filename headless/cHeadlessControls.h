// In-memory controls behind the control seams: they keep the window's order of
// events, so TMainForm runs over them without a window (configgen, tests).
#pragma once

#include "seams/cControls.h"

#include <array>
#include <string>
#include <vector>

// Which control of a headless window has the focus.
struct THeadlessFocus {
  const void *Control = nullptr;
};

class THeadlessButton : public IButton {
public:
  explicit THeadlessButton(std::string caption = {}, THeadlessFocus *focus = nullptr)
      : FCaption(std::move(caption)), FFocus(focus) {}

  void SetEnabled(bool value) override { FEnabled = value; }
  bool Enabled() const override { return FEnabled; }
  void SetFocus() override;

  const std::string &Caption() const { return FCaption; }
  bool Focused() const { return FFocus != nullptr && FFocus->Control == this; }

private:
  std::string FCaption;
  THeadlessFocus *FFocus;
  bool FEnabled = true;
};

class THeadlessCheckBox : public ICheckBox {
public:
  explicit THeadlessCheckBox(std::string caption = {}, bool checked = false)
      : FCaption(std::move(caption)), FChecked(checked) {}

  bool Checked() const override { return FChecked; }
  void SetChecked(bool value) { FChecked = value; }
  const std::string &Caption() const { return FCaption; }

private:
  std::string FCaption;
  bool FChecked;
};

class THeadlessLabel : public ILabel {
public:
  explicit THeadlessLabel(std::string text = {}) : FText(std::move(text)) {}

  void SetText(const std::string &text) override { FText = text; }
  std::string Text() const override { return FText; }

private:
  std::string FText;
};

// The output box: one text in which every added line ends with CR LF. Lines are
// separated by CR LF or a lone LF (text the user typed may hold either).
class THeadlessOutputBox : public IOutputBox {
public:
  void Clear() override;
  void AddLine(const std::string &line) override;
  int LineCount() const override;
  void GetLines(TStringList &lines) const override;
  std::string Text() const override { return FText; }
  void SetSelection(int start, int length) override;

  // The user replaces the whole text.
  void UserSetText(const std::string &text) { FText = text; }
  int SelectionStart() const { return FSelStart; }
  int SelectionLength() const { return FSelLength; }

private:
  std::string FText;
  int FSelStart = 0;
  int FSelLength = 0;
};

// The device drop-down: choice only; OnChange exactly when the shown text changes.
class THeadlessDropDownList : public IDropDownList {
public:
  static constexpr const char *kInitialText = "select device";

  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Item(int index) const override;
  void Clear() override;
  void AddStrings(const TStringList &names) override;
  int IndexOf(const std::string &text) const override;
  int ItemIndex() const override { return FItemIndex; }
  void SetItemIndex(int index) override;
  void ClearText() override { ShowText({}); }
  std::string Text() const override { return FText; }

  // The user picks entry Index; false (and nothing happens) outside the list.
  bool UserPick(int index);
  // How often OnChange was raised.
  int ChangeCount() const { return FChangeCount; }

private:
  void ShowText(const std::string &text);

  std::vector<std::string> FItems;
  int FItemIndex = -1;
  std::string FText = kInitialText;
  int FChangeCount = 0;
};

// The Setting column's in-place drop-down list.
class THeadlessComboEditor : public IComboEditor {
public:
  void ClearItems() override;
  void AddItem(const WideString &item) override { FItems.push_back(item); }
  int ItemIndex() const override { return FItemIndex; }
  void Refresh() override { ++FRefreshCount; }

  int Count() const { return static_cast<int>(FItems.size()); }
  const std::vector<WideString> &Items() const { return FItems; }
  const WideString &Text() const { return FText; }
  int RefreshCount() const { return FRefreshCount; }

  // Used by the grid while editing.
  void SetText(const WideString &text) { FText = text; }
  void SetItemIndex(int index) { FItemIndex = index; }

private:
  std::vector<WideString> FItems;
  int FItemIndex = -1;
  WideString FText;
  int FRefreshCount = 0;
};

// The settings grid: rows of four wide texts, a selected row, a top row, the
// Setting column's own entries and its editor. The user-simulation methods raise
// the grid's events in the order the window's grid does.
class THeadlessSettingsGrid : public ISettingsGrid {
public:
  int RowCount() const override { return static_cast<int>(FRows.size()); }
  void ClearRows() override;
  int AddRow() override;
  void MakeRowVisible(int row) override;
  WideString Cell(int col, int row) const override;
  void SetCell(int col, int row, const WideString &text) override;
  int SelectedRow() const override { return FSelectedRow; }
  void ClearColumnItems() override { FColumnItems.clear(); }
  void AddColumnItem(const WideString &item) override { FColumnItems.push_back(item); }
  IComboEditor &SettingEditor() override { return FEditor; }

  // The user begins editing row Row's Setting cell: the row is selected, the
  // column's entries go into the editor, OnApplyEditText is raised, then the
  // editor shows the (possibly changed) text and preselects the entry equal to
  // it. False, and nothing happens, for a row that does not exist.
  bool BeginEdit(int row);
  // The user picks entry Index of the open editor; OnSelect follows. False when
  // no cell is being edited or Index is outside the editor's list.
  bool PickEntry(int index);
  // Editing ends: the editor's text becomes the cell's text.
  void EndEdit();
  // Editing ends without writing the cell.
  void CancelEdit() { FEditingRow = -1; }
  // Begins editing, picks entry Index and ends editing; false if a step could not run.
  bool PickSetting(int row, int index);

  bool Editing() const { return FEditingRow >= 0; }
  int EditingRow() const { return FEditingRow; }
  int TopRow() const { return FTopRow; }
  const std::vector<WideString> &ColumnItems() const { return FColumnItems; }
  const THeadlessComboEditor &Editor() const { return FEditor; }

private:
  std::vector<std::array<WideString, 4>> FRows;
  std::vector<WideString> FColumnItems;
  THeadlessComboEditor FEditor;
  int FSelectedRow = -1;
  int FTopRow = 0;
  int FEditingRow = -1;
};
