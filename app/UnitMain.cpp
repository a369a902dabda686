// The main window's handlers: loading the device list, the settings table, the
// configuration text, the clipboard, the folder choice and the persisted settings.
#include "app/UnitMain.h"

#include "common/cErrors.h"
#include "common/cTextConv.h"
#include "core/cConfigCheck.h"
#include "core/cConfigHex.h"
#include "core/cConfigText.h"
#include "core/cDeviceList.h"
#include "core/cSyntax.h"
#include "common/cTextLines.h"
#include "app/cDeviceInfo.h"
#include "app/cModel.h"
#include "app/gDeviceInfo.h"
#include "deviceinfo/cInfoFile.h"

#include <algorithm>

namespace {
constexpr const char *kFolderDialogTitle =
    "Please select the folder that contains the Microchip MPASM/MPASMX files";
constexpr const char *kFolderDialogCaption = "Select Folder";
// A registry string larger than this is taken as unreadable rather than allocated.
constexpr uint32_t kMaxRegistryString = 16u * 1024u * 1024u;

// Enables two buttons again when it goes out of scope, however the scope is left.
class TEnableOnExit {
public:
  TEnableOnExit(IButton &first, IButton &second) : FFirst(first), FSecond(second) {}
  ~TEnableOnExit() {
    FFirst.SetEnabled(true);
    FSecond.SetEnabled(true);
  }
  TEnableOnExit(const TEnableOnExit &) = delete;
  TEnableOnExit &operator=(const TEnableOnExit &) = delete;

private:
  IButton &FFirst;
  IButton &FSecond;
};

// Closes an open registry key when it goes out of scope.
class TKeyCloser {
public:
  TKeyCloser(IRegistry &registry, IRegistry::THandle key) : FRegistry(registry), FKey(key) {}
  ~TKeyCloser() { FRegistry.CloseKey(FKey); }
  TKeyCloser(const TKeyCloser &) = delete;
  TKeyCloser &operator=(const TKeyCloser &) = delete;

private:
  IRegistry &FRegistry;
  IRegistry::THandle FKey;
};
} // namespace

TMainForm::TMainForm(const TMainFormControls &controls, const TMainFormServices &services)
    : FControls(controls), FServices(services) {
  FControls.DeviceSelectComboBox.OnChange = [this] { DeviceSelectComboBoxChange(); };
  FControls.SettingsGrid.OnApplyEditText = [this](int col, int row, WideString &value) {
    SettingsGridApplyEditText(col, row, value);
  };
  FControls.SettingsGrid.OnSelect = [this] { SettingsGridOnSelectCBColumn(); };
  FControls.SettingsGrid.OnPaste = [this] { SettingsGridPaste(); };
  std::vector<TMenuItem> &menu = FControls.SettingsGrid.ContextMenu;
  menu = {{kPasteMenuText, [this] { SettingsGridPaste(); }},
          {kCopyWordsMenuText, [this] { SettingsGridCopyWords(); }},
          {kSaveHexMenuText, [this] { SettingsGridSaveHex(); }}};
  for (const TSyntax &syntax : kSyntaxes)
    if (syntax.WindowCopies)
      menu.push_back(
          {kCopyAsMenuText + std::string(syntax.Name), [this, &syntax] { SettingsGridCopyText(syntax); }});
}

TMainForm::~TMainForm() {
  if (FDeviceInfo && DeviceInfo == FDeviceInfo.get())
    DeviceInfo = nullptr;
}

// --- Life cycle ------------------------------------------------------------

void TMainForm::FormCreate() {
  FModels = std::make_unique<TModels>();
  FDevice.clear();
  FDeviceInfo = std::make_unique<TDeviceInfo>();
  DeviceInfo = FDeviceInfo.get();
  FRows.clear();
  FWholeTable = false;
  FRows.reserve(kInitialRowStorage);
  // Without a folder dialog the window works all the same; Change Folder does nothing.
  try {
    FFolderDlg = FServices.CreateFolderDialog ? FServices.CreateFolderDialog() : nullptr;
  } catch (const std::exception &) {
    FFolderDlg.reset();
  }
  LoadSettings();
}

void TMainForm::FormShow() {
  FControls.ButtonLoadDeviceInfoFile.SetFocus();
}

void TMainForm::FormDestroy() {
  if (!FModels)
    return; // never created, or destroyed already
  SaveSettings();
  FModels.reset();
  FFolderDlg.reset();
  if (DeviceInfo == FDeviceInfo.get())
    DeviceInfo = nullptr;
  FDeviceInfo.reset();
  FRows.clear();
  FWholeTable = false;
}

// --- Load File ---------------------------------------------------------------

void TMainForm::ButtonLoadDeviceInfoFileClick() {
  IDropDownList &devices = FControls.DeviceSelectComboBox;
  IOutputBox &memo = FControls.Memo;

  FControls.ButtonLoadDeviceInfoFile.SetEnabled(false);
  FControls.StatusBar.SetText(kStatusWorking);
  try {
    FServices.Pump.ProcessMessages();

    if (devices.Count() > 0) {
      // Clearing the text re-reads the previously selected device on the previous
      // file (its change event): kept on purpose, as the window always did. Should
      // that walk fail, it failed the same way, and was shown, when the device was
      // chosen: it must not keep the new file from being loaded.
      try {
        devices.ClearText();
      } catch (const Exception &) {
      }
      devices.Clear();
    }
    memo.Clear();

    FModels->LoadDevices(FControls.chkIncludeLF.Checked());

    TStringList names;
    FModels->CopyDevicesTo(names);
    for (const std::string &name : names)
      memo.AddLine(name);
    FControls.StatusBar.SetText(StatusLine(FDeviceInfo->Version, memo.LineCount()));
    FormatDeviceList();
  } catch (const Exception &) {
    // A malformed file: the error box shows the reader's message; the window
    // says where loading stopped and can load again.
    FControls.ButtonLoadDeviceInfoFile.SetEnabled(true);
    const int line = FDeviceInfo->LastLine();
    FControls.StatusBar.SetText(line >= 0 ? "Loading failed at line " + std::to_string(line + 1) + " of " +
                                                kDeviceInfoFileName
                                          : std::string("Loading failed"));
    throw;
  } catch (...) {
    FControls.ButtonLoadDeviceInfoFile.SetEnabled(true);
    FControls.StatusBar.SetText("Loading failed");
    throw;
  }

  FControls.ButtonLoadDeviceInfoFile.SetEnabled(true);
  FControls.ButtonGenerate.SetFocus();

  FDeviceInfo->Devices.Sort(CompareText);
  devices.AddStrings(FDeviceInfo->Devices);

  // Selecting an entry changes the shown text, whose change event fills the grid.
  if (FDevice.empty())
    devices.SetItemIndex(0);
  else
    devices.SetItemIndex(devices.IndexOf(FDevice));
  if (devices.ItemIndex() == -1)
    devices.SetItemIndex(0);
}

// --- Folder, clipboard, check boxes -------------------------------------------

void TMainForm::ButtonChangeFolderClick() {
  if (!FFolderDlg)
    return; // none could be created
  FFolderDlg->SetTitle(kFolderDialogTitle);
  FFolderDlg->SetSelection(FModels->Path);
  FFolderDlg->SetCaption(kFolderDialogCaption);
  if (!FFolderDlg->Execute())
    return;
  // In capitals on purpose: the window has always shown and stored the folder so.
  FModels->SetPath(UpperCaseAscii(FFolderDlg->GetSelectedPath()));
  // On purpose the label may now name a folder other than the one loaded, until Load File.
  FControls.LabelIncludePath.SetText(FModels->Path);
}

void TMainForm::ButtonCopyClick() {
  FServices.Clipboard.SetText(FControls.Memo.Text());
}

void TMainForm::CheckBoxCommentsClick() {
  ButtonGenerateClick();
}

void TMainForm::CheckBoxOrvaneSyntaxClick() {
  ButtonGenerateClick();
}

void TMainForm::CheckBoxUseInfoDefaultsClick() {
  FDeviceInfo->SetUseInfoDefaults(FControls.CheckBoxUseInfoDefaults.Checked());
  // Re-read whichever entry is selected, the first included; with no entry, nothing.
  const IDropDownList &devices = FControls.DeviceSelectComboBox;
  const int index = devices.ItemIndex();
  if (index >= 0 && index < devices.Count())
    DeviceSelectComboBoxChange();
}

// --- Settings table -----------------------------------------------------------

void TMainForm::DeviceSelectComboBoxChange() {
  IDropDownList &devices = FControls.DeviceSelectComboBox;
  ISettingsGrid &grid = FControls.SettingsGrid;

  // The text changed without an entry being selected (it was cleared): no device
  // was chosen, so the table, the output and FDevice stay as they are. Nor is
  // anything read outside the form's life (before FormCreate, after FormDestroy).
  const int index = devices.ItemIndex();
  if (index < 0 || index >= devices.Count() || !FDeviceInfo)
    return;

  FRows.clear();
  FWholeTable = false;
  FRegisters.clear();
  FWordRegisters.clear();
  grid.ClearRows();
  FControls.Memo.Clear();
  FDevice = devices.Item(index);

  // A malformed record ends the fill: the rows read before it are shown at their
  // first settings, without the defaults.
  try {
    IDeviceSource *source = FDeviceInfo->Source();
    FWholeTable = source != nullptr &&
                  ReadDeviceTable(*source, FDeviceInfo->UseInfoDefaults(), FDevice, FRows, &FRegisters);
  } catch (...) {
    ShowRows();
    throw;
  }
  // A fault that only the words meet is shown when they are asked for.
  try {
    FWordRegisters = CheckedWordRegisters();
  } catch (const EDataError &) {
    FWordRegisters.clear();
  }
  ShowRows();
  grid.MakeRowVisible(0);
  ButtonSetDefaultsClick();
}

void TMainForm::ShowRows() {
  ISettingsGrid &grid = FControls.SettingsGrid;
  for (const TSwitchRow &row : FRows) {
    const int r = grid.AddRow();
    grid.SetCell(ISettingsGrid::kColConfig, r, AnsiToWide(row.Name));
    grid.SetCell(ISettingsGrid::kColFunction, r, AnsiToWide(row.Function));
    grid.ClearColumnItems();
    for (const TSwitchSetting &setting : row.Settings)
      grid.AddColumnItem(AnsiToWide(setting.Name));
    grid.SetCell(ISettingsGrid::kColSetting, r, AnsiToWide(row.Setting()));
    grid.SetCell(ISettingsGrid::kColDescription, r, AnsiToWide(row.Description()));
    MarkRow(r);
  }
}

void TMainForm::MarkRow(int row) {
  const TSwitchRow &target = FRows[static_cast<size_t>(row)];
  TRowMark mark;
  mark.Changed = !AtChipDefault(target);
  mark.Risk = RiskWarning(target, target.Chosen);
  mark.Place = BitsOfRow(FWordRegisters, target);
  FControls.SettingsGrid.SetRowMark(row, mark);
}

void TMainForm::ButtonSetDefaultsClick() {
  ISettingsGrid &grid = FControls.SettingsGrid;
  FControls.Memo.Clear();
  ApplyStartSettings(FRows);
  for (size_t i = 0; i < FRows.size(); ++i) {
    const TSwitchRow &row = FRows[i];
    const int r = static_cast<int>(i);
    grid.SetCell(ISettingsGrid::kColSetting, r, AnsiToWide(row.StartSetting));
    if (row.Setting() == row.StartSetting)
      grid.SetCell(ISettingsGrid::kColDescription, r, AnsiToWide(row.Description()));
    MarkRow(r);
  }
}

void TMainForm::SettingsGridApplyEditText(int /*col*/, int row, WideString & /*value*/) {
  // Only the Setting column is edited, so the in-place editor is its drop-down list.
  if (row < 0 || row >= static_cast<int>(FRows.size()))
    return;
  IComboEditor &editor = FControls.SettingsGrid.SettingEditor();
  editor.ClearItems();
  for (const TSwitchSetting &setting : FRows[static_cast<size_t>(row)].Settings)
    editor.AddItem(AnsiToWide(setting.Name));
  editor.Refresh();
}

void TMainForm::SettingsGridOnSelectCBColumn() {
  ISettingsGrid &grid = FControls.SettingsGrid;
  const int row = grid.SelectedRow();
  const int k = grid.SettingEditor().ItemIndex();
  if (row < 0 || row >= static_cast<int>(FRows.size()))
    return;
  // By position: two settings of one name keep their own descriptions.
  TSwitchRow &target = FRows[static_cast<size_t>(row)];
  if (k < 0 || k >= static_cast<int>(target.Settings.size()))
    return;
  target.Chosen = k;
  grid.SetCell(ISettingsGrid::kColDescription, row, AnsiToWide(target.Description()));
  MarkRow(row);
}

void TMainForm::SettingsGridPaste() {
  ApplyConfigText(FServices.Clipboard.GetText(), "Paste: ", kNothingToPaste);
}

void TMainForm::ApplyConfigText(const std::string &text, const std::string &prefix,
                                const std::string &nothing, const std::string &fileName) {
  // The report shows the first diagnostics and counts the rest, so a large wrong
  // text (a log, a HEX file) is read in one go and keeps the window answering.
  std::vector<std::string> report(1);
  std::string lastText;
  auto add = [&](const TDiagnostic &d) {
    report.push_back("line " + std::to_string(d.Line) + ": " + SeverityName(d.Severity) + ": " + d.Text);
    lastText = d.Text;
  };
  const TReadResult result =
      ReadConfiguration(text, *this, {}, TReadMode::Paste, add, kMaxPasteDiagnostics, fileName);
  IOutputBox &memo = FControls.Memo;
  if (!result.Read) {
    // A text it cannot read at all (UTF-16) is one error.
    memo.SetLines({prefix + lastText + "."});
    return;
  }
  const TReadSummary &summary = result.Summary;
  if (!summary.Found && summary.Problems == 0 && !result.Hex) {
    memo.SetLines({nothing});
    return;
  }
  ISettingsGrid &grid = FControls.SettingsGrid;
  for (size_t i = 0; i < FRows.size() && static_cast<int>(i) < grid.RowCount(); ++i) {
    const int r = static_cast<int>(i);
    grid.SetCell(ISettingsGrid::kColSetting, r, AnsiToWide(FRows[i].Setting()));
    grid.SetCell(ISettingsGrid::kColDescription, r, AnsiToWide(FRows[i].Description()));
    MarkRow(r);
  }
  report[0] = "Pasted configuration: " + std::to_string(summary.Applied) + " of " +
              std::to_string(summary.Entries) + " entries applied.";
  if (summary.Unreported > 0)
    report.push_back("... and " + std::to_string(summary.Unreported) + " more diagnostic(s) not shown.");
  memo.SetLines(report);
}

const TStringList &TMainForm::Listed() {
  return FDeviceInfo->Devices;
}

std::string TMainForm::ListedIn() {
  return FDeviceInfo->Where();
}

TReadTable TMainForm::Open(int index) {
  FControls.DeviceSelectComboBox.SetItemIndex(index);
  return Shown();
}

TReadTable TMainForm::Shown() {
  return {FDevice, &FRows, &FRegisters, FDeviceInfo->DataFileOf(FDevice), {}};
}

void TMainForm::FormDropFiles(const std::vector<std::string> &paths) {
  if (paths.empty())
    return;
  IOutputBox &memo = FControls.Memo;
  // Which of several files was meant is not for the window to guess.
  if (paths.size() > 1) {
    memo.SetLines(
        {"Drop: " + std::to_string(paths.size()) + " files were dropped; drop one file at a time."});
    return;
  }
  const std::string &path = paths.front();
  const TFileText file = FServices.FileSystem.ReadFileText(path, kMaxTextSize);
  std::string reason;
  switch (file.Status) {
  case TFileText::TStatus::Read:
    ApplyConfigText(file.Text, "Drop: " + path + ": ", "Drop: " + path + ": the file holds no configuration.",
                    path);
    return;
  case TFileText::TStatus::Missing:
    reason = "no such file";
    break;
  case TFileText::TStatus::Folder:
    reason = "it is a folder, not a file";
    break;
  case TFileText::TStatus::TooLarge:
    reason = "it is larger than " + std::to_string(kMaxTextSize >> 20) + " MiB, which no program's source is";
    break;
  case TFileText::TStatus::Failed:
    reason = file.Reason;
    break;
  }
  memo.SetLines({"Drop: cannot read " + path + ": " + reason + "."});
}

std::vector<TWordRegister> TMainForm::CheckedWordRegisters() const {
  return WordRegisters(FRegisters, FRows, FDeviceInfo->DataFileOf(FDevice));
}

void TMainForm::SettingsGridCopyWords() {
  std::string text;
  for (const TConfigWord &word : ConfigWords(CheckedWordRegisters(), FRows))
    text.append(WordLine(word)).append("\r\n");
  FServices.Clipboard.SetText(text);
}

void TMainForm::SettingsGridCopyText(const TSyntax &syntax) {
  TConfigTextOptions options;
  options.Syntax = &syntax;
  options.Comments = FControls.CheckBoxComments.Checked();
  options.WholeTable = FWholeTable;
  std::string text;
  for (const std::string &line : ConfigTextLines(FDevice, FRows, options, CheckedWordRegisters()))
    text.append(line).append("\r\n");
  FServices.Clipboard.SetText(text);
}

void TMainForm::SettingsGridSaveHex() {
  // The words first: a fault of the device data is shown before a name is asked for.
  const std::string text = ConfigHexText(ConfigWords(CheckedWordRegisters(), FRows), "\r\n");
  const std::string path =
      FServices.SaveFileDialog.AskSaveFileName(kSaveHexTitle, FDevice + ".hex", kHexFilter);
  if (path.empty())
    return;
  const std::string reason = FServices.FileSystem.WriteFileText(path, text);
  if (!reason.empty())
    FControls.Memo.SetLines({"Save as HEX: cannot write " + path + ": " + reason + "."});
}

// --- Configuration text ------------------------------------------------------

void TMainForm::ButtonGenerateClick() {
  IOutputBox &memo = FControls.Memo;

  memo.Clear();
  FControls.ButtonLoadDeviceInfoFile.SetEnabled(false);
  FControls.ButtonGenerate.SetEnabled(false);
  const TEnableOnExit enableOnExit(FControls.ButtonLoadDeviceInfoFile, FControls.ButtonGenerate);
  FServices.Pump.ProcessMessages();
  // A handler run by the pump (a click on Comments) may have written text: this
  // run's text replaces it rather than following it.
  memo.Clear();

  TConfigTextOptions options;
  options.Syntax = FControls.CheckBoxOrvaneSyntax.Checked() ? &kOrvaneSyntax : &kTarnwickSyntax;
  options.Comments = FControls.CheckBoxComments.Checked();
  options.WholeTable = FWholeTable;
  for (const std::string &line : ConfigTextLines(FDevice, FRows, options))
    memo.AddLine(line);
  memo.SetSelection(0, 0);
}

void TMainForm::FormatDeviceList() {
  IOutputBox &memo = FControls.Memo;
  TStringList items;
  memo.GetLines(items);
  memo.Clear();
  for (const std::string &line : WrapDeviceList(items))
    memo.AddLine(line);
}

// --- Persisted settings --------------------------------------------------------

bool TMainForm::ReadString(IRegistry::THandle key, const std::string &name, std::string &value) {
  IRegistry &registry = FServices.Registry;
  value.clear();
  try {
    // The value may change between the two queries; a few tries cover that.
    for (int attempt = 0; attempt < 3; ++attempt) {
      uint32_t type = 0;
      uint32_t size = 0;
      if (!registry.QueryValueInfo(key, name, type, size))
        return true; // missing: empty text
      if (type != IRegistry::kRegSz && type != IRegistry::kRegExpandSz)
        return false;
      if (size == 0)
        return true;
      if (size > kMaxRegistryString)
        return false;
      // The stored data need not end in a zero: read all of it, then cut at the
      // first zero, if any.
      std::string data(size, '\0');
      uint32_t got = size;
      if (!registry.QueryValueData(key, name, data.data(), got))
        continue;
      data.resize(std::min(got, size));
      const size_t zero = data.find('\0');
      if (zero != std::string::npos)
        data.resize(zero);
      value = std::move(data);
      return true;
    }
  } catch (const std::exception &) {
  }
  value.clear();
  return false;
}

void TMainForm::LoadSettings() {
  IRegistry &registry = FServices.Registry;
  IRegistry::THandle key{};
  if (!registry.OpenKey(kSettingsKey, key))
    return;
  const TKeyCloser closer(registry, key);

  std::string value;
  if (ReadString(key, kValueMicrochipPath, value)) {
    FModels->SetPath(UpperCaseAscii(value));
    // On purpose a remembered folder that is gone leaves the label at its first text.
    if (!FModels->Path.empty() && FServices.FileSystem.FolderExists(FModels->Path))
      FControls.LabelIncludePath.SetText(FModels->Path);
  } else {
    FControls.LabelIncludePath.SetText(kFolderNotSpecified);
  }

  if (ReadString(key, kValueDevice, value))
    FDevice = UpperCaseAscii(value);
  else
    FDevice.clear();
}

void TMainForm::SaveSettings() {
  IRegistry &registry = FServices.Registry;
  IRegistry::THandle key{};
  if (!registry.CreateKey(kSettingsKey, key))
    return;
  const TKeyCloser closer(registry, key);
  try {
    if (registry.SetString(key, kValueMicrochipPath, FModels->Path))
      registry.SetString(key, kValueDevice, FDevice);
  } catch (const std::exception &) {
    // Nothing is reported: the next run starts from what was stored before.
  }
}
