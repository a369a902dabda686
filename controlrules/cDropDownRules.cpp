// The drop-down's entries, selection, shown text and type-ahead.
#include "controlrules/cDropDownRules.h"

#include "common/cErrors.h"

std::string TDropDownRules::Item(int index) const {
  if (index < 0 || index >= Count())
    throw EListError(index);
  return FItems[static_cast<size_t>(index)];
}

void TDropDownRules::Clear() {
  FItems.clear();
  FItemIndex = -1;
  EntriesChanged();
}

void TDropDownRules::AddStrings(const TStringList &names) {
  for (const std::string &name : names)
    FItems.push_back(name);
  EntriesChanged();
}

int TDropDownRules::IndexOf(const std::string &text) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareText(FItems[static_cast<size_t>(i)], text) == 0)
      return i;
  return -1;
}

void TDropDownRules::SetItemIndex(int index) {
  FItemIndex = index;
  SelectionChanged();
  if (index >= 0 && index < Count())
    ShowText(FItems[static_cast<size_t>(index)]);
}

bool TDropDownRules::UserPick(int index) {
  if (index < 0 || index >= Count())
    return false;
  SetItemIndex(index);
  return true;
}

bool TDropDownRules::TypeAhead(char c, uint64_t time) {
  if (static_cast<unsigned char>(c) < 32)
    return false;
  if (FTyped.empty() || time - FLastTyped > kTypeAheadPause)
    FTyped.clear();
  FLastTyped = time;
  FTyped += c;
  const std::string typed = UpperCaseAscii(FTyped);
  int found = -1;
  for (int i = 0; i < Count() && found < 0; ++i)
    if (UpperCaseAscii(FItems[static_cast<size_t>(i)]).rfind(typed, 0) == 0)
      found = i;
  for (int i = 0; i < Count() && found < 0; ++i)
    if (UpperCaseAscii(FItems[static_cast<size_t>(i)]).find(typed) != std::string::npos)
      found = i;
  return UserPick(found);
}

void TDropDownRules::ShowText(const std::string &text) {
  if (text == FText)
    return;
  FText = text;
  TextShown();
  if (OnChange)
    OnChange();
}
