// The legacy __CONFIG forms read as an assembler takes them: for the samples' PIC16
// and PIC12 parts, random settings written as the vendor's symbols (the .inc file's
// "_SWITCH_SETTING", joined by "&") and as numbers are assembled by gputils' gpasm,
// and the words configgen reads from gpasm's HEX file, from the same assembler text
// and from the same symbols in C's macro are the words "configgen words" gives for
// those settings. gpasm is a Linux program here: this test is built natively only,
// and skipped where gpasm cannot be run.
#include "cli/ConfigGen.h"

#include "core/cConfigWords.h"
#include "core/cDeviceSources.h"
#include "tests/cli/GpasmRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {
std::string Joined(const std::vector<std::string> &parts, const std::string &separator) {
  std::string joined;
  for (const std::string &part : parts)
    joined += (joined.empty() ? "" : separator) + part;
  return joined;
}

// The words configgen gives for Args, which must succeed without an error.
std::string Words(const std::vector<std::string> &args, const std::string &trace) {
  const TRun run = RunCli(args);
  EXPECT_EQ(run.Status, kExitOk) << run.Err << trace;
  EXPECT_EQ(run.Err.find("error"), std::string::npos) << run.Err << trace;
  return run.Out;
}

constexpr int kRounds = 6;
} // namespace

TEST(GpasmLegacy, TheLegacyFormsReadAsGpasmAssemblesThem) {
  std::string version;
  if (Shell("gpasm -v", version) != 0)
    GTEST_SKIP() << "gpasm cannot be run (" << version << "): install gputils, as tools/install-deps does";
  const std::string folder = SourcePath("samples/mpasm");
  const std::unique_ptr<IDeviceSource> source = OpenDeviceSource(folder, true).Source;
  ASSERT_NE(source, nullptr);
  const TTempFolder work;
  // An enhanced mid-range part of two words, a mid-range part of one, a baseline part.
  for (const std::string device : {"16F1847", "16F628A", "12F509"}) {
    std::vector<TSwitchRow> rows;
    std::vector<TConfigRegister> data;
    ASSERT_TRUE(source->ReadTable(device, false, rows, &data)) << device;
    const std::vector<TWordRegister> registers = WordRegisters(data, rows, device);
    std::vector<size_t> order(registers.size());
    for (size_t i = 0; i < order.size(); ++i)
      order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return registers[a].Address < registers[b].Address; });
    std::mt19937 random(static_cast<uint32_t>(device.size() * 7919 + device.back()));
    for (int round = 0; round < kRounds; ++round) {
      std::vector<std::string> picks = {"words", "--folder", folder, "--device", device};
      std::vector<std::vector<std::string>> symbols(registers.size());
      for (const TSwitchRow &row : rows) {
        const TSwitchSetting &setting =
            row.Settings[static_cast<size_t>(random() % static_cast<uint32_t>(row.Settings.size()))];
        picks.push_back("--set");
        picks.push_back(row.Name + "=" + setting.Name);
        symbols[static_cast<size_t>(row.Register)].push_back(row.Name + "_" + setting.Name);
      }
      const std::string trace = device + ", round " + std::to_string(round);
      const std::string expected = Words(picks, trace);

      // The symbols in assembler, a word named (on a part of one word, on odd rounds
      // none), and in C's macro, over several lines.
      const std::string head =
          "    PROCESSOR " + device + "\n    #include <p" + LowerCase(device) + ".inc>\n";
      std::string assembler = head;
      std::string c = "#include <xc.h>\n";
      for (const size_t r : order) {
        std::vector<std::string> underscored;
        for (const std::string &symbol : symbols[r])
          underscored.push_back("_" + symbol);
        const bool named = registers.size() > 1 || round % 2 == 0;
        assembler += "    __CONFIG " + (named ? "_" + registers[r].Name + ", " : "") +
                     Joined(underscored, " & ") + "\n";
        c += "__CONFIG(" + Joined(symbols[r], " &\n         ") + ");\n";
      }
      // The same words as numbers, each word by its name or by its address in turn.
      std::string numbers = head;
      std::istringstream lines(expected);
      std::string name, address, value;
      for (int i = round; lines >> name >> address >> value; ++i)
        numbers.append("    __CONFIG ").append(i % 2 == 0 ? "_" + name : address).append(", " + value + "\n");

      for (const auto &[file, text] :
           {std::pair{"symbols.asm", assembler}, std::pair{"numbers.asm", numbers}}) {
        const std::string path = work.WriteFile(file, text + "    END\n");
        std::string messages;
        EXPECT_EQ(Shell("cd '" + work.Path() + "' && gpasm -a inhx32 -o config.hex " + file, messages), 0)
            << messages << trace << "\n"
            << text;
        EXPECT_EQ(
            Words({"words", "--folder", folder, "--device", device, "--from", work.Path() + "/config.hex"},
                  trace + ", gpasm's HEX of " + file),
            expected)
            << text;
        EXPECT_EQ(Words({"words", "--folder", folder, "--from", path}, trace + ", " + file), expected)
            << text;
      }
      const std::string path = work.WriteFile("symbols.c", c);
      EXPECT_EQ(Words({"words", "--folder", folder, "--device", device, "--from", path}, trace + ", C"),
                expected)
          << c;
    }
  }
}
