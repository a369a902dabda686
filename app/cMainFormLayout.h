// The main window's layout, defined once: each control's name, kind, id, caption,
// place at 96 DPI, tab order, initial state and click handler. The Win32 window
// builds itself from it; the tests' stand-in window takes its captions and states.
#pragma once

#include "app/UnitMain.h"

#include <string>

enum class TControlKind { Label, Button, DropDown, CheckBox, Grid, OutputBox, Panel };

// Control ids; 1 and 2 (IDOK, IDCANCEL) stay free for the dialog manager.
enum TControlId : int {
  kIdLabel1 = 1001,
  kIdLabelIncludePath,
  kIdButtonChangeFolder,
  kIdButtonLoadDeviceInfoFile,
  kIdLabel2,
  kIdDeviceSelectComboBox,
  kIdChkIncludeLF,
  kIdCheckBoxUseInfoDefaults,
  kIdButtonSetDefaults,
  kIdSettingsGrid,
  kIdButtonGenerate,
  kIdButtonCopy,
  kIdCheckBoxComments,
  kIdCheckBoxOrvaneSyntax,
  kIdMemo,
  kIdPanelStatus,
  kIdStatusBar,
};

struct TControlDef {
  TControlId Id;
  const char *Name;
  TControlKind Kind;
  const char *Caption;
  // Place in the window's client area (the status label: in the status panel).
  int Left, Top, Width, Height;
  int TabOrder; // -1: takes no focus
  bool Checked; // check boxes
  bool Bold;
  bool AutoSize; // labels whose width follows their text
  // What a click runs (buttons; check boxes after they toggled), or null.
  void (TMainForm::*OnClick)();
};

// Every control, in the order of their ids.
extern const TControlDef kMainFormControls[17];
const TControlDef &ControlDef(TControlId id);

// The window's caption, with the program's version.
std::string MainFormCaption();
inline constexpr const char *kApplicationTitle = "Config Settings Generator";
inline constexpr int kMainFormClientWidth = 788;
inline constexpr int kMainFormClientHeight = 594;
