// Folder selection on Win32: the shell's folder browser as the component TFolderDlg,
// the shell, path and window routines it rests on, and its IFolderDialog adapter.
#pragma once

#include "dialogs/cComponent.h"
#include "dialogs/cDialogs.h"
#include "seams/cPlatform.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include <windows.h>
#include <shlobj.h>

// A component with a window: the "windowed control" that can own the browser.
// Handle gives the window, made on first use through CreateHandle. The component
// does not destroy the window; that stays the business of whoever made it.
class TWinComponent : public TComponent {
public:
  explicit TWinComponent(TComponent *owner, HWND handle = nullptr);
  ~TWinComponent() override;

  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void SetHandle(HWND handle) { FHandle = handle; }

protected:
  // Makes the window when Handle is first asked for; the default makes none.
  virtual HWND CreateHandle() { return nullptr; }

private:
  HWND FHandle;
};

// The application's main form, the fallback owner of the browser; none until set.
// A TWinComponent that is freed stops being the main form.
void SetApplicationMainForm(TWinComponent *form);
TWinComponent *ApplicationMainForm();

// Messages to the open browser (the 8-bit forms).
inline constexpr UINT kBffmSetStatusTextA = 1124; // BFFM_SETSTATUSTEXTA
inline constexpr UINT kBffmEnableOK = 1125;       // BFFM_ENABLEOK
inline constexpr UINT kBffmSetSelectionA = 1126;  // BFFM_SETSELECTIONA
// Control id of the browser's status line.
inline constexpr int kBrowserStatusId = 14147;
// SHGDN_FORPARSING: the parsing name (the full path of a file-system folder).
inline constexpr DWORD kShgdnForParsing = 0x8000;

// Special-folder id of Root for the running platform (GetVersionExA on every call).
uint32_t RootToFolderId(TViewRoot root);
// Width of Text in the font selected into DC; 0 when the measurement fails.
int GetTextWidth(HDC dc, const std::string &text);
// Text shortened to the outer width of Wnd in Wnd's font (paths with "...\"
// markers, other texts with a trailing "..."). Unchanged without a window or DC.
std::string FitPathToWindow(HWND wnd, const std::string &text);
std::string FitTextToWindow(HWND wnd, const std::string &text);
// True when Text names an existing folder that is neither hidden nor system, or is
// a drive root ("C:\") of a present drive (decided by the drive mask alone).
// A text with wildcards is searched as a pattern.
bool FolderExists(const std::string &text);
// The file-system path of an item id list, read from a 260-character buffer;
// empty when the item has none.
std::string PathFromIDList(LPCITEMIDLIST pidl);
// The text of a display name as the shell returned it; a wide string is freed
// through Malloc (through CoTaskMemFree when Malloc is null). Pidl is the list the
// name belongs to (for the offset form); reads never leave the list or the inline
// buffer.
std::string StrRetToString(STRRET &strRet, LPCITEMIDLIST pidl, IMalloc *malloc);

// The browser's callback: message 1 goes to the dialog's DoInitialized, message 2
// to its DoSelChanged; Data is the TFolderDlg. Always 0. An exception from the
// dialog's handlers does not cross the shell: it is kept, the browser is
// cancelled, and Execute raises it again once the browser is closed.
int CALLBACK BrowseCallbackProc(HWND wnd, UINT msg, LPARAM param, LPARAM data);

// Runs the shell's browser once. False (nothing shown, the outputs untouched) when
// Malloc gives no 260-byte buffer, and False when the user cancels; True when an
// item was chosen, with or without a file-system path. ChosenPath is the item's
// path (with btComputers: "\\" and the display name when it has none); Pidl is the
// chosen list, which the caller owns and frees through Malloc; DisplayName is the
// buffer's text after the path lookup.
bool BrowseForFolder(IMalloc *malloc, TWinComponent *owner, const std::string &title, TViewRoot root,
                     TBrowseTypes options, bool withStatusText, BFFCALLBACK callback, LPARAM data,
                     std::string &chosenPath, LPITEMIDLIST &pidl, int &imageIndex, std::string &displayName);

class TFolderDlg;
// Sender, the new selection's path (empty when it has none) and its id list, which
// belongs to the browser and is valid only during the call.
using TBDSelChangedEvent = std::function<void(TObject *sender, std::string newSel, LPCITEMIDLIST newSelPIDL)>;
// An event with the sender as its only argument.
using TDlgNotifyEvent = std::function<void(TObject *sender)>;

// The shell's modal browse-for-folder dialog as a reusable non-visual component.
// While the browser is open the property writers act on it at once.
class TFolderDlg : public TComponent {
public:
  // Malloc is the shell allocator to use (held until destruction); null takes
  // SHGetMalloc's.
  explicit TFolderDlg(TComponent *owner, IMalloc *malloc = nullptr);
  ~TFolderDlg() override;

  // Shows the browser; true when the user chose an item.
  virtual bool Execute();
  // The chosen item's parsing name; else the last display name; else Selection.
  std::string GetSelectedPath();

  const std::string &Selection() const { return FSelection; }
  void SetSelection(const std::string &value);
  const std::string &Title() const { return FTitle; }
  void SetTitle(const std::string &value) { FTitle = value; }
  TViewRoot Root() const { return FRoot; }
  void SetRoot(TViewRoot value) { FRoot = value; }
  TBrowseTypes Options() const { return FOptions; }
  void SetOptions(TBrowseTypes value) { FOptions = value; }
  bool Center() const { return FCenter; }
  void SetCenter(bool value) { FCenter = value; }
  const std::string &StatusText() const { return FStatusText; }
  void SetStatusText(const std::string &value);
  bool FitStatusText() const { return FFitStatusText; }
  void SetFitStatusText(bool value);
  bool EnableOKButton() const { return FEnableOKButton; }
  void SetEnableOKButton(bool value);
  int32_t ImageIndex() const { return FImageIndex; }
  std::string GetCaption();
  void SetCaption(const std::string &value);
  bool ShowSelectionInStatus() const { return FShowSelectionInStatus; }
  void SetShowSelectionInStatus(bool value) { FShowSelectionInStatus = value; }

  TBDSelChangedEvent OnSelChanged;
  TDlgNotifyEvent OnCreate;

  // The open browser's window; null while none is open.
  HWND Handle() const { return FHandle; }
  // The id list of the selection, owned by the dialog; null when there is none.
  LPCITEMIDLIST SelectionPIDL() const { return FSelectionPIDL; }
  // The control whose window owns the browser, as chosen at construction.
  TWinComponent *OwnerWindow() const { return FOwnerWindow; }

protected:
  // The browser window exists: centre it, send OK state, status, selection, caption.
  virtual void DoInitialized(HWND wnd);
  // The browser's selection changed; Pidl belongs to the browser.
  virtual void DoSelChanged(HWND wnd, LPCITEMIDLIST pidl);
  void Notification(TComponent *component, TOperation operation) override;

private:
  friend int CALLBACK BrowseCallbackProc(HWND wnd, UINT msg, LPARAM param, LPARAM data);

  void ApplySelection();
  void SetSelectionPIDL(LPITEMIDLIST list);
  std::string GetFittedStatusText();
  void SendStatusText();
  void FreeShellMemory(void *block);

  HWND FHandle = nullptr;
  std::string FCaption;
  TWinComponent *FOwnerWindow = nullptr;
  bool FShowSelectionInStatus = false;
  bool FFitStatusText = true;
  std::string FTitle;
  TViewRoot FRoot = vrDesktop;
  TBrowseTypes FOptions;
  std::string FSelection;
  bool FCenter = true;
  std::string FStatusText;
  bool FEnableOKButton = true;
  int32_t FImageIndex = -1;
  LPITEMIDLIST FSelectionPIDL = nullptr;
  IMalloc *FMalloc = nullptr;
  std::string FDisplayName;
  // An exception from a handler while the browser was open, raised by Execute.
  std::exception_ptr FPendingException;
};

// IFolderDialog over a TFolderDlg that it creates with Owner and frees with itself
// (unless the owner has freed the dialog first; it then does nothing and Execute
// gives false).
class TFolderDlgAdapter : public IFolderDialog {
public:
  explicit TFolderDlgAdapter(TComponent *owner, IMalloc *malloc = nullptr);
  ~TFolderDlgAdapter() override;
  TFolderDlgAdapter(const TFolderDlgAdapter &) = delete;
  TFolderDlgAdapter &operator=(const TFolderDlgAdapter &) = delete;

  void SetTitle(const std::string &value) override;
  void SetSelection(const std::string &value) override;
  void SetCaption(const std::string &value) override;
  bool Execute() override;
  std::string GetSelectedPath() override;

  // The dialog, for its other properties and events; null once its owner freed it.
  TFolderDlg *Dialog() const;

private:
  class TWatch;
  std::unique_ptr<TWatch> FWatch;
};
