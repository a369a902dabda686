// The assembler text as an assembler takes it: for every part of the samples that
// gputils' gpasm knows, and every 8-bit part of gpasm's own tables, random settings
// written by "configgen generate --syntax asm" (an END line added) assemble without a
// message, the configuration words of gpasm's HEX file are the words "configgen
// words" gives for the same settings, and "configgen words --from" reads those words
// back from it. gpasm is a Linux program here: this test is built natively only.
#include "cli/ConfigGen.h"

#include "common/cDeviceFamily.h"
#include "core/cDeviceSources.h"
#include "core/cDeviceTable.h"
#include "common/cNumbers.h"
#include "core/cHexFile.h"
#include "deviceinfo/cInfoFile.h"
#include "tests/cli/GpasmRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {
// Rounds From to To (not included) for one device of the device data in Folder
// (Reader has its index): round 0 at the defaults, the others at random settings,
// some without comments, some with only what differs from the chip's default. Each
// text, with an END line, must assemble without a message to the words configgen
// gives for the same settings (under the bits gpasm implements, on the families whose
// words gpasm fills above them), and "words --from" must read the same words back
// from gpasm's HEX file. False when the device has no part section.
bool AssemblesToItsWords(const std::string &folder, IDeviceSource &source, const std::string &device,
                         int from, int to, const TTempFolder &work) {
  std::vector<TSwitchRow> rows;
  std::vector<TConfigRegister> dataRegisters;
  if (!ReadDeviceTable(source, false, device, rows, &dataRegisters))
    return false;
  const TDeviceFamily &family = FamilyOfRegisters(dataRegisters);
  const auto scale = static_cast<uint32_t>(family.HexScale);
  const std::vector<TGpasmWord> gpasmWords = GpasmWords(LowerCase(device));
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

    // Every register configgen's words list ("CONFIG1  0x8007  0x3FE4"), at its
    // place in gpasm's file: its byte on PIC18, else little-endian at twice its
    // address. A register the text sets no switch of (--changed-only) is one gpasm
    // may leave out: the chip then keeps the register's value when not set.
    THexImage image;
    struct TExpected {
      uint32_t Address, Value;
      std::string Name;
    };
    std::vector<TExpected> registers;
    for (const std::string &line : Lines(expected.Out)) {
      std::istringstream fields(line);
      std::string name, address, value;
      fields >> name >> address >> value;
      registers.push_back({static_cast<uint32_t>(std::stoul(address, nullptr, 16)),
                           static_cast<uint32_t>(std::stoul(value, nullptr, 16)), name});
      for (uint32_t b = 0; b < scale; ++b)
        image.Watch(registers.back().Address * scale + b);
    }
    EXPECT_FALSE(registers.empty()) << trace;
    int errors = 0;
    ReadHexFile(hex, image, [&](const TDiagnostic &d) { errors += d.Severity == TSeverity::Error ? 1 : 0; });
    EXPECT_EQ(errors, 0) << hex;
    bool anyFound = false;
    for (const TExpected &reg : registers) {
      uint32_t implemented = family.WordMask();
      if (scale > 1)
        for (const TGpasmWord &word : gpasmWords)
          if (word.Address == reg.Address)
            implemented &= word.Mask;
      uint32_t got = 0;
      for (const TConfigRegister &data : dataRegisters)
        if (std::stoul(data.Address, nullptr, 16) == reg.Address)
          got = data.Unset;
      for (uint32_t b = 0; b < scale; ++b)
        if (image.Has(reg.Address * scale + b)) {
          anyFound = true;
          got = (got & ~(0xFFu << (8 * b))) | uint32_t{image.Byte(reg.Address * scale + b)} << (8 * b);
        }
      const int digits = family.WordDigits();
      EXPECT_EQ(HexNumber(reg.Value & implemented, digits), HexNumber(got & implemented, digits))
          << reg.Name << " under " << HexNumber(implemented, digits) << " of " << trace << hex;
    }

    // What configgen reads back from gpasm's file, which holds words where the text
    // sets a switch.
    if (!anyFound) {
      EXPECT_EQ(text.Out.find("    CONFIG "), std::string::npos) << trace << hex;
      continue;
    }
    const TRun back =
        RunCli({"words", "--folder", folder, "--device", device, "--from", work.Path() + "/config.hex"});
    EXPECT_EQ(back.Status, kExitOk) << back.Err << trace << hex;
    EXPECT_EQ(back.Out, expected.Out) << back.Err << trace << hex;
  }
  return true;
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
    const std::unique_ptr<IDeviceSource> source = OpenDeviceSource(folder, true).Source;
    ASSERT_NE(source, nullptr) << folder;
    // Every 8-bit part, PIC18 and the others alike.
    TStringList devices = source->AllDeviceNames();
    devices.Sort(CompareText);
    for (int d = 0; d < devices.Count(); ++d) {
      const std::string &device = devices[d];
      if (d > 0 && devices[d - 1] == device)
        continue;
      if (known.count(LowerCase(device)) == 0)
        leftOut.push_back(device);
      // A device listed without a part section has no text to write (18F8722).
      else if (AssemblesToItsWords(folder, *source, device, 0, kRounds, work))
        ++assembled;
    }
  }
  // gputils 1.4.0 knows no part of the newest kind, the Q parts: the 18F26Q10 of the
  // file and the packs, the packs' 18F04Q20.
  EXPECT_EQ(leftOut, (std::vector<std::string>{"18F26Q10", "18F04Q20", "18F26Q10"}));
  // 14 PIC18 parts, and 16F1847, 16F628A and 12F509 in each folder.
  EXPECT_EQ(assembled, 20);
}

TEST(Gpasm, AssemblesTheTextOfEveryPic18ItKnowsFromItsOwnDeviceData) {
  const std::set<std::string> known = GpasmProcessors();
  ASSERT_GT(known.size(), 250u) << "gpasm cannot be run: install gputils, as tools/install-deps does";
  const TTempFolder data;
  std::vector<std::string> without, aliases;
  data.WriteDeviceInfo(DeviceFileFromGpasm(known, true, without, aliases));
  // gputils 1.4.0 lists them but has no configuration data of them.
  EXPECT_EQ(without, (std::vector<std::string>{"18F2681", "18F4681", "18F64J15", "18F84J15"}));
  EXPECT_EQ(aliases, std::vector<std::string>{});
  const TTempFolder work;
  TInfoFile reader;
  ASSERT_EQ(reader.Load(DeviceInfoFileName(data.Path()), true), "");
  int assembled = 0;
  // One round each, at random settings with only what differs from the chip's
  // default, so that gpasm's defaults and the data's must agree too.
  for (const std::string &device : reader.Devices)
    if (AssemblesToItsWords(data.Path(), reader, device, 2, 3, work))
      ++assembled;
  EXPECT_GT(assembled, 250);
  EXPECT_EQ(assembled, reader.Devices.Count());
}

TEST(Gpasm, AssemblesTheTextOfEveryPic10To16ItKnowsFromItsOwnDeviceData) {
  const std::set<std::string> known = GpasmProcessors();
  ASSERT_GT(known.size(), 250u) << "gpasm cannot be run: install gputils, as tools/install-deps does";
  const TTempFolder data;
  std::vector<std::string> without, aliases;
  data.WriteDeviceInfo(DeviceFileFromGpasm(known, false, without, aliases));
  // gputils 1.4.0 lists them but has no configuration data of them (16C5X and 16CXX
  // are its generic processors, no parts).
  EXPECT_EQ(without,
            (std::vector<std::string>{"16C52", "16C54B", "16C5X", "16C61", "16C62", "16C64", "16C65", "16C73",
                                      "16C74", "16C84", "16CR54B", "16CXX", "16F1458", "16LF1458"}));
  // Its tables give a second name to one switch: IOFSCS beside IOSCFS.
  EXPECT_EQ(aliases, (std::vector<std::string>{"10F220 IOFSCS", "10F222 IOFSCS"}));
  const TTempFolder work;
  TInfoFile reader;
  ASSERT_EQ(reader.Load(DeviceInfoFileName(data.Path()), true), "");
  // None of them is listed among the 18F parts; configgen takes them all by name.
  EXPECT_EQ(reader.Devices.Count(), 0);
  int assembled = 0;
  // One round each, at random settings with only what differs from the chip's
  // default, so that gpasm's defaults and the data's must agree too.
  for (const std::string &device : reader.AllDeviceNames())
    if (AssemblesToItsWords(data.Path(), reader, device, 2, 3, work))
      ++assembled;
  EXPECT_GT(assembled, 300);
  EXPECT_EQ(assembled, reader.AllDeviceNames().Count());
}
