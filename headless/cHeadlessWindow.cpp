// The headless main window: controls, services and click routing around TMainForm.
#include "headless/cHeadlessWindow.h"

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

bool THeadlessWindow::ClickLoadFile() {
  if (!ButtonLoadDeviceInfoFile.Enabled())
    return false;
  FForm->ButtonLoadDeviceInfoFileClick();
  return true;
}

bool THeadlessWindow::ClickChangeFolder() {
  if (!ButtonChangeFolder.Enabled())
    return false;
  FForm->ButtonChangeFolderClick();
  return true;
}

bool THeadlessWindow::ClickCopy() {
  if (!ButtonCopy.Enabled())
    return false;
  FForm->ButtonCopyClick();
  return true;
}

bool THeadlessWindow::ClickGenerate() {
  if (!ButtonGenerate.Enabled())
    return false;
  FForm->ButtonGenerateClick();
  return true;
}

bool THeadlessWindow::ClickSetDefaults() {
  if (!ButtonSetDefaults.Enabled())
    return false;
  FForm->ButtonSetDefaultsClick();
  return true;
}

void THeadlessWindow::ClickIncludeLF() {
  chkIncludeLF.SetChecked(!chkIncludeLF.Checked());
}

void THeadlessWindow::ClickUseInfoDefaults() {
  CheckBoxUseInfoDefaults.SetChecked(!CheckBoxUseInfoDefaults.Checked());
  FForm->CheckBoxUseInfoDefaultsClick();
}

void THeadlessWindow::ClickComments() {
  CheckBoxComments.SetChecked(!CheckBoxComments.Checked());
  FForm->CheckBoxCommentsClick();
}

void THeadlessWindow::ClickOrvaneSyntax() {
  CheckBoxOrvaneSyntax.SetChecked(!CheckBoxOrvaneSyntax.Checked());
  FForm->CheckBoxOrvaneSyntaxClick();
}
