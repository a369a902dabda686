// The line tokenizer, the hexadecimal rules and the reader's walk of the file.
#include "deviceinfo/cInfoFile.h"

#include "common/cErrors.h"
#include "tests/support/TestFiles.h"
#include "tests/support/ReaderProbe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

Strings Items(const TStringList &list) {
  return {list.begin(), list.end()};
}

// One switch as NextSwitch hands it over.
struct TSwitch {
  std::string Name, Function, Default;
  Strings Names, Descriptions;
};

// Walks a device as the settings table does, collecting every switch up to the
// first false.
std::vector<TSwitch> WalkDevice(TInfoFile &reader, const std::string &device) {
  TStringList fields;
  std::vector<TSwitch> result;
  if (!reader.FindPart(device, fields))
    return result;
  ++reader.Cursor;
  TStringList names, descriptions;
  TSwitch s;
  while (reader.NextSwitch(s.Name, s.Function, names, descriptions, s.Default)) {
    s.Names = Items(names);
    s.Descriptions = Items(descriptions);
    result.push_back(s);
  }
  return result;
}

// Expects Action to raise an error of type E with exactly Message.
template <typename E, typename F> void ExpectError(F action, const std::string &message) {
  try {
    action();
    ADD_FAILURE() << "no error, expected: " << message;
  } catch (const E &e) {
    EXPECT_EQ(e.Message(), message);
  }
}

const char *const kTwoDevices = "<RES_FILE_VERSION_INFO_TYPE><1.42>\n"
                                "<PARTS_INDEX_TYPE><18F1220>\n"
                                "<PARTS_INDEX_TYPE><18F2550>\n"
                                "<PART_INFO_TYPE><x><PIC18F1220>\n"
                                "<CONFIGREG_INFO_TYPE><300001><CONFIG1H><0C>\n"
                                "<SWITCH_INFO_TYPE><OSC><Oscillator><0F>\n"
                                "<SETTING_VALUE_TYPE><LP><LP oscillator><0>\n"
                                "<SETTING_VALUE_TYPE><HS><HS oscillator><C>\n"
                                "<SETTING_VALUE_TYPE><RC><RC oscillator><3>\n"
                                "<PART_INFO_TYPE><x><PIC18F2550>\n"
                                "<SWITCH_INFO_TYPE><WDT><Watchdog><01>\n"
                                "<SETTING_VALUE_TYPE><OFF><Disabled><0>\n"
                                "<SETTING_VALUE_TYPE><ON><Enabled><1>\n";
} // namespace

// --- Tokenizer -------------------------------------------------------------

TEST(SplitFields, CutsLinesByTheClosingRules) {
  const struct {
    const char *Line;
    Strings Expected;
  } cases[] = {
      {"", {}},
      {" \t\r\x01 ", {}},
      {"no brackets at all", {}},
      {"<A><B><C>", {"A", "B", "C"}},
      {"  \t<A><B>\x1f ", {"A", "B"}},
      {"<a b><  c  >", {"a b", "  c  "}},
      {"<><B>", {"", "B"}},
      {"<A><><C>", {"A", "", "C"}},
      {"<A><B><>", {"A", "B", ""}},
      {"<>", {""}},
      {"<A><unclosed", {"A", "unclosed"}},
      {"<A><", {"A"}},
      {"<", {}},
      {"<A> <B>", {"A> <B"}},
      {"<A>x", {"A>x"}},
      {"<A>><B>", {"A>", "B"}},
      {"<Fosc > 16 MHz><B>", {"Fosc > 16 MHz", "B"}},
      {"<PORTB<5:0> pins><1>", {"PORTB<5:0> pins", "1"}},
      {"junk > <A><B>", {"A", "B"}},
      {"<a<b><c>", {"a<b", "c"}},
      {"<A><B>>", {"A", "B>"}},
  };
  TStringList fields;
  fields.Add("stale entry that must go");
  for (const auto &c : cases) {
    EXPECT_EQ(SplitFields(c.Line, fields), static_cast<int>(c.Expected.size())) << c.Line;
    EXPECT_EQ(Items(fields), c.Expected) << c.Line;
  }
}

TEST(SplitFields, KeepsBytesAboveAsciiAndInnerControlCharacters) {
  TStringList fields;
  const char line[] = "<a\tb\0c><\xe9\xff>\xa0";
  SplitFields(std::string(line, sizeof line - 1), fields);
  ASSERT_EQ(fields.Count(), 2);
  EXPECT_EQ(fields[0], std::string("a\tb\0c", 5));
  // The trailing 0xA0 is above 32: it is not trimmed, so the last '>' stays open.
  EXPECT_EQ(fields[1], "\xe9\xff>\xa0");
}

// --- Lines ------------------------------------------------------------------

TEST(DeviceInfoLines, EndAtCrLfLoneCrOrLoneLf) {
  // The index walk stops at the first line, so the lines after it may be blank.
  const struct {
    const char *Tail;
    int Lines;
  } cases[] = {
      {"", 1},     {"\r\n", 1},     {"\r", 1},  {"\n", 1},          {"\n\n", 2},      {"\r\r\n", 2},
      {"\n\r", 2}, {"\r\n\r\n", 2}, {"\nb", 2}, {"\rb\nc\r\nd", 4}, {"\r\n \r\n", 2}, {"\n\n\n\n", 4},
  };
  for (const auto &c : cases) {
    TInfoFile reader;
    TInfoFileProbe::LoadIndexFromText(reader, std::string("<PART_INFO_TYPE><x><PIC18F1>") + c.Tail, false);
    EXPECT_EQ(TInfoFileProbe::LineCount(reader), c.Lines) << testing::PrintToString(std::string(c.Tail));
    EXPECT_EQ(TInfoFileProbe::PartStart(reader), 0);
  }
  TInfoFile empty;
  TInfoFileProbe::LoadIndexFromText(empty, "", false);
  EXPECT_EQ(TInfoFileProbe::LineCount(empty), 0);
  EXPECT_EQ(TInfoFileProbe::PartStart(empty), 0);
}

TEST(DeviceInfoLines, LineEndsSeparateRecordsWhateverTheirKind) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader,
                                    "<PARTS_INDEX_TYPE><18F1>\r<PARTS_INDEX_TYPE><18F2>\n"
                                    "<PARTS_INDEX_TYPE><18F3>\r\n<PART_INFO_TYPE><x><PIC18F3>\r"
                                    "<SWITCH_INFO_TYPE><A><a><1>\r<SETTING_VALUE_TYPE><ON><on><1>",
                                    false);
  EXPECT_EQ(Items(reader.Devices), (Strings{"18F1", "18F2", "18F3"}));
  EXPECT_EQ(TInfoFileProbe::PartStart(reader), 3);
  EXPECT_EQ(WalkDevice(reader, "18F3").size(), 1u);
}

// --- Index ------------------------------------------------------------------

TEST(InfoFileLoad, ListsDevicesAndVersionOfTheIndexSectionOnly) {
  const char *text = "<FAMILY_INFO_TYPE><PIC18>\r\n"
                     "<PARTS_INDEX_TYPE><18F1220><0>\r\n"
                     "<RES_FILE_VERSION_INFO_TYPE><1.0>\r\n"
                     "<PARTS_INDEX_TYPE><18LF25K22>\r\n"
                     "<PARTS_INDEX_TYPE><16F628A>\r\n"
                     "<PARTS_INDEX_TYPE><18f4520>\r\n"
                     "<PARTS_INDEX_TYPE><18lf4520>\r\n"
                     "<PARTS_INDEX_TYPE><18F1220>\r\n"
                     "<RES_FILE_VERSION_INFO_TYPE><1.42>\r\n"
                     "<PART_INFO_TYPE><x><PIC18F1220>\r\n"
                     "<PARTS_INDEX_TYPE><18F9999>\r\n"
                     "<RES_FILE_VERSION_INFO_TYPE><9.9>\r\n";
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader, text, false);
  EXPECT_EQ(Items(reader.Devices), (Strings{"18F1220", "18F1220"}));
  EXPECT_EQ(reader.Version, "V1.42");
  EXPECT_EQ(reader.Cursor, 9);
  EXPECT_EQ(TInfoFileProbe::PartStart(reader), 9);
  EXPECT_EQ(TInfoFileProbe::LineCount(reader), 12);

  TInfoFileProbe::LoadIndexFromText(reader, text, true);
  EXPECT_EQ(Items(reader.Devices), (Strings{"18F1220", "18LF25K22", "18F1220"}));
}

TEST(InfoFileLoad, WithoutVersionOrPartRecords) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader, "<PARTS_INDEX_TYPE><18F1220>\n<PARTS_INDEX_TYPE><18F2550>\n",
                                    false);
  EXPECT_EQ(reader.Version, "<none>");
  EXPECT_EQ(reader.Cursor, 2);
  EXPECT_EQ(TInfoFileProbe::PartStart(reader), 2);
  TStringList fields;
  EXPECT_FALSE(reader.FindPart("18F1220", fields));
  EXPECT_EQ(reader.Cursor, 2);
}

TEST(InfoFileLoad, ReplacesAnEarlierLoadButKeepsRegisterAndFlags) {
  TInfoFile reader;
  reader.SetUseInfoDefaults(true);
  TInfoFileProbe::LoadIndexFromText(reader, kTwoDevices, false);
  WalkDevice(reader, "18F1220");
  ASSERT_EQ(TInfoFileProbe::RegisterValue(reader), 0x0Cu);
  ASSERT_TRUE(TInfoFileProbe::PartFound(reader));
  TInfoFileProbe::LoadIndexFromText(reader, "<RES_FILE_VERSION_INFO_TYPE><2>\n<PARTS_INDEX_TYPE><18F4520>\n",
                                    false);
  EXPECT_EQ(Items(reader.Devices), (Strings{"18F4520"}));
  EXPECT_EQ(reader.Version, "V2");
  EXPECT_EQ(TInfoFileProbe::RegisterValue(reader), 0x0Cu);
  EXPECT_TRUE(TInfoFileProbe::PartFound(reader));
  EXPECT_TRUE(reader.UseInfoDefaults());
}

TEST(InfoFileLoad, ReadsTheGivenFile) {
  TTempFolder folder;
  const std::string path = folder.WriteDeviceInfo(kTwoDevices);
  TInfoFile reader;
  EXPECT_EQ(reader.Load(path, false), "");
  EXPECT_EQ(Items(reader.Devices), (Strings{"18F1220", "18F2550"}));
  EXPECT_EQ(reader.Version, "V1.42");
  EXPECT_EQ(reader.StatusName(), "V1.42");
  EXPECT_EQ(reader.Where(), path);
  EXPECT_EQ(reader.FileOf("18F2550"), path);
  EXPECT_EQ(TInfoFileProbe::LineCount(reader), 13);
}

TEST(InfoFileLoad, UnreadableFileGivesAnEmptyListAndKeepsPartStart) {
  TTempFolder good, dirNamedLikeTheFile;
  good.WriteDeviceInfo(kTwoDevices);
  std::filesystem::create_directory(std::filesystem::path(dirNamedLikeTheFile.Path()) / "8bit_device.info");
  TInfoFile reader;
  ASSERT_EQ(reader.Load(DeviceInfoFileName(good.Path()), false), "");
  ASSERT_EQ(TInfoFileProbe::PartStart(reader), 3);
  for (const std::string &folder : {good.Path() + "-missing", dirNamedLikeTheFile.Path()}) {
    const std::string file = DeviceInfoFileName(folder);
    EXPECT_EQ(reader.Load(file, false).rfind("cannot read " + file + ": ", 0), 0u) << folder;
    EXPECT_EQ(reader.Devices.Count(), 0);
    EXPECT_EQ(reader.Version, "<none>");
    EXPECT_EQ(reader.Cursor, 0);
    EXPECT_EQ(TInfoFileProbe::LineCount(reader), 0);
    EXPECT_EQ(TInfoFileProbe::PartStart(reader), 3);
    TStringList fields;
    std::string name, function, def;
    TStringList names, descriptions;
    EXPECT_FALSE(reader.FindPart("18F1220", fields));
    EXPECT_FALSE(reader.NextSwitch(name, function, names, descriptions, def));
  }
}

TEST(InfoFileLoad, MalformedIndexRecordRaisesAndLeavesWhatWasRead) {
  const struct {
    const char *Text;
    const char *Message;
    Strings Devices;
    const char *Version;
  } cases[] = {
      {"<RES_FILE_VERSION_INFO_TYPE><3>\n<PARTS_INDEX_TYPE><18F1>\n\n<PARTS_INDEX_TYPE><18F2>\n",
       "List index out of bounds (0)",
       {"18F1"},
       "V3"},
      {"<PARTS_INDEX_TYPE><18F1>\n<PARTS_INDEX_TYPE>\n", "List index out of bounds (1)", {"18F1"}, "<none>"},
      {"<PARTS_INDEX_TYPE><18F1>\n<RES_FILE_VERSION_INFO_TYPE>\n",
       "List index out of bounds (1)",
       {"18F1"},
       "<none>"},
  };
  for (const auto &c : cases) {
    TInfoFile reader;
    TInfoFileProbe::LoadIndexFromText(reader, kTwoDevices, false);
    ASSERT_EQ(TInfoFileProbe::PartStart(reader), 3);
    ExpectError<EListError>([&] { TInfoFileProbe::LoadIndexFromText(reader, c.Text, false); }, c.Message);
    EXPECT_EQ(Items(reader.Devices), c.Devices) << c.Text;
    EXPECT_EQ(reader.Version, c.Version);
    EXPECT_EQ(reader.Cursor, 0);
    EXPECT_EQ(TInfoFileProbe::PartStart(reader), 3);
    EXPECT_GT(TInfoFileProbe::LineCount(reader), 0);
  }
}

TEST(InfoFileLoad, ErrorInTheFileReportsTheLineWhereItStopped) {
  TInfoFile reader;
  EXPECT_THROW(TInfoFileProbe::LoadIndexFromText(reader, "<PARTS_INDEX_TYPE><18F1>\n<X>\n   \n<X>\n", false),
               EListError);
  EXPECT_EQ(reader.LastLine(), 2);
}

// The place leaves with the error, so it outlives the file that raised it.
TEST(InfoFileLoad, EachStepsErrorCarriesTheFileAndTheLineWhereItStopped) {
  const struct {
    const char *What;
    const char *Text;
    std::function<void(TInfoFile &)> Step; // after the load
    int Line;
  } cases[] = {
      {"the index", "<PARTS_INDEX_TYPE><18F1>\n<X>\n   \n", nullptr, 3},
      {"FindPart", "<PARTS_INDEX_TYPE><18F2>\n<PART_INFO_TYPE><x><PIC18F1>\n\n<PART_INFO_TYPE><x><PIC18F2>\n",
       [](TInfoFile &file) {
         TStringList fields;
         file.FindPart("18F2", fields);
       },
       3},
      {"NextSwitch", "<PARTS_INDEX_TYPE><18F1>\n<PART_INFO_TYPE><x><PIC18F1>\n<SWITCH_INFO_TYPE><A><a><1Z>\n",
       [](TInfoFile &file) { WalkDevice(file, "18F1"); }, 3},
      {"ReadTable", "<PARTS_INDEX_TYPE><16F1>\n<PART_INFO_TYPE><x><PIC16F1><17Cxxx>\n",
       [](TInfoFile &file) {
         std::vector<TSwitchRow> rows;
         file.ReadTable("16F1", false, rows, nullptr);
       },
       2},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    TTempFolder folder;
    const std::string path = folder.WriteDeviceInfo(c.Text);
    TInfoFile file;
    try {
      ASSERT_EQ(file.Load(path, false), "");
      if (c.Step)
        c.Step(file);
      ADD_FAILURE() << "no error";
    } catch (const Exception &e) {
      EXPECT_EQ(e.Place(), path + ", line " + std::to_string(c.Line));
      EXPECT_EQ(e.Line(), c.Line);
      EXPECT_EQ(e.WithPlace(), e.Message() + " (" + path + ", line " + std::to_string(c.Line) + ")");
    }
  }
}

// --- FindPart ---------------------------------------------------------------

TEST(FindPart, MatchesFieldTwoExactlyAndLeavesTheCursorOnIt) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader, kTwoDevices, false);
  TStringList fields;
  EXPECT_TRUE(reader.FindPart("18F2550", fields));
  EXPECT_EQ(reader.Cursor, 9);
  EXPECT_EQ(Items(fields), (Strings{"PART_INFO_TYPE", "x", "PIC18F2550"}));
  EXPECT_TRUE(reader.FindPart("18F1220", fields));
  EXPECT_EQ(reader.Cursor, 3);

  for (const char *absent : {"18f2550", "18F255", "18F25500", "PIC18F2550", ""}) {
    EXPECT_FALSE(reader.FindPart(absent, fields)) << absent;
    EXPECT_FALSE(TInfoFileProbe::PartFound(reader));
    EXPECT_EQ(reader.Cursor, 3) << absent;
  }
}

TEST(FindPart, IndexedDeviceWithoutPartSectionIsNotFound) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader, std::string("<PARTS_INDEX_TYPE><18F8722>\n") + kTwoDevices,
                                    false);
  ASSERT_EQ(reader.Devices.IndexOf("18F8722"), 0);
  TStringList fields;
  const int before = reader.Cursor;
  EXPECT_FALSE(reader.FindPart("18F8722", fields));
  EXPECT_EQ(reader.Cursor, before);
}

TEST(FindPart, MalformedRecordOnTheWayRaisesAndKeepsTheCursor) {
  const struct {
    const char *Section;
    const char *Message;
  } cases[] = {
      {"<PART_INFO_TYPE><x><PIC18F1>\n\n<PART_INFO_TYPE><x><PIC18F2>\n", "List index out of bounds (0)"},
      {"<PART_INFO_TYPE><x><PIC18F1>\n<PART_INFO_TYPE><x>\n<PART_INFO_TYPE><x><PIC18F2>\n",
       "List index out of bounds (2)"},
  };
  for (const auto &c : cases) {
    TInfoFile reader;
    TInfoFileProbe::LoadIndexFromText(reader, std::string("<PARTS_INDEX_TYPE><18F2>\n") + c.Section, false);
    TStringList fields;
    ASSERT_TRUE(reader.FindPart("18F1", fields));
    reader.Cursor = 2;
    ExpectError<EListError>([&] { reader.FindPart("18F2", fields); }, c.Message);
    EXPECT_EQ(reader.Cursor, 2);
    EXPECT_EQ(reader.LastLine(), 2);
  }
}

// The lines before the device's record are passed over by their bytes, yet counted:
// the record found, or an error after them, reports its own line whatever ends the
// lines before it and wherever 64-byte blocks fall.
TEST(FindPart, LinesPassedOverAreCountedWhateverEndsThem) {
  const struct {
    const char *What;
    std::string Line; // the line after the others
    std::string Error;
  } cases[] = {
      {"the device's record", "<PART_INFO_TYPE><x><PIC18F2>", ""},
      {"the device's record after blanks", " \t<PART_INFO_TYPE><x><PIC18F2>", ""},
      {"blank line", "", "List index out of bounds (0)"},
      {"blanks only", "  ", "List index out of bounds (0)"},
      {"a lone '<'", "<", "List index out of bounds (0)"},
      {"part record without its name", "<PART_INFO_TYPE><x>", "List index out of bounds (2)"},
  };
  const std::vector<std::vector<std::string>> endings = {
      {"\r\n"}, {"\n"}, {"\r"}, {"\r\n", "\r", "\n", "\n"}};
  for (const auto &c : cases) {
    for (const std::vector<std::string> &ends : endings) {
      for (const int others : {0, 1, 9, 64, 500}) {
        SCOPED_TRACE(std::string(c.What) + ", " + testing::PrintToString(ends) + ", " +
                     std::to_string(others));
        std::string text =
            "<PARTS_INDEX_TYPE><18F1>\r\n<PARTS_INDEX_TYPE><18F2>\r\n<PART_INFO_TYPE><x><PIC18F1>\r\n";
        for (int i = 0; i < others; ++i)
          text += (i % 3 == 0 ? "<SFR_INFO_TYPE><" + std::string(static_cast<size_t>(i % 80), 'x') + ">"
                              : "<PART_INFO_TYPE><x><PIC18F" + std::to_string(i + 10) + ">") +
                  ends[static_cast<size_t>(i) % ends.size()];
        const int line = 3 + others;
        text += c.Line + ends.back() + "<SWITCH_INFO_TYPE><A><a><1>\n<SETTING_VALUE_TYPE><ON><on><1>\n";
        TInfoFile reader;
        TInfoFileProbe::LoadIndexFromText(reader, text, false);
        TStringList fields;
        ASSERT_TRUE(reader.FindPart("18F1", fields));
        if (c.Error.empty()) {
          EXPECT_EQ(WalkDevice(reader, "18F2").size(), 1u);
          EXPECT_EQ(reader.Cursor, line + 3);
          ASSERT_TRUE(reader.FindPart("18F2", fields));
          EXPECT_EQ(reader.Cursor, line);
        } else {
          ExpectError<EListError>([&] { reader.FindPart("18F2", fields); }, c.Error);
          EXPECT_EQ(reader.LastLine(), line);
          EXPECT_EQ(reader.Cursor, 2);
        }
      }
    }
  }
}

// --- NextSwitch ---------------------------------------------------------------

TEST(NextSwitch, DefaultIsTheLastSettingMatchingTheMaskedRegister) {
  const char *text = "<PARTS_INDEX_TYPE><18F1>\n"
                     "<PART_INFO_TYPE><x><PIC18F1>\n"
                     "<CONFIGREG_INFO_TYPE><1><C1><F5>\n"
                     "<SWITCH_INFO_TYPE><A><Masked match><0F>\n"
                     "<SETTING_VALUE_TYPE><A0><d0><0>\n"
                     "<SETTING_VALUE_TYPE><A5><d5><5>\n"
                     "<SETTING_VALUE_TYPE><A7><d7><7>\n"
                     "<SWITCH_INFO_TYPE><B><Two match, last wins><F0>\n"
                     "<SETTING_VALUE_TYPE><B1><d1><F0>\n"
                     "<SETTING_VALUE_TYPE><B2><d2><f0>\n"
                     "<SETTING_VALUE_TYPE><B3><d3><10>\n"
                     "<SWITCH_INFO_TYPE><C><None match><100>\n"
                     "<SETTING_VALUE_TYPE><C1><d1><100>\n"
                     "<SETTING_VALUE_TYPE><C2><d2><200>\n"
                     "<SWITCH_INFO_TYPE><D><Missing or bad value reads 0><100>\n"
                     "<SETTING_VALUE_TYPE><D1><d1><100>\n"
                     "<SETTING_VALUE_TYPE><D2><d2>\n"
                     "<SETTING_VALUE_TYPE><D3><d3><zz>\n"
                     "<SETTING_VALUE_TYPE><D4><d4><100>\n";
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader, text, false);
  const auto switches = WalkDevice(reader, "18F1");
  ASSERT_EQ(switches.size(), 4u);
  EXPECT_EQ(switches[0].Default, "A5");
  EXPECT_EQ(switches[1].Default, "B2");
  EXPECT_EQ(switches[2].Default, "C2");
  EXPECT_EQ(switches[3].Default, "D3");
  EXPECT_EQ(switches[0].Name, "A");
  EXPECT_EQ(switches[0].Function, "Masked match");
  EXPECT_EQ(switches[0].Names, (Strings{"A0", "A5", "A7"}));
  EXPECT_EQ(switches[0].Descriptions, (Strings{"d0", "d5", "d7"}));
}

TEST(NextSwitch, FourSwitchesDefaultToTheirOwnOffUnlessInfoDefaultsAreUsed) {
  // The register selects the last setting of each switch.
  const char *text = "<PARTS_INDEX_TYPE><18F1>\n"
                     "<PART_INFO_TYPE><x><PIC18F1>\n"
                     "<CONFIGREG_INFO_TYPE><1><C1><FF>\n"
                     "<SWITCH_INFO_TYPE><XINST><x><40>\n<SETTING_VALUE_TYPE><OFF><><0>\n"
                     "<SETTING_VALUE_TYPE><ON><><40>\n"
                     "<SWITCH_INFO_TYPE><DEBUG><x><80>\n<SETTING_VALUE_TYPE><Off><><0>\n"
                     "<SETTING_VALUE_TYPE><ON><><80>\n"
                     "<SWITCH_INFO_TYPE><LVP><x><04>\n<SETTING_VALUE_TYPE><DISABLED><><0>\n"
                     "<SETTING_VALUE_TYPE><ENABLED><><4>\n"
                     "<SWITCH_INFO_TYPE><IOL1WAY><x><01>\n<SETTING_VALUE_TYPE><disable><><0>\n"
                     "<SETTING_VALUE_TYPE><Disabled><><0>\n<SETTING_VALUE_TYPE><ON><><1>\n"
                     "<SWITCH_INFO_TYPE><LVP><x><04>\n<SETTING_VALUE_TYPE><LOW><><0>\n"
                     "<SETTING_VALUE_TYPE><HIGH><><4>\n"
                     "<SWITCH_INFO_TYPE><lvp><x><04>\n<SETTING_VALUE_TYPE><OFF><><0>\n"
                     "<SETTING_VALUE_TYPE><ON><><4>\n"
                     "<SWITCH_INFO_TYPE><XINST2><x><40>\n<SETTING_VALUE_TYPE><OFF><><0>\n"
                     "<SETTING_VALUE_TYPE><ON><><40>\n";
  auto defaults = [&](bool useInfo) {
    TInfoFile reader;
    reader.SetUseInfoDefaults(useInfo);
    TInfoFileProbe::LoadIndexFromText(reader, text, false);
    Strings result;
    for (const auto &s : WalkDevice(reader, "18F1"))
      result.push_back(s.Default);
    return result;
  };
  // OFF in any case, else DISABLED, else DISABLE; none of them: the chip default.
  // Names differing from the four in letter case are not forced.
  EXPECT_EQ(defaults(false), (Strings{"OFF", "Off", "DISABLED", "Disabled", "HIGH", "ON", "ON"}));
  EXPECT_EQ(defaults(true), (Strings{"ON", "ON", "ENABLED", "ON", "HIGH", "ON", "ON"}));
}

TEST(NextSwitch, ReservedSettingsAreNotOfferedAndEmptyDescriptionsAreUnspecified) {
  const char *text = "<PART_INFO_TYPE><x><PIC18F1>\n"
                     "<CONFIGREG_INFO_TYPE><1><C1><0C>\n"
                     "<SWITCH_INFO_TYPE><BORV><Voltage><0C>\n"
                     "<SETTING_VALUE_TYPE><45><4.5V><0>\n"
                     "<SETTING_VALUE_TYPE><27><><8>\n"
                     "<SETTING_VALUE_TYPE><RESERVED><Reserved><C>\n";
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader, text, false);
  const auto switches = WalkDevice(reader, "18F1");
  ASSERT_EQ(switches.size(), 1u);
  EXPECT_EQ(switches[0].Names, (Strings{"45", "27"}));
  EXPECT_EQ(switches[0].Descriptions, (Strings{"4.5V", "unspecified"}));
  // The register selects the reserved value, which is not offered: last setting.
  EXPECT_EQ(switches[0].Default, "27");
}

TEST(NextSwitch, SwitchWithoutSelectableSettingReturnsFalseButMovesPastIt) {
  const char *text = "<PART_INFO_TYPE><x><PIC18F1>\n"
                     "<SWITCH_INFO_TYPE><A><a><1>\n"
                     "<SETTING_VALUE_TYPE><ON><on><1>\n"
                     "<SWITCH_INFO_TYPE><R><all reserved><1>\n"
                     "<SETTING_VALUE_TYPE><RESERVED><r><0>\n"
                     "<SETTING_VALUE_TYPE><RESERVED><r><1>\n"
                     "<SWITCH_INFO_TYPE><N><no settings><1>\n"
                     "<SWITCH_INFO_TYPE><B><b><1>\n"
                     "<SETTING_VALUE_TYPE><ON><on><1>\n";
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader, text, false);
  const auto walked = WalkDevice(reader, "18F1");
  ASSERT_EQ(walked.size(), 1u);
  EXPECT_EQ(reader.Cursor, 6);

  std::string name, function, def;
  TStringList names, descriptions;
  EXPECT_FALSE(reader.NextSwitch(name, function, names, descriptions, def));
  EXPECT_EQ(name, "N");
  EXPECT_TRUE(reader.SwitchFound());
  EXPECT_EQ(def, "");
  EXPECT_EQ(reader.Cursor, 7);
  EXPECT_TRUE(reader.NextSwitch(name, function, names, descriptions, def));
  EXPECT_EQ(name, "B");
  // After the last switch: no switch at all.
  EXPECT_FALSE(reader.NextSwitch(name, function, names, descriptions, def));
  EXPECT_FALSE(reader.SwitchFound());
}

TEST(NextSwitch, ASwitchWithAnEmptyNameAndNoSettingIsStillASwitch) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader,
                                    "<PART_INFO_TYPE><x><PIC18F1>\n<SWITCH_INFO_TYPE><><a><1>\n"
                                    "<SETTING_VALUE_TYPE><RESERVED><r><1>\n",
                                    false);
  TStringList fields, names, descriptions;
  ASSERT_TRUE(reader.FindPart("18F1", fields));
  ++reader.Cursor;
  std::string name = "x", function, def;
  EXPECT_FALSE(reader.NextSwitch(name, function, names, descriptions, def));
  EXPECT_EQ(name, "");
  EXPECT_TRUE(reader.SwitchFound());
}

TEST(NextSwitch, AnotherRecordEndsTheRunAndLaterSettingsAreSkipped) {
  const char *text = "<PART_INFO_TYPE><x><PIC18F1>\n"
                     "<CONFIGREG_INFO_TYPE><1><C1><00>\n"
                     "<SWITCH_INFO_TYPE><A><a><3>\n"
                     "<SETTING_VALUE_TYPE><A1><one><1>\n"
                     "<CONFIGREG_INFO_TYPE><2><C2><02>\n"
                     "<SETTING_VALUE_TYPE><A2><two><2>\n"
                     "<SWITCH_INFO_TYPE><B><b><3>\n"
                     "<SETTING_VALUE_TYPE><B1><one><1>\n"
                     "<SETTING_VALUE_TYPE><B2><two><2>\n";
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader, text, false);
  TStringList fields, names, descriptions;
  ASSERT_TRUE(reader.FindPart("18F1", fields));
  ++reader.Cursor;
  std::string name, function, def;
  ASSERT_TRUE(reader.NextSwitch(name, function, names, descriptions, def));
  EXPECT_EQ(Items(names), (Strings{"A1"}));
  // The ending register record is read at once, though not consumed.
  EXPECT_EQ(TInfoFileProbe::RegisterValue(reader), 2u);
  EXPECT_EQ(reader.Cursor, 4);
  EXPECT_EQ(def, "A1");
  ASSERT_TRUE(reader.NextSwitch(name, function, names, descriptions, def));
  EXPECT_EQ(name, "B");
  EXPECT_EQ(def, "B2");
}

TEST(NextSwitch, StopsOnTheNextDeviceAndStaysThere) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader, kTwoDevices, false);
  const auto first = WalkDevice(reader, "18F1220");
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].Default, "HS");
  EXPECT_EQ(reader.Cursor, 9);
  std::string name = "x", function = "x", def = "x";
  TStringList names, descriptions;
  names.Add("stale");
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(reader.NextSwitch(name, function, names, descriptions, def));
    EXPECT_EQ(reader.Cursor, 9);
    EXPECT_EQ(name, "");
    EXPECT_EQ(def, "");
    EXPECT_EQ(names.Count(), 0);
  }
  // Without the caller's step past the device record, the walk ends at once.
  TStringList fields;
  ASSERT_TRUE(reader.FindPart("18F2550", fields));
  EXPECT_FALSE(reader.NextSwitch(name, function, names, descriptions, def));
  EXPECT_EQ(reader.Cursor, 9);
}

TEST(NextSwitch, LastDeviceEndsAtTheEndOfTheFile) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader, kTwoDevices, false);
  const auto last = WalkDevice(reader, "18F2550");
  ASSERT_EQ(last.size(), 1u);
  EXPECT_EQ(reader.Cursor, 13);
}

TEST(NextSwitch, ADevicesSwitchesBeforeItsFirstRegisterWorkAgainstZero) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(
      reader, "<PART_INFO_TYPE><x><PIC18F9>\n<CONFIGREG_INFO_TYPE><1><C><FF>\n" + std::string(kTwoDevices),
      false);
  // 18F2550 has no register record: whatever was read before, it works against 0.
  EXPECT_EQ(WalkDevice(reader, "18F2550")[0].Default, "OFF");
  WalkDevice(reader, "18F9");
  ASSERT_EQ(TInfoFileProbe::RegisterValue(reader), 0xFFu);
  EXPECT_EQ(WalkDevice(reader, "18F2550")[0].Default, "OFF");
}

TEST(NextSwitch, MalformedRecordRaisesKeepsTheCursorAndWhatWasGathered) {
  const struct {
    const char *Body;
    const char *Message;
    bool IsConvert;
    const char *Name;
    Strings Names;
  } cases[] = {
      {"<SWITCH_INFO_TYPE><A><a>\n", "List index out of bounds (3)", false, "A", {}},
      {"<SWITCH_INFO_TYPE><A><a><1Z>\n", "'$1Z' is not a valid integer value", true, "A", {}},
      {"<CONFIGREG_INFO_TYPE><1><C>\n", "List index out of bounds (3)", false, "", {}},
      {"<CONFIGREG_INFO_TYPE><1><C><0x1>\n", "'$0x1' is not a valid integer value", true, "", {}},
      {"<SWITCH_INFO_TYPE><A><a><1>\n<SETTING_VALUE_TYPE><S1><d><1>\n<SETTING_VALUE_TYPE><S2>\n",
       "List index out of bounds (2)",
       false,
       "A",
       {"S1", "S2"}},
      {"<SWITCH_INFO_TYPE><A><a><1>\n<SETTING_VALUE_TYPE><S1><d><1>\n<SETTING_VALUE_TYPE>\n",
       "List index out of bounds (1)",
       false,
       "A",
       {"S1"}},
      {"<SWITCH_INFO_TYPE><A><a><1>\n<SETTING_VALUE_TYPE><S1><d><1>\n\n",
       "List index out of bounds (0)",
       false,
       "A",
       {"S1"}},
      {"<SWITCH_INFO_TYPE><A><a><1>\n<SETTING_VALUE_TYPE><S1><d><1>\n<CONFIGREG_INFO_TYPE><1><C><G>\n",
       "'$G' is not a valid integer value",
       true,
       "A",
       {"S1"}},
      {"<SWITCH_INFO_TYPE>\n", "List index out of bounds (1)", false, "", {}},
  };
  for (const auto &c : cases) {
    TInfoFile reader;
    TInfoFileProbe::LoadIndexFromText(reader, std::string("<PART_INFO_TYPE><x><PIC18F1>\n") + c.Body, false);
    TStringList fields, names, descriptions;
    ASSERT_TRUE(reader.FindPart("18F1", fields));
    reader.Cursor = 1;
    std::string name, function, def;
    auto step = [&] { reader.NextSwitch(name, function, names, descriptions, def); };
    if (c.IsConvert)
      ExpectError<EConvertError>(step, c.Message);
    else
      ExpectError<EListError>(step, c.Message);
    EXPECT_EQ(reader.Cursor, 1) << c.Body;
    EXPECT_EQ(name, c.Name) << c.Body;
    EXPECT_EQ(Items(names), c.Names) << c.Body;
  }
}

TEST(DeviceInfoSample, ListsTheSampleDevicesAndWalksThemToTheEnd) {
  TInfoFile reader;
  ASSERT_EQ(reader.Load(DeviceInfoFileName(SamplesFolder()), true), "");
  EXPECT_EQ(reader.Version, "V1.42.7");
  EXPECT_EQ(Items(reader.Devices), (Strings{"18F1220", "18F2550", "18F25K22", "18LF25K22", "18F45K50",
                                            "18LF45K50", "18F4520", "18F8722", "18F2550", "18F26Q10"}));
  const auto sw = WalkDevice(reader, "18F25K22");
  ASSERT_GE(sw.size(), 20u);
  EXPECT_EQ(sw.front().Name, "FOSC");
  EXPECT_EQ(sw.front().Default, "ECHPIO6"); // CONFIG1H 25h masked with 0Fh
  for (const auto &s : sw) {
    EXPECT_EQ(s.Names.size(), s.Descriptions.size()) << s.Name;
    if (s.Name == "XINST" || s.Name == "DEBUG" || s.Name == "LVP") {
      EXPECT_EQ(s.Default, "OFF");
    }
  }
}
