// Wiring of the Win32 services into the main window's setup.
#include "win32/cServicesWin32.h"

namespace {
// The browser's owner component for the window, and the adapter over the dialog it
// owns; the adapter goes first, then the component.
class TWindowFolderDialog : public IFolderDialog {
public:
  explicit TWindowFolderDialog(HWND owner) : FOwner(nullptr, owner), FDialog(&FOwner) {}
  void SetTitle(const std::string &value) override { FDialog.SetTitle(value); }
  void SetSelection(const std::string &value) override { FDialog.SetSelection(value); }
  void SetCaption(const std::string &value) override { FDialog.SetCaption(value); }
  bool Execute() override { return FDialog.Execute(); }
  std::string GetSelectedPath() override { return FDialog.GetSelectedPath(); }

private:
  TWinComponent FOwner;
  TFolderDlgAdapter FDialog;
};
} // namespace

std::unique_ptr<IFolderDialog> CreateFolderDialogWin32(HWND owner) {
  return std::make_unique<TWindowFolderDialog>(owner);
}

TMainWindowSetup TServicesWin32::Setup(TErrorReporter report, HWND owner, bool quitOnDestroy) {
  TMainWindowSetup setup;
  setup.Registry = &Registry;
  setup.FileSystem = &FileSystem;
  setup.CreateFolderDialog = CreateFolderDialogWin32;
  setup.ReportError = std::move(report);
  setup.Owner = owner;
  setup.QuitOnDestroy = quitOnDestroy;
  return setup;
}
