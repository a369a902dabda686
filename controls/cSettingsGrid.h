// TSettingsGrid: the settings grid over a report-view ListView. Four columns with a
// header; the Setting column is edited only by choosing from a drop-down list laid
// over the cell (TGridComboEditor); a cell whose text does not fit shows it as a tip.
#pragma once

#include "controls/cChoiceCombo.h"
#include "controls/cWinControl.h"
#include "seams/cControls.h"

#include <array>
#include <memory>
#include <vector>

#include <windows.h>
#include <commctrl.h>

// The in-place editor of the Setting column.
class TGridComboEditor : public IComboEditor {
public:
  void Attach(TChoiceCombo &combo) { FCombo = &combo; }
  void ClearItems() override { FCombo->ClearItems(); }
  void AddItem(const WideString &item) override { FCombo->AddItem(item); }
  int ItemIndex() const override { return FCombo->CurSel(); }
  void Refresh() override;

  // What the editor holds and shows.
  int Count() const { return FCombo->Count(); }
  const WideString &Item(int index) const { return FCombo->Item(index); }
  const WideString &Text() const { return FCombo->ShownText(); }
  HWND Handle() const { return FCombo->Handle(); }

private:
  TChoiceCombo *FCombo = nullptr;
};

class TSettingsGrid : public TWinControl, public ISettingsGrid {
public:
  // Column widths at 96 DPI; Function and Description share the spare width.
  static constexpr std::array<int, 4> kColumnWidths = {108, 244, 88, 327};
  static constexpr int kMinSettingWidth = 80;

  TSettingsGrid(HWND parent, int id, const std::string &caption);
  ~TSettingsGrid() override;

  int RowCount() const override { return static_cast<int>(FCells.size()); }
  void ClearRows() override;
  int AddRow() override;
  void MakeRowVisible(int row) override;
  WideString Cell(int col, int row) const override;
  void SetCell(int col, int row, const WideString &text) override;
  int SelectedRow() const override;
  void ClearColumnItems() override { FColumnItems.clear(); }
  void AddColumnItem(const WideString &item) override { FColumnItems.push_back(item); }
  IComboEditor &SettingEditor() override { return FEditor; }

  // Starts editing Row's Setting cell and, with DropDown, opens its list.
  void BeginEdit(int row, bool dropDown);
  // Ends editing; with Commit the editor's text becomes the cell's text.
  void EndEdit(bool commit);
  bool Editing() const { return FEditRow >= 0; }
  int EditRow() const { return FEditRow; }
  TGridComboEditor &Editor() { return FEditor; }

  // The whole text of a cell when it does not fit its column, else empty.
  WideString CellTip(int col, int row) const;
  int ColumnWidth(int col) const;
  int RowHeight() const;

  void SetBounds(int left, int top, int width, int height) override;
  void SetFont(HFONT font) override;
  void SetDpi(UINT dpi) override;
  void SetHeaderFont(HFONT font);
  bool HandleNotify(NMHDR *header, LRESULT &result) override;

  // Receives failures of handlers run from the grid's own keyboard and list handling.
  TErrorReporter OnError;

private:
  static LRESULT CALLBACK SubclassProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  LRESULT GridProc(UINT message, WPARAM wParam, LPARAM lParam);
  void EditorNotify(WORD code);
  void FitColumns();
  void UpdateRowHeight();
  void SelectRow(int row);
  void RedrawRow(int row);
  void TrackTip(LPARAM point);
  void GetDispInfo(LVITEMW &item);
  // Column and row under a point of the list's client area; false outside the cells.
  bool HitCell(POINT point, int &col, int &row) const;

  std::vector<std::array<WideString, 4>> FCells;
  std::vector<WideString> FColumnItems;
  std::unique_ptr<TChoiceCombo> FCombo;
  TGridComboEditor FEditor;
  HWND FTip = nullptr;
  HIMAGELIST FRowImages = nullptr;
  int FEditRow = -1;
  bool FEditCancelled = false;
  int FTipCol = -1;
  int FTipRow = -1;
  bool FFitting = false;
  WideString FTipText;
};
