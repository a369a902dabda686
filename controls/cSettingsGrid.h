// TSettingsGrid: the settings grid over a report-view ListView. Its rows, cells and
// editing sequence are TGridRules'; the ListView shows them, with a header and four
// columns, and the Setting column is edited only by choosing from a drop-down list
// laid over the cell (TGridComboEditor); a cell whose text does not fit shows it as
// a tip. Its context menu shows the items its owner puts in ContextMenu.
#pragma once

#include "controlrules/cGridRules.h"
#include "controls/cChoiceCombo.h"
#include "controls/cWinControl.h"

#include <array>
#include <memory>
#include <vector>

#include <windows.h>
#include <commctrl.h>

// The in-place editor of the Setting column: the rules' list, shown by a
// choice-only combo laid over the cell.
class TGridComboEditor : public TComboEditorRules {
public:
  void Attach(TChoiceCombo &combo) { FCombo = &combo; }
  HWND Handle() const { return FCombo->Handle(); }

protected:
  void ItemsChanged() override;
  void ShownChanged() override;
  void Repaint() override;

private:
  TChoiceCombo *FCombo = nullptr;
};

class TSettingsGrid : public TWinControl, public TGridRules {
public:
  // Column widths at 96 DPI; Function and Description share the spare width.
  static constexpr std::array<int, 4> kColumnWidths = {108, 244, 88, 327};
  static constexpr int kMinSettingWidth = 80;

  TSettingsGrid(HWND parent, int id, const std::string &caption);
  ~TSettingsGrid() override;

  // The row selected in the list, which the user may move.
  int SelectedRow() const override;

  using TGridRules::BeginEdit;
  // Starts editing Row's Setting cell and, with DropDown, opens its list.
  void BeginEdit(int row, bool dropDown);
  TGridComboEditor &Editor() { return FEditor; }

  // The whole text of a cell when it does not fit its column, else empty.
  WideString CellTip(int col, int row) const;
  // What the tip over a cell says: why its row's setting is risky, or else the
  // cell's whole text when it does not fit.
  WideString TipText(int col, int row) const;
  int ColumnWidth(int col) const;
  int RowHeight() const;

  void SetBounds(int left, int top, int width, int height) override;
  void SetFont(HFONT font) override;
  void SetDpi(UINT dpi) override;
  void SetHeaderFont(HFONT font);
  bool HandleNotify(NMHDR *header, LRESULT &result) override;

protected:
  void RowsChanged() override;
  void RowChanged(int row) override;
  void SelectionChanged() override;
  void ShowRow(int row) override;
  void EditBegun(int row) override;
  void EditEnded() override;

private:
  static LRESULT CALLBACK SubclassProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  LRESULT GridProc(UINT message, WPARAM wParam, LPARAM lParam);
  void EditorNotify(WORD code);
  // Raises OnPaste (Ctrl+V or Shift+Insert), editing ended first.
  void Paste();
  // Shows ContextMenu at Point (from the keyboard: under the selected row) and runs
  // the item picked.
  void ShowContextMenu(LPARAM point);
  LRESULT CustomDraw(NMLVCUSTOMDRAW &draw);
  void FitColumns();
  void UpdateRowHeight();
  void TrackTip(LPARAM point);
  void GetDispInfo(LVITEMW &item);
  // Column and row under a point of the list's client area; false outside the cells.
  bool HitCell(POINT point, int &col, int &row) const;

  TGridComboEditor FEditor;
  std::unique_ptr<TChoiceCombo> FCombo;
  HWND FTip = nullptr;
  HIMAGELIST FRowImages = nullptr;
  HFONT FBoldFont = nullptr;
  bool FEditCancelled = false;
  int FTipCol = -1;
  int FTipRow = -1;
  bool FFitting = false;
  WideString FTipText;
};
