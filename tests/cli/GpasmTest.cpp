// The assembler text as an assembler takes it: for every device of the samples that
// gputils' gpasm knows, random settings written by "configgen generate --syntax asm"
// (an END line added) assemble without a message, and the configuration bytes of
// gpasm's HEX file are the words "configgen words" gives for the same settings.
// gpasm is a Linux program here: this test is built natively only.
#include "cli/ConfigGen.h"

#include "core/cDeviceTable.h"
#include "core/cHexFile.h"
#include "deviceinfo/cDeviceInfo.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {
struct TRun {
  int Status;
  std::string Out, Err;
};

TRun RunCli(const std::vector<std::string> &args) {
  std::istringstream in;
  std::ostringstream out, err;
  const int status = RunConfigGen(args, in, out, err);
  return {status, out.str(), err.str()};
}

// Runs Command through the shell: its exit status (-1 when it did not end by
// itself) and what it printed on either stream.
int Shell(const std::string &command, std::string &output) {
  output.clear();
  FILE *pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr)
    return -1;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output.append(buffer, got);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string LowerCase(std::string text) {
  for (char &c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The processors gpasm lists, in lower case without their "p": 18f4520.
std::set<std::string> GpasmProcessors() {
  std::string listed;
  std::set<std::string> names;
  if (Shell("gpasm -l", listed) != 0)
    return names;
  std::istringstream words(listed);
  std::string word;
  while (words >> word)
    if (word.size() > 1 && word[0] == 'p')
      names.insert(LowerCase(word.substr(1)));
  return names;
}

std::vector<std::string> Lines(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line))
    lines.push_back(line);
  return lines;
}

// A fixed seed per device, the same on every machine.
uint32_t SeedOf(const std::string &device) {
  uint32_t hash = 2166136261u;
  for (const char c : device)
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

constexpr int kRounds = 6;
} // namespace

TEST(Gpasm, AssemblesTheTextOfEveryDeviceItKnowsToTheWordsConfiggenGives) {
  std::string version;
  ASSERT_EQ(Shell("gpasm -v", version), 0)
      << "gpasm cannot be run (" << version << "): install gputils, as tools/install-deps does";
  const std::set<std::string> known = GpasmProcessors();
  ASSERT_GT(known.count("18f4520"), 0u);
  const TTempFolder work;
  std::vector<std::string> leftOut;
  int assembled = 0;
  for (const std::string &folder : {SourcePath("samples/mpasm"), SourcePath("samples/packs")}) {
    TDeviceInfo reader;
    reader.LoadDeviceIndex(folder, true);
    TStringList devices = reader.Devices;
    devices.Sort(CompareText);
    for (int d = 0; d < devices.Count(); ++d) {
      const std::string device = devices[d];
      if (d > 0 && devices[d - 1] == device)
        continue;
      if (known.count(LowerCase(device)) == 0) {
        leftOut.push_back(device);
        continue;
      }
      std::vector<TSwitchRow> rows;
      if (!ReadDeviceTable(reader, device, rows))
        continue; // listed without a part section: there is no text to write (18F8722)
      std::mt19937 random(SeedOf(device));
      for (int round = 0; round < kRounds; ++round) {
        // Round 0 at the defaults, the others at random settings; some without
        // comments, some with only what differs from the chip's default.
        std::vector<std::string> picks;
        for (const TSwitchRow &row : rows)
          if (round > 0) {
            const auto k = static_cast<int>(random() % static_cast<uint32_t>(row.SettingNames.Count()));
            picks.push_back("--set");
            picks.push_back(row.Name + "=" + row.SettingNames[k]);
          }
        std::vector<std::string> generate = {"generate", "--folder", folder, "--device",
                                             device,     "--syntax", "asm"};
        if (round % 2 == 1)
          generate.emplace_back("--no-comments");
        if (round % 3 == 2)
          generate.emplace_back("--changed-only");
        generate.insert(generate.end(), picks.begin(), picks.end());
        std::vector<std::string> words = {"words", "--folder", folder, "--device", device};
        words.insert(words.end(), picks.begin(), picks.end());
        const TRun text = RunCli(generate);
        const TRun expected = RunCli(words);
        ASSERT_EQ(text.Status, kExitOk) << text.Err;
        ASSERT_EQ(expected.Status, kExitOk) << expected.Err;
        const std::string trace =
            device + ", round " + std::to_string(round) + ", from " + folder + ":\n" + text.Out;

        work.WriteFile("config.asm", text.Out + "    END\n");
        std::string messages;
        EXPECT_EQ(Shell("cd '" + work.Path() + "' && gpasm -a inhx32 -o config.hex config.asm", messages), 0)
            << messages << trace;
        EXPECT_EQ(messages, "") << trace;
        std::ifstream file(work.Path() + "/config.hex", std::ios::binary);
        const std::string hex((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

        // Every register configgen's words list, at its address in gpasm's file.
        THexImage image;
        std::vector<std::pair<uint32_t, std::string>> registers;
        for (const std::string &line : Lines(expected.Out)) {
          std::istringstream fields(line);
          std::string name, address, value;
          fields >> name >> address >> value;
          registers.emplace_back(std::stoul(address, nullptr, 16), line);
          image.Watch(registers.back().first);
        }
        ASSERT_FALSE(registers.empty()) << trace;
        int errors = 0;
        ReadHexFile(hex, image,
                    [&](const TDiagnostic &d) { errors += d.Severity == TSeverity::Error ? 1 : 0; });
        EXPECT_EQ(errors, 0) << hex;
        for (const auto &[address, line] : registers) {
          const std::string name = line.substr(0, line.find(' '));
          const std::string got = image.Has(address) ? HexNumber(image.Byte(address), 2) : "nothing";
          EXPECT_EQ(line.substr(line.rfind(' ') + 1), got) << name << " of " << trace;
        }
        ++assembled;
      }
    }
  }
  // gputils 1.4.0 knows no part of the newest kind, the Q parts: the packs' 18F04Q20.
  EXPECT_EQ(leftOut, std::vector<std::string>{"18F04Q20"});
  EXPECT_EQ(assembled, 14 * kRounds);
}
