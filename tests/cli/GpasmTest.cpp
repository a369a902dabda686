// The assembler text as an assembler takes it: for every device of the samples that
// gputils' gpasm knows, random settings written by "configgen generate --syntax asm"
// (an END line added) assemble without a message, and the configuration bytes of
// gpasm's HEX file are the words "configgen words" gives for the same settings.
// gpasm is a Linux program here: this test is built natively only.
#include "cli/ConfigGen.h"

#include "core/cDeviceSources.h"
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

// Rounds From to To (not included) for one device of the device data in Folder
// (Reader has its index): round 0 at the defaults, the others at random settings,
// some without comments, some with only what differs from the chip's default. Each
// text, with an END line, must assemble without a message to the words configgen
// gives for the same settings. False when the device has no part section.
bool AssemblesToItsWords(const std::string &folder, TDeviceInfo &reader, const std::string &device, int from,
                         int to, const TTempFolder &work) {
  std::vector<TSwitchRow> rows;
  if (!ReadDeviceTable(reader, device, rows))
    return false;
  std::mt19937 random(SeedOf(device));
  for (int round = from; round < to; ++round) {
    std::vector<std::string> picks;
    for (const TSwitchRow &row : rows)
      if (round > 0) {
        const auto k = static_cast<size_t>(random() % static_cast<uint32_t>(row.Settings.size()));
        picks.push_back("--set");
        picks.push_back(row.Name + "=" + row.Settings[k].Name);
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
    EXPECT_EQ(text.Status, kExitOk) << text.Err;
    EXPECT_EQ(expected.Status, kExitOk) << expected.Err;
    std::string trace = device;
    trace.append(", round ").append(std::to_string(round)).append(", from ").append(folder).append(":\n");
    trace += text.Out;

    work.WriteFile("config.asm", text.Out + "    END\n");
    std::string messages;
    EXPECT_EQ(Shell("cd '" + work.Path() + "' && gpasm -a inhx32 -o config.hex config.asm", messages), 0)
        << messages << trace;
    EXPECT_EQ(messages, "") << trace;
    std::ifstream file(work.Path() + "/config.hex", std::ios::binary);
    const std::string hex((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    // Every register configgen's words list ("CONFIG1H  0x300001  0x08"), at its
    // address in gpasm's file.
    THexImage image;
    std::vector<std::pair<uint32_t, std::string>> registers;
    for (const std::string &line : Lines(expected.Out)) {
      std::istringstream fields(line);
      std::string name, address;
      fields >> name >> address;
      registers.emplace_back(std::stoul(address, nullptr, 16), line);
      image.Watch(registers.back().first);
    }
    EXPECT_FALSE(registers.empty()) << trace;
    int errors = 0;
    ReadHexFile(hex, image, [&](const TDiagnostic &d) { errors += d.Severity == TSeverity::Error ? 1 : 0; });
    EXPECT_EQ(errors, 0) << hex;
    for (const auto &[address, line] : registers) {
      const std::string got = image.Has(address) ? HexNumber(image.Byte(address), 2) : "nothing";
      EXPECT_EQ(line.substr(line.rfind(' ') + 1), got) << line.substr(0, line.find(' ')) << " of " << trace;
    }
  }
  return true;
}

// A device information file of every 18F and 18LF part gpasm knows, from gpasm's
// own data ("gpasm -s -p PART": each configuration word's address, implemented
// bits and default, its directives and their options' values), in the vendor
// file's form. Parts of which gpasm has no configuration data go to Without.
std::string DeviceFileFromGpasm(const std::set<std::string> &parts, std::vector<std::string> &without) {
  std::string index = "<RES_FILE_VERSION_INFO_TYPE><gpasm>\r\n";
  std::string sections;
  for (const std::string &part : parts) {
    if (part.rfind("18f", 0) != 0 && part.rfind("18lf", 0) != 0)
      continue;
    std::string upper = part;
    for (char &c : upper)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string properties;
    Shell("gpasm -s -p p" + part, properties);
    if (properties.find("Config Word") == std::string::npos) {
      without.push_back(upper);
      continue;
    }
    index += "<PARTS_INDEX_TYPE><" + upper + "><0>\r\n";
    sections += "<PART_INFO_TYPE><0><PIC" + upper + "><PIC18>\r\n";
    // A directive's line waits for its options, whose values together are its mask.
    std::string directive;
    std::vector<std::pair<std::string, uint32_t>> options;
    auto flush = [&] {
      if (directive.empty())
        return;
      uint32_t mask = 0;
      for (const auto &option : options)
        mask |= option.second;
      sections.append("<SWITCH_INFO_TYPE><").append(directive).append("><").append(directive).append("><");
      sections.append(HexNumber(mask, 2).substr(2)).append("><").append(std::to_string(options.size()));
      sections.append(">\r\n");
      for (const auto &[name, value] : options) {
        sections.append("<SETTING_VALUE_TYPE><").append(name).append("><").append(name).append("><");
        sections.append(HexNumber(value, 2).substr(2)).append(">\r\n");
      }
      directive.clear();
      options.clear();
    };
    for (const std::string &line : Lines(properties)) {
      std::istringstream words(line);
      std::string word, second;
      words >> word;
      if (word == "Config" && words >> second && second == "Word") {
        // "Config Word  : address = 0x300001, mask = 0xCF, default = 0xCF"
        flush();
        std::string address, mask, value;
        std::string skip;
        words >> skip >> skip >> skip >> address >> skip >> skip >> mask >> skip >> skip >> value;
        sections.append("<CONFIGREG_INFO_TYPE><")
            .append(address.substr(2, address.size() - 3))
            .append("><><");
        sections.append(value.substr(2)).append("><").append(mask.substr(2, mask.size() - 3)).append(">\r\n");
      } else if (word == "Directive:") {
        flush();
        words >> directive;
      } else if (word == "Option:") {
        // "Option:   ON     = 0x40 (default)"
        std::string name, equals, value;
        words >> name >> equals >> value;
        options.emplace_back(name, static_cast<uint32_t>(std::stoul(value, nullptr, 16)));
      }
    }
    flush();
  }
  return index + sections;
}

// Rounds for each sample device.
constexpr int kRounds = 6;
} // namespace

TEST(Gpasm, AssemblesTheTextOfEverySampleDeviceItKnowsToTheWordsConfiggenGives) {
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
    reader.SetSourceChooser(ChooseDeviceSource);
    reader.LoadDeviceIndex(folder, true);
    TStringList devices = reader.Devices;
    devices.Sort(CompareText);
    for (int d = 0; d < devices.Count(); ++d) {
      const std::string &device = devices[d];
      if (d > 0 && devices[d - 1] == device)
        continue;
      if (known.count(LowerCase(device)) == 0)
        leftOut.push_back(device);
      // A device listed without a part section has no text to write (18F8722).
      else if (AssemblesToItsWords(folder, reader, device, 0, kRounds, work))
        ++assembled;
    }
  }
  // gputils 1.4.0 knows no Q part: the 18F26Q10 of the file and the packs, the packs'
  // 18F04Q20.
  EXPECT_EQ(leftOut, (std::vector<std::string>{"18F26Q10", "18F04Q20", "18F26Q10"}));
  EXPECT_EQ(assembled, 14);
}

TEST(Gpasm, AssemblesTheTextOfEveryPic18ItKnowsFromItsOwnDeviceData) {
  const std::set<std::string> known = GpasmProcessors();
  ASSERT_GT(known.size(), 250u) << "gpasm cannot be run: install gputils, as tools/install-deps does";
  const TTempFolder data;
  std::vector<std::string> without;
  data.WriteDeviceInfo(DeviceFileFromGpasm(known, without));
  // gputils 1.4.0 lists them but has no configuration data of them.
  EXPECT_EQ(without, (std::vector<std::string>{"18F2681", "18F4681", "18F64J15", "18F84J15"}));
  const TTempFolder work;
  TDeviceInfo reader;
  reader.LoadDeviceIndex(data.Path(), true);
  int assembled = 0;
  // One round each, at random settings with only what differs from the chip's
  // default, so that gpasm's defaults and the data's must agree too.
  for (const std::string &device : reader.Devices)
    if (AssemblesToItsWords(data.Path(), reader, device, 2, 3, work))
      ++assembled;
  EXPECT_GT(assembled, 250);
  EXPECT_EQ(assembled, reader.Devices.Count());
}
