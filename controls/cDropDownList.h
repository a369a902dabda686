// TDropDownList: the device drop-down. Choice only; its shown text is its own, so
// "select device" stands until the text first changes, and OnChange is raised exactly
// when the shown text changes, whether the user or the program changed it.
#pragma once

#include "controls/cChoiceCombo.h"
#include "seams/cControls.h"

#include <string>
#include <vector>

class TDropDownList : public TChoiceCombo, public IDropDownList {
public:
  TDropDownList(HWND parent, int id, const std::string &initialText);

  int Count() const override { return static_cast<int>(FNames.size()); }
  std::string Item(int index) const override;
  void Clear() override;
  void AddStrings(const TStringList &names) override;
  int IndexOf(const std::string &text) const override;
  int ItemIndex() const override { return FItemIndex; }
  void SetItemIndex(int index) override;
  void ClearText() override;
  std::string Text() const override { return FText; }

private:
  // Shows Text; raises OnChange when it differs from what was shown.
  void ChangeText(const std::string &text);
  // Takes over the entry the user chose in the control.
  void UserChanged();

  std::vector<std::string> FNames;
  std::string FText;
  int FItemIndex = -1;
};
