// Tokenizer and reader of the vendor's device information file.
#include "deviceinfo/cInfoFile.h"

#include "common/cErrors.h"
#include "common/cNumbers.h"

#include <utility>

namespace {
constexpr std::string_view kPartsIndexType = "PARTS_INDEX_TYPE";
constexpr std::string_view kVersionType = "RES_FILE_VERSION_INFO_TYPE";
constexpr std::string_view kPartInfoType = "PART_INFO_TYPE";
constexpr std::string_view kConfigRegType = "CONFIGREG_INFO_TYPE";
constexpr std::string_view kSwitchType = "SWITCH_INFO_TYPE";
constexpr std::string_view kSettingType = "SETTING_VALUE_TYPE";
constexpr std::string_view kReserved = "RESERVED";
constexpr std::string_view kNoVersion = "<none>";

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// Blanks and control characters (codes 32 and below) are cut from both ends.
std::string_view Trim(std::string_view line) {
  size_t first = 0;
  size_t last = line.size();
  while (first < last && static_cast<unsigned char>(line[first]) <= 32)
    ++first;
  while (last > first && static_cast<unsigned char>(line[last - 1]) <= 32)
    --last;
  return line.substr(first, last - first);
}

// Walks a trimmed line field by field. A field opens at '<' and closes at a '>'
// that is the line's last character or is followed directly by '<'; any other
// character inside a field, '<' and '>' included, is part of its text.
class TFieldWalker {
public:
  explicit TFieldWalker(std::string_view line) : FText(Trim(line)) {}

  // Next field's text, or false when the line has no further field.
  bool Next(std::string_view &field) {
    const size_t open = FText.find('<', FPos);
    if (open == std::string_view::npos)
      return false;
    size_t search = open + 1;
    for (;;) {
      const size_t close = FText.find('>', search);
      if (close == std::string_view::npos) {
        // Unclosed last field: kept only when it gathered some text.
        FPos = FText.size();
        field = FText.substr(open + 1);
        return !field.empty();
      }
      if (close + 1 == FText.size() || FText[close + 1] == '<') {
        field = FText.substr(open + 1, close - open - 1);
        FPos = close + 1;
        return true;
      }
      search = close + 1;
    }
  }

private:
  std::string_view FText;
  size_t FPos = 0;
};

} // namespace

// The first fields of a line, as views into it; the reader's own walks read no
// field past the fourth, so nothing is copied until a field is kept.
class TFieldViews {
public:
  static constexpr int kKept = 4;

  void Split(std::string_view line) {
    FCount = 0;
    TFieldWalker walker(line);
    std::string_view field;
    while (walker.Next(field)) {
      if (FCount < kKept)
        FFields[FCount] = field;
      ++FCount;
    }
  }
  int Count() const { return FCount; }
  // Field Index (below kKept); a missing one raises EListError, as a list would.
  std::string_view Get(int index) const {
    if (index < 0 || index >= FCount)
      throw EListError(index);
    return FFields[index];
  }

private:
  std::string_view FFields[kKept];
  int FCount = 0;
};

int SplitFields(std::string_view line, TStringList &fields) {
  fields.Clear();
  TFieldWalker walker(line);
  std::string_view field;
  while (walker.Next(field))
    fields.Add(field);
  return fields.Count();
}

std::string DeviceInfoFileName(const std::string &folder) {
  return folder + kPathSeparator + kDeviceInfoFileName;
}

EFileChanged::EFileChanged()
    : Exception(std::string(kDeviceInfoFileName) + " changed while it was being read") {}

TInfoFile::TInfoFile() : Version(kNoVersion) {}

TInfoFile::~TInfoFile() = default;

template <typename TStep> auto TInfoFile::OverLines(TStep step) {
  const int cursor = Cursor;
  auto fail = [&] {
    Cursor = cursor;
    EFileChanged changed;
    // No line of a file that is not what was read: the file alone.
    changed.SetPlace(FFileName, FLastLine + 1);
    throw changed;
  };
  try {
    auto result = step();
    if (FLines.Changed())
      fail();
    return result;
  } catch (const EFileChanged &) {
    throw;
  } catch (Exception &error) {
    if (FLines.Changed())
      fail();
    Place(error);
    throw;
  } catch (...) {
    if (FLines.Changed())
      fail();
    throw;
  }
}

void TInfoFile::Place(Exception &error) const {
  if (FLastLine >= 0)
    error.SetPlace(FFileName + ", line " + std::to_string(FLastLine + 1), FLastLine + 1);
}

void TInfoFile::Split(int index, TStringList &fields) {
  FLastLine = index;
  SplitFields(FLines.Line(index), fields);
}

void TInfoFile::Split(int index, TFieldViews &fields) {
  FLastLine = index;
  fields.Split(FLines.Line(index));
}

void TInfoFile::TakeRegister(int index, const TFieldViews &fields) {
  FRegisterValue = HexToUInt32(fields.Get(3));
  // A record that ended a run of settings is met again by the next walk.
  if (FRegisters.empty() || FRegisters.back().Line != index)
    FRegisters.push_back({std::string(fields.Get(1)), FRegisterValue, index});
}

std::string TInfoFile::Load(const std::string &fileName, bool includeLF) {
  Cursor = 0;
  Version = kNoVersion;
  Devices.Clear();
  FAllDevices.Clear();
  FLines.Clear();
  FLastLine = -1;
  FFileName = fileName;
  if (const std::string reason = FLines.LoadFromFile(FFileName); !reason.empty())
    return "cannot read " + FFileName + ": " + reason;
  OverLines([&] {
    WalkIndex(includeLF);
    return true;
  });
  return {};
}

bool TInfoFile::ReadTable(const std::string &device, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                          std::vector<TConfigRegister> *registers) {
  // The walk starts each switch's row from the defaults asked for, and the reader's
  // own choice is back when it ends, however it ends.
  struct TDefaultsFor {
    bool &Flag;
    bool Kept;
    ~TDefaultsFor() { Flag = Kept; }
  } defaultsFor{FUseInfoDefaults, std::exchange(FUseInfoDefaults, useInfoDefaults)};

  TStringList fields;
  if (!FindPart(device, fields))
    return false;
  if (FPartFamily == nullptr) {
    FLastLine = Cursor;
    Exception error("the family of part " + QuotedForMessage(fields.Get(2)) +
                    " cannot be told: its record's " + "family field " +
                    QuotedForMessage(fields.Count() > 3 ? fields.Get(3) : std::string()) +
                    " is none of 18xxxx, 16Exxx, 16xxxx, 16c5x, 16c5xe");
    Place(error);
    throw error;
  }
  // The walk starts at the record after the device's own.
  ++Cursor;
  for (;;) {
    TSwitchRow row;
    if (NextRow(row))
      rows.push_back(std::move(row));
    else if (!FSwitchFound)
      break; // no further switch in this device
    // else a switch without selectable settings gets no row
  }
  if (registers != nullptr)
    for (const TRegisterRecord &record : FRegisters) {
      TConfigRegister &reg = registers->emplace_back();
      reg.Address = record.Address;
      reg.Unset = record.Value;
      reg.Line = record.Line + 1;
      reg.Family = FPartFamily;
    }
  return true;
}

// The index section: every line before the first PART_INFO_TYPE record.
void TInfoFile::WalkIndex(bool includeLF) {
  TFieldViews fields;
  int index = 0;
  for (; FLines.HasLine(index); ++index) {
    Split(index, fields);
    const std::string_view kind = fields.Get(0);
    if (kind == kPartsIndexType) {
      const std::string_view name = fields.Get(1);
      if (IsListedPic18(name, includeLF))
        Devices.Add(name);
      if (IsEightBitPart(name))
        FAllDevices.Add(name);
    } else if (kind == kPartInfoType) {
      break;
    } else if (kind == kVersionType) {
      Version = "V" + std::string(fields.Get(1));
    }
  }
  Cursor = index;
  FPartStart = index;
}

bool TInfoFile::FindPart(const std::string &device, TStringList &fields) {
  return OverLines([&] { return FindPartOfLines(device, fields); });
}

bool TInfoFile::FindPartOfLines(const std::string &device, TStringList &fields) {
  FPartFound = false;
  const std::string wanted = "PIC" + device;
  int index = FPartStart;
  // Only a line whose first field is PART_INFO_TYPE, or that has no field at
  // all (an error), needs a closer look. Most lines are passed over by their bytes:
  // a line that begins with '<' and a character above blank other than 'P' has a
  // first field, and it is not PART_INFO_TYPE.
  for (; !FPartFound && FLines.HasLine(index = FLines.SkipRecords(index, 'P')); ++index) {
    FLastLine = index;
    TFieldWalker walker(FLines.Line(index));
    std::string_view field;
    if (walker.Next(field) && field != kPartInfoType)
      continue;
    // Another device's record: its fields are not copied.
    if (walker.Next(field) && walker.Next(field) && field != wanted)
      continue;
    Split(index, fields);
    if (fields.Get(0) == kPartInfoType && fields.Get(2) == wanted) {
      FPartFound = true;
      // The family field names it; a record without one known is PIC18 where its
      // name is one, as such records have always been read.
      FPartFamily = fields.Count() > 3 ? FamilyOfCode(fields.Get(3)) : nullptr;
      if (FPartFamily == nullptr)
        FPartFamily = FamilyOfUnnamedPart(wanted);
      Cursor = index;
      // The device's switches are worked out against its own register values
      // only, never against those of the device read before it.
      FRegisterValue = 0;
      FRegisters.clear();
    }
  }
  // The work list holds the fields of the last line looked at.
  if (!FPartFound && index > FPartStart)
    Split(index - 1, fields);
  return FPartFound;
}

bool TInfoFile::NextSwitch(std::string &switchName, std::string &switchFunction, TStringList &settingNames,
                           TStringList &settingDescriptions, std::string &defaultSetting) {
  auto handOver = [&] {
    switchName = FRow.Name;
    switchFunction = FRow.Function;
    defaultSetting = FRow.StartSetting;
    settingNames.Clear();
    settingDescriptions.Clear();
    for (const TSwitchSetting &setting : FRow.Settings) {
      settingNames.Add(setting.Name);
      settingDescriptions.Add(setting.Description);
    }
  };
  bool gathered = false;
  try {
    gathered = NextRow(FRow);
  } catch (...) {
    handOver(); // what the walk gathered before the malformed record
    throw;
  }
  handOver();
  return gathered;
}

bool TInfoFile::NextRow(TSwitchRow &row) {
  return OverLines([&] { return NextRowOfLines(row); });
}

bool TInfoFile::NextRowOfLines(TSwitchRow &row) {
  row = TSwitchRow();
  TFieldViews fields;
  int index = Cursor;

  // Find the switch, noting register values on the way; stop at the next device.
  bool found = false;
  for (; !found && FLines.HasLine(index); ++index) {
    Split(index, fields);
    const std::string_view kind = fields.Get(0);
    if (kind == kConfigRegType) {
      TakeRegister(index, fields);
    } else if (kind == kSwitchType) {
      row.Name = fields.Get(1);
      row.Function = fields.Get(2);
      row.Mask = HexToUInt32(fields.Get(3));
      row.Register = static_cast<int>(FRegisters.size()) - 1;
      row.Line = index + 1;
      found = true;
    } else if (kind == kPartInfoType) {
      break;
    }
  }

  // Gather its unbroken run of settings.
  if (found) {
    for (; FLines.HasLine(index); ++index) {
      Split(index, fields);
      const std::string_view kind = fields.Get(0);
      if (kind != kSettingType) {
        if (kind == kConfigRegType)
          TakeRegister(index, fields);
        break;
      }
      const std::string_view name = fields.Get(1);
      if (name == kReserved)
        continue;
      TSwitchSetting &setting = row.Settings.emplace_back();
      setting.Name = name;
      const std::string_view description = fields.Get(2);
      setting.Description = description.empty() ? std::string_view("unspecified") : description;
      if (fields.Count() <= 3 || !TryHexToUInt32(fields.Get(3), setting.Value))
        setting.Value = 0;
      setting.Compared = row.Mask;
      setting.Line = index + 1;
    }
  }

  // Against its own register's value when not set (a record that ended the run is
  // the next switch's); a switch before any register is worked out against 0.
  SetDefaults(row, row.Register >= 0 ? FRegisters[static_cast<size_t>(row.Register)].Value : 0,
              FUseInfoDefaults);
  Cursor = index;
  FSwitchFound = found;
  return !row.Settings.empty();
}
