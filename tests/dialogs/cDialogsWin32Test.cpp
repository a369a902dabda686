// Folder selection against the real platform (under Wine): the folder test on real
// folders, shortening on a real window, and TFolderDlg driving the shell's browser.
#include "dialogs/cDialogsWin32.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
// The shell allocator with a tally: every Alloc and Free is recorded. Frees are
// held back until the allocator goes, so no address is reused meanwhile: a block
// freed twice shows up twice, and freed id lists can still be compared.
class TCountingMalloc : public IMalloc {
public:
  TCountingMalloc() { SHGetMalloc(&FReal); }
  virtual ~TCountingMalloc() {
    for (void *block : std::set<void *>(FFreed.begin(), FFreed.end()))
      FReal->Free(block);
    FReal->Release();
  }
  TCountingMalloc(const TCountingMalloc &) = delete;
  TCountingMalloc &operator=(const TCountingMalloc &) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
    if (iid == IID_IUnknown || iid == IID_IMalloc) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefs; }
  ULONG STDMETHODCALLTYPE Release() override { return --FRefs; }
  void *STDMETHODCALLTYPE Alloc(SIZE_T size) override {
    if (FailAlloc)
      return nullptr;
    void *block = FReal->Alloc(size);
    FAllocated.push_back(block);
    return block;
  }
  void *STDMETHODCALLTYPE Realloc(void *, SIZE_T) override { return nullptr; }
  void STDMETHODCALLTYPE Free(void *block) override {
    if (block)
      FFreed.push_back(block);
  }
  SIZE_T STDMETHODCALLTYPE GetSize(void *block) override { return FReal->GetSize(block); }
  int STDMETHODCALLTYPE DidAlloc(void *block) override { return FReal->DidAlloc(block); }
  void STDMETHODCALLTYPE HeapMinimize() override {}

  bool FailAlloc = false;
  ULONG Refs() const { return FRefs; }
  int AllocCount() const { return static_cast<int>(FAllocated.size()); }
  int FreeCount(const void *block) const {
    return static_cast<int>(std::count(FFreed.begin(), FFreed.end(), block));
  }
  // Blocks freed more than once, and blocks of Alloc not freed exactly once.
  bool NoDoubleFree() const { return std::set<void *>(FFreed.begin(), FFreed.end()).size() == FFreed.size(); }
  bool AllocationsFreedOnce() const {
    return std::all_of(FAllocated.begin(), FAllocated.end(), [&](void *b) { return FreeCount(b) == 1; });
  }
  // Freed blocks from elsewhere (the shell's id lists) whose content equals Pidl.
  int FreedListsEqualTo(LPCITEMIDLIST pidl) const {
    const UINT size = ILGetSize(pidl);
    int count = 0;
    for (void *block : FFreed)
      if (std::find(FAllocated.begin(), FAllocated.end(), block) == FAllocated.end() &&
          FReal->GetSize(block) >= size && std::memcmp(block, pidl, size) == 0)
        ++count;
    return count;
  }

private:
  IMalloc *FReal = nullptr;
  ULONG FRefs = 1;
  std::vector<void *> FAllocated;
  std::vector<void *> FFreed;
};

// An id list of the shell's, freed at the end of scope.
class TShellList {
public:
  explicit TShellList(LPITEMIDLIST list = nullptr) : FList(list) {}
  ~TShellList() { ILFree(FList); }
  TShellList(const TShellList &) = delete;
  TShellList &operator=(const TShellList &) = delete;
  static LPITEMIDLIST Special(int csidl) {
    LPITEMIDLIST list = nullptr;
    SHGetSpecialFolderLocation(nullptr, csidl, &list);
    return list;
  }
  static LPITEMIDLIST Parse(const std::string &path) { return ILCreateFromPathA(path.c_str()); }
  LPITEMIDLIST Get() const { return FList; }

private:
  LPITEMIDLIST FList;
};

bool SameList(LPCITEMIDLIST a, LPCITEMIDLIST b) {
  return a && b && ILIsEqual(a, b);
}

// What the browser window received from the dialog, as seen by a subclass.
struct TBrowserMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  std::string Text; // for the status and path selection texts, and WM_SETTEXT
};

std::vector<TBrowserMessage> gMessages;
WNDPROC gBrowserProc = nullptr;
bool gTimedOut = false;
constexpr UINT_PTR kSafetyTimer = 0xFB01;

LRESULT CALLBACK BrowserHook(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case kBffmSetStatusTextA:
    gMessages.push_back({msg, wParam, lParam, lParam ? reinterpret_cast<const char *>(lParam) : ""});
    break;
  case kBffmEnableOK:
    gMessages.push_back({msg, wParam, lParam, {}});
    break;
  case kBffmSetSelectionA:
    gMessages.push_back({msg, wParam, lParam, wParam ? reinterpret_cast<const char *>(lParam) : ""});
    break;
  case WM_SETTEXT: {
    // The browser is a Unicode window: the 8-bit text arrives converted.
    const auto *text = reinterpret_cast<const wchar_t *>(lParam);
    std::string ansi;
    for (; text && *text; ++text)
      ansi.push_back(static_cast<char>(*text));
    gMessages.push_back({msg, wParam, lParam, ansi});
    break;
  }
  case WM_TIMER:
    if (wParam == kSafetyTimer) {
      gTimedOut = true;
      KillTimer(wnd, kSafetyTimer);
      PostMessageW(wnd, WM_COMMAND, IDCANCEL, 0);
      return 0;
    }
    break;
  }
  return CallWindowProcW(gBrowserProc, wnd, msg, wParam, lParam);
}

std::vector<TBrowserMessage> MessagesOf(UINT msg) {
  std::vector<TBrowserMessage> result;
  for (const auto &m : gMessages)
    if (m.Msg == msg)
      result.push_back(m);
  return result;
}

// TFolderDlg with the browser window watched from its first moment: messages are
// recorded and a timer cancels a browser that a test forgot to close.
class TProbeDlg : public TFolderDlg {
public:
  explicit TProbeDlg(TComponent *owner, IMalloc *malloc = nullptr) : TFolderDlg(owner, malloc) {}
  int Initialized = 0;
  int SelChanges = 0;

protected:
  void DoInitialized(HWND wnd) override {
    ++Initialized;
    gMessages.clear();
    gBrowserProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BrowserHook)));
    SetTimer(wnd, kSafetyTimer, 20000, nullptr);
    TFolderDlg::DoInitialized(wnd);
  }
  void DoSelChanged(HWND wnd, LPCITEMIDLIST pidl) override {
    ++SelChanges;
    TFolderDlg::DoSelChanged(wnd, pidl);
  }
};

void Close(TFolderDlg &dialog, int command) {
  PostMessageA(dialog.Handle(), WM_COMMAND, command, 0);
}

std::string WindowText(HWND wnd) {
  char text[1024] = {};
  GetWindowTextA(wnd, text, sizeof text);
  return text;
}

HWND StatusControl(HWND browser) {
  return GetDlgItem(browser, kBrowserStatusId);
}
bool HasVisibleStyle(HWND control) {
  return (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}
bool OKEnabled(HWND browser) {
  return IsWindowEnabled(GetDlgItem(browser, IDOK)) != FALSE;
}

// Width of Text in Control's font, as the control draws it.
int ControlTextWidth(HWND control, const std::string &text) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size.cx;
}

int WindowWidth(HWND wnd) {
  RECT rect{};
  GetWindowRect(wnd, &rect);
  return rect.right - rect.left;
}

std::string MakeFolder(const std::string &path) {
  std::filesystem::create_directories(path);
  return path;
}

class DialogsWin32 : public testing::Test {
protected:
  void SetUp() override {
    gMessages.clear();
    gTimedOut = false;
  }
  void TearDown() override {
    EXPECT_FALSE(gTimedOut) << "a browser was left open and cancelled by the timer";
  }
  TTempFolder FTemp;
};
} // namespace

// --- Plain routines ------------------------------------------------------------

TEST(RootToFolderIdWin32, UsesThePlatformIdOfTheRunningSystem) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(GetVersionExA(&version));
  for (int root = 0; root < kViewRootCount; ++root)
    EXPECT_EQ(RootToFolderId(static_cast<TViewRoot>(root)),
              RootToFolderId(static_cast<TViewRoot>(root), version.dwPlatformId));
  EXPECT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_EQ(RootToFolderId(vrCommonPrograms), 23u);
}

TEST(BrowseCallbackProc, RoutesInitializedAndSelChangedToTheDialog) {
  struct TRouted : TFolderDlg {
    TRouted() : TFolderDlg(nullptr) {}
    std::vector<std::pair<HWND, LPCITEMIDLIST>> Inits, Changes;
    void DoInitialized(HWND wnd) override { Inits.push_back({wnd, nullptr}); }
    void DoSelChanged(HWND wnd, LPCITEMIDLIST pidl) override { Changes.push_back({wnd, pidl}); }
  } dialog;
  const HWND wnd = reinterpret_cast<HWND>(0x1234);
  const auto data = reinterpret_cast<LPARAM>(&dialog);
  const auto pidl = reinterpret_cast<LPCITEMIDLIST>(0x5678);
  EXPECT_EQ(BrowseCallbackProc(wnd, BFFM_INITIALIZED, 0, data), 0);
  EXPECT_EQ(BrowseCallbackProc(wnd, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(pidl), data), 0);
  EXPECT_EQ(BrowseCallbackProc(wnd, BFFM_VALIDATEFAILEDA, 0, data), 0);
  EXPECT_EQ(BrowseCallbackProc(wnd, 4, 0, data), 0);
  EXPECT_EQ(BrowseCallbackProc(wnd, BFFM_INITIALIZED, 0, 0), 0);
  EXPECT_EQ(BrowseCallbackProc(wnd, BFFM_SELCHANGED, 0, 0), 0);
  ASSERT_EQ(dialog.Inits.size(), 1u);
  EXPECT_EQ(dialog.Inits[0].first, wnd);
  ASSERT_EQ(dialog.Changes.size(), 1u);
  EXPECT_EQ(dialog.Changes[0].first, wnd);
  EXPECT_EQ(dialog.Changes[0].second, pidl);
}

TEST(StrRetToString, EveryKindAndNoReadBeyondItsData) {
  TCountingMalloc malloc;
  // Kind 0: a wide string of the shell's, freed through the allocator.
  STRRET wide{};
  wide.uType = STRRET_WSTR;
  wide.pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof L"C:\\caf\u00e9"));
  std::memcpy(wide.pOleStr, L"C:\\caf\u00e9", sizeof L"C:\\caf\u00e9");
  void *wideBlock = wide.pOleStr;
  EXPECT_EQ(StrRetToString(wide, nullptr, &malloc), "C:\\caf\xe9");
  EXPECT_EQ(malloc.FreeCount(wideBlock), 1);

  // Kind 1: an 8-bit text at an offset inside the id list.
  struct {
    USHORT cb = 12;
    char data[10] = "xxabc";
    USHORT end = 0;
  } list;
  STRRET offset{};
  offset.uType = STRRET_OFFSET;
  offset.uOffset = offsetof(decltype(list), data) + 2;
  EXPECT_EQ(StrRetToString(offset, reinterpret_cast<LPCITEMIDLIST>(&list), &malloc), "abc");
  // A text without NUL inside the list stops at the list's end; an offset past it gives nothing.
  std::memset(list.data, 'y', sizeof list.data);
  EXPECT_EQ(StrRetToString(offset, reinterpret_cast<LPCITEMIDLIST>(&list), &malloc), std::string(8, 'y'));
  offset.uOffset = 200;
  EXPECT_EQ(StrRetToString(offset, reinterpret_cast<LPCITEMIDLIST>(&list), &malloc), "");

  // Kind 2: the inline 260-byte buffer, up to its first NUL or its end.
  STRRET inlineText{};
  inlineText.uType = STRRET_CSTR;
  std::strcpy(inlineText.cStr, "D:\\data");
  EXPECT_EQ(StrRetToString(inlineText, nullptr, &malloc), "D:\\data");
  std::memset(inlineText.cStr, 'z', sizeof inlineText.cStr);
  EXPECT_EQ(StrRetToString(inlineText, nullptr, &malloc), std::string(260, 'z'));

  STRRET unknown{};
  unknown.uType = 7;
  EXPECT_EQ(StrRetToString(unknown, nullptr, &malloc), "");
  EXPECT_TRUE(malloc.NoDoubleFree());
}

TEST(PathFromIDList, FileSystemItemsHaveAPathOthersNone) {
  char expected[MAX_PATH] = {};
  ASSERT_TRUE(GetWindowsDirectoryA(expected, MAX_PATH));
  TShellList windows(TShellList::Parse(expected));
  EXPECT_EQ(PathFromIDList(windows.Get()), expected);
  TShellList drives(TShellList::Special(CSIDL_DRIVES));
  ASSERT_NE(drives.Get(), nullptr);
  EXPECT_EQ(PathFromIDList(drives.Get()), "");
  EXPECT_EQ(PathFromIDList(nullptr), "");
}

// --- FolderExists on real folders ---------------------------------------------

TEST_F(DialogsWin32, FolderExistsOnFoldersFilesAndAttributes) {
  const std::string base = FTemp.Path();
  const std::string plain = MakeFolder(base + "\\plain");
  const std::string hidden = MakeFolder(base + "\\hidden");
  const std::string system = MakeFolder(base + "\\system");
  const std::string file = FTemp.WriteFile("file.txt", "x");
  ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
  ASSERT_TRUE(SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY));
  ASSERT_NE(GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << "attributes not kept here";
  ASSERT_NE(GetFileAttributesA(system.c_str()) & FILE_ATTRIBUTE_SYSTEM, 0u) << "attributes not kept here";

  const struct {
    std::string Path;
    bool Expected;
  } cases[] = {
      {base, true},
      {base + "\\", true},
      {plain, true},
      {plain + "\\", true},
      {file, false},
      {file + "\\", false},
      {hidden, false},
      {hidden + "\\", false},
      {system, false},
      {base + "\\missing", false},
      {base + "\\missing\\", false},
      {"", false},
      {"\\", false},
      // Longer than the platform's paths: nothing found, nothing overrun.
      {base + "\\" + std::string(300, 'a'), false},
      {"C:\\" + std::string(5000, 'b') + "\\", false},
  };
  for (const auto &c : cases)
    EXPECT_EQ(FolderExists(c.Path), c.Expected) << c.Path.substr(0, 120);
}

TEST_F(DialogsWin32, FolderExistsSearchesWildcardsAsPatterns) {
  const std::string base = FTemp.Path();
  MakeFolder(base + "\\dirOnly");
  FTemp.WriteFile("fileOnly.txt", "x");
  MakeFolder(base + "\\mixHidden");
  SetFileAttributesA((base + "\\mixHidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
  FTemp.WriteFile("mixFile.txt", "x");
  MakeFolder(base + "\\twoHidden");
  SetFileAttributesA((base + "\\twoHidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
  MakeFolder(base + "\\twoVisible");

  EXPECT_TRUE(FolderExists(base + "\\dir*"));
  EXPECT_TRUE(FolderExists(base + "\\dir?nly\\"));
  EXPECT_FALSE(FolderExists(base + "\\file*"));
  // The hidden folder is skipped; the next entry (a file) decides.
  EXPECT_FALSE(FolderExists(base + "\\mix*"));
  // The hidden folder is skipped; the visible one decides.
  EXPECT_TRUE(FolderExists(base + "\\two*"));
  EXPECT_FALSE(FolderExists(base + "\\none*"));
}

TEST(FolderExists, DriveRootsFollowTheDriveMask) {
  const DWORD mask = GetLogicalDrives();
  ASSERT_NE(mask & (1u << 2), 0u) << "drive C: missing";
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const bool present = (mask >> (letter - 'A') & 1u) != 0;
    EXPECT_EQ(FolderExists(std::string(1, letter) + ":\\"), present) << letter;
    EXPECT_EQ(FolderExists(std::string(1, static_cast<char>(letter - 'A' + 'a')) + ":\\"), present) << letter;
  }
  int absent = 0;
  while (absent < 26 && (mask >> absent & 1u))
    ++absent;
  ASSERT_LT(absent, 26);
  EXPECT_FALSE(FolderExists(std::string(1, static_cast<char>('A' + absent)) + ":\\"));
  EXPECT_FALSE(FolderExists("1:\\"));
  EXPECT_FALSE(FolderExists("[:\\"));
  EXPECT_FALSE(FolderExists("\xc4:\\"));
  // Not a drive-root text: searched, and a drive itself is no entry.
  EXPECT_FALSE(FolderExists("C:"));
}

// --- Shortening on a real window ------------------------------------------------

namespace {
// A static control of its own class with a class-owned DC (so the DC's font after a
// call can be checked) and a large font, so any mistake in font or width shows.
class TMeasureWindow {
public:
  explicit TMeasureWindow(int width) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FbMeasureWindow";
    RegisterClassA(&windowClass);
    FWnd = CreateWindowExA(0, "FbMeasureWindow", "", WS_POPUP, 0, 0, width, 30, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    FFont = CreateFontA(-40, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  }
  ~TMeasureWindow() {
    DestroyWindow(FWnd);
    DeleteObject(FFont);
  }
  HWND Wnd() const { return FWnd; }
  HFONT Font() const { return FFont; }
  // The same measurement with the font selected by hand.
  int Width(const std::string &text) const {
    HDC dc = GetDC(FWnd);
    HGDIOBJ old = SelectObject(dc, FFont);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(FWnd, dc);
    return size.cx;
  }

private:
  HWND FWnd;
  HFONT FFont;
};

// WM_GETFONT of the measure window: its window procedure is DefWindowProc, which
// knows no font, so the font is given through a subclass.
HFONT gMeasureFont = nullptr;
LRESULT CALLBACK FontProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_GETFONT)
    return reinterpret_cast<LRESULT>(gMeasureFont);
  return DefWindowProcA(wnd, msg, wParam, lParam);
}
} // namespace

TEST(FitToWindow, ShortensInTheWindowsFontToItsWidth) {
  TMeasureWindow window(420);
  gMeasureFont = window.Font();
  SetWindowLongPtrA(window.Wnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FontProc));
  HDC ownDC = GetDC(window.Wnd());
  const HGDIOBJ fontBefore = GetCurrentObject(ownDC, OBJ_FONT);
  ReleaseDC(window.Wnd(), ownDC);

  const auto measure = [&](const std::string &text) { return window.Width(text); };
  const std::string path = "C:\\Program Files (x86)\\Vendor\\MPASM Suite\\8bit_device.info";
  const std::string fittedPath = FitPathToWindow(window.Wnd(), path);
  EXPECT_EQ(fittedPath, FitPathToWidth(path, 420, measure));
  EXPECT_NE(fittedPath, path);
  EXPECT_LE(window.Width(fittedPath), 420);
  EXPECT_NE(fittedPath.find("...\\"), std::string::npos);

  const std::string text = "A status line far too long for the window";
  const std::string fittedText = FitTextToWindow(window.Wnd(), text);
  EXPECT_EQ(fittedText, FitTextToWidth(text, 420, measure));
  EXPECT_LE(window.Width(fittedText), 420);
  EXPECT_GT(window.Width(fittedText.substr(0, fittedText.size() - 3) + text[fittedText.size() - 3] + "..."),
            420);

  // A text that fits stays as it is; the window's DC keeps its own font.
  EXPECT_EQ(FitTextToWindow(window.Wnd(), "ab"), "ab");
  ownDC = GetDC(window.Wnd());
  EXPECT_EQ(GetCurrentObject(ownDC, OBJ_FONT), fontBefore);
  ReleaseDC(window.Wnd(), ownDC);
}

TEST(FitToWindow, WithoutWindowOrMeasurementTextStays) {
  const std::string path = "C:\\one\\two\\three\\file.txt";
  EXPECT_EQ(FitPathToWindow(nullptr, path), path);
  EXPECT_EQ(FitTextToWindow(nullptr, path), path);
  EXPECT_EQ(GetTextWidth(nullptr, "abc"), 0);
  HDC screen = GetDC(nullptr);
  EXPECT_GT(GetTextWidth(screen, "abc"), GetTextWidth(screen, "a"));
  EXPECT_EQ(GetTextWidth(screen, ""), 0);
  ReleaseDC(nullptr, screen);
}

// --- BrowseForFolder ------------------------------------------------------------

namespace {
struct TBrowseRun {
  int Initialized = 0;
  int Command = IDOK;
  bool StatusShown = false;
};

int CALLBACK CloseAtOnce(HWND wnd, UINT msg, LPARAM, LPARAM data) {
  auto *run = reinterpret_cast<TBrowseRun *>(data);
  if (msg == BFFM_INITIALIZED) {
    ++run->Initialized;
    run->StatusShown = HasVisibleStyle(StatusControl(wnd));
    PostMessageA(wnd, WM_COMMAND, run->Command, 0);
  }
  return 0;
}
} // namespace

TEST_F(DialogsWin32, BrowseForFolderFreesRootAndBufferButNotTheChosenList) {
  TCountingMalloc malloc;
  TShellList drives(TShellList::Special(CSIDL_DRIVES));
  ASSERT_NE(drives.Get(), nullptr);
  TBrowseRun run;
  std::string path = "old", display = "old";
  LPITEMIDLIST pidl = nullptr;
  int image = -1;
  ASSERT_TRUE(BrowseForFolder(&malloc, nullptr, "Title", vrDrives, {btDirectoriesOnly}, true, CloseAtOnce,
                              reinterpret_cast<LPARAM>(&run), path, pidl, image, display));
  TShellList chosen(pidl);
  EXPECT_EQ(run.Initialized, 1);
  EXPECT_TRUE(run.StatusShown);
  ASSERT_NE(pidl, nullptr);
  EXPECT_EQ(path, PathFromIDList(pidl));
  EXPECT_EQ(display, path);
  EXPECT_EQ(image, 0); // the record's iImage: Wine leaves it as given
  EXPECT_EQ(malloc.AllocCount(), 1);
  EXPECT_TRUE(malloc.AllocationsFreedOnce());
  EXPECT_EQ(malloc.FreedListsEqualTo(drives.Get()), 1);
  EXPECT_EQ(malloc.FreeCount(pidl), 0);

  run = {};
  run.Command = IDCANCEL;
  EXPECT_FALSE(BrowseForFolder(&malloc, nullptr, "", vrDesktopExpanded, {}, false, CloseAtOnce,
                               reinterpret_cast<LPARAM>(&run), path, pidl, image, display));
  EXPECT_EQ(run.Initialized, 1);
  EXPECT_FALSE(run.StatusShown);
  EXPECT_EQ(pidl, nullptr);
  EXPECT_EQ(path, "");
  EXPECT_TRUE(malloc.AllocationsFreedOnce());
  EXPECT_TRUE(malloc.NoDoubleFree());
}

TEST_F(DialogsWin32, BrowseForFolderWithoutBufferShowsNothing) {
  TCountingMalloc malloc;
  malloc.FailAlloc = true;
  TBrowseRun run;
  std::string path = "old", display = "kept";
  auto *pidl = reinterpret_cast<LPITEMIDLIST>(0x10);
  int image = 42;
  EXPECT_FALSE(BrowseForFolder(&malloc, nullptr, "Title", vrDrives, {}, false, CloseAtOnce,
                               reinterpret_cast<LPARAM>(&run), path, pidl, image, display));
  EXPECT_EQ(run.Initialized, 0);
  EXPECT_EQ(path, "");
  EXPECT_EQ(pidl, reinterpret_cast<LPITEMIDLIST>(0x10));
  EXPECT_EQ(image, 42);
  EXPECT_EQ(display, "kept");
  EXPECT_FALSE(BrowseForFolder(nullptr, nullptr, "Title", vrDrives, {}, false, CloseAtOnce,
                               reinterpret_cast<LPARAM>(&run), path, pidl, image, display));
  EXPECT_EQ(run.Initialized, 0);
}

// --- TFolderDlg driving the shell's browser -------------------------------------

TEST_F(DialogsWin32, NewDialogAsksForNoStatusLineEnablesOKAndSendsNoSelection) {
  TCountingMalloc malloc;
  LPCITEMIDLIST held = nullptr;
  {
    TProbeDlg dialog(nullptr, &malloc);
    EXPECT_EQ(malloc.Refs(), 2u);
    EXPECT_EQ(dialog.ImageIndex(), -1);
    EXPECT_EQ(dialog.GetCaption(), "");
    bool statusShown = true, okEnabled = false, sender = false;
    std::string captionOpen, windowText;
    RECT rect{};
    dialog.OnCreate = [&](TObject *s) {
      sender = s == &dialog;
      const HWND wnd = dialog.Handle();
      statusShown = HasVisibleStyle(StatusControl(wnd));
      okEnabled = OKEnabled(wnd);
      captionOpen = dialog.GetCaption();
      windowText = WindowText(wnd);
      GetWindowRect(wnd, &rect);
      Close(dialog, IDOK);
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Initialized, 1);
    EXPECT_TRUE(sender);
    EXPECT_FALSE(statusShown);
    EXPECT_TRUE(okEnabled);
    ASSERT_FALSE(gMessages.empty());
    EXPECT_EQ(gMessages.front().Msg, kBffmEnableOK);
    EXPECT_EQ(gMessages.front().LParam, 1);
    EXPECT_TRUE(MessagesOf(kBffmSetSelectionA).empty());
    EXPECT_TRUE(MessagesOf(kBffmSetStatusTextA).empty());
    EXPECT_TRUE(MessagesOf(WM_SETTEXT).empty());
    EXPECT_FALSE(captionOpen.empty());
    EXPECT_EQ(captionOpen, windowText);
    // Centred on the primary screen.
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);

    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_EQ(dialog.GetCaption(), "");
    // Wine's OK without a selection chooses the desktop.
    char desktop[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
    EXPECT_EQ(dialog.Selection(), desktop);
    EXPECT_EQ(dialog.GetSelectedPath(), desktop);
    EXPECT_EQ(dialog.ImageIndex(), 0);
    held = dialog.SelectionPIDL();
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(malloc.FreeCount(held), 0);
  }
  EXPECT_EQ(malloc.FreeCount(held), 1);
  EXPECT_TRUE(malloc.AllocationsFreedOnce());
  EXPECT_TRUE(malloc.NoDoubleFree());
  EXPECT_EQ(malloc.Refs(), 1u);
}

TEST_F(DialogsWin32, OpenBrowserFollowsSelectionCaptionStatusAndOKButton) {
  TCountingMalloc malloc;
  // The second selection is the first one's parent: Wine's tree does not always
  // move to a sibling of its selected folder, while a folder it shows is certain.
  const std::string second = MakeFolder(FTemp.Path() + "\\parent");
  const std::string first = MakeFolder(second + "\\first");
  TShellList firstList(TShellList::Parse(first)), secondList(TShellList::Parse(second));
  LPCITEMIDLIST parsedFirst = nullptr, parsedSecond = nullptr, held = nullptr;
  {
    TProbeDlg dialog(nullptr, &malloc);
    dialog.SetSelection(first);
    EXPECT_EQ(dialog.Selection(), first + "\\");
    dialog.SetTitle("Please select the folder");
    dialog.SetCaption("Select Folder");
    dialog.SetStatusText("Status one");
    std::vector<std::string> changes;
    dialog.OnSelChanged = [&](TObject *sender, const std::string &path, LPCITEMIDLIST pidl) {
      EXPECT_EQ(sender, &dialog);
      EXPECT_EQ(path, PathFromIDList(pidl));
      changes.push_back(path);
    };
    dialog.OnCreate = [&](TObject *) {
      const HWND wnd = dialog.Handle();
      // As opened: the list parsed from the selection is held, the path sent without "\".
      parsedFirst = dialog.SelectionPIDL();
      EXPECT_TRUE(SameList(parsedFirst, firstList.Get()));
      auto selections = MessagesOf(kBffmSetSelectionA);
      ASSERT_EQ(selections.size(), 1u);
      EXPECT_EQ(selections[0].WParam, 1u);
      EXPECT_EQ(selections[0].Text, first);
      EXPECT_EQ(changes, std::vector<std::string>{first});
      EXPECT_EQ(WindowText(wnd), "Select Folder");
      EXPECT_EQ(WindowText(GetDlgItem(wnd, 14146)), "Please select the folder");
      EXPECT_TRUE(HasVisibleStyle(StatusControl(wnd)));
      EXPECT_EQ(WindowText(StatusControl(wnd)), "Status one");

      // Changed while open: the browser follows at once.
      dialog.SetEnableOKButton(false);
      EXPECT_FALSE(OKEnabled(wnd));
      dialog.SetEnableOKButton(true);
      EXPECT_TRUE(OKEnabled(wnd));
      dialog.SetCaption("Second caption");
      EXPECT_EQ(WindowText(wnd), "Second caption");
      EXPECT_EQ(dialog.GetCaption(), "Second caption");
      dialog.SetStatusText("Status two");
      EXPECT_EQ(WindowText(StatusControl(wnd)), "Status two");
      dialog.SetStatusText("");
      EXPECT_EQ(WindowText(StatusControl(wnd)), "");
      EXPECT_EQ(MessagesOf(kBffmSetStatusTextA).back().LParam, 0);

      dialog.SetSelection(second);
      EXPECT_EQ(changes.back(), second);
      parsedSecond = dialog.SelectionPIDL();
      EXPECT_TRUE(SameList(parsedSecond, secondList.Get()));
      EXPECT_EQ(malloc.FreeCount(parsedFirst), 1);
      // The same value again does nothing, open or not.
      const size_t sent = MessagesOf(kBffmSetSelectionA).size();
      dialog.SetSelection(second + "\\");
      EXPECT_EQ(MessagesOf(kBffmSetSelectionA).size(), sent);

      // The caption read back holds at most 255 characters.
      dialog.SetCaption(std::string(300, 'c'));
      EXPECT_EQ(WindowText(wnd), std::string(300, 'c'));
      EXPECT_EQ(dialog.GetCaption(), std::string(255, 'c'));
      Close(dialog, IDOK);
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Selection(), second); // as returned: no "\" appended
    EXPECT_EQ(dialog.GetSelectedPath(), second);
    EXPECT_EQ(dialog.GetCaption(), std::string(300, 'c'));
    held = dialog.SelectionPIDL();
    EXPECT_TRUE(SameList(held, secondList.Get()));
    EXPECT_EQ(malloc.FreeCount(parsedSecond), 1);
  }
  EXPECT_EQ(malloc.FreeCount(parsedFirst), 1);
  EXPECT_EQ(malloc.FreeCount(held), 1);
  EXPECT_TRUE(malloc.AllocationsFreedOnce());
  EXPECT_TRUE(malloc.NoDoubleFree());
  EXPECT_EQ(malloc.Refs(), 1u);
}

TEST_F(DialogsWin32, CancelClearsTheSelectionAndTheNextBrowseStartsWithout) {
  TCountingMalloc malloc;
  const std::string folder = MakeFolder(FTemp.Path() + "\\chosen");
  TProbeDlg dialog(nullptr, &malloc);
  dialog.SetSelection(folder);
  dialog.OnCreate = [&](TObject *) { Close(dialog, IDOK); };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Selection(), folder);
  EXPECT_EQ(dialog.ImageIndex(), 0);
  const LPCITEMIDLIST held = dialog.SelectionPIDL();

  dialog.OnCreate = [&](TObject *) { Close(dialog, IDCANCEL); };
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Selection(), "");
  EXPECT_EQ(dialog.SelectionPIDL(), nullptr);
  EXPECT_EQ(malloc.FreeCount(held), 1);
  EXPECT_EQ(dialog.ImageIndex(), 0);
  EXPECT_EQ(dialog.GetSelectedPath(), "");

  // Next time: no selection is sent, and OK starts as the property says.
  dialog.SetEnableOKButton(false);
  bool okEnabled = true;
  dialog.OnCreate = [&](TObject *) {
    okEnabled = OKEnabled(dialog.Handle());
    Close(dialog, IDCANCEL);
  };
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Initialized, 3);
  EXPECT_FALSE(okEnabled);
  EXPECT_TRUE(MessagesOf(kBffmSetSelectionA).empty());
  EXPECT_EQ(MessagesOf(kBffmEnableOK).front().LParam, 0);
}

TEST_F(DialogsWin32, ItemWithoutPathIsChosenAndReselectedByItsList) {
  TCountingMalloc malloc;
  TShellList drives(TShellList::Special(CSIDL_DRIVES));
  ASSERT_NE(drives.Get(), nullptr);
  TProbeDlg dialog(nullptr, &malloc);
  dialog.OnCreate = [&](TObject *) {
    // The user's pick, as the tree would make it.
    SendMessageA(dialog.Handle(), kBffmSetSelectionA, FALSE, reinterpret_cast<LPARAM>(drives.Get()));
    Close(dialog, IDOK);
  };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Selection(), "");
  EXPECT_TRUE(SameList(dialog.SelectionPIDL(), drives.Get()));
  const std::string parsingName = dialog.GetSelectedPath();
  EXPECT_EQ(lstrcmpiA(parsingName.c_str(), "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"), 0) << parsingName;

  const LPCITEMIDLIST held = dialog.SelectionPIDL();
  dialog.OnCreate = [&](TObject *) { Close(dialog, IDCANCEL); };
  EXPECT_FALSE(dialog.Execute());
  auto selections = MessagesOf(kBffmSetSelectionA);
  ASSERT_EQ(selections.size(), 1u);
  EXPECT_EQ(selections[0].WParam, 0u);
  EXPECT_EQ(selections[0].LParam, reinterpret_cast<LPARAM>(held));
  EXPECT_EQ(malloc.FreeCount(held), 1);

  // Browsing for computers: without a path the choice reads "\\" and the display name,
  // which Wine leaves empty.
  dialog.SetOptions({btComputers});
  dialog.OnCreate = [&](TObject *) {
    SendMessageA(dialog.Handle(), kBffmSetSelectionA, FALSE, reinterpret_cast<LPARAM>(drives.Get()));
    Close(dialog, IDOK);
  };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Selection(), "\\\\");
  EXPECT_EQ(dialog.GetSelectedPath(), parsingName);
  EXPECT_TRUE(malloc.AllocationsFreedOnce());
  EXPECT_TRUE(malloc.NoDoubleFree());
}

TEST_F(DialogsWin32, SelectionShownInTheStatusLineStaysInStatusText) {
  const std::string folder = MakeFolder(FTemp.Path() + "\\shown");
  TProbeDlg dialog(nullptr);
  dialog.SetShowSelectionInStatus(true);
  dialog.OnCreate = [&](TObject *) {
    const HWND status = StatusControl(dialog.Handle());
    EXPECT_TRUE(HasVisibleStyle(status));
    dialog.SetSelection(folder);
    EXPECT_EQ(dialog.StatusText(), folder);
    const std::string shown = WindowText(status);
    EXPECT_EQ(shown, FitPathToWindow(status, folder));
    EXPECT_LE(ControlTextWidth(status, shown), WindowWidth(status));
    Close(dialog, IDCANCEL);
  };
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.StatusText(), folder);
}

TEST_F(DialogsWin32, StatusTextIsShortenedToTheStatusLine) {
  const std::string deep = MakeFolder(FTemp.Path() + "\\a-rather-long-folder-name\\another-long-folder-name"
                                                     "\\yet-another-folder");
  const std::string text =
      "Looking for the vendor's files in every folder of the chosen drive, one at a time";
  TProbeDlg dialog(nullptr);
  dialog.SetStatusText(text);
  dialog.OnCreate = [&](TObject *) {
    const HWND status = StatusControl(dialog.Handle());
    std::string shown = WindowText(status);
    ASSERT_LT(shown.size(), text.size());
    EXPECT_EQ(shown, text.substr(0, shown.size() - 3) + "...");
    EXPECT_LE(ControlTextWidth(status, shown), WindowWidth(status));

    // A folder is shortened like a path.
    dialog.SetStatusText(deep);
    shown = WindowText(status);
    EXPECT_NE(shown.find("...\\"), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 19), "\\yet-another-folder");
    EXPECT_LE(ControlTextWidth(status, shown), WindowWidth(status));

    dialog.SetFitStatusText(false);
    EXPECT_EQ(WindowText(status), deep);
    Close(dialog, IDCANCEL);
  };
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.StatusText(), deep);
}

TEST_F(DialogsWin32, UnparsedNetworkPathIsNotSentPlainPathsAlways) {
  TCountingMalloc malloc;
  TProbeDlg dialog(nullptr, &malloc);
  dialog.SetSelection("\\\\nosuchserver\\share\\");
  const std::string longPath = "C:\\" + std::string(300, 'q') + "\\";
  dialog.OnCreate = [&](TObject *) {
    EXPECT_TRUE(MessagesOf(kBffmSetSelectionA).empty());
    EXPECT_EQ(dialog.SelectionPIDL(), nullptr);
    dialog.SetSelection("C:\\no\\such\\folder\\");
    dialog.SetSelection(longPath);
    auto selections = MessagesOf(kBffmSetSelectionA);
    ASSERT_EQ(selections.size(), 2u);
    EXPECT_EQ(selections[0].WParam, 1u);
    EXPECT_EQ(selections[0].Text, "C:\\no\\such\\folder");
    EXPECT_EQ(selections[1].WParam, 1u);
    EXPECT_EQ(selections[1].Text, longPath.substr(0, longPath.size() - 1));
    EXPECT_EQ(dialog.SelectionPIDL(), nullptr);
    Close(dialog, IDCANCEL);
  };
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Initialized, 1);
  EXPECT_TRUE(malloc.NoDoubleFree());
}

TEST_F(DialogsWin32, HandlerExceptionClosesTheBrowserAndLeavesExecute) {
  TCountingMalloc malloc;
  const std::string folder = MakeFolder(FTemp.Path() + "\\kept");
  {
    TProbeDlg dialog(nullptr, &malloc);
    dialog.SetSelection(folder);
    dialog.OnCreate = [](TObject *) { throw std::runtime_error("handler failed"); };
    try {
      dialog.Execute();
      ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error &error) {
      EXPECT_STREQ(error.what(), "handler failed");
    }
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_EQ(dialog.Selection(), folder + "\\");
    // The dialog works on afterwards.
    dialog.OnCreate = [&](TObject *) { Close(dialog, IDOK); };
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Selection(), folder);
  }
  EXPECT_TRUE(malloc.AllocationsFreedOnce());
  EXPECT_TRUE(malloc.NoDoubleFree());
  EXPECT_EQ(malloc.Refs(), 1u);
}

TEST_F(DialogsWin32, WithoutAllocatorBufferExecuteActsAsCancel) {
  TCountingMalloc malloc;
  TProbeDlg dialog(nullptr, &malloc);
  dialog.OnCreate = [&](TObject *) { Close(dialog, IDOK); };
  ASSERT_TRUE(dialog.Execute());
  const LPCITEMIDLIST held = dialog.SelectionPIDL();
  malloc.FailAlloc = true;
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Initialized, 1);
  EXPECT_EQ(dialog.Selection(), "");
  EXPECT_EQ(dialog.SelectionPIDL(), nullptr);
  EXPECT_EQ(malloc.FreeCount(held), 1);
}

namespace {
// A form whose window is made when its handle is first asked for.
class TFormComponent : public TWinComponent {
public:
  using TWinComponent::TWinComponent;
  ~TFormComponent() override {
    if (HandleAllocated())
      DestroyWindow(Handle());
  }

protected:
  HWND CreateHandle() override {
    return CreateWindowExA(0, "STATIC", "form", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
};
} // namespace

TEST_F(DialogsWin32, BrowserBelongsToTheOwnersWindowOrTheMainForm) {
  TCountingMalloc malloc;
  auto *form = new TFormComponent(nullptr);
  auto *dialog = new TProbeDlg(form, &malloc);
  EXPECT_EQ(dialog->OwnerWindow(), form);
  EXPECT_FALSE(form->HandleAllocated());
  HWND browserOwner = nullptr;
  dialog->OnCreate = [&](TObject *) {
    browserOwner = GetWindow(dialog->Handle(), GW_OWNER);
    Close(*dialog, IDCANCEL);
  };
  EXPECT_FALSE(dialog->Execute());
  ASSERT_TRUE(form->HandleAllocated());
  EXPECT_EQ(browserOwner, form->Handle());

  // An owner without a window lends the main form.
  TComponent plain(nullptr);
  SetApplicationMainForm(form);
  auto *second = new TProbeDlg(&plain, &malloc);
  EXPECT_EQ(second->OwnerWindow(), form);
  TComponent noMainForm(nullptr);
  SetApplicationMainForm(nullptr);
  EXPECT_EQ((new TProbeDlg(&noMainForm, &malloc))->OwnerWindow(), nullptr);
  EXPECT_EQ(TProbeDlg(nullptr, &malloc).OwnerWindow(), nullptr);

  // The form frees the dialog it owns; the other dialog forgets it.
  SetApplicationMainForm(form);
  EXPECT_EQ(malloc.Refs(), 4u);
  delete form;
  EXPECT_EQ(ApplicationMainForm(), nullptr);
  EXPECT_EQ(second->OwnerWindow(), nullptr);
  EXPECT_EQ(plain.ComponentCount(), 1);
  EXPECT_EQ(malloc.Refs(), 3u);
}

TEST_F(DialogsWin32, AdapterRunsTheDialogAsTheMainWindowDoes) {
  TCountingMalloc malloc;
  const std::string folder = MakeFolder(FTemp.Path() + "\\vendor");
  TComponent owner(nullptr);
  {
    TFolderDlgAdapter adapter(&owner, &malloc);
    IFolderDialog &seam = adapter;
    ASSERT_NE(adapter.Dialog(), nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);
    seam.SetTitle("Please select the folder that contains the files");
    seam.SetSelection(folder);
    seam.SetCaption("Select Folder");
    std::string caption, title;
    adapter.Dialog()->OnCreate = [&](TObject *) {
      caption = WindowText(adapter.Dialog()->Handle());
      title = WindowText(GetDlgItem(adapter.Dialog()->Handle(), 14146));
      Close(*adapter.Dialog(), IDOK);
    };
    EXPECT_TRUE(seam.Execute());
    EXPECT_EQ(caption, "Select Folder");
    EXPECT_EQ(title, "Please select the folder that contains the files");
    EXPECT_EQ(seam.GetSelectedPath(), folder);
  }
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(malloc.Refs(), 1u);

  // The owner may free the dialog first.
  auto *shortLived = new TComponent(nullptr);
  TFolderDlgAdapter orphan(shortLived, &malloc);
  delete shortLived;
  EXPECT_EQ(orphan.Dialog(), nullptr);
  orphan.SetSelection(folder);
  EXPECT_FALSE(orphan.Execute());
  EXPECT_EQ(orphan.GetSelectedPath(), "");
  EXPECT_EQ(malloc.Refs(), 1u);
}
