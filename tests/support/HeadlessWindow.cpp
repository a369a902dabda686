// The headless main window: controls, services and click routing around TMainForm.
#include "tests/support/HeadlessWindow.h"

THeadlessWindow::THeadlessWindow(const THeadlessServices &services) {
  const TMainFormControls controls{LabelIncludePath,
                                   ButtonChangeFolder,
                                   ButtonLoadDeviceInfoFile,
                                   DeviceSelectComboBox,
                                   chkIncludeLF,
                                   CheckBoxUseInfoDefaults,
                                   ButtonSetDefaults,
                                   SettingsGrid,
                                   ButtonGenerate,
                                   ButtonCopy,
                                   CheckBoxComments,
                                   CheckBoxOrvaneSyntax,
                                   Memo,
                                   StatusBar};
  auto createFolderDialog = [this]() -> std::unique_ptr<IFolderDialog> {
    if (CreateFolderDialog)
      return CreateFolderDialog();
    return std::make_unique<THeadlessFolderDialog>(FolderDialog);
  };
  const TMainFormServices platform{
      services.Pump ? *services.Pump : OwnPump,
      services.Clipboard ? *services.Clipboard : OwnClipboard,
      services.Registry ? *services.Registry : OwnRegistry,
      services.FileSystem ? *services.FileSystem : OwnFileSystem,
      createFolderDialog,
  };
  FForm = std::make_unique<TMainForm>(controls, platform);
}

THeadlessWindow::~THeadlessWindow() {
  try {
    Close();
  } catch (...) {
    // Nothing can be shown any more.
  }
}

void THeadlessWindow::Open() {
  if (FOpen)
    return;
  FForm->FormCreate();
  FOpen = true;
  FForm->FormShow();
}

void THeadlessWindow::Close() {
  if (!FOpen)
    return;
  FOpen = false;
  FForm->FormDestroy();
}

THeadlessButton *THeadlessWindow::ButtonOf(TControlId id) {
  switch (id) {
  case kIdButtonChangeFolder:
    return &ButtonChangeFolder;
  case kIdButtonLoadDeviceInfoFile:
    return &ButtonLoadDeviceInfoFile;
  case kIdButtonSetDefaults:
    return &ButtonSetDefaults;
  case kIdButtonGenerate:
    return &ButtonGenerate;
  case kIdButtonCopy:
    return &ButtonCopy;
  default:
    return nullptr;
  }
}

THeadlessCheckBox *THeadlessWindow::CheckBoxOf(TControlId id) {
  switch (id) {
  case kIdChkIncludeLF:
    return &chkIncludeLF;
  case kIdCheckBoxUseInfoDefaults:
    return &CheckBoxUseInfoDefaults;
  case kIdCheckBoxComments:
    return &CheckBoxComments;
  case kIdCheckBoxOrvaneSyntax:
    return &CheckBoxOrvaneSyntax;
  default:
    return nullptr;
  }
}

bool THeadlessWindow::Click(TControlId id) {
  if (const THeadlessButton *button = ButtonOf(id); button != nullptr && !button->Enabled())
    return false;
  if (THeadlessCheckBox *box = CheckBoxOf(id))
    box->SetChecked(!box->Checked());
  if (const auto handler = ControlDef(id).OnClick)
    (FForm.get()->*handler)();
  return true;
}

bool THeadlessWindow::ClickLoadFile() {
  return Click(kIdButtonLoadDeviceInfoFile);
}

bool THeadlessWindow::ClickChangeFolder() {
  return Click(kIdButtonChangeFolder);
}

bool THeadlessWindow::ClickCopy() {
  return Click(kIdButtonCopy);
}

bool THeadlessWindow::ClickGenerate() {
  return Click(kIdButtonGenerate);
}

bool THeadlessWindow::ClickSetDefaults() {
  return Click(kIdButtonSetDefaults);
}

void THeadlessWindow::ClickIncludeLF() {
  Click(kIdChkIncludeLF);
}

void THeadlessWindow::ClickUseInfoDefaults() {
  Click(kIdCheckBoxUseInfoDefaults);
}

void THeadlessWindow::ClickComments() {
  Click(kIdCheckBoxComments);
}

void THeadlessWindow::ClickOrvaneSyntax() {
  Click(kIdCheckBoxOrvaneSyntax);
}
