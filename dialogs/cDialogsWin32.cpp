// Folder selection on Win32: shell and window routines, TFolderDlg and its adapter.
#include "dialogs/cDialogsWin32.h"

#include "common/cTextConv.h"

#include <cstring>

namespace {
TWinComponent *gApplicationMainForm = nullptr;

// The text of a buffer up to its first NUL, never reading past Size bytes.
std::string BufferText(const char *buffer, size_t size) {
  return std::string(buffer, strnlen(buffer, size));
}

// SHGetPathFromIDListA into a kShellPathBuffer buffer. The buffer is left empty
// when the item has no path, whatever the shell wrote into it.
bool GetPathInto(LPCITEMIDLIST pidl, char *buffer) {
  buffer[0] = '\0';
  if (pidl && SHGetPathFromIDListA(pidl, buffer))
    return true;
  buffer[0] = '\0';
  return false;
}

// Size in bytes of an item id list, its terminating zero included.
size_t IDListSize(LPCITEMIDLIST pidl) {
  if (!pidl)
    return 0;
  const BYTE *p = reinterpret_cast<const BYTE *>(pidl);
  size_t size = 0;
  for (;;) {
    USHORT cb;
    std::memcpy(&cb, p + size, sizeof cb);
    if (cb == 0)
      return size + sizeof cb;
    size += cb;
  }
}

// The window's font selected into its DC, and the outer width, for one fitting
// run; puts the font back and releases the DC however the run ends.
class TWindowMeasure {
public:
  explicit TWindowMeasure(HWND wnd) : FWnd(wnd), FDC(wnd ? GetDC(wnd) : nullptr) {
    if (!FDC)
      return;
    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0));
    if (font)
      FOldFont = SelectObject(FDC, font);
    RECT rect{};
    if (GetWindowRect(wnd, &rect))
      FWidth = rect.right - rect.left;
  }
  ~TWindowMeasure() {
    if (!FDC)
      return;
    if (FOldFont)
      SelectObject(FDC, FOldFont);
    ReleaseDC(FWnd, FDC);
  }
  TWindowMeasure(const TWindowMeasure &) = delete;
  TWindowMeasure &operator=(const TWindowMeasure &) = delete;

  bool Ready() const { return FDC != nullptr; }
  int Width() const { return FWidth; }
  TTextWidthFunc Measure() const {
    return [dc = FDC](const std::string &text) { return GetTextWidth(dc, text); };
  }

private:
  HWND FWnd;
  HDC FDC;
  HGDIOBJ FOldFont = nullptr;
  int FWidth = 0;
};

// Frees shell memory on leaving a scope.
class TShellBlock {
public:
  TShellBlock(IMalloc *malloc, void *block) : FMalloc(malloc), FBlock(block) {}
  ~TShellBlock() {
    if (FBlock)
      FMalloc->Free(FBlock);
  }
  TShellBlock(const TShellBlock &) = delete;
  TShellBlock &operator=(const TShellBlock &) = delete;

private:
  IMalloc *FMalloc;
  void *FBlock;
};

BOOL CALLBACK FindStatusControl(HWND child, LPARAM result) {
  if (GetWindowLongA(child, GWL_ID) == kBrowserStatusId) {
    *reinterpret_cast<HWND *>(result) = child;
    return FALSE;
  }
  return TRUE;
}
} // namespace

// --- TWinComponent ---------------------------------------------------------------

TWinComponent::TWinComponent(TComponent *owner, HWND handle) : TComponent(owner), FHandle(handle) {}

TWinComponent::~TWinComponent() {
  if (gApplicationMainForm == this)
    gApplicationMainForm = nullptr;
}

HWND TWinComponent::Handle() {
  if (!FHandle)
    FHandle = CreateHandle();
  return FHandle;
}

void SetApplicationMainForm(TWinComponent *form) {
  gApplicationMainForm = form;
}

TWinComponent *ApplicationMainForm() {
  return gApplicationMainForm;
}

// --- Routines --------------------------------------------------------------------

uint32_t RootToFolderId(TViewRoot root) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version))
    version.dwPlatformId = 0;
  return RootToFolderId(root, version.dwPlatformId);
}

int GetTextWidth(HDC dc, const std::string &text) {
  SIZE extent{};
  if (!GetTextExtentPointA(dc, text.c_str(), static_cast<int>(text.size()), &extent))
    return 0;
  return extent.cx;
}

std::string FitPathToWindow(HWND wnd, const std::string &text) {
  const TWindowMeasure measure(wnd);
  if (!measure.Ready())
    return text;
  return FitPathToWidth(text, measure.Width(), measure.Measure());
}

std::string FitTextToWindow(HWND wnd, const std::string &text) {
  const TWindowMeasure measure(wnd);
  if (!measure.Ready())
    return text;
  return FitTextToWidth(text, measure.Width(), measure.Measure());
}

bool FolderExists(const std::string &text) {
  int drive = 0;
  if (IsDriveRootText(text, drive))
    return drive >= 0 && drive <= 31 && (GetLogicalDrives() >> drive & 1u) != 0;

  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA(RemoveTrailingBackslash(text).c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE)
    return false;
  constexpr DWORD kSkipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x08; // 0x08: volume label
  bool found = true;
  while ((entry.dwFileAttributes & kSkipped) != 0) {
    if (!FindNextFileA(search, &entry)) {
      found = false;
      break;
    }
  }
  FindClose(search);
  return found && !text.empty() && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string PathFromIDList(LPCITEMIDLIST pidl) {
  char buffer[kShellPathBuffer];
  GetPathInto(pidl, buffer);
  return BufferText(buffer, sizeof buffer);
}

std::string StrRetToString(STRRET &strRet, LPCITEMIDLIST pidl, IMalloc *malloc) {
  switch (strRet.uType) {
  case STRRET_WSTR: {
    if (!strRet.pOleStr)
      return {};
    std::string result = WideToAnsi(strRet.pOleStr);
    if (malloc)
      malloc->Free(strRet.pOleStr);
    else
      CoTaskMemFree(strRet.pOleStr);
    strRet.pOleStr = nullptr;
    return result;
  }
  case STRRET_OFFSET: {
    const size_t size = IDListSize(pidl);
    if (strRet.uOffset >= size)
      return {};
    return BufferText(reinterpret_cast<const char *>(pidl) + strRet.uOffset, size - strRet.uOffset);
  }
  case STRRET_CSTR:
    return BufferText(strRet.cStr, sizeof strRet.cStr);
  default:
    return {};
  }
}

int CALLBACK BrowseCallbackProc(HWND wnd, UINT msg, LPARAM param, LPARAM data) {
  TFolderDlg *dialog = reinterpret_cast<TFolderDlg *>(data);
  if (!dialog || (msg != BFFM_INITIALIZED && msg != BFFM_SELCHANGED))
    return 0;
  try {
    if (msg == BFFM_INITIALIZED)
      dialog->DoInitialized(wnd);
    else
      dialog->DoSelChanged(wnd, reinterpret_cast<LPCITEMIDLIST>(param));
  } catch (...) {
    // Unwinding through the shell's modal loop would leave its window behind.
    if (!dialog->FPendingException) {
      dialog->FPendingException = std::current_exception();
      PostMessageA(wnd, WM_COMMAND, IDCANCEL, 0);
    }
  }
  return 0;
}

bool BrowseForFolder(IMalloc *malloc, TWinComponent *owner, const std::string &title, TViewRoot root,
                     TBrowseTypes options, bool withStatusText, BFFCALLBACK callback, LPARAM data,
                     std::string &chosenPath, LPITEMIDLIST &pidl, int &imageIndex, std::string &displayName) {
  chosenPath.clear();
  const HWND ownerHandle = owner ? owner->Handle() : nullptr;
  char *buffer = malloc ? static_cast<char *>(malloc->Alloc(kShellPathBuffer)) : nullptr;
  if (!buffer)
    return false;
  const TShellBlock freeBuffer(malloc, buffer);
  // The shell may read the buffer as a text before writing it.
  std::memset(buffer, 0, kShellPathBuffer);

  LPITEMIDLIST rootList = nullptr;
  SHGetSpecialFolderLocation(ownerHandle, static_cast<int>(RootToFolderId(root)), &rootList);
  const TShellBlock freeRoot(malloc, rootList); // freed before the buffer

  BROWSEINFOA info{};
  info.hwndOwner = ownerHandle;
  info.pidlRoot = rootList;
  info.pszDisplayName = buffer;
  info.lpszTitle = title.c_str();
  info.ulFlags = BrowseTypesToFlags(options) | (withStatusText ? kBrowseStatusTextFlag : 0);
  info.lpfn = callback;
  info.lParam = data;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  pidl = chosen;
  if (!chosen)
    return false;

  if (options.Contains(btComputers)) {
    chosenPath = "\\\\" + BufferText(buffer, kShellPathBuffer);
    if (GetPathInto(chosen, buffer))
      chosenPath = BufferText(buffer, kShellPathBuffer);
  } else {
    GetPathInto(chosen, buffer);
    chosenPath = BufferText(buffer, kShellPathBuffer);
  }
  imageIndex = info.iImage;
  displayName = BufferText(buffer, kShellPathBuffer);
  return true;
}

// --- TFolderDlg ------------------------------------------------------------------

TFolderDlg::TFolderDlg(TComponent *owner, IMalloc *malloc) : TComponent(owner) {
  if (malloc) {
    FMalloc = malloc;
    FMalloc->AddRef();
  } else if (FAILED(SHGetMalloc(&FMalloc))) {
    FMalloc = nullptr;
  }
  if (owner) {
    if (auto *windowed = dynamic_cast<TWinComponent *>(owner))
      FOwnerWindow = windowed;
    else
      FOwnerWindow = ApplicationMainForm();
  }
  if (FOwnerWindow)
    FreeNotification(FOwnerWindow);
}

TFolderDlg::~TFolderDlg() {
  if (FSelectionPIDL)
    FreeShellMemory(FSelectionPIDL);
  FSelectionPIDL = nullptr;
  if (FMalloc)
    FMalloc->Release();
  FMalloc = nullptr;
}

void TFolderDlg::Notification(TComponent *component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FOwnerWindow)
    FOwnerWindow = nullptr;
}

void TFolderDlg::FreeShellMemory(void *block) {
  if (FMalloc)
    FMalloc->Free(block);
  else
    CoTaskMemFree(block);
}

bool TFolderDlg::Execute() {
  FDisplayName.clear();
  FPendingException = nullptr;
  TWinComponent *ownerControl = FOwnerWindow;
  if (!ownerControl && Owner()) {
    ownerControl = dynamic_cast<TWinComponent *>(Owner());
    if (!ownerControl)
      ownerControl = ApplicationMainForm();
  }

  std::string path;
  LPITEMIDLIST pidl = nullptr;
  int imageIndex = FImageIndex;
  const bool result = BrowseForFolder(FMalloc, ownerControl, FTitle, FRoot, FOptions,
                                      !FStatusText.empty() || FShowSelectionInStatus, BrowseCallbackProc,
                                      reinterpret_cast<LPARAM>(this), path, pidl, imageIndex, FDisplayName);
  FImageIndex = imageIndex;
  FHandle = nullptr;
  if (FPendingException) {
    if (pidl)
      FreeShellMemory(pidl);
    std::exception_ptr pending = FPendingException;
    FPendingException = nullptr;
    std::rethrow_exception(pending);
  }
  if (result) {
    FSelection = path;
    SetSelectionPIDL(pidl);
  } else {
    FSelection.clear();
    SetSelectionPIDL(nullptr);
  }
  return result;
}

std::string TFolderDlg::GetSelectedPath() {
  std::string result;
  IShellFolder *desktop = nullptr;
  if (FSelectionPIDL && SUCCEEDED(SHGetDesktopFolder(&desktop)) && desktop) {
    STRRET name{};
    if (desktop->GetDisplayNameOf(FSelectionPIDL, kShgdnForParsing, &name) == S_OK)
      result = StrRetToString(name, FSelectionPIDL, FMalloc);
  }
  if (result.empty())
    result = FDisplayName;
  if (result.empty())
    result = FSelection;
  if (desktop)
    desktop->Release();
  return result;
}

void TFolderDlg::DoInitialized(HWND wnd) {
  FHandle = wnd;
  if (FCenter) {
    RECT rect{};
    GetWindowRect(wnd, &rect);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2;
    SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageA(wnd, kBffmEnableOK, 0, FEnableOKButton ? 1 : 0);
  if (!FStatusText.empty())
    SendStatusText();
  if (!FSelection.empty() || FSelectionPIDL)
    ApplySelection();
  if (!FCaption.empty())
    SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FCaption.c_str()));
  if (OnCreate)
    OnCreate(this);
}

void TFolderDlg::DoSelChanged(HWND wnd, LPCITEMIDLIST pidl) {
  (void)wnd;
  if (!FShowSelectionInStatus && !OnSelChanged)
    return;
  const std::string path = PathFromIDList(pidl);
  if (FShowSelectionInStatus)
    SetStatusText(path);
  if (OnSelChanged)
    OnSelChanged(this, path, pidl);
}

void TFolderDlg::ApplySelection() {
  if (FSelection.empty() && FSelectionPIDL) {
    if (char *buffer = FMalloc ? static_cast<char *>(FMalloc->Alloc(kShellPathBuffer)) : nullptr) {
      GetPathInto(FSelectionPIDL, buffer);
      FSelection = BufferText(buffer, kShellPathBuffer);
      FMalloc->Free(buffer);
    }
    SendMessageA(FHandle, kBffmSetSelectionA, FALSE, reinterpret_cast<LPARAM>(FSelectionPIDL));
    return;
  }

  IShellFolder *desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop)) || !desktop)
    return;
  // The parse buffer holds 260 characters: at most 259 of the selection are taken.
  std::wstring wide = AnsiToWide(FSelection);
  if (wide.size() > kShellPathBuffer - 1)
    wide.resize(kShellPathBuffer - 1);
  LPITEMIDLIST parsed = nullptr;
  const HRESULT hr = desktop->ParseDisplayName(FHandle, nullptr, wide.data(), nullptr, &parsed, nullptr);
  const bool ok = hr == S_OK && parsed;
  if (!ok && parsed)
    FreeShellMemory(parsed);

  if (FSelection.size() >= 2 && FSelection[0] == '\\' && FSelection[1] == '\\') {
    if (ok) {
      SetSelectionPIDL(parsed);
      SendMessageA(FHandle, kBffmSetSelectionA, FALSE, reinterpret_cast<LPARAM>(FSelectionPIDL));
    }
  } else {
    if (ok)
      SetSelectionPIDL(parsed);
    const std::string path = NormalizeSelectionPath(FSelection);
    SendMessageA(FHandle, kBffmSetSelectionA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
  }
  desktop->Release();
}

void TFolderDlg::SetSelectionPIDL(LPITEMIDLIST list) {
  if (list == FSelectionPIDL)
    return;
  if (FSelectionPIDL)
    FreeShellMemory(FSelectionPIDL);
  FSelectionPIDL = list;
}

std::string TFolderDlg::GetFittedStatusText() {
  if (!FFitStatusText || !FHandle)
    return FStatusText;
  HWND status = nullptr;
  EnumChildWindows(FHandle, FindStatusControl, reinterpret_cast<LPARAM>(&status));
  if (!status || FStatusText.empty())
    return FStatusText;
  if (FolderExists(FStatusText))
    return FitPathToWindow(status, FStatusText);
  return FitTextToWindow(status, FStatusText);
}

void TFolderDlg::SendStatusText() {
  const std::string text = GetFittedStatusText();
  SendMessageA(FHandle, kBffmSetStatusTextA, 0, text.empty() ? 0 : reinterpret_cast<LPARAM>(text.c_str()));
}

void TFolderDlg::SetSelection(const std::string &value) {
  if (value == FSelection)
    return;
  FSelection = value;
  if (!FSelection.empty() && FSelection.back() != '\\' && FolderExists(FSelection))
    FSelection += '\\';
  if (FHandle)
    ApplySelection();
}

void TFolderDlg::SetStatusText(const std::string &value) {
  if (value == FStatusText)
    return;
  FStatusText = value;
  if (FHandle)
    SendStatusText();
}

void TFolderDlg::SetFitStatusText(bool value) {
  if (value == FFitStatusText)
    return;
  FFitStatusText = value;
  if (FHandle)
    SendStatusText();
}

void TFolderDlg::SetEnableOKButton(bool value) {
  if (value == FEnableOKButton)
    return;
  FEnableOKButton = value;
  if (FHandle)
    SendMessageA(FHandle, kBffmEnableOK, 0, value ? 1 : 0);
}

std::string TFolderDlg::GetCaption() {
  if (!FHandle)
    return FCaption;
  char buffer[256] = {};
  SendMessageA(FHandle, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return BufferText(buffer, sizeof buffer - 1);
}

void TFolderDlg::SetCaption(const std::string &value) {
  FCaption = value;
  if (FHandle)
    SendMessageA(FHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FCaption.c_str()));
}

// --- TFolderDlgAdapter -----------------------------------------------------------

// Hears when the dialog's owner frees it, so the adapter never frees it twice.
class TFolderDlgAdapter::TWatch : public TComponent {
public:
  explicit TWatch(TFolderDlg *dialog) : TComponent(nullptr), Dialog(dialog) { FreeNotification(dialog); }
  TFolderDlg *Dialog;

protected:
  void Notification(TComponent *component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == Dialog)
      Dialog = nullptr;
  }
};

TFolderDlgAdapter::TFolderDlgAdapter(TComponent *owner, IMalloc *malloc)
    : FWatch(std::make_unique<TWatch>(new TFolderDlg(owner, malloc))) {}

TFolderDlgAdapter::~TFolderDlgAdapter() {
  delete FWatch->Dialog;
}

TFolderDlg *TFolderDlgAdapter::Dialog() const {
  return FWatch->Dialog;
}

void TFolderDlgAdapter::SetTitle(const std::string &value) {
  if (TFolderDlg *dialog = Dialog())
    dialog->SetTitle(value);
}

void TFolderDlgAdapter::SetSelection(const std::string &value) {
  if (TFolderDlg *dialog = Dialog())
    dialog->SetSelection(value);
}

void TFolderDlgAdapter::SetCaption(const std::string &value) {
  if (TFolderDlg *dialog = Dialog())
    dialog->SetCaption(value);
}

bool TFolderDlgAdapter::Execute() {
  TFolderDlg *dialog = Dialog();
  return dialog && dialog->Execute();
}

std::string TFolderDlgAdapter::GetSelectedPath() {
  TFolderDlg *dialog = Dialog();
  return dialog ? dialog->GetSelectedPath() : std::string();
}
