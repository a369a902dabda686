// In-memory controls: text, entries, selection and the order of their events.
#include "headless/cHeadlessControls.h"

#include "common/cErrors.h"

void THeadlessButton::SetFocus() {
  if (FFocus != nullptr)
    FFocus->Control = this;
}

// --- Output box ----------------------------------------------------------------

void THeadlessOutputBox::Clear() {
  FText.clear();
  FSelStart = 0;
  FSelLength = 0;
}

void THeadlessOutputBox::AddLine(const std::string &line) {
  // A text that does not end in a line break (the user typed it) gets one first.
  if (!FText.empty() && FText.back() != '\n')
    FText += "\r\n";
  FText += line;
  FText += "\r\n";
}

void THeadlessOutputBox::GetLines(TStringList &lines) const {
  lines.Clear();
  size_t start = 0;
  while (start < FText.size()) {
    size_t end = FText.find('\n', start);
    if (end == std::string::npos) {
      lines.Add(std::string_view(FText).substr(start));
      break;
    }
    size_t stop = end;
    if (stop > start && FText[stop - 1] == '\r')
      --stop;
    lines.Add(std::string_view(FText).substr(start, stop - start));
    start = end + 1;
  }
}

int THeadlessOutputBox::LineCount() const {
  TStringList lines;
  GetLines(lines);
  return lines.Count();
}

void THeadlessOutputBox::SetSelection(int start, int length) {
  FSelStart = start;
  FSelLength = length;
}

// --- Drop-down list --------------------------------------------------------------

std::string THeadlessDropDownList::Item(int index) const {
  if (index < 0 || index >= Count())
    throw EListError(index);
  return FItems[static_cast<size_t>(index)];
}

void THeadlessDropDownList::Clear() {
  FItems.clear();
  FItemIndex = -1;
}

void THeadlessDropDownList::AddStrings(const TStringList &names) {
  for (const std::string &name : names)
    FItems.push_back(name);
}

int THeadlessDropDownList::IndexOf(const std::string &text) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareText(FItems[static_cast<size_t>(i)], text) == 0)
      return i;
  return -1;
}

void THeadlessDropDownList::SetItemIndex(int index) {
  FItemIndex = index;
  if (index >= 0 && index < Count())
    ShowText(FItems[static_cast<size_t>(index)]);
}

bool THeadlessDropDownList::UserPick(int index) {
  if (index < 0 || index >= Count())
    return false;
  SetItemIndex(index);
  return true;
}

void THeadlessDropDownList::ShowText(const std::string &text) {
  if (text == FText)
    return;
  FText = text;
  ++FChangeCount;
  if (OnChange)
    OnChange();
}

// --- Grid --------------------------------------------------------------------------

void THeadlessComboEditor::ClearItems() {
  FItems.clear();
  FItemIndex = -1;
}

void THeadlessSettingsGrid::ClearRows() {
  FRows.clear();
  FSelectedRow = -1;
  FTopRow = 0;
  FEditingRow = -1;
}

int THeadlessSettingsGrid::AddRow() {
  FRows.emplace_back();
  FSelectedRow = RowCount() - 1;
  FTopRow = FSelectedRow;
  return FSelectedRow;
}

void THeadlessSettingsGrid::MakeRowVisible(int row) {
  if (row >= 0 && row < RowCount())
    FTopRow = row;
}

WideString THeadlessSettingsGrid::Cell(int col, int row) const {
  if (col < 0 || col > kColDescription)
    throw EListError(col);
  if (row < 0 || row >= RowCount())
    throw EListError(row);
  return FRows[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void THeadlessSettingsGrid::SetCell(int col, int row, const WideString &text) {
  if (col < 0 || col > kColDescription)
    throw EListError(col);
  if (row < 0 || row >= RowCount())
    throw EListError(row);
  FRows[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
}

bool THeadlessSettingsGrid::BeginEdit(int row) {
  if (row < 0 || row >= RowCount())
    return false;
  FSelectedRow = row;
  FEditingRow = row;
  FEditor.ClearItems();
  for (const WideString &item : FColumnItems)
    FEditor.AddItem(item);
  WideString value = FRows[static_cast<size_t>(row)][kColSetting];
  if (OnApplyEditText)
    OnApplyEditText(kColSetting, row, value);
  FEditor.SetText(value);
  int preselected = -1;
  for (int i = 0; i < FEditor.Count() && preselected < 0; ++i)
    if (FEditor.Items()[static_cast<size_t>(i)] == value)
      preselected = i;
  FEditor.SetItemIndex(preselected);
  return true;
}

bool THeadlessSettingsGrid::PickEntry(int index) {
  if (!Editing() || index < 0 || index >= FEditor.Count())
    return false;
  FEditor.SetItemIndex(index);
  FEditor.SetText(FEditor.Items()[static_cast<size_t>(index)]);
  if (OnSelect)
    OnSelect();
  return true;
}

void THeadlessSettingsGrid::EndEdit() {
  if (!Editing())
    return;
  const int row = FEditingRow;
  FEditingRow = -1;
  if (row < RowCount())
    FRows[static_cast<size_t>(row)][kColSetting] = FEditor.Text();
}

bool THeadlessSettingsGrid::PickSetting(int row, int index) {
  if (!BeginEdit(row))
    return false;
  if (!PickEntry(index)) {
    CancelEdit();
    return false;
  }
  EndEdit();
  return true;
}
