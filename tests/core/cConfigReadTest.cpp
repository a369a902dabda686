// Reading a configuration back: the device it goes onto, as each mode chooses it,
// and what stops the reading.
#include "core/cConfigRead.h"

#include "deviceinfo/cDeviceInfo.h"
#include "tests/support/DeviceInfoText.h"
#include "tests/support/HexText.h"
#include "tests/support/ReaderProbe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

// Devices 18F1 and 18F2 with one switch each, 18F25K22 listed without a part
// section; Open makes a device the one shown, as the window's drop-down does.
class TTables : public IDeviceTables {
public:
  TTables() {
    TDeviceInfoProbe::LoadIndexFromText(FReader,
                                        TDeviceInfoText()
                                            .Index("18F1")
                                            .Index("18F2")
                                            .Index("18F25K22")
                                            .Part("18F1")
                                            .Register("FF")
                                            .Switch("A", "a", "1")
                                            .Setting("A1", "one", "1")
                                            .Setting("A0", "zero", "0")
                                            .Part("18F2")
                                            .Register("FF")
                                            .Switch("B", "b", "1")
                                            .Setting("B1", "one", "1")
                                            .Setting("B0", "zero", "0")
                                            .Text(),
                                        false);
  }
  const TStringList &Listed() override { return FReader.Devices; }
  std::string ListedIn() override { return "the list"; }
  TReadTable Open(int index) override {
    FDevice = FReader.Devices[index];
    if (!ReadDeviceTable(FReader, FDevice, FRows, &FRegisters))
      return {FDevice, nullptr, nullptr, {}, "no part section"};
    ApplyStartSettings(FRows);
    return Shown();
  }
  TReadTable Shown() override { return {FDevice, &FRows, &FRegisters, "the file", {}}; }

  std::string FDevice;
  std::vector<TSwitchRow> FRows;

private:
  TDeviceInfo FReader;
  std::vector<TConfigRegister> FRegisters;
};

struct TRead {
  TReadResult Result;
  Strings Diagnostics; // "LINE severity: text"
};

TRead Read(TTables &tables, const std::string &text, TReadMode mode, const std::string &device = {}) {
  TRead read;
  read.Result = ReadConfiguration(text, tables, device, mode, [&](const TDiagnostic &d) {
    read.Diagnostics.push_back(std::to_string(d.Line) + " " + SeverityName(d.Severity) + ": " + d.Text);
  });
  return read;
}
} // namespace

TEST(ReadConfiguration, ACheckStopsWithOneErrorWhereThereIsNoDeviceToReadOnto) {
  const struct {
    std::string Text, Device;
    Strings Expected;
  } cases[] = {
      {std::string("d\0e\0", 4), "", {"1 error: the text is UTF-16; save it as ANSI or UTF-8"}},
      {THexText().End().Text(), "", {"1 error: a HEX file names no device; name it with --device NAME"}},
      {"config A = A0\n", "", {"1 error: the text has no device line; name the device with --device NAME"}},
      {"nothing\n",
       "",
       {"1 error: no configuration found",
        "1 error: the text has no device line; name the device with --device NAME"}},
      {"\ndevice = 18F45K22\nconfig A = A0\n",
       "",
       {"2 error: device '18F45K22' is not among the 18F and 18LF devices listed in the list (see "
        "'configgen devices --include-lf'); did you mean '18F25K22'?"}},
      {"\ndevice = 18F1\n",
       "PIC18F7",
       {"1 error: device 'PIC18F7' is not among the 18F and 18LF devices listed "
        "in the list (see 'configgen devices --include-lf'); did you mean "
        "'18F1' or '18F2'?"}},
      {"\ndevice = 18f25k22\n", "", {"2 error: no part section"}},
  };
  for (const auto &c : cases) {
    TTables tables;
    const TRead read = Read(tables, c.Text, TReadMode::Check, c.Device);
    EXPECT_FALSE(read.Result.Read) << c.Text;
    EXPECT_EQ(read.Diagnostics, c.Expected) << c.Text;
  }
}

TEST(ReadConfiguration, ACheckReadsOntoTheDeviceGivenElseTheOneTheTextNames) {
  TTables tables;
  const TRead named = Read(tables, "device = PIC18F2\nconfig B = B0\n", TReadMode::Check);
  ASSERT_TRUE(named.Result.Read);
  EXPECT_EQ(named.Result.Table.Device, "18F2");
  EXPECT_EQ((*named.Result.Table.Rows)[0].Setting(), "B0");
  EXPECT_EQ(named.Result.Summary.Applied, 1);

  const TRead given = Read(tables, "device = 18F2\nconfig A = A0\n", TReadMode::Check, "18f1");
  ASSERT_TRUE(given.Result.Read);
  EXPECT_EQ(given.Result.Table.Device, "18F1");
  EXPECT_EQ((*given.Result.Table.Rows)[0].Setting(), "A0");
}

TEST(ReadConfiguration, APasteOpensTheListedDeviceTheTextNamesElseWarnsAndReadsOntoTheOneShown) {
  TTables tables;
  tables.Open(0);
  const TRead other = Read(tables, "device = 18F2\nconfig B = B0\n", TReadMode::Paste);
  EXPECT_EQ(tables.FDevice, "18F2");
  EXPECT_EQ(tables.FRows[0].Setting(), "B0");
  EXPECT_EQ(other.Diagnostics, Strings{});

  const TRead unlisted = Read(tables, "device = 18F9\nconfig B = B1\n", TReadMode::Paste);
  EXPECT_EQ(tables.FDevice, "18F2");
  EXPECT_EQ(tables.FRows[0].Setting(), "B1");
  EXPECT_EQ(unlisted.Diagnostics,
            Strings{"1 warning: device '18F9' is not listed; the entries were applied to 18F2"});

  // A device line without a configuration opens nothing.
  const TRead noConfig = Read(tables, "device = 18F1\n", TReadMode::Paste);
  EXPECT_EQ(tables.FDevice, "18F2");
  EXPECT_TRUE(noConfig.Result.Read);
  EXPECT_FALSE(noConfig.Result.Summary.Found);
}
