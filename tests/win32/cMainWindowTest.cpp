// The main window end to end under Wine: the real window with its controls, driven
// through window messages as a user drives it, checked against configgen's output.
#include "win32/cMainWindow.h"

#include "bench/cPackGenerator.h"
#include "cli/ConfigGen.h"
#include "common/cStringList.h"
#include "core/cDeviceTable.h"
#include "app/cModel.h"
#include "app/gDeviceInfo.h"
#include "platform/cClipboardWin32.h"
#include "tests/support/TestFiles.h"
#include "tests/win32/Win32TestSupport.h"
#include "win32/cServicesWin32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

namespace {
const char *const kKey = "Software\\Holmcraft\\Fusebench\\Converter";

// The program's guard puts the user's tree back at its end (RegistrySnapshotTest.cpp).
void DeleteSettings() {
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Holmcraft");
}

void WriteSetting(const char *name, const std::string &value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

// The value's text, or "<missing>"; Type receives its type.
std::string ReadSetting(const char *name, DWORD &type) {
  char data[1024] = {};
  DWORD size = sizeof(data) - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) !=
      ERROR_SUCCESS)
    return "<missing>";
  return data;
}

// configgen's output for Args, run in-process; the window's reader stays in place.
std::vector<std::string> ConfigGen(const std::vector<std::string> &args) {
  TDeviceInfo *windowReader = DeviceInfo;
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunConfigGen(args, out, err);
  DeviceInfo = windowReader;
  EXPECT_EQ(status, kExitOk) << err.str();
  std::vector<std::string> lines;
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// Lines joined as the output box holds them: each ends with CR LF.
std::string CrLfText(const std::vector<std::string> &lines) {
  std::string text;
  for (const std::string &line : lines)
    text += line + "\r\n";
  return text;
}

std::vector<std::string> DropDownEntries(TDropDownList &list) {
  std::vector<std::string> entries;
  entries.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i)
    entries.push_back(list.Item(i));
  return entries;
}

// A drop of Paths as the shell hands it over: a DROPFILES header, then each path in
// UTF-16 with its zero, and one zero more. The window that gets it frees it.
HDROP MakeDrop(const std::vector<std::wstring> &paths) {
  size_t chars = 1;
  for (const std::wstring &path : paths)
    chars += path.size() + 1;
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto *header = static_cast<DROPFILES *>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto *text = reinterpret_cast<wchar_t *>(header + 1);
  for (const std::wstring &path : paths)
    text = std::copy(path.begin(), path.end(), text) + 1;
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

// Writes Content to a file of a UTF-16 name.
void WriteFileW(const std::wstring &path, const std::string &content) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, content.size());
}

// The file system of the window, with a close arriving while a file is read.
class TClosingFileSystem : public IFileSystem {
public:
  explicit TClosingFileSystem(IFileSystem &inner) : FInner(inner) {}
  bool FolderExists(const std::string &path) override { return FInner.FolderExists(path); }
  TFileText ReadFileText(const std::string &path, uint64_t maxSize) override {
    SendMessageW(Window, WM_CLOSE, 0, 0);
    return FInner.ReadFileText(path, maxSize);
  }
  std::string WriteFileText(const std::string &path, const std::string &text) override {
    return FInner.WriteFileText(path, text);
  }
  HWND Window = nullptr;

private:
  IFileSystem &FInner;
};

// Closes the shell's folder browser, when it opens on this thread, on a folder.
struct TBrowserCloser {
  static inline std::string Folder;
  static inline bool Closed = false;
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND browser = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND handle, LPARAM found) -> BOOL {
          char name[32] = {};
          GetClassNameA(handle, name, sizeof(name));
          if (std::string(name) == "#32770" && IsWindowVisible(handle)) {
            *reinterpret_cast<HWND *>(found) = handle;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&browser));
    // The browser may show before it has applied its own initial selection, which
    // would then replace this one: OK is pressed only once its tree shows the
    // folder selected, else the selection is sent again on the next tick.
    HWND tree = browser ? FindWindowExA(browser, nullptr, "SysTreeView32", nullptr) : nullptr;
    if (!tree)
      return;
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(Folder.c_str()));
    char text[MAX_PATH] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    const std::string leaf = Folder.substr(Folder.find_last_of("\\/") + 1);
    if (!item.hItem || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ||
        lstrcmpiA(text, leaf.c_str()) != 0)
      return;
    KillTimer(nullptr, id);
    PostMessageA(browser, WM_COMMAND, IDOK, 0);
    Closed = true;
  }
};

class MainWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    InitControlsForTests();
    DeleteSettings();
  }
  void TearDown() override {
    Window.reset();
    DeleteSettings();
  }

  void Open() {
    TMainWindowSetup setup =
        Services.Setup([this](const std::string &message) { Errors.push_back(message); });
    if (FileSystem)
      setup.FileSystem = FileSystem;
    Window = std::make_unique<TMainWindow>(std::move(setup));
    Window->Show();
    SetForegroundWindow(Window->Handle());
    Pump();
  }
  void Pump() { PumpMessages(Window->Handle()); }
  void Click(TWinControl &control) {
    SendMessageW(control.Handle(), BM_CLICK, 0, 0);
    Pump();
  }
  void Press(HWND target, UINT key, bool alt = false) { PressKey(target, key, Window->Handle(), alt); }
  void Close() {
    SendMessageW(Window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(Window->Alive());
    Window.reset();
  }
  // Picks entry Index of Row's Setting list with the keyboard.
  void PickSetting(int row, int index) {
    TSettingsGrid &grid = Window->Grid("SettingsGrid");
    SetFocus(grid.Handle());
    Press(grid.Handle(), VK_HOME);
    for (int i = 0; i < row; ++i)
      Press(grid.Handle(), VK_DOWN);
    Press(grid.Handle(), VK_F2);
    ASSERT_TRUE(grid.Editing());
    Press(grid.Editor().Handle(), VK_HOME);
    for (int i = 0; i < index; ++i)
      Press(grid.Editor().Handle(), VK_DOWN);
    Press(grid.Editor().Handle(), VK_RETURN);
    ASSERT_FALSE(grid.Editing());
  }
  // The grid's rows as configgen switches prints them.
  std::vector<std::string> GridRows() {
    TSettingsGrid &grid = Window->Grid("SettingsGrid");
    std::vector<std::string> rows;
    rows.reserve(static_cast<size_t>(grid.RowCount()));
    for (int row = 0; row < grid.RowCount(); ++row)
      rows.push_back(WideToAnsi(grid.Cell(0, row)) + "\t" + WideToAnsi(grid.Cell(1, row)) + "\t" +
                     WideToAnsi(grid.Cell(2, row)) + "\t" + WideToAnsi(grid.Cell(3, row)));
    return rows;
  }
  RECT ClientRectOf(TWinControl &control) {
    RECT rect;
    GetWindowRect(control.Handle(), &rect);
    MapWindowPoints(nullptr, GetParent(control.Handle()), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
  }

  TServicesWin32 Services;
  IFileSystem *FileSystem = nullptr; // instead of the services' own, when set
  std::unique_ptr<TMainWindow> Window;
  std::vector<std::string> Errors;
  const std::string Samples = SamplesFolder();
};
} // namespace

TEST_F(MainWindowTest, OpensFreshWithTheLayoutTextsAndFocus) {
  Open();
  ASSERT_EQ(Window->Dpi(), 96u) << "the layout figures below are for 96 DPI";
  HWND handle = Window->Handle();
  char caption[128] = {};
  GetWindowTextA(handle, caption, sizeof(caption));
  EXPECT_STREQ(caption, "Tarnwick Config Generator v1.3.1");
  const LONG style = GetWindowLongW(handle, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  RECT client;
  GetClientRect(handle, &client);
  EXPECT_EQ(client.right, 788);
  EXPECT_EQ(client.bottom, 594);
  RECT window;
  GetWindowRect(handle, &window);
  EXPECT_LE(std::abs((window.left + window.right) - GetSystemMetrics(SM_CXSCREEN)), 2);
  EXPECT_LE(std::abs((window.top + window.bottom) - GetSystemMetrics(SM_CYSCREEN)), 2);

  // Places as the layout gives them; a control whose caption needs more room in
  // the font actually used may be wider (see TextsFitTheirControls), never narrower.
  struct TPlace {
    TWinControl *Control;
    RECT Expected;
  };
  const TPlace places[] = {
      {&Window->Button("ButtonChangeFolder"), {8, 56, 108, 81}},
      {&Window->Button("ButtonLoadDeviceInfoFile"), {128, 56, 228, 81}},
      {&Window->Button("ButtonSetDefaults"), {672, 112, 772, 137}},
      {&Window->Grid("SettingsGrid"), {8, 152, 777, 353}},
      {&Window->Button("ButtonGenerate"), {8, 368, 108, 393}},
      {&Window->Button("ButtonCopy"), {128, 368, 228, 393}},
      {&Window->CheckBox("CheckBoxComments"), {248, 376, 345, 393}},
      {&Window->CheckBox("CheckBoxOrvaneSyntax"), {344, 376, 441, 393}},
      {&Window->CheckBox("CheckBoxUseInfoDefaults"), {536, 120, 649, 137}},
      {&Window->CheckBox("chkIncludeLF"), {144, 112, 241, 129}},
      {&Window->OutputBox("Memo"), {8, 408, 777, 561}},
      {&Window->Panel("PanelStatus"), {0, 569, 788, 594}},
      {&Window->Label("Label1"), {8, 16, 200, 29}},
  };
  for (const TPlace &place : places) {
    const RECT rect = ClientRectOf(*place.Control);
    const int id = GetDlgCtrlID(place.Control->Handle());
    EXPECT_EQ(rect.left, place.Expected.left) << id;
    EXPECT_EQ(rect.top, place.Expected.top) << id;
    EXPECT_EQ(rect.bottom, place.Expected.bottom) << id;
    const TControlKind kind = kMainFormControls[static_cast<size_t>(id - kFirstControlId)].Kind;
    if (kind == TControlKind::Grid || kind == TControlKind::OutputBox || kind == TControlKind::Panel)
      EXPECT_EQ(rect.right, place.Expected.right) << id;
    else
      EXPECT_GE(rect.right, place.Expected.right) << id;
  }
  const RECT combo = ClientRectOf(Window->DropDown("DeviceSelectComboBox"));
  EXPECT_EQ(combo.left, 8);
  EXPECT_EQ(combo.top, 112);
  EXPECT_EQ(combo.right, 129);

  EXPECT_EQ(Window->Label("LabelIncludePath").Text(), "C:\\Program Files (x86)\\Microchip\\MPASM Suite");
  EXPECT_EQ(Window->DropDown("DeviceSelectComboBox").Text(), "select device");
  EXPECT_EQ(Window->DropDown("DeviceSelectComboBox").Count(), 0);
  EXPECT_EQ(Window->Label("StatusBar").Text(), "Ready");
  EXPECT_EQ(Window->Grid("SettingsGrid").RowCount(), 0);
  EXPECT_EQ(Window->OutputBox("Memo").Text(), "");
  EXPECT_TRUE(Window->CheckBox("CheckBoxComments").Checked());
  EXPECT_FALSE(Window->CheckBox("CheckBoxOrvaneSyntax").Checked());
  EXPECT_FALSE(Window->CheckBox("CheckBoxUseInfoDefaults").Checked());
  EXPECT_FALSE(Window->CheckBox("chkIncludeLF").Checked());
  EXPECT_EQ(GetFocus(), Window->Button("ButtonLoadDeviceInfoFile").Handle());
  EXPECT_TRUE(Errors.empty());
}

// Every caption is whole: its extent in the control's own font fits the control's
// client area (for a check box, beside its box), and no control grew into another.
TEST_F(MainWindowTest, TextsFitTheirControls) {
  Open();
  for (const TControlDef &def : kMainFormControls) {
    if (def.Kind != TControlKind::Label && def.Kind != TControlKind::CheckBox &&
        def.Kind != TControlKind::Button)
      continue;
    SCOPED_TRACE(def.Name);
    TWinControl &control = Window->ControlOf(def);
    HWND handle = control.Handle();
    const std::wstring text = WindowTextW(handle);
    HDC dc = GetDC(handle);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(handle, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(handle, dc);
    RECT client;
    GetClientRect(handle, &client);
    int room = client.right;
    if (def.Kind == TControlKind::CheckBox)
      room -= static_cast<TCheckBox &>(control).TextLeft();
    else if (def.Kind == TControlKind::Button)
      room -= static_cast<TButton &>(control).TextMargins();
    EXPECT_LE(extent.cx, room) << "caption " << def.Caption;

    // Nothing to its right on the same rows is overlapped.
    const RECT rect = ClientRectOf(control);
    for (const TControlDef &other : kMainFormControls) {
      if (&other == &def || other.Kind == TControlKind::Panel ||
          (other.Parent == nullptr) != (def.Parent == nullptr))
        continue;
      const RECT next = ClientRectOf(Window->ControlOf(other));
      const bool sharesRows = other.Top < def.Top + def.Height && def.Top < other.Top + other.Height;
      if (sharesRows && other.Left > def.Left && rect.right > def.Left + def.Width) {
        EXPECT_LE(rect.right, next.left) << "overlaps " << other.Name;
      }
    }
  }
}

TEST_F(MainWindowTest, TabOrderFollowsTheLayout) {
  Open();
  const std::vector<HWND> expected = {Window->Button("ButtonGenerate").Handle(),
                                      Window->Button("ButtonChangeFolder").Handle(),
                                      Window->Button("ButtonLoadDeviceInfoFile").Handle(),
                                      Window->Button("ButtonCopy").Handle(),
                                      Window->Grid("SettingsGrid").Handle(),
                                      Window->DropDown("DeviceSelectComboBox").Handle(),
                                      Window->Button("ButtonSetDefaults").Handle(),
                                      Window->CheckBox("CheckBoxComments").Handle(),
                                      Window->CheckBox("CheckBoxOrvaneSyntax").Handle(),
                                      Window->CheckBox("CheckBoxUseInfoDefaults").Handle(),
                                      Window->CheckBox("chkIncludeLF").Handle()};
  // One round of Tab from the first, keeping these controls (a control added to the
  // layout may stand between them).
  std::vector<HWND> round = {expected[0]};
  for (HWND current = GetNextDlgTabItem(Window->Handle(), expected[0], FALSE);
       current != nullptr && current != expected[0] && round.size() < 64;
       current = GetNextDlgTabItem(Window->Handle(), current, FALSE))
    if (std::find(expected.begin(), expected.end(), current) != expected.end())
      round.push_back(current);
  EXPECT_EQ(round, expected);
  // Tab through IsDialogMessage moves the focus along the same order.
  SetFocus(expected[0]);
  Press(expected[0], VK_TAB);
  EXPECT_EQ(GetFocus(), expected[1]);
}

TEST_F(MainWindowTest, LoadFileListsTheDevicesAndSelectsTheRememberedOne) {
  WriteSetting("MicrochipPath", Samples);
  WriteSetting("Device", "18f2550");
  const std::vector<std::string> devices = ConfigGen({"devices", "--folder", Samples});
  const std::vector<std::string> switches =
      ConfigGen({"switches", "--folder", Samples, "--device", "18F2550"});
  Open();
  EXPECT_EQ(Window->Label("LabelIncludePath").Text(), UpperCaseAscii(Samples));
  Click(Window->Button("ButtonLoadDeviceInfoFile"));

  EXPECT_EQ(Window->Label("StatusBar").Text(), devices.at(0));
  TStringList sorted;
  for (size_t i = 1; i < devices.size(); ++i)
    sorted.Add(devices[i]);
  sorted.Sort(CompareText);
  EXPECT_EQ(DropDownEntries(Window->DropDown("DeviceSelectComboBox")),
            std::vector<std::string>(sorted.begin(), sorted.end()));
  EXPECT_EQ(Window->DropDown("DeviceSelectComboBox").Text(), "18F2550");
  EXPECT_EQ(Window->DropDown("DeviceSelectComboBox").ItemIndex(), sorted.IndexOf("18F2550"));
  EXPECT_EQ(GridRows(), switches);
  EXPECT_EQ(Window->OutputBox("Memo").Text(), "");
  EXPECT_TRUE(Window->Button("ButtonLoadDeviceInfoFile").Enabled());
  EXPECT_EQ(GetFocus(), Window->Button("ButtonGenerate").Handle());
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainWindowTest, EnterAndSpacePressTheFocusedButton) {
  WriteSetting("MicrochipPath", Samples);
  Open();
  HWND load = Window->Button("ButtonLoadDeviceInfoFile").Handle();
  ASSERT_EQ(GetFocus(), load);
  Press(load, VK_RETURN);
  EXPECT_EQ(Window->Label("StatusBar").Text().rfind("resource file: ", 0), 0u);
  HWND generate = Window->Button("ButtonGenerate").Handle();
  ASSERT_EQ(GetFocus(), generate);
  Press(generate, VK_SPACE);
  EXPECT_EQ(Window->OutputBox("Memo").Text().rfind("device = ", 0), 0u);
  EXPECT_TRUE(Errors.empty());
}

// A configuration copied from a program's source: on the clipboard, Ctrl+V in the
// grid selects its device and applies it, then Generate writes it.
TEST_F(MainWindowTest, PasteFromTheClipboardIntoTheGridThenGenerate) {
  WriteSetting("MicrochipPath", Samples);
  WriteSetting("Device", "18F1220");
  Open();
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  ASSERT_EQ(Window->Form().Device(), "18F1220");
  TClipboardWin32 clipboard;
  clipboard.SetText(
      "' my program\r\ndevice = 18F2550\r\nconfig\r\n  fosc = HS, // crystal\r\n  WDT = OFF,\r\n"
      "  NOSUCH = 1\r\n");

  TSettingsGrid &grid = Window->Grid("SettingsGrid");
  SetFocus(grid.Handle());
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  Press(grid.Handle(), 'V');
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);

  EXPECT_EQ(Window->Form().Device(), "18F2550");
  EXPECT_EQ(Window->DropDown("DeviceSelectComboBox").Text(), "18F2550");
  TStringList report;
  Window->OutputBox("Memo").GetLines(report);
  ASSERT_EQ(report.Count(), 2);
  EXPECT_EQ(report[0], "Pasted configuration: 2 of 3 entries applied.");
  EXPECT_EQ(report[1].substr(0, 46), "line 6: error: unknown switch 'NOSUCH' for 18F");
  EXPECT_TRUE(Errors.empty());

  Click(Window->Button("ButtonGenerate"));
  EXPECT_EQ(Window->OutputBox("Memo").Text(),
            CrLfText(ConfigGen({"generate", "--folder", Samples, "--device", "18F2550", "--set", "FOSC=HS",
                                "--set", "WDT=OFF"})));
}

// A large wrong text pasted by mistake: the report shows the first diagnostics and
// counts the rest, so the window answers again at once.
TEST_F(MainWindowTest, ALargePasteGivesAShortReport) {
  WriteSetting("MicrochipPath", Samples);
  WriteSetting("Device", "18F2550");
  Open();
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  std::string text = "config\r\n";
  for (int i = 0; i < 50000; ++i)
    text += "  WDT = SLOW" + std::to_string(i) + ",\r\n";
  text += "  WDT = OFF\r\n";
  TClipboardWin32().SetText(text);

  const auto start = std::chrono::steady_clock::now();
  Window->Form().SettingsGridPaste();
  const auto elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);
  std::printf("pasting %zu bytes took %.0f ms\n", text.size(), elapsed.count());

  TStringList report;
  Window->OutputBox("Memo").GetLines(report);
  ASSERT_EQ(report.Count(), 102);
  EXPECT_EQ(report[0], "Pasted configuration: 1 of 50001 entries applied.");
  EXPECT_EQ(report[101], "... and 49900 more diagnostic(s) not shown.");
  EXPECT_TRUE(Errors.empty());
}

// A file dragged from the shell onto the window, its name outside ASCII: its
// configuration is applied as a paste of its text would be. Two files are refused.
TEST_F(MainWindowTest, AFileDroppedOnTheWindowIsAppliedThenGenerated) {
  WriteSetting("MicrochipPath", Samples);
  WriteSetting("Device", "18F1220");
  Open();
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  ASSERT_EQ(Window->Form().Device(), "18F1220");
  EXPECT_NE(GetWindowLongW(Window->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  TTempFolder temp;
  const std::wstring file = AnsiToWide(temp.Path()) + L"\\blink-\u00e9.src";
  WriteFileW(file, "' my program\r\ndevice = 18F2550\r\nconfig\r\n  fosc = HS,\r\n  WDT = OFF,\r\n"
                   "  NOSUCH = 1\r\n");

  SendMessageW(Window->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({file})), 0);
  EXPECT_EQ(Window->Form().Device(), "18F2550");
  EXPECT_EQ(Window->DropDown("DeviceSelectComboBox").Text(), "18F2550");
  TStringList report;
  Window->OutputBox("Memo").GetLines(report);
  ASSERT_EQ(report.Count(), 2);
  EXPECT_EQ(report[0], "Pasted configuration: 2 of 3 entries applied.");
  EXPECT_EQ(report[1].substr(0, 46), "line 6: error: unknown switch 'NOSUCH' for 18F");
  TSettingsGrid &grid = Window->Grid("SettingsGrid");
  std::map<std::string, std::string> settings; // switch -> the Setting cell
  for (int row = 0; row < grid.RowCount(); ++row)
    settings[WideToAnsi(grid.Cell(0, row))] = WideToAnsi(grid.Cell(2, row));
  EXPECT_EQ(settings["FOSC"], "HS");
  EXPECT_EQ(settings["WDT"], "OFF");
  Click(Window->Button("ButtonGenerate"));
  EXPECT_EQ(Window->OutputBox("Memo").Text(),
            CrLfText(ConfigGen({"generate", "--folder", Samples, "--device", "18F2550", "--set", "FOSC=HS",
                                "--set", "WDT=OFF"})));

  SendMessageW(Window->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({file, file})), 0);
  EXPECT_EQ(Window->OutputBox("Memo").Text(), "Drop: 2 files were dropped; drop one file at a time.\r\n");
  EXPECT_TRUE(Errors.empty());
}

// A drop is a run of the form's handlers as a click is: a close that arrives while
// it is applied waits until it has returned.
TEST_F(MainWindowTest, ACloseMetWhileADropIsAppliedWaitsUntilItIsDone) {
  TClosingFileSystem closing(Services.FileSystem);
  FileSystem = &closing;
  WriteSetting("MicrochipPath", Samples);
  WriteSetting("Device", "18F2550");
  Open();
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  closing.Window = Window->Handle();
  TTempFolder temp;
  const std::string file = temp.WriteFile("blink.src", "config WDT = OFF\r\n");

  SendMessageW(Window->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({AnsiToWide(file)})), 0);
  ASSERT_TRUE(Window->Alive());
  EXPECT_EQ(Window->OutputBox("Memo").Text(), "Pasted configuration: 1 of 1 entries applied.\r\n");
  Pump();
  EXPECT_FALSE(Window->Alive());
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainWindowTest, SettingChosenInTheGridAndGenerateInAllFourForms) {
  WriteSetting("MicrochipPath", Samples);
  WriteSetting("Device", "18F2550");
  Open();
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  ASSERT_GT(Window->Grid("SettingsGrid").RowCount(), 0);

  // The first row with a second setting of its own name: pick the entry after the default.
  TMainForm &form = Window->Form();
  int row = -1;
  int index = -1;
  for (int r = 0; r < Window->Grid("SettingsGrid").RowCount() && row < 0; ++r) {
    const TSwitchRow &candidate = form.Rows()[static_cast<size_t>(r)];
    const int k = FindSetting(candidate, candidate.StartSetting);
    if (k >= 0 && k + 1 < static_cast<int>(candidate.Settings.size()) &&
        FindSetting(candidate, candidate.Settings[static_cast<size_t>(k) + 1].Name) == k + 1) {
      row = r;
      index = k + 1;
    }
  }
  ASSERT_GE(row, 0);
  const std::string name = WideToAnsi(Window->Grid("SettingsGrid").Cell(0, row));
  const TSwitchSetting &picked = form.Rows()[static_cast<size_t>(row)].Settings[static_cast<size_t>(index)];
  const std::string setting = picked.Name;
  PickSetting(row, index);
  EXPECT_EQ(WideToAnsi(Window->Grid("SettingsGrid").Cell(2, row)), setting);
  EXPECT_EQ(WideToAnsi(Window->Grid("SettingsGrid").Cell(3, row)), picked.Description);

  Click(Window->Button("ButtonGenerate"));
  const std::vector<std::string> base = {"generate", "--folder",          Samples, "--device", "18F2550",
                                         "--set",    name + "=" + setting};
  EXPECT_EQ(Window->OutputBox("Memo").Text(), CrLfText(ConfigGen(base)));

  struct TForm {
    TCheckBox *Toggle;
    bool Orvane;
    bool Comments;
  };
  const TForm forms[] = {{&Window->CheckBox("CheckBoxComments"), false, false},
                         {&Window->CheckBox("CheckBoxOrvaneSyntax"), true, false},
                         {&Window->CheckBox("CheckBoxComments"), true, true}};
  for (const TForm &f : forms) {
    Click(*f.Toggle); // each toggle regenerates at once
    std::vector<std::string> args = base;
    if (f.Orvane)
      args.push_back("--orvane");
    if (!f.Comments)
      args.push_back("--no-comments");
    EXPECT_EQ(Window->OutputBox("Memo").Text(), CrLfText(ConfigGen(args))) << f.Orvane << f.Comments;
  }
  EXPECT_TRUE(Window->Button("ButtonGenerate").Enabled());
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainWindowTest, CopyPutsTheBoxTextAsTypedOnTheClipboard) {
  WriteSetting("MicrochipPath", Samples);
  WriteSetting("Device", "18F1220");
  Open();
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  Click(Window->Button("ButtonGenerate"));
  SetFocus(Window->OutputBox("Memo").Handle());
  SendMessageW(Window->OutputBox("Memo").Handle(), EM_SETSEL, 0, 0);
  SendMessageW(Window->OutputBox("Memo").Handle(), WM_CHAR, 'x', 0);
  const std::string text = Window->OutputBox("Memo").Text();
  ASSERT_EQ(text.rfind("xdevice = 18F1220\r\n", 0), 0u);
  Click(Window->Button("ButtonCopy"));

  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE ansi = GetClipboardData(CF_TEXT);
  HANDLE wide = GetClipboardData(CF_UNICODETEXT);
  ASSERT_TRUE(ansi && wide);
  const std::string ansiText = static_cast<const char *>(GlobalLock(ansi));
  GlobalUnlock(ansi);
  const std::wstring wideText = static_cast<const wchar_t *>(GlobalLock(wide));
  GlobalUnlock(wide);
  CloseClipboard();
  EXPECT_EQ(ansiText, text);
  EXPECT_EQ(wideText, AnsiToWide(text));
}

TEST_F(MainWindowTest, ChangeFolderShowsTheChosenFolderUpperCased) {
  // A folder of mixed case other than the one the browser opens at.
  const std::string chosen = SourcePath("samples");
  WriteSetting("MicrochipPath", Samples);
  WriteSetting("Device", "18F2550");
  Open();
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  const int rows = Window->Grid("SettingsGrid").RowCount();

  TBrowserCloser::Folder = chosen;
  TBrowserCloser::Closed = false;
  SetTimer(nullptr, 0, 100, TBrowserCloser::OnTimer);
  Click(Window->Button("ButtonChangeFolder"));
  ASSERT_TRUE(TBrowserCloser::Closed);
  EXPECT_EQ(Window->Label("LabelIncludePath").Text(), UpperCaseAscii(chosen));
  EXPECT_EQ(Window->Form().Models().Path, UpperCaseAscii(chosen));
  // Nothing is reloaded until the next "Load File".
  EXPECT_EQ(Window->Grid("SettingsGrid").RowCount(), rows);
  EXPECT_EQ(Window->DropDown("DeviceSelectComboBox").Text(), "18F2550");
  EXPECT_TRUE(Errors.empty());
  Close();
  DWORD type = 0;
  EXPECT_EQ(ReadSetting("MicrochipPath", type), UpperCaseAscii(chosen));
}

TEST_F(MainWindowTest, ClosingWritesTheSettingsAndARestartRestoresThem) {
  // First run: no key; closing creates it with both values empty.
  Open();
  Close();
  DWORD type = 0;
  EXPECT_EQ(ReadSetting("MicrochipPath", type), "");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(ReadSetting("Device", type), "");

  WriteSetting("MicrochipPath", Samples);
  Open();
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  const std::string first = Window->DropDown("DeviceSelectComboBox").Item(0);
  EXPECT_EQ(Window->DropDown("DeviceSelectComboBox").Text(), first); // nothing remembered: the first
  // The user chooses the next device in the drop-down.
  SetFocus(Window->DropDown("DeviceSelectComboBox").Handle());
  Press(Window->DropDown("DeviceSelectComboBox").Handle(), VK_DOWN);
  const std::string chosen = Window->DropDown("DeviceSelectComboBox").Item(1);
  ASSERT_EQ(Window->DropDown("DeviceSelectComboBox").Text(), chosen);
  EXPECT_EQ(Window->Form().Device(), chosen);
  Close();
  // The folder as the window holds it: upper-cased when it was read at start.
  EXPECT_EQ(ReadSetting("MicrochipPath", type), UpperCaseAscii(Samples));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(ReadSetting("Device", type), chosen);

  Open();
  EXPECT_EQ(Window->Label("LabelIncludePath").Text(), UpperCaseAscii(Samples));
  EXPECT_EQ(Window->Form().Device(), chosen);
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  EXPECT_EQ(Window->DropDown("DeviceSelectComboBox").Text(), chosen);
  EXPECT_TRUE(Errors.empty());
}

// A folder of device packs: Load File lists its devices, a device chosen shows its
// grid and Generate writes its text, as configgen gives them from the packs and
// from the sample file that holds the same devices.
TEST_F(MainWindowTest, LoadFileOnDevicePacksListsChoosesAndGenerates) {
  const std::string packs = SourcePath("samples/packs");
  WriteSetting("MicrochipPath", packs);
  WriteSetting("Device", "18F2550");
  const std::vector<std::string> devices = ConfigGen({"devices", "--folder", packs});
  Open();
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  EXPECT_EQ(Window->Label("StatusBar").Text(), devices.at(0));
  EXPECT_EQ(
      Window->Label("StatusBar")
          .Text()
          .rfind("resource file: PIC18F-K_DFP 1.0.4, PIC18F-Q_DFP 1.2.71, PIC18Fxxxx_DFP 1.10.3    ", 0),
      0u);
  EXPECT_EQ(DropDownEntries(Window->DropDown("DeviceSelectComboBox")),
            std::vector<std::string>(devices.begin() + 1, devices.end()));
  EXPECT_EQ(Window->DropDown("DeviceSelectComboBox").Text(), "18F2550");

  // The next device, chosen with the keyboard.
  SetFocus(Window->DropDown("DeviceSelectComboBox").Handle());
  Press(Window->DropDown("DeviceSelectComboBox").Handle(), VK_DOWN);
  const std::string chosen = Window->DropDown("DeviceSelectComboBox").Text();
  ASSERT_EQ(chosen, "18F25K22");
  const std::vector<std::string> switches = ConfigGen({"switches", "--folder", packs, "--device", chosen});
  EXPECT_EQ(GridRows(), switches);
  EXPECT_EQ(switches, ConfigGen({"switches", "--folder", Samples, "--device", chosen}));
  Click(Window->Button("ButtonGenerate"));
  const std::vector<std::string> text = ConfigGen({"generate", "--folder", packs, "--device", chosen});
  EXPECT_EQ(Window->OutputBox("Memo").Text(), CrLfText(text));
  EXPECT_EQ(text, ConfigGen({"generate", "--folder", Samples, "--device", chosen}));
  EXPECT_TRUE(Errors.empty());
}

// A folder of .atpack archives, as downloaded, chosen with "Change Folder": Load File
// lists the devices, a device chosen shows its grid and Generate writes its text, as
// configgen gives them from the archives, the installed packs and the sample file.
TEST_F(MainWindowTest, AnAtpackFolderChosenWithChangeFolderListsChoosesAndGenerates) {
  const TTempFolder downloads;
  const std::string packs = SourcePath("samples/packs");
  // Four PIC18 pack versions and the two packs of the other families.
  ASSERT_EQ(WritePackArchives(packs, downloads.Path()).size(), 6u);
  Open();
  TBrowserCloser::Folder = downloads.Path();
  TBrowserCloser::Closed = false;
  SetTimer(nullptr, 0, 100, TBrowserCloser::OnTimer);
  Click(Window->Button("ButtonChangeFolder"));
  ASSERT_TRUE(TBrowserCloser::Closed);
  ASSERT_EQ(Window->Label("LabelIncludePath").Text(), UpperCaseAscii(downloads.Path()));

  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  const std::vector<std::string> devices = ConfigGen({"devices", "--folder", downloads.Path()});
  EXPECT_EQ(devices, ConfigGen({"devices", "--folder", packs}));
  EXPECT_EQ(Window->Label("StatusBar").Text(), devices.at(0));
  EXPECT_EQ(DropDownEntries(Window->DropDown("DeviceSelectComboBox")),
            std::vector<std::string>(devices.begin() + 1, devices.end()));
  EXPECT_EQ(Window->DropDown("DeviceSelectComboBox").Text(), "18F04Q20");

  // The next device, chosen with the keyboard.
  SetFocus(Window->DropDown("DeviceSelectComboBox").Handle());
  Press(Window->DropDown("DeviceSelectComboBox").Handle(), VK_DOWN);
  const std::string chosen = Window->DropDown("DeviceSelectComboBox").Text();
  ASSERT_EQ(chosen, "18F1220");
  const std::vector<std::string> switches =
      ConfigGen({"switches", "--folder", downloads.Path(), "--device", chosen});
  EXPECT_EQ(GridRows(), switches);
  EXPECT_EQ(switches, ConfigGen({"switches", "--folder", Samples, "--device", chosen}));
  Click(Window->Button("ButtonGenerate"));
  const std::vector<std::string> text =
      ConfigGen({"generate", "--folder", downloads.Path(), "--device", chosen});
  EXPECT_EQ(Window->OutputBox("Memo").Text(), CrLfText(text));
  EXPECT_EQ(text, ConfigGen({"generate", "--folder", Samples, "--device", chosen}));
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainWindowTest, ABadDeviceFileInThePacksShowsTheErrorAndTheWindowCarriesOn) {
  TTempFolder temp;
  CreateDirectoryA((temp.Path() + "\\P_DFP").c_str(), nullptr);
  CreateDirectoryA((temp.Path() + "\\P_DFP\\1.0.0").c_str(), nullptr);
  CreateDirectoryA((temp.Path() + "\\P_DFP\\1.0.0\\edc").c_str(), nullptr);
  temp.WriteFile("P_DFP\\1.0.0\\edc\\PIC18F1.PIC", "<edc:PIC>\n<unclosed>\n");
  WriteSetting("MicrochipPath", temp.Path());
  Open();
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  EXPECT_EQ(Window->Label("StatusBar").Text(), "resource file: P_DFP 1.0.0    1 device(s) found");
  ASSERT_EQ(Errors.size(), 1u); // choosing the only device reads its file
  EXPECT_EQ(Errors[0].rfind("not well-formed XML: ", 0), 0u) << Errors[0];
  EXPECT_NE(Errors[0].find(UpperCaseAscii(temp.Path()) + "\\P_DFP\\1.0.0\\edc\\PIC18F1.PIC, line 2)"),
            std::string::npos)
      << Errors[0];
  EXPECT_EQ(Window->Grid("SettingsGrid").RowCount(), 0);
  Click(Window->Button("ButtonGenerate"));
  EXPECT_EQ(Window->OutputBox("Memo").Text(), "device = 18F1\r\n\r\nconfig\r\n");
  EXPECT_TRUE(Window->Button("ButtonLoadDeviceInfoFile").Enabled());
}

TEST_F(MainWindowTest, ACloseMetWhileAHandlerPumpsWaitsUntilTheHandlerHasReturned) {
  const std::vector<std::string> devices = ConfigGen({"devices", "--folder", Samples});
  TStringList sorted;
  for (size_t i = 1; i < devices.size(); ++i)
    sorted.Add(devices[i]);
  sorted.Sort(CompareText);
  ASSERT_GT(sorted.Count(), 0);
  struct TCase {
    const char *Name;
    TControlName<TControlKind::Button> Button;
    UINT Message; // queued before the click, met by the handler's pump
    WPARAM WParam;
    const char *Remembered;
    std::string Saved;
  };
  const TCase cases[] = {
      {"Load File, WM_CLOSE", "ButtonLoadDeviceInfoFile", WM_CLOSE, 0, nullptr, sorted[0]},
      {"Generate, WM_CLOSE", "ButtonGenerate", WM_CLOSE, 0, "18f1220", "18F1220"},
      {"Generate, close box", "ButtonGenerate", WM_SYSCOMMAND, SC_CLOSE, "18f1220", "18F1220"},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Name);
    DeleteSettings();
    WriteSetting("MicrochipPath", Samples);
    if (c.Remembered)
      WriteSetting("Device", c.Remembered);
    Open();
    TButton &button = Window->Button(c.Button);
    const TNotifyEvent handler = button.OnClick;
    bool aliveOnReturn = false;
    button.OnClick = [&] {
      handler();
      aliveOnReturn = Window->Alive();
    };
    PostMessageW(Window->Handle(), c.Message, c.WParam, 0);
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(aliveOnReturn);
    Pump();
    EXPECT_FALSE(Window->Alive());
    // Closed as usual: the settings hold what the finished handler left.
    DWORD type = 0;
    EXPECT_EQ(ReadSetting("MicrochipPath", type), UpperCaseAscii(Samples));
    EXPECT_EQ(ReadSetting("Device", type), c.Saved);
    EXPECT_TRUE(Errors.empty());
    Window.reset();
  }
}

TEST_F(MainWindowTest, MalformedFileShowsTheErrorAndTheWindowCarriesOn) {
  TTempFolder temp;
  temp.WriteDeviceInfo("<PARTS_INDEX_TYPE><18F1>\n<PARTS_INDEX_TYPE>\n");
  WriteSetting("MicrochipPath", temp.Path());
  Open();
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], "List index out of bounds (1)");
  EXPECT_TRUE(IsWindow(Window->Handle()));
  EXPECT_EQ(Window->DropDown("DeviceSelectComboBox").Count(), 0);

  // The window still works: generating and loading again.
  Click(Window->Button("ButtonGenerate"));
  EXPECT_EQ(Window->OutputBox("Memo").Text(), "device = \r\n\r\nconfig\r\n");
  Click(Window->Button("ButtonLoadDeviceInfoFile"));
  EXPECT_EQ(Errors.size(), Window->Button("ButtonLoadDeviceInfoFile").Enabled() ? 2u : 1u);
}

TEST_F(MainWindowTest, DpiChangeScalesTheLayoutAndTheFonts) {
  Open();
  RECT suggested;
  GetWindowRect(Window->Handle(), &suggested);
  SendMessageW(Window->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(Window->Dpi(), 144u);
  RECT client;
  GetClientRect(Window->Handle(), &client);
  EXPECT_EQ(client.right, 1182);
  EXPECT_EQ(client.bottom, 891);
  const RECT load = ClientRectOf(Window->Button("ButtonLoadDeviceInfoFile"));
  EXPECT_EQ(load.left, 192);
  EXPECT_EQ(load.top, 84);
  EXPECT_EQ(load.right - load.left, 150);
  EXPECT_EQ(load.bottom - load.top, 38);
  const RECT panel = ClientRectOf(Window->Panel("PanelStatus"));
  EXPECT_EQ(panel.bottom, 891);
  EXPECT_EQ(panel.right, 1182);
  EXPECT_EQ(Window->Grid("SettingsGrid").ColumnWidth(0), 162);
  LOGFONTW font = {};
  GetObjectW(
      reinterpret_cast<HFONT>(SendMessageW(Window->Button("ButtonGenerate").Handle(), WM_GETFONT, 0, 0)),
      sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, -16);
  EXPECT_STREQ(font.lfFaceName, L"Tahoma");
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Window->OutputBox("Memo").Handle(), WM_GETFONT, 0, 0)),
             sizeof(font), &font);
  EXPECT_STREQ(font.lfFaceName, L"Lucida Console");
}
