// THeadlessWindow: the main window without a screen, for the tests and the
// benchmarks. The layout's factory makes its stand-in controls and wires their
// clicks, as it does for the Win32 window; it runs a TMainForm over them with
// in-memory platform services.
#pragma once

#include "app/UnitMain.h"
#include "app/cLayoutControls.h"
#include "tests/support/HeadlessControls.h"
#include "tests/support/HeadlessPlatform.h"

#include <functional>
#include <memory>
#include <type_traits>

// Services to use instead of the window's own in-memory ones (null: its own).
struct THeadlessServices {
  IMessagePump *Pump = nullptr;
  IClipboard *Clipboard = nullptr;
  IRegistry *Registry = nullptr;
  IFileSystem *FileSystem = nullptr;
};

// The headless window's controls: the stand-ins, one for each kind of control.
using THeadlessControls =
    TLayoutControls<THeadlessControl, THeadlessLabel, THeadlessButton, THeadlessDropDownList,
                    THeadlessCheckBox, THeadlessSettingsGrid, THeadlessOutputBox, THeadlessPanel>;

// The controls, by their names in the layout: W.Button("ButtonGenerate").Click(),
// W.OutputBox("Memo").Text(). A click on a disabled button does nothing and returns
// false; a check-box click toggles the box and then runs its handler (if any).
// Failures of a handler propagate, as they would reach the window's error box.
class THeadlessWindow : public THeadlessControls {
public:
  explicit THeadlessWindow(const THeadlessServices &services = {});
  // Closes the window first if it is still open.
  ~THeadlessWindow() override;
  THeadlessWindow(const THeadlessWindow &) = delete;
  THeadlessWindow &operator=(const THeadlessWindow &) = delete;

  // Creation (FormCreate) and showing (FormShow), as the window's start does.
  void Open();
  // Closing: FormDestroy, which saves the settings. Safe to call twice.
  void Close();
  bool IsOpen() const { return FOpen; }

  TMainForm &Form() { return *FForm; }

  // Which button has the focus.
  THeadlessFocus Focus;
  // The window's own in-memory services (used unless others were given).
  THeadlessPump OwnPump;
  TMemoryClipboard OwnClipboard;
  TMemoryRegistry OwnRegistry;
  TMemoryFileSystem OwnFileSystem;
  THeadlessSaveFileDialog SaveFileDialog;
  // What the folder dialog answers and what it was told.
  TFolderDialogPreset FolderDialog;
  // When set before Open, creates the folder dialog instead of the preset one.
  std::function<std::unique_ptr<IFolderDialog>()> CreateFolderDialog;

  // Makes the stand-in of one row (for the factory).
  template <typename T>
  std::unique_ptr<T> Make(std::type_identity<T> /*kind*/, const TControlRequest<THeadlessControl> &request) {
    auto control = std::make_unique<T>(request.Def);
    if constexpr (std::is_same_v<T, THeadlessButton>)
      control->TrackFocus(Focus);
    return control;
  }

private:
  std::unique_ptr<TMainForm> FForm;
  bool FOpen = false;
};
