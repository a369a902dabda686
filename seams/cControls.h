// What the window's logic needs of its controls: small interfaces that the Win32
// controls and the tests' stand-ins implement.
#pragma once

#include "common/cStringList.h"
#include "common/cTextConv.h"

#include <functional>
#include <string>
#include <vector>

// An event without arguments beyond the sender, which the handler knows.
using TNotifyEvent = std::function<void()>;

class IButton {
public:
  virtual ~IButton() = default;
  virtual void SetEnabled(bool value) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetFocus() = 0;
};

class ICheckBox {
public:
  virtual ~ICheckBox() = default;
  virtual bool Checked() const = 0;
};

class ILabel {
public:
  virtual ~ILabel() = default;
  virtual void SetText(const std::string &text) = 0;
  virtual std::string Text() const = 0;
};

// The multi-line output box. Every added line ends with CR LF in its text.
class IOutputBox {
public:
  virtual ~IOutputBox() = default;
  virtual void Clear() = 0;
  virtual void AddLine(const std::string &line) = 0;
  // Replaces the whole text with Lines, each followed by a line break, in one step.
  virtual void SetLines(const std::vector<std::string> &lines) = 0;
  // Number of lines; a last, empty line after the final line break is not counted.
  virtual int LineCount() const = 0;
  // Clears Lines and fills it with the box's lines, in order.
  virtual void GetLines(TStringList &lines) const = 0;
  // The whole text, line breaks included.
  virtual std::string Text() const = 0;
  virtual void SetSelection(int start, int length) = 0;
};

// A choice-only drop-down list. OnChange is raised exactly when the shown text
// changes, by the user or by the program; "select device" shows until then.
class IDropDownList {
public:
  virtual ~IDropDownList() = default;
  virtual int Count() const = 0;
  virtual std::string Item(int index) const = 0;
  // Removes every entry; the selected index becomes -1, the shown text stays.
  virtual void Clear() = 0;
  virtual void AddStrings(const TStringList &names) = 0;
  // Position of Text among the entries, ignoring letter case; the first match or -1.
  virtual int IndexOf(const std::string &text) const = 0;
  virtual int ItemIndex() const = 0;
  // An index inside the list shows that entry; any other value is only stored.
  virtual void SetItemIndex(int index) = 0;
  // Empties the shown text.
  virtual void ClearText() = 0;
  virtual std::string Text() const = 0;

  TNotifyEvent OnChange;
};

// The in-place drop-down list that edits a Setting cell (choice only).
class IComboEditor {
public:
  virtual ~IComboEditor() = default;
  virtual void ClearItems() = 0;
  virtual void AddItem(const WideString &item) = 0;
  virtual int ItemIndex() const = 0;
  // Repaints and updates the list at once.
  virtual void Refresh() = 0;
};

// How a row is marked: in bold when its setting differs from the chip default,
// in a warning colour with Risk as its tip when its setting is risky.
struct TRowMark {
  bool Changed = false;
  std::string Risk;  // empty: not risky
  std::string Place; // where its bits are, "CONFIG1H, bits 0–3"; empty when unknown
  bool operator==(const TRowMark &) const = default;
};

// Raised when editing of a cell begins; Value may be changed by the handler.
using TApplyEditTextEvent = std::function<void(int col, int row, WideString &value)>;

// An item of a context menu: the text it shows, and what picking it runs.
struct TMenuItem {
  std::string Text;
  TNotifyEvent OnClick;
};

// The settings grid: a header row and four columns (Config, Function, Setting,
// Description); only Setting is edited, by choosing from IComboEditor. When editing
// of a Setting cell begins the grid copies the column's own entries into the editor,
// raises OnApplyEditText, then shows the cell's text and preselects the entry equal
// to it; OnSelect is raised when the user picks an entry; when editing ends, the
// editor's text becomes the cell's text.
class ISettingsGrid {
public:
  enum : int { kColConfig = 0, kColFunction = 1, kColSetting = 2, kColDescription = 3 };

  virtual ~ISettingsGrid() = default;
  virtual int RowCount() const = 0;
  // Removes every row; no row is selected afterwards.
  virtual void ClearRows() = 0;
  // Appends an empty row, selects it and scrolls to the end; returns its index.
  virtual int AddRow() = 0;
  virtual void MakeRowVisible(int row) = 0;
  virtual WideString Cell(int col, int row) const = 0;
  virtual void SetCell(int col, int row, const WideString &text) = 0;
  // Index of the selected row, or -1.
  virtual int SelectedRow() const = 0;
  // The Setting column's own entry list.
  virtual void ClearColumnItems() = 0;
  virtual void AddColumnItem(const WideString &item) = 0;
  // The Setting column's in-place editor.
  virtual IComboEditor &SettingEditor() = 0;
  // Marks row Row (drawn at once).
  virtual void SetRowMark(int row, const TRowMark &mark) = 0;

  TApplyEditTextEvent OnApplyEditText;
  TNotifyEvent OnSelect;
  // Raised when the user pastes into the grid with Ctrl+V or Shift+Insert.
  TNotifyEvent OnPaste;
  // The context menu, as its owner fills it: the items in the order shown. Picking
  // one ends editing, then runs the item.
  std::vector<TMenuItem> ContextMenu;
};
