// hex --into as an assembler's builds prove it: for every sample device that
// gputils' gpasm knows, a program built with configuration A and again with
// configuration B; "configgen hex --into A.hex" with B's settings gives B.hex's
// memory image, every byte. gpasm is a Linux program here: built natively only.
#include "cli/ConfigGen.h"

#include "core/cDeviceSources.h"
#include "core/cDeviceTable.h"
#include "core/cHexRecord.h"
#include "deviceinfo/cInfoFile.h"
#include "tests/cli/GpasmRun.h"
#include "tests/support/HexImage.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {
std::string ReadWhole(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Assembles Config (a configuration in assembler) with a small program into
// Name.hex in Work; its text.
std::string Build(const TTempFolder &work, const std::string &name, const std::string &config) {
  work.WriteFile(name + ".asm",
                 config + "    ORG 0\n    NOP\n    GOTO 0\n    ORG 0x40\n    DATA 0x1234\n    END\n");
  std::string messages;
  EXPECT_EQ(
      Shell("cd '" + work.Path() + "' && gpasm -a inhx32 -o " + name + ".hex " + name + ".asm", messages), 0)
      << messages << config;
  return ReadWhole(work.Path() + "/" + name + ".hex");
}

// Rounds of the proof for Device of the device data in Folder (Rows its table): a
// build with configuration A (round 0 at the defaults, the others at random
// settings) changed by "hex --into" to B (random settings, by --set or, in odd rounds,
// by B's text through --from) is gpasm's build with B, every byte.
void ProveInto(const std::string &folder, const std::string &device, const std::vector<TSwitchRow> &rows,
               int rounds, const TTempFolder &work) {
  std::mt19937 random(SeedOf(device));
  for (int round = 0; round < rounds; ++round) {
    SCOPED_TRACE(
        std::string(folder).append(" ").append(device).append(" round ").append(std::to_string(round)));
    // A: the defaults, or random settings; B: random settings, each switch named.
    std::vector<std::string> a, b;
    for (const TSwitchRow &row : rows) {
      const auto pick = [&] { return row.Name + "=" + row.Settings[random() % row.Settings.size()].Name; };
      if (round > 0)
        a.insert(a.end(), {"--set", pick()});
      b.insert(b.end(), {"--set", pick()});
    }
    auto text = [&](const std::vector<std::string> &picks) {
      std::vector<std::string> args = {"generate", "--folder", folder, "--device", device, "--syntax", "asm"};
      args.insert(args.end(), picks.begin(), picks.end());
      const TRun run = RunCli(args);
      EXPECT_EQ(run.Status, kExitOk) << run.Err;
      return run.Out;
    };
    const std::string textB = text(b);
    Build(work, "a", text(a));
    const std::string hexB = Build(work, "b", textB);
    // B's settings by --set, or (odd rounds) by its text through --from.
    std::vector<std::string> into = {
        "hex", "--folder", folder, "--device", device, "--into", work.Path() + "/a.hex"};
    if (round % 2 == 1) {
      work.WriteFile("b.inc", textB);
      into.insert(into.end(), {"--from", work.Path() + "/b.inc"});
    } else {
      into.insert(into.end(), b.begin(), b.end());
    }
    const TRun result = RunCli(into);
    ASSERT_EQ(result.Status, kExitOk) << result.Err;
    EXPECT_EQ(ImageOf(result.Out), ImageOf(hexB)) << result.Out << "\n" << hexB;
  }
}
} // namespace

TEST(GpasmHexInto, ABuildWithConfigurationAChangedToBIsTheBuildWithB) {
  std::string version;
  ASSERT_EQ(Shell("gpasm -v", version), 0)
      << "gpasm cannot be run: install gputils, as tools/install-deps does";
  const std::set<std::string> known = GpasmProcessors();
  const TTempFolder work;
  std::set<std::string> proved;
  for (const std::string &folder : {SourcePath("samples/mpasm"), SourcePath("samples/packs")}) {
    const std::unique_ptr<IDeviceSource> source = OpenDeviceSource(folder, true).Source;
    ASSERT_NE(source, nullptr) << folder;
    const TStringList &every = source->AllDeviceNames();
    for (int d = 0; d < every.Count(); ++d) {
      const std::string device = every[d];
      std::vector<TSwitchRow> rows;
      if (known.count(LowerCase(device)) == 0 || !ReadDeviceTable(*source, false, device, rows))
        continue;
      ProveInto(folder, device, rows, 3, work);
      proved.insert(device);
    }
  }
  // Every sample device gpasm knows (gputils 1.4.0 knows no Q part).
  EXPECT_EQ(proved, (std::set<std::string>{"12F509", "16F1847", "16F628A", "18F1220", "18F2550", "18F25K22",
                                           "18F45K50", "18F4520", "18LF25K22", "18LF45K50"}));
}

// The same for every PIC18 gpasm knows, from a device file of gpasm's own tables: one
// round each, A at the defaults and B at random settings.
TEST(GpasmHexInto, EveryPic18ItKnowsFromItsOwnDeviceData) {
  const std::set<std::string> known = GpasmProcessors();
  ASSERT_GT(known.size(), 250u) << "gpasm cannot be run: install gputils, as tools/install-deps does";
  const TTempFolder data;
  std::vector<std::string> without, aliases;
  data.WriteDeviceInfo(DeviceFileFromGpasm(known, true, without, aliases));
  const TTempFolder work;
  TInfoFile reader;
  ASSERT_EQ(reader.Load(DeviceInfoFileName(data.Path()), true), "");
  int proved = 0;
  for (const std::string &device : reader.Devices) {
    std::vector<TSwitchRow> rows;
    if (!ReadDeviceTable(reader, false, device, rows))
      continue;
    ProveInto(data.Path(), device, rows, 1, work);
    ++proved;
  }
  EXPECT_EQ(proved, reader.Devices.Count());
  EXPECT_GT(proved, 250);
}
