// TDropDownRules: the device drop-down's state and rules, without a screen. The
// Win32 control draws it; the tests' stand-in is this class as it stands.
#pragma once

#include "seams/cControls.h"

#include <cstdint>
#include <string>
#include <vector>

class TDropDownRules : public IDropDownList {
public:
  // Characters typed within this many milliseconds of each other are one search.
  static constexpr uint64_t kTypeAheadPause = 1000;

  explicit TDropDownRules(std::string initialText) : FText(std::move(initialText)) {}

  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Item(int index) const override;
  void Clear() override;
  void AddStrings(const TStringList &names) override;
  int IndexOf(const std::string &text) const override;
  int ItemIndex() const override { return FItemIndex; }
  void SetItemIndex(int index) override;
  void ClearText() override { ShowText({}); }
  std::string Text() const override { return FText; }

  // The user chose entry Index; false (and nothing happens) outside the list.
  bool UserPick(int index);
  // The user typed C at Time (milliseconds). Characters typed in quick succession
  // select the first entry that begins with them, ignoring letter case, or else
  // the first that contains them. True when an entry matched.
  bool TypeAhead(char c, uint64_t time);

protected:
  // For a view: the entries were replaced or appended to; the selected index was
  // set; the shown text changed (raised before OnChange).
  virtual void EntriesChanged() {}
  virtual void SelectionChanged() {}
  virtual void TextShown() {}

private:
  // Shows Text; raises OnChange when it differs from what was shown.
  void ShowText(const std::string &text);

  std::vector<std::string> FItems;
  int FItemIndex = -1;
  std::string FText;
  std::string FTyped;
  uint64_t FLastTyped = 0;
};
