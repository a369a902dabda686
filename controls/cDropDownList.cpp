// The device drop-down over TChoiceCombo; the 8-bit entries and the shown text are
// kept here exactly, the combo only displays them.
#include "controls/cDropDownList.h"

#include "common/cErrors.h"

TDropDownList::TDropDownList(HWND parent, int id, const std::string &initialText)
    : TChoiceCombo(parent, id, WS_VISIBLE | WS_TABSTOP), FText(initialText) {
  SetShownText(AnsiToWide(FText));
  OnNotify = [this](WORD code) {
    // CBN_SELCHANGE for each user move; CBN_CLOSEUP catches a choice some combo
    // implementations make without a selection change notice.
    if (code == CBN_SELCHANGE || code == CBN_CLOSEUP)
      UserChanged();
  };
}

std::string TDropDownList::Item(int index) const {
  if (index < 0 || index >= Count())
    throw EListError(index);
  return FNames[static_cast<size_t>(index)];
}

void TDropDownList::Clear() {
  FNames.clear();
  FItemIndex = -1;
  ClearItems();
}

void TDropDownList::AddStrings(const TStringList &names) {
  for (const std::string &name : names) {
    FNames.push_back(name);
    AddItem(AnsiToWide(name));
  }
}

int TDropDownList::IndexOf(const std::string &text) const {
  for (size_t i = 0; i < FNames.size(); ++i)
    if (CompareText(FNames[i], text) == 0)
      return static_cast<int>(i);
  return -1;
}

void TDropDownList::SetItemIndex(int index) {
  FItemIndex = index;
  if (index >= 0 && index < Count()) {
    SetCurSel(index);
    ChangeText(FNames[static_cast<size_t>(index)]);
  } else {
    SetCurSel(-1);
  }
}

void TDropDownList::ClearText() {
  ChangeText(std::string());
}

void TDropDownList::ChangeText(const std::string &text) {
  if (text == FText)
    return;
  FText = text;
  SetShownText(AnsiToWide(FText));
  if (OnChange)
    OnChange();
}

void TDropDownList::UserChanged() {
  const int index = CurSel();
  if (index < 0 || index >= Count())
    return;
  FItemIndex = index;
  ChangeText(FNames[static_cast<size_t>(index)]);
}
