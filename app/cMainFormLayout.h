// The main window's layout, defined once: one row per control with its name, kind,
// caption, place at 96 DPI, tab order, initial state and click handler. Both
// windows (Win32 and the tests' stand-in) build their controls from it.
#pragma once

#include "app/UnitMain.h"

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

enum class TControlKind { Label, Button, DropDown, CheckBox, Grid, OutputBox, Panel };
inline constexpr size_t kControlKinds = 7;

struct TControlDef {
  const char *Name;
  TControlKind Kind;
  const char *Caption;
  // Place in its parent's client area.
  int Left, Top, Width, Height;
  int TabOrder; // -1: takes no focus
  bool Checked; // check boxes
  bool Bold;
  bool AutoSize;                // labels whose width follows their text
  const char *Parent;           // the control it lives in, or null: the window
  void (TMainForm::*OnClick)(); // what a click runs (buttons; check boxes after they toggled), or null
};

namespace layout {
using K = TControlKind;
using F = TMainForm;
} // namespace layout

// Every control. Adding one: a row here, and its handler in TMainForm.
// clang-format off
inline constexpr TControlDef kMainFormControls[] = {
    // Name, kind, caption, left, top, width, height, tab order, checked, bold, auto size, parent, click
    {"Label1", layout::K::Label, "Microchip MPASM/MPASMX Folder", 8, 16, 192, 13, -1, false, true, false, nullptr, nullptr},
    {"LabelIncludePath", layout::K::Label, TMainForm::kInitialFolderText, 8, 32, 222, 13, -1, false, false, true, nullptr, nullptr},
    {"ButtonChangeFolder", layout::K::Button, "Change Folder...", 8, 56, 100, 25, 1, false, false, false, nullptr, &layout::F::ButtonChangeFolderClick},
    {"ButtonLoadDeviceInfoFile", layout::K::Button, "Load File", 128, 56, 100, 25, 3, false, false, false, nullptr, &layout::F::ButtonLoadDeviceInfoFileClick},
    {"Label2", layout::K::Label, "Device", 8, 96, 32, 13, -1, false, false, false, nullptr, nullptr},
    {"DeviceSelectComboBox", layout::K::DropDown, "select device", 8, 112, 121, 21, 7, false, false, false, nullptr, nullptr},
    {"chkIncludeLF", layout::K::CheckBox, "Include 18LF", 144, 112, 97, 17, 12, false, false, false, nullptr, nullptr},
    {"CheckBoxUseInfoDefaults", layout::K::CheckBox, "Use .info Defaults", 536, 120, 113, 17, 11, false, false, false, nullptr, &layout::F::CheckBoxUseInfoDefaultsClick},
    {"ButtonSetDefaults", layout::K::Button, "Set Defaults", 672, 112, 100, 25, 8, false, false, false, nullptr, &layout::F::ButtonSetDefaultsClick},
    {"SettingsGrid", layout::K::Grid, "Config Settings from '8bit_device.info'", 8, 152, 769, 201, 6, false, false, false, nullptr, nullptr},
    {"ButtonGenerate", layout::K::Button, "Generate", 8, 368, 100, 25, 0, false, false, false, nullptr, &layout::F::ButtonGenerateClick},
    {"ButtonCopy", layout::K::Button, "Copy to Clipboard", 128, 368, 100, 25, 4, false, false, false, nullptr, &layout::F::ButtonCopyClick},
    {"CheckBoxComments", layout::K::CheckBox, "Comments", 248, 376, 97, 17, 9, true, false, false, nullptr, &layout::F::CheckBoxCommentsClick},
    {"CheckBoxOrvaneSyntax", layout::K::CheckBox, "Orvane Syntax", 344, 376, 97, 17, 10, false, false, false, nullptr, &layout::F::CheckBoxOrvaneSyntaxClick},
    {"Memo", layout::K::OutputBox, "", 8, 408, 769, 153, 2, false, false, false, nullptr, nullptr},
    // Docked to the window's bottom edge, across its width.
    {"PanelStatus", layout::K::Panel, "", 0, 569, 788, 25, 5, false, false, false, nullptr, nullptr},
    {"StatusBar", layout::K::Label, TMainForm::kStatusReady, 8, 6, 31, 13, -1, false, false, true, "PanelStatus", nullptr},
};
// clang-format on
inline constexpr size_t kMainFormControlCount = std::size(kMainFormControls);

// A control's window id: 1001 on, in the layout's order (1 and 2, IDOK and IDCANCEL,
// stay free for the dialog manager).
inline constexpr int kFirstControlId = 1001;
constexpr int ControlId(size_t index) {
  return kFirstControlId + static_cast<int>(index);
}

// Position of the row named Name, or kMainFormControlCount.
constexpr size_t ControlIndex(std::string_view name) {
  for (size_t i = 0; i < kMainFormControlCount; ++i)
    if (name == kMainFormControls[i].Name)
      return i;
  return kMainFormControlCount;
}

// A control's name, checked when the program is compiled: a name the layout does
// not have, or a control of another kind than Kind, does not compile.
template <TControlKind Kind> struct TControlName {
  // NOLINTNEXTLINE(google-explicit-constructor): written as a plain string literal
  consteval TControlName(const char *name) : Index(ControlIndex(name)) {
    if (Index == kMainFormControlCount || kMainFormControls[Index].Kind != Kind)
      throw "not a control of this kind in the layout";
  }
  size_t Index;
};

// The window's caption, with the program's version.
std::string MainFormCaption();
inline constexpr const char *kApplicationTitle = "Config Settings Generator";
inline constexpr int kMainFormClientWidth = 788;
inline constexpr int kMainFormClientHeight = 594;
