// TChoiceCombo: a choice-only drop-down list (owner-drawn CBS_DROPDOWNLIST) whose
// field shows a text of its own, so it can show a text that is no entry
// ("select device", or a setting that is not among a row's entries).
#pragma once

#include "controls/cWinControl.h"

#include <functional>
#include <string>
#include <vector>

class TChoiceCombo : public TWinControl {
public:
  // Parent receives the combo's notifications and hands them on (ReflectToControl).
  TChoiceCombo(HWND parent, int id, DWORD extraStyle = 0);

  int EntryCount() const { return static_cast<int>(FItems.size()); }
  const std::wstring &Entry(int index) const { return FItems.at(static_cast<size_t>(index)); }
  void ClearItems();
  void AddItem(const std::wstring &item);

  // The list's highlighted entry, -1 for none.
  int CurSel() const;
  void SetCurSel(int index);

  // The text the field shows.
  const std::wstring &ShownText() const { return FShownText; }
  void SetShownText(const std::wstring &text);

  bool DroppedDown() const;
  void SetDroppedDown(bool value);

  void SetFont(HFONT font) override;
  void SetDpi(UINT dpi) override;
  // Height of the closed field, in pixels.
  int FieldHeight() const;

  bool HandleCommand(WORD code) override;
  bool HandleDrawItem(DRAWITEMSTRUCT *item) override;
  bool HandleMeasureItem(MEASUREITEMSTRUCT *item) override;

  // The combo's notifications (CBN_...), raised after the control's own handling.
  std::function<void(WORD code)> OnNotify;

private:
  void UpdateItemHeights();

  std::vector<std::wstring> FItems;
  std::wstring FShownText;
};
