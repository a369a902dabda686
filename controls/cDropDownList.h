// TDropDownList: the device drop-down on Win32. Its entries, selection, shown text,
// change event and type-ahead are TDropDownRules'; the owner-drawn choice combo
// shows them and passes on what the user does.
#pragma once

#include "controlrules/cDropDownRules.h"
#include "controls/cChoiceCombo.h"

#include <string>

class TDropDownList : public TChoiceCombo, public TDropDownRules {
public:
  TDropDownList(HWND parent, int id, const std::string &initialText);

protected:
  void EntriesChanged() override;
  void SelectionChanged() override;
  void TextShown() override;

private:
  static LRESULT CALLBACK SubclassProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  // Takes over the entry the user chose in the combo.
  void UserChanged();
};
