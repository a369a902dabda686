// The main window's controls as the layout gives them.
#include "app/cMainFormLayout.h"

#include "app/cVersion.h"
#include "common/cErrors.h"

namespace {
using K = TControlKind;
using F = TMainForm;
} // namespace

// clang-format off
const TControlDef kMainFormControls[17] = {
    // Id, name, kind, caption, left, top, width, height, tab order, checked, bold, auto size, click
    {kIdLabel1, "Label1", K::Label, "Microchip MPASM/MPASMX Folder", 8, 16, 192, 13, -1, false, true, false, nullptr},
    {kIdLabelIncludePath, "LabelIncludePath", K::Label, TMainForm::kInitialFolderText, 8, 32, 222, 13, -1, false, false, true, nullptr},
    {kIdButtonChangeFolder, "ButtonChangeFolder", K::Button, "Change Folder...", 8, 56, 100, 25, 1, false, false, false, &F::ButtonChangeFolderClick},
    {kIdButtonLoadDeviceInfoFile, "ButtonLoadDeviceInfoFile", K::Button, "Load File", 128, 56, 100, 25, 3, false, false, false, &F::ButtonLoadDeviceInfoFileClick},
    {kIdLabel2, "Label2", K::Label, "Device", 8, 96, 32, 13, -1, false, false, false, nullptr},
    {kIdDeviceSelectComboBox, "DeviceSelectComboBox", K::DropDown, "select device", 8, 112, 121, 21, 7, false, false, false, nullptr},
    {kIdChkIncludeLF, "chkIncludeLF", K::CheckBox, "Include 18LF", 144, 112, 97, 17, 12, false, false, false, nullptr},
    {kIdCheckBoxUseInfoDefaults, "CheckBoxUseInfoDefaults", K::CheckBox, "Use .info Defaults", 536, 120, 113, 17, 11, false, false, false, &F::CheckBoxUseInfoDefaultsClick},
    {kIdButtonSetDefaults, "ButtonSetDefaults", K::Button, "Set Defaults", 672, 112, 100, 25, 8, false, false, false, &F::ButtonSetDefaultsClick},
    {kIdSettingsGrid, "SettingsGrid", K::Grid, "Config Settings from '8bit_device.info'", 8, 152, 769, 201, 6, false, false, false, nullptr},
    {kIdButtonGenerate, "ButtonGenerate", K::Button, "Generate", 8, 368, 100, 25, 0, false, false, false, &F::ButtonGenerateClick},
    {kIdButtonCopy, "ButtonCopy", K::Button, "Copy to Clipboard", 128, 368, 100, 25, 4, false, false, false, &F::ButtonCopyClick},
    {kIdCheckBoxComments, "CheckBoxComments", K::CheckBox, "Comments", 248, 376, 97, 17, 9, true, false, false, &F::CheckBoxCommentsClick},
    {kIdCheckBoxOrvaneSyntax, "CheckBoxOrvaneSyntax", K::CheckBox, "Orvane Syntax", 344, 376, 97, 17, 10, false, false, false, &F::CheckBoxOrvaneSyntaxClick},
    {kIdMemo, "Memo", K::OutputBox, "", 8, 408, 769, 153, 2, false, false, false, nullptr},
    {kIdPanelStatus, "PanelStatus", K::Panel, "", 0, 569, 788, 25, 5, false, false, false, nullptr},
    {kIdStatusBar, "StatusBar", K::Label, TMainForm::kStatusReady, 8, 6, 31, 13, -1, false, false, true, nullptr},
};
// clang-format on

const TControlDef &ControlDef(TControlId id) {
  for (const TControlDef &def : kMainFormControls)
    if (def.Id == id)
      return def;
  throw EListError(static_cast<int>(id));
}

std::string MainFormCaption() {
  return "Tarnwick Config Generator v" FB_VERSION_TEXT;
}
