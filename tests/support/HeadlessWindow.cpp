// The headless main window: stand-in controls and services around TMainForm.
#include "tests/support/HeadlessWindow.h"

THeadlessWindow::THeadlessWindow(const THeadlessServices &services) {
  MakeControls(*this);
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
      SaveFileDialog,
      createFolderDialog,
  };
  FForm = MakeForm(platform);
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
