// configgen's commands, run in-process: output, messages and exit statuses.
#include "cli/ConfigGen.h"

#include "bench/cPackGenerator.h"
#include "core/cSyntax.h"
#include "deviceinfo/cInfoFile.h"
#include "devicepacks/cPackSearch.h"
#include "tests/support/DeviceInfoText.h"
#include "tests/support/HexText.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <sstream>
#include <streambuf>
#include <string>
#include <tuple>
#include <vector>

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

extern char **environ;
#endif

namespace {
struct TRun {
  int Status;
  std::string Out, Err;
};

TRun RunCli(const std::vector<std::string> &args, const std::string &input = {}) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = RunConfigGen(args, in, out, err);
  return {status, out.str(), err.str()};
}

// A usage error is its message and where the help is, nothing else.
void ExpectUsageError(const std::vector<std::string> &args) {
  const TRun run = RunCli(args);
  EXPECT_EQ(run.Status, kExitUsage) << testing::PrintToString(args);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(run.Err.rfind("configgen: ", 0), 0u) << run.Err;
  EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 2) << run.Err;
  EXPECT_TRUE(run.Err.ends_with("\nTry 'configgen --help'.\n")) << run.Err;
}
} // namespace

TEST(ConfigGenDevices, PrintsTheStatusLineAndTheNamesInFileOrder) {
  const TRun run = RunCli({"devices", "--folder", SamplesFolder()});
  EXPECT_EQ(run.Status, kExitOk) << run.Err;
  EXPECT_EQ(run.Out, "resource file: V1.42.7    8 device(s) found\n"
                     "18F1220\n18F2550\n18F25K22\n18F45K50\n18F4520\n18F8722\n18F2550\n18F26Q10\n");
  EXPECT_EQ(run.Err, "");

  const TRun withLF = RunCli({"devices", "--include-lf", "--folder=" + SamplesFolder()});
  EXPECT_EQ(withLF.Status, kExitOk);
  EXPECT_EQ(withLF.Out.substr(0, withLF.Out.find('\n')), "resource file: V1.42.7    10 device(s) found");
  EXPECT_NE(withLF.Out.find("\n18LF25K22\n"), std::string::npos);
}

TEST(ConfigGenDevices, FolderWithoutTheFileFailsWithStatusOne) {
  TTempFolder empty;
  const TRun run = RunCli({"devices", "--folder", empty.Path()});
  EXPECT_EQ(run.Status, kExitFailure);
  EXPECT_EQ(run.Out, "");
  EXPECT_NE(run.Err.find("cannot read"), std::string::npos) << run.Err;
  EXPECT_NE(run.Err.find("8bit_device.info"), std::string::npos) << run.Err;
}

// --folder naming a file: an .atpack archive gives what a folder holding just that
// archive gives, the sample's 8bit_device.info what its folder gives; another file,
// and a folder that does not exist, are named as what they are (exit 1).
TEST(ConfigGenDevices, AFolderGivenAsAFileIsReadAsTheUserMeantIt) {
  const TTempFolder archived, alone, other;
  const std::vector<std::string> archives = WritePackArchives(SourcePath("samples/packs"), archived.Path());
  const std::string pack = *std::find_if(archives.begin(), archives.end(), [](const std::string &name) {
    return name.find("PIC18F-K_DFP") != std::string::npos;
  });
  std::filesystem::copy_file(pack,
                             std::filesystem::path(alone.Path()) / std::filesystem::path(pack).filename());
  const std::string info = DeviceInfoFileName(SamplesFolder());
  const std::string notes = other.WriteFile("notes.txt", "not device data");
  const std::string missing = other.Path() + "/gone";
  const struct {
    std::vector<std::string> Args; // then --folder
    std::string Folder;
    std::string SameAs; // the folder that gives the same, or
    std::string Err;    // the message (exit 1)
  } cases[] = {
      {{"devices", "--include-lf"}, pack, alone.Path(), ""},
      {{"switches", "--device", "18LF45K50"}, pack, alone.Path(), ""},
      {{"generate", "--device", "18F25K22", "--changed-only", "--set", "FOSC=HSHP"}, pack, alone.Path(), ""},
      {{"devices"}, info, SamplesFolder(), ""},
      {{"words", "--device", "18F4520", "--set", "OSC=HS"}, info, SamplesFolder(), ""},
      {{"generate", "--device", "18F2522"},
       pack,
       "",
       "configgen: device '18F2522' is not among the devices listed in " + pack +
           " (see 'configgen devices --all'); did you mean '18F25K22' or '18LF25K22'?\n"},
      {{"devices"},
       notes,
       "",
       "configgen: not a folder: " + notes +
           "; name a folder of device data, an .atpack archive or an 8bit_device.info file\n"},
      {{"generate", "--device", "18F4520"}, missing, "", "configgen: no such folder: " + missing + "\n"},
  };
  for (const auto &c : cases) {
    std::vector<std::string> args = c.Args;
    args.insert(args.end(), {"--folder", c.Folder});
    SCOPED_TRACE(testing::PrintToString(args));
    const TRun run = RunCli(args);
    if (c.SameAs.empty()) {
      EXPECT_EQ(run.Status, kExitFailure);
      EXPECT_EQ(run.Out, "");
      EXPECT_EQ(run.Err, c.Err);
      continue;
    }
    args.back() = c.SameAs;
    const TRun same = RunCli(args);
    EXPECT_EQ(run.Status, kExitOk) << run.Err;
    EXPECT_EQ(run.Out, same.Out);
    EXPECT_EQ(run.Err, same.Err);
  }
  EXPECT_EQ(RunCli({"devices", "--folder", pack}).Out,
            "resource file: PIC18F-K_DFP 1.0.4    2 device(s) found\n18F25K22\n18F45K50\n");
}

namespace {
// An environment variable set while it lives, as it was again after.
class TEnvironmentVariable {
public:
  TEnvironmentVariable(const char *name, const std::string &value) : FName(name) {
    const char *old = std::getenv(name);
    FHad = old != nullptr;
    FOld = FHad ? old : "";
    Set(value.c_str());
  }
  ~TEnvironmentVariable() { Set(FHad ? FOld.c_str() : nullptr); }
  TEnvironmentVariable(const TEnvironmentVariable &) = delete;
  TEnvironmentVariable &operator=(const TEnvironmentVariable &) = delete;

private:
  void Set(const char *value) {
#ifdef _WIN32
    _putenv_s(FName.c_str(), value != nullptr ? value : "");
#else
    if (value != nullptr)
      setenv(FName.c_str(), value, 1);
    else
      unsetenv(FName.c_str());
#endif
  }
  std::string FName;
  std::string FOld;
  bool FHad = false;
};
} // namespace

// Without --folder, configgen reads the packs where the vendor's IDE keeps them (here
// under a root made for the test) and names the folder; finding none, it says where
// it looked.
TEST(ConfigGenDevices, WithoutAFolderTheVendorsInstallIsReadAndNamed) {
  const TTempFolder root;
  const TEnvironmentVariable searchRoot(kPackSearchRootVariable, root.Path());
  std::string ide = PackSearchFolders(PackSearchOfThisSystem()).front();
  ASSERT_NE(ide.find("v*"), std::string::npos) << ide;
  const TRun none = RunCli({"devices"});
  EXPECT_EQ(none.Status, kExitFailure);
  EXPECT_EQ(none.Out, "");
  EXPECT_EQ(none.Err.rfind("configgen: no --folder DIR given, and no device packs where the vendor's IDE "
                           "keeps them; looked in:\n  " +
                               ide + " (not there)\n",
                           0),
            0u)
      << none.Err;

  ide.replace(ide.find("v*"), 2, "v6.20");
  const std::string packs = SourcePath("samples/packs");
  std::filesystem::create_directories(ide);
  std::filesystem::copy(packs, ide, std::filesystem::copy_options::recursive);
  const TRun found = RunCli({"devices"});
  const TRun named = RunCli({"devices", "--folder", packs});
  EXPECT_EQ(found.Status, kExitOk) << found.Err;
  const std::string status = named.Out.substr(0, named.Out.find('\n'));
  EXPECT_EQ(found.Out, status.substr(0, status.find("    ")) + " in " + ide +
                           status.substr(status.find("    ")) + named.Out.substr(status.size()));
  EXPECT_EQ(RunCli({"generate", "--device", "18F2550"}).Out,
            RunCli({"generate", "--folder", packs, "--device", "18F2550"}).Out);
}

TEST(ConfigGenDevices, MalformedFileGivesTheReadersMessageAndTheLine) {
  TTempFolder folder;
  folder.WriteDeviceInfo("<PARTS_INDEX_TYPE><18F1>\r\n<PARTS_INDEX_TYPE>\r\n");
  const TRun run = RunCli({"devices", "--folder", folder.Path()});
  EXPECT_EQ(run.Status, kExitFailure);
  EXPECT_EQ(run.Out, "");
  EXPECT_NE(run.Err.find("List index out of bounds (1)"), std::string::npos) << run.Err;
  EXPECT_NE(run.Err.find("line 2"), std::string::npos) << run.Err;
}

TEST(ConfigGen, UsageErrorsExitTwoWithOneLineAndWhereTheHelpIs) {
  const std::vector<std::vector<std::string>> cases = {{},
                                                       {"frobnicate"},
                                                       {"--frobnicate"},
                                                       {"devices", "--folder"},
                                                       {"devices", "--folder", "x", "--bogus"},
                                                       {"devices", "--folder", ""},
                                                       {"devices", "--folder="},
                                                       {"devices", "extra"},
                                                       {"help", "frobnicate"}};
  for (const auto &args : cases)
    ExpectUsageError(args);
  EXPECT_EQ(RunCli({"generat"}).Err.find("configgen: unknown command 'generat'; did you mean 'generate'?\n"),
            0u);
  EXPECT_EQ(
      RunCli({"devices", "--include-fl"})
          .Err.find("configgen: unknown option '--include-fl' for devices; did you mean '--include-lf'?\n"),
      0u);
}

TEST(ConfigGen, TheHelpFitsOneScreenAndEachCommandsHelpGivesItsOptions) {
  const TRun help = RunCli({"--help"});
  EXPECT_EQ(help.Status, kExitOk);
  EXPECT_EQ(help.Err, "");
  EXPECT_LE(std::count(help.Out.begin(), help.Out.end(), '\n'), 24);
  std::istringstream lines(help.Out);
  for (std::string line; std::getline(lines, line);)
    EXPECT_LE(line.size(), 80u) << line;
  for (const char *command : {"devices", "generate", "switches", "words", "check"})
    EXPECT_NE(help.Out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
  EXPECT_EQ(RunCli({"help"}).Out, help.Out);

  const TRun generate = RunCli({"generate", "--help"});
  EXPECT_EQ(generate.Status, kExitOk);
  for (const char *option :
       {"--folder DIR", "--device NAME", "--syntax SYNTAX", "--set SWITCH=SETTING", "--from FILE"})
    EXPECT_NE(generate.Out.find(option), std::string::npos) << option;
  EXPECT_EQ(RunCli({"help", "generate"}).Out, generate.Out);
  EXPECT_EQ(RunCli({"devices", "--help"}).Out.find("--device"), std::string::npos);
}

TEST(ConfigGen, TheHelpNamesEverySyntaxOfTheTableAndWhatItsTextIsMadeOf) {
  // The help's words with each run of blanks and line breaks made one blank.
  std::istringstream words(RunCli({"generate", "--help"}).Out);
  std::string help;
  for (std::string word; words >> word;)
    help.append(" ").append(word);
  for (const TSyntax &syntax : kSyntaxes) {
    const std::string named = std::string(syntax.CliName) + " (" + std::string(syntax.About);
    EXPECT_NE(help.find(" " + named), std::string::npos) << named;
  }
  EXPECT_NE(help.find(" tarnwick (a config block, the default)"), std::string::npos);
}

TEST(ConfigGen, VersionIsTheProjects) {
  for (const char *flag : {"--version", "-V"}) {
    const TRun version = RunCli({flag});
    EXPECT_EQ(version.Status, kExitOk) << flag;
    EXPECT_EQ(version.Out, "configgen " FB_PROJECT_VERSION "\n") << flag;
    EXPECT_EQ(version.Err, "") << flag;
  }
}

// --folder, --device, --include-lf and --info-defaults before the command give what
// they give after it, errors included; given in both places, the later one counts.
TEST(ConfigGen, OptionsBeforeTheCommandMeanWhatTheyMeanAfterIt) {
  TTempFolder folder;
  const std::string samples = SamplesFolder();
  const std::string packs = SourcePath("samples/packs");
  const std::string text = folder.WriteFile("t.bas", "config LVP = ON\n");
  const struct {
    std::vector<std::string> Before, After;
  } cases[] = {
      {{"--folder", samples, "devices"}, {"devices", "--folder", samples}},
      {{"--include-lf", "--folder=" + packs, "devices"}, {"devices", "--folder=" + packs, "--include-lf"}},
      {{"--folder", samples, "--device", "18f4520", "generate", "--set", "OSC=HS"},
       {"generate", "--folder", samples, "--device", "18f4520", "--set", "OSC=HS"}},
      {{"--info-defaults", "--device", "18F2550", "switches", "--folder", samples},
       {"switches", "--info-defaults", "--device", "18F2550", "--folder", samples}},
      {{"--device", "18F4520", "--folder", samples, "words"},
       {"words", "--device", "18F4520", "--folder", samples}},
      {{"--device", "PIC18F4520", "check", "--folder", samples, text},
       {"check", "--device", "PIC18F4520", "--folder", samples, text}},
      {{"--folder", packs, "devices", "--folder", samples}, {"devices", "--folder", samples}},
      {{"--device", "18F4520", "devices", "--folder", samples},
       {"devices", "--device", "18F4520", "--folder", samples}},
      {{"--include-lf", "generate", "--device", "18F4520"},
       {"generate", "--include-lf", "--device", "18F4520"}},
      {{"--folder=", "devices"}, {"devices", "--folder="}},
      {{"--folder", samples, "generate"}, {"generate", "--folder", samples}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Before));
    const TRun before = RunCli(c.Before);
    const TRun after = RunCli(c.After);
    EXPECT_EQ(before.Status, after.Status);
    EXPECT_EQ(before.Out, after.Out);
    EXPECT_EQ(before.Err, after.Err);
    EXPECT_NE(before.Out + before.Err, "");
  }
  ExpectUsageError({"--folder", samples});
}

// --- generate and switches ----------------------------------------------------------

TEST(ConfigGenGenerate, PrintsTheGeneratedTextWithEverySwitchAtItsDefault) {
  const TRun run = RunCli({"generate", "--folder", SamplesFolder(), "--device", "18F1220"});
  EXPECT_EQ(run.Status, kExitOk) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.Out, "device = 18F1220\n"
                     "\n"
                     "config\n"
                     "    OSC = INTIO1,       // Internal RC oscillator, CLKO function on RA6\n"
                     "    FSCM = ON,          // Fail-Safe Clock Monitor enabled\n"
                     "    IESO = ON,          // Internal External Switchover mode enabled\n"
                     "    PWRT = OFF,         // PWRT disabled\n"
                     "    BOR = ON,           // Brown-out Reset enabled\n"
                     "    BORV = 27,          // VBOR set to 2.7V\n"
                     "    WDT = ON,           // WDT enabled\n"
                     "    WDTPS = 32768,      // 1:32768\n"
                     "    STVR = ON,          // Stack full/underflow will cause Reset\n"
                     "    LVP = OFF,          // Single-Supply ICSP disabled\n"
                     "    DEBUG = OFF,        // Background debugger disabled, RB6 and RB7 configured as "
                     "general purpose I/O "
                     "pins\n"
                     "    CP0 = OFF,          // Block 0 (000200-0007FFh) not code-protected\n"
                     "    CP1 = OFF,          // Block 1 (000800-000FFFh) not code-protected\n"
                     "    CPB = OFF,          // Boot block (000000-0001FFh) not code-protected\n"
                     "    CPD = OFF           // Data EEPROM not code-protected\n");
}

TEST(ConfigGenGenerate, OptionsPicksAndTheIndexsSpelling) {
  const std::string folder = SamplesFolder();
  // Any letter case finds the device; the index's spelling is printed.
  const TRun lf = RunCli({"generate", "--folder", folder, "--device", "18lf25k22", "--orvane",
                          "--no-comments", "--set", "FOSC=HSHP", "--set=FOSC=XT", "--set", "WDTPS=64"});
  EXPECT_EQ(lf.Status, kExitOk) << lf.Err;
  EXPECT_EQ(lf.Out.substr(0, lf.Out.find("config PLLCFG")), "device = 18LF25K22\n\nconfig FOSC = XT\n");
  EXPECT_NE(lf.Out.find("\nconfig WDTPS = 64\n"), std::string::npos) << lf.Out;
  EXPECT_EQ(lf.Out.find('\r'), std::string::npos);

  // A pick stands in its row with its own description.
  const TRun pick = RunCli({"generate", "--folder", folder, "--device", "18F2550", "--set", "FOSC=HS"});
  EXPECT_NE(pick.Out.find("\n    FOSC = HS,          // HS oscillator (HS)\n"), std::string::npos)
      << pick.Out;

  // --info-defaults: LVP takes the register's default instead of OFF.
  const TRun plain = RunCli({"generate", "--folder", folder, "--device", "18F1220"});
  const TRun info = RunCli({"generate", "--folder", folder, "--device", "18F1220", "--info-defaults"});
  EXPECT_NE(plain.Out.find("    LVP = OFF,"), std::string::npos);
  EXPECT_NE(info.Out.find("    LVP = ON,           // Single-Supply ICSP enabled\n"), std::string::npos)
      << info.Out;
}

TEST(ConfigGenGenerate, SyntaxChoosesTheLanguageAndOrvaneIsItsShortForm) {
  const std::string folder = SamplesFolder();
  auto generate = [&](const std::vector<std::string> &options) {
    std::vector<std::string> args = {"generate", "--folder", folder,  "--device",
                                     "18F4520",  "--set",    "LVP=ON"};
    args.insert(args.end(), options.begin(), options.end());
    return RunCli(args);
  };
  EXPECT_EQ(generate({"--syntax", "orvane"}).Out, generate({"--orvane"}).Out);
  EXPECT_EQ(generate({"--syntax=tarnwick"}).Out, generate({}).Out);
  const TRun c = generate({"--syntax", "C"});
  EXPECT_EQ(c.Status, kExitOk) << c.Err;
  EXPECT_EQ(c.Out.substr(0, c.Out.find("#pragma config FCMEN")),
            "/* device = 18F4520 */\n\n// CONFIG1H at 0x300001\n"
            "#pragma config OSC = RCIO6          // External RC oscillator, port function on RA6\n");
  EXPECT_NE(c.Out.find("\n\n// CONFIG4L at 0x300006\n#pragma config STVREN = ON"), std::string::npos)
      << c.Out;
  EXPECT_NE(c.Out.find("\n#pragma config LVP = ON             // Single-Supply ICSP enabled\n"),
            std::string::npos)
      << c.Out;
  const TRun assembler = generate({"--syntax", "asm", "--no-comments"});
  EXPECT_EQ(assembler.Status, kExitOk) << assembler.Err;
  EXPECT_EQ(assembler.Out.substr(0, assembler.Out.find("    CONFIG FCMEN")),
            "    PROCESSOR 18F4520\n\n; CONFIG1H at 0x300001\n    CONFIG OSC = RCIO6\n");
  EXPECT_NE(assembler.Out.find("\n    CONFIG LVP = ON\n"), std::string::npos) << assembler.Out;

  const TRun unknown = generate({"--syntax", "pascal"});
  EXPECT_EQ(unknown.Status, kExitUsage);
  EXPECT_EQ(
      unknown.Err.rfind("configgen: unknown syntax 'pascal'; the syntaxes: tarnwick, orvane, c, asm\n", 0),
      0u)
      << unknown.Err;
}

TEST(ConfigGenGenerate, APickIsTheFirstSettingOfThatName) {
  TTempFolder folder;
  folder.WriteDeviceInfo(TDeviceInfoText()
                             .Index("18F1")
                             .Part("18F1")
                             .Register("0")
                             .Switch("MODE", "Mode", "3")
                             .Setting("Y", "why", "0")
                             .Setting("X", "first X", "1")
                             .Setting("X", "second X", "2")
                             .Text());
  const TRun run = RunCli({"generate", "--folder", folder.Path(), "--device", "18F1", "--set", "MODE=X"});
  EXPECT_EQ(run.Status, kExitOk) << run.Err;
  EXPECT_EQ(run.Out, "device = 18F1\n\nconfig\n    MODE = X            // first X\n");
}

TEST(ConfigGenSwitches, PrintsTheGridRowsTabSeparated) {
  const TRun run = RunCli({"switches", "--folder", SamplesFolder(), "--device", "18f1220"});
  EXPECT_EQ(run.Status, kExitOk) << run.Err;
  EXPECT_EQ(run.Out.substr(0, run.Out.find("IESO")),
            "OSC\tOscillator Selection bits\tINTIO1\tInternal RC oscillator, CLKO function on RA6\n"
            "FSCM\tFail-Safe Clock Monitor Enable bit\tON\tFail-Safe Clock Monitor enabled\n");
  EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 15);
  EXPECT_NE(run.Out.find("\nLVP\tSingle-Supply ICSP Enable bit\tOFF\tSingle-Supply ICSP disabled\n"),
            std::string::npos);
  const TRun info =
      RunCli({"switches", "--info-defaults", "--folder", SamplesFolder(), "--device", "18F1220"});
  EXPECT_NE(info.Out.find("\nLVP\tSingle-Supply ICSP Enable bit\tON\t"), std::string::npos);
}

TEST(ConfigGenGenerate, FailuresExitOneWithAClearMessage) {
  const std::string samples = SamplesFolder();
  TTempFolder malformed;
  malformed.WriteDeviceInfo("<PARTS_INDEX_TYPE><18F1>\r\n<PART_INFO_TYPE><x><PIC18F1>\r\n"
                            "<SWITCH_INFO_TYPE><A><a><1>\r\n<SETTING_VALUE_TYPE><X>\r\n");
  TTempFolder badIndex;
  badIndex.WriteDeviceInfo("<PARTS_INDEX_TYPE><18F1>\r\n<PARTS_INDEX_TYPE>\r\n");
  TTempFolder empty;
  const struct {
    std::vector<std::string> Args;
    std::vector<std::string> Message; // parts of the message
  } cases[] = {
      {{"generate", "--folder", samples, "--device", "18F9999"},
       {"'18F9999' is not among the devices listed in", "(see 'configgen devices --all')"}},
      {{"generate", "--folder", samples, "--device", "16F9999"}, {"'16F9999' is not among"}},
      {{"switches", "--folder", samples, "--device", "18f8722"},
       {"'18F8722' is listed in", "has no part section"}},
      {{"generate", "--folder", samples, "--device", "18F1220", "--set", "FOO=ON"},
       {"--set FOO=ON: unknown switch 'FOO' for 18F1220; its switches: OSC, FSCM, IESO, PWRT, BOR, BORV, "
        "WDT, "
        "WDTPS, STVR, LVP, DEBUG, CP0, CP1, CPB, CPD"}},
      {{"generate", "--folder", samples, "--device", "18F1220", "--set", "BORV=12"},
       {"--set BORV=12: unknown setting '12' for switch 'BORV'; its settings: 45, 42, 27"}},
      {{"generate", "--folder", malformed.Path(), "--device", "18F1"},
       {"List index out of bounds (2)", "line 4"}},
      {{"switches", "--folder", badIndex.Path(), "--device", "18F1"},
       {"List index out of bounds (1)", "line 2"}},
      {{"generate", "--folder", empty.Path(), "--device", "18F1"}, {"cannot read", "8bit_device.info"}},
      {{"generate", "--folder", samples, "--device", std::string(1000, 'D')},
       {"device '" + std::string(60, 'D') + "...' is not among"}},
  };
  for (const auto &c : cases) {
    const TRun run = RunCli(c.Args);
    SCOPED_TRACE(testing::PrintToString(c.Args));
    EXPECT_EQ(run.Status, kExitFailure);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.rfind("configgen: ", 0), 0u) << run.Err;
    for (const std::string &part : c.Message)
      EXPECT_NE(run.Err.find(part), std::string::npos) << run.Err;
  }
}

namespace {
// A stream whose every write fails, as on a full disk; optionally it raises
// the failure as an exception.
class TFailingBuffer : public std::streambuf {
public:
  explicit TFailingBuffer(bool raise) : FRaise(raise) {}

protected:
  int_type overflow(int_type) override { return Fail(); }
  std::streamsize xsputn(const char *, std::streamsize) override { return Fail(); }

private:
  int Fail() {
    if (FRaise)
      throw std::bad_alloc();
    return traits_type::eof();
  }
  bool FRaise;
};
} // namespace

TEST(ConfigGen, OutputThatCannotBeWrittenOrAnyFailureExitsOneWithAMessage) {
  for (const auto &args : std::vector<std::vector<std::string>>{
           {"--help"},
           {"devices", "--folder", SamplesFolder()},
           {"generate", "--folder", SamplesFolder(), "--device", "18F1220"},
           {"switches", "--folder", SamplesFolder(), "--device", "18F1220"}}) {
    SCOPED_TRACE(testing::PrintToString(args));
    TFailingBuffer full(false);
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(RunConfigGen(args, out, err), kExitFailure);
    EXPECT_EQ(err.str().rfind("configgen: cannot write the output", 0), 0u) << err.str();

    TFailingBuffer raising(true);
    std::ostream thrower(&raising);
    thrower.exceptions(std::ios::badbit);
    std::ostringstream err2;
    EXPECT_EQ(RunConfigGen(args, thrower, err2), kExitFailure);
    EXPECT_EQ(err2.str(), "configgen: out of memory\n");
  }
}

#ifndef _WIN32
namespace {
// The program itself, run by the shell with Arguments (redirections included; its
// stderr goes to a file of Folder's unless they send it elsewhere): its exit status
// and the first line of stderr.
std::pair<int, std::string> RunProgram(const TTempFolder &folder, const std::string &arguments) {
  const std::string errors = folder.Path() + "/err.txt";
  std::remove(errors.c_str());
  // Stderr's file comes first, so a redirection of Arguments' own overrides it.
  const std::string line = std::string("'") + FB_CONFIGGEN + "' 2>'" + errors + "' " + arguments;
  const int status = std::system(line.c_str());
  std::ifstream in(errors);
  std::string message;
  std::getline(in, message);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, message};
}
} // namespace

// The program itself with its standard output on a full disk or closed.
TEST(ConfigGen, TheProgramReportsAFailedWriteOfItsOutput) {
  TTempFolder folder;
  for (const std::string &command :
       std::vector<std::string>{"--help", "devices --folder '" + SamplesFolder() + "'",
                                "generate --device 18F1220 --folder '" + SamplesFolder() + "'"}) {
    for (const std::string redirect : {">/dev/full", ">&-"}) {
      SCOPED_TRACE(command + std::string(" ").append(redirect));
      const auto [status, message] = RunProgram(folder, std::string(command).append(" ").append(redirect));
      EXPECT_EQ(status, kExitFailure);
      EXPECT_EQ(message.rfind("configgen: cannot write the output: ", 0), 0u) << message;
    }
  }
}

#endif

namespace {
#ifdef _WIN32
// The program with Arguments and its standard output on a pipe whose reader goes:
// before the program starts, or (ReadLine) as `| more` would, once it has read the
// first line. Its exit status and its stderr.
std::pair<int, std::string> RunIntoClosedPipe(const TTempFolder &folder, std::vector<std::string> arguments,
                                              bool readLine) {
  int ends[2];
  if (_pipe(ends, 65536, _O_BINARY | _O_NOINHERIT) != 0)
    return {-1, "no pipe"};
  if (!readLine)
    _close(ends[0]);
  const std::string errors = folder.Path() + "/err.txt";
  const int errorFile =
      _open(errors.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
  // The program inherits standard output and error as they are while it starts.
  std::fflush(stdout);
  std::fflush(stderr);
  const int savedOut = _dup(1);
  const int savedErr = _dup(2);
  _dup2(ends[1], 1);
  _dup2(errorFile, 2);
  _close(ends[1]);
  _close(errorFile);
  // The program's path as Wine names it, and each argument quoted, as _spawnv joins them.
  std::string program = "Z:" FB_CONFIGGEN;
  std::replace(program.begin(), program.end(), '/', '\\');
  arguments.insert(arguments.begin(), program);
  std::vector<std::string> quoted;
  for (const std::string &argument : arguments)
    quoted.push_back('"' + argument + '"');
  std::vector<const char *> argv;
  for (const std::string &argument : quoted)
    argv.push_back(argument.c_str());
  argv.push_back(nullptr);
  const intptr_t child = _spawnv(_P_NOWAIT, program.c_str(), argv.data());
  _dup2(savedOut, 1);
  _dup2(savedErr, 2);
  _close(savedOut);
  _close(savedErr);
  if (readLine) {
    char byte = 0;
    while (_read(ends[0], &byte, 1) == 1 && byte != '\n') {
    }
    _close(ends[0]);
  }
  int status = -1;
  if (child == -1 || _cwait(&status, child, 0) == -1)
    return {-1, "not run"};
  std::ifstream in(errors);
  const std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return {status, message};
}
#else
// The program with Arguments and its standard output on a pipe whose reader goes,
// with SIGPIPE as a shell leaves it: before the program starts, or (ReadLine) as
// `| head -1` does, once it has read the first line. Its exit status (minus the
// signal's number when one ended it) and its stderr.
std::pair<int, std::string> RunIntoClosedPipe(const TTempFolder &folder, std::vector<std::string> arguments,
                                              bool readLine) {
  int ends[2];
  if (pipe(ends) != 0)
    return {-1, "no pipe"};
  if (!readLine)
    close(ends[0]);
  const std::string errors = folder.Path() + "/err.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  if (readLine)
    posix_spawn_file_actions_addclose(&actions, ends[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes, &signals);
  sigaddset(&signals, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &signals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::string program = FB_CONFIGGEN;
  arguments.insert(arguments.begin(), program);
  std::vector<char *> argv;
  argv.reserve(arguments.size() + 1);
  for (std::string &argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
  close(ends[1]);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (readLine) {
    char byte = 0;
    while (read(ends[0], &byte, 1) == 1 && byte != '\n') {
    }
    close(ends[0]);
  }
  int status = 0;
  if (spawned != 0 || waitpid(child, &status, 0) != child)
    return {-1, "not run"};
  std::ifstream in(errors);
  const std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status), message};
}
#endif
} // namespace

// Output into a pipe whose reader has gone ends the run quietly with status 0, as
// the end of what anybody reads, whatever the command: the pipe closed before the
// first write, or after the first line of an output far larger than the pipe holds,
// so that the write surely fails (no race).
TEST(ConfigGen, OutputIntoAClosedPipeEndsQuietlyWithStatusZero) {
  TTempFolder folder;
  const std::string text = folder.WriteFile("t.bas", "device = 18F4520\nconfig LVP = ON\n");
  std::string many = "device = 18F4520\n";
  for (int line = 0; line < 20000; ++line)
    many += "config NOSUCH = ON\n"; // an error each: 2 MB of diagnostics
  const std::string large = folder.WriteFile("many.bas", many);
  const std::vector<std::string> commands[] = {
      {"--help"},
      {"devices", "--folder", SamplesFolder()},
      {"generate", "--folder", SamplesFolder(), "--device", "18F4520"},
      {"switches", "--folder", SamplesFolder(), "--device", "18F4520"},
      {"words", "--folder", SamplesFolder(), "--device", "18F4520"},
      {"check", "--folder", SamplesFolder(), text},
      {"check", "--folder", SamplesFolder(), large},
  };
  for (const std::vector<std::string> &arguments : commands) {
    SCOPED_TRACE(testing::PrintToString(arguments));
    EXPECT_EQ(RunIntoClosedPipe(folder, arguments, false), std::make_pair(int{kExitOk}, std::string()));
  }
  EXPECT_EQ(RunIntoClosedPipe(folder, commands[6], true), std::make_pair(int{kExitOk}, std::string()));
}

#ifndef _WIN32

TEST(ConfigGenCheck, AReadThatFailsIsReportedNeverTakenForAText) {
  TTempFolder folder;
  const std::string text = folder.WriteFile("t.bas", "device = 18F4520\nconfig LVP = ON\n");
  const struct {
    std::string Arguments;
    std::string Message; // the start of stderr's first line
  } cases[] = {
      {"check --folder '" + SamplesFolder() + "' - <'" + folder.Path() + "'",
       "configgen: cannot read <stdin>: Is a directory"},
      {"check --folder '" + SamplesFolder() + "' - </dev/zero",
       "configgen: cannot read <stdin>: larger than 256 MiB"},
      // Diagnostics that cannot be written are no success either.
      {"generate --folder '" + SamplesFolder() + "' --from '" + text + "' >/dev/null 2>/dev/full", ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Arguments);
    const auto [status, message] = RunProgram(folder, c.Arguments);
    EXPECT_EQ(status, kExitFailure);
    EXPECT_EQ(message.substr(0, c.Message.size()), c.Message);
  }
}
#endif

namespace {
// Input whose read fails after some bytes, as a disk read does with EIO.
class TFailingInput : public std::streambuf {
public:
  explicit TFailingInput(std::string text) : FText(std::move(text)) {}

protected:
  int_type underflow() override {
    if (FGiven)
      throw std::ios_base::failure("input/output error");
    FGiven = true;
    setg(FText.data(), FText.data(), FText.data() + FText.size());
    return traits_type::to_int_type(FText[0]);
  }

private:
  std::string FText;
  bool FGiven = false;
};
} // namespace

TEST(ConfigGenCheck, APartialReadNeverCountsAsTheWholeText) {
  TFailingInput buffer("device = 18F4520\nconfig LVP = OFF\n");
  std::istream in(&buffer);
  std::ostringstream out, err;
  EXPECT_EQ(RunConfigGen({"generate", "--folder", SamplesFolder(), "--from", "-"}, in, out, err),
            kExitFailure);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "configgen: cannot read <stdin>: read error\n");
}

#ifndef _WIN32
namespace {
// Output that cuts a file short the first time it is written to, as a program
// saving over the file being checked would.
class TCuttingOutput : public std::stringbuf {
public:
  explicit TCuttingOutput(std::string path) : FPath(std::move(path)) {}

protected:
  std::streamsize xsputn(const char *text, std::streamsize size) override {
    if (!FCut)
      std::ofstream(FPath, std::ios::trunc);
    FCut = true;
    return std::stringbuf::xsputn(text, size);
  }

private:
  std::string FPath;
  bool FCut = false;
};
} // namespace

// The file is mapped, not copied: its change under the reading is caught, never
// a crash, and what was read of it is no result.
TEST(ConfigGenCheck, AFileThatChangesWhileItIsReadGivesNoResult) {
  TTempFolder folder;
  // A warning first, written while the pages after it are still to be read.
  const std::string path = folder.WriteFile("t.bas", "device = 18F4520\nconfig LVP = ON\n" +
                                                         std::string(100000, '\n') + "x = 1\n");
  TCuttingOutput buffer(path);
  std::ostream out(&buffer);
  std::istringstream in;
  std::ostringstream err;
  EXPECT_EQ(RunConfigGen({"check", "--folder", SamplesFolder(), path}, in, out, err), kExitFailure);
  EXPECT_EQ(err.str(), "configgen: cannot read " + path + ": it changed while it was read\n");
}
#endif

TEST(ConfigGenGenerate, AFailingFirstEntryDoesNotStopAnotherDevice) {
  TTempFolder folder;
  folder.WriteDeviceInfo(TDeviceInfoText()
                             .Index("18F1")
                             .Index("18F2")
                             .Part("18F1")
                             .Switch("A", "a", "ZZ")
                             .Part("18F2")
                             .Switch("B", "b", "1")
                             .Setting("B0", "b0", "0")
                             .Text());
  const TRun other = RunCli({"switches", "--folder", folder.Path(), "--device", "18F2"});
  EXPECT_EQ(other.Status, kExitOk) << other.Err;
  EXPECT_EQ(other.Out, "B\tb\tB0\tb0\n");
  const TRun first = RunCli({"switches", "--folder", folder.Path(), "--device", "18F1"});
  EXPECT_EQ(first.Status, kExitFailure);
  EXPECT_NE(first.Err.find("'$ZZ' is not a valid integer value"), std::string::npos) << first.Err;
  EXPECT_NE(first.Err.find("line 4"), std::string::npos) << first.Err;
}

TEST(ConfigGenGenerate, UsageErrorsExitTwo) {
  const std::string samples = SamplesFolder();
  const std::vector<std::vector<std::string>> cases = {
      {"generate", "--folder", samples},
      {"generate", "--folder", samples, "--device"},
      {"generate", "--folder", samples, "--device", "18F1220", "--set", "FOSC"},
      {"generate", "--folder", samples, "--device", "18F1220", "--set", "=HS"},
      {"generate", "--folder", samples, "--device", "18F1220", "--include-lf"},
      {"switches", "--folder", samples, "--device", "18F1220", "--orvane"},
      {"switches", "--folder", samples, "--device", "18F1220", "--set", "FOSC=HS"},
      {"devices", "--folder", samples, "--device", "18F1220"},
  };
  for (const auto &args : cases)
    ExpectUsageError(args);
}

namespace {
// A string literal with its embedded NUL bytes, without the terminating one.
template <size_t N> std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}
} // namespace

// What `configgen generate` gives for each kind of bad input (docs/bad-input.md).
TEST(ConfigGenGenerate, BadInputGivesAClearErrorOrReadsAsIs) {
  const std::string index = "<RES_FILE_VERSION_INFO_TYPE><7>\r\n<PARTS_INDEX_TYPE><18F1>\r\n";
  const std::string part = "<PART_INFO_TYPE><x><PIC18F1>\r\n<CONFIGREG_INFO_TYPE><1><C><05>\r\n"
                           "<SWITCH_INFO_TYPE><A><a><0F>\r\n<SETTING_VALUE_TYPE><A0><zero><0>\r\n"
                           "<SETTING_VALUE_TYPE><A5><five><5>\r\n";
  const struct {
    const char *What;
    std::string Text;
    int Status;
    std::string Expected; // in stderr on failure, in stdout on success
  } cases[] = {
      {"blank line in the index", "<PARTS_INDEX_TYPE><18F1>\r\n\r\n" + part, kExitFailure,
       "List index out of bounds (0) ("},
      {"blank line in a part section", index + part + " \r\n", kExitFailure,
       "List index out of bounds (0) ("},
      {"record missing a read field", index + "<PART_INFO_TYPE><x><PIC18F1>\r\n<SWITCH_INFO_TYPE><A><a>\r\n",
       kExitFailure, "List index out of bounds (3) ("},
      {"non-hexadecimal register value",
       index + "<PART_INFO_TYPE><x><PIC18F1>\r\n<CONFIGREG_INFO_TYPE><1><C><5H>\r\n", kExitFailure,
       "'$5H' is not a valid integer value ("},
      {"non-hexadecimal mask", index + "<PART_INFO_TYPE><x><PIC18F1>\r\n<SWITCH_INFO_TYPE><A><a><0x0F>\r\n",
       kExitFailure, "'$0x0F' is not a valid integer value ("},
      {"0-byte file", "", kExitFailure, "is not among"},
      {"not text at all", Bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0"), kExitFailure,
       "List index out of bounds (0) ("},
      {"1 MB line",
       index + part + "<SWITCH_INFO_TYPE><B><" + std::string(1 << 20, 'x') + "><1>\r\n" +
           "<SETTING_VALUE_TYPE><ON><on><1>\r\n",
       kExitOk, "    A = A5,"},
      {"NUL bytes",
       index + part + Bytes("<SWITCH_INFO_TYPE><B\0><b><1>\r\n<SETTING_VALUE_TYPE><ON><\0><1>\r\n"), kExitOk,
       "    B  = ON"},
      {"CR-only line ends",
       "<PARTS_INDEX_TYPE><18F1>\r<PART_INFO_TYPE><x><PIC18F1>\r<SWITCH_INFO_TYPE><A><a><1>\r"
       "<SETTING_VALUE_TYPE><ON><on><1>\r",
       kExitOk, "    A = ON"},
  };
  for (const auto &c : cases) {
    TTempFolder folder;
    folder.WriteDeviceInfo(c.Text);
    const TRun run = RunCli({"generate", "--folder", folder.Path(), "--device", "18F1"});
    EXPECT_EQ(run.Status, c.Status) << c.What << ": " << run.Err;
    const std::string &where = c.Status == kExitOk ? run.Out : run.Err;
    EXPECT_NE(where.find(c.Expected), std::string::npos) << c.What << ": " << where;
  }

  TTempFolder folder;
  std::filesystem::create_directory(std::filesystem::path(folder.Path()) / "8bit_device.info");
  const TRun directory = RunCli({"devices", "--folder", folder.Path()});
  EXPECT_EQ(directory.Status, kExitFailure);
  EXPECT_NE(directory.Err.find("is a directory"), std::string::npos) << directory.Err;

  TTempFolder empty;
  empty.WriteDeviceInfo("");
  const TRun emptyFile = RunCli({"devices", "--folder", empty.Path()});
  EXPECT_EQ(emptyFile.Status, kExitOk);
  EXPECT_EQ(emptyFile.Out, "resource file: <none>    0 device(s) found\n");
}

// --- check, --from and --changed-only ------------------------------------------------

TEST(ConfigGenGenerate, SetMatchesNamesIgnoringLetterCase) {
  const TRun exact =
      RunCli({"generate", "--folder", SamplesFolder(), "--device", "18F1220", "--set", "OSC=HS"});
  const TRun lower =
      RunCli({"generate", "--folder", SamplesFolder(), "--device", "18F1220", "--set", "osc=hs"});
  EXPECT_EQ(lower.Status, kExitOk) << lower.Err;
  EXPECT_EQ(lower.Out, exact.Out);
  EXPECT_NE(exact.Out.find("    OSC = HS,"), std::string::npos);
  // The device, too, with or without PIC, as a text's device line may name it.
  const TRun prefixed =
      RunCli({"generate", "--folder", SamplesFolder(), "--device", "pic18f1220", "--set", "OSC=HS"});
  EXPECT_EQ(prefixed.Out, exact.Out);
}

TEST(ConfigGenFrom, EveryTextGenerateWritesReadsBackToItselfAndChecksClean) {
  for (const std::string device : {"18F1220", "18F2550", "18F25K22", "18LF45K50", "18F4520"}) {
    for (const auto &options :
         std::vector<std::vector<std::string>>{{},
                                               {"--orvane"},
                                               {"--no-comments"},
                                               {"--orvane", "--no-comments"},
                                               {"--changed-only"},
                                               {"--changed-only", "--orvane", "--set", "LVP=ON"},
                                               {"--info-defaults", "--changed-only"},
                                               {"--info-defaults", "--orvane", "--no-comments"},
                                               {"--syntax", "c"},
                                               {"--syntax", "c", "--changed-only", "--no-comments"},
                                               {"--syntax", "asm", "--set", "LVP=ON"},
                                               {"--syntax", "asm", "--changed-only", "--info-defaults"}}) {
      SCOPED_TRACE(device + " " + testing::PrintToString(options));
      std::vector<std::string> args = {"generate", "--folder", SamplesFolder(), "--device", device};
      args.insert(args.end(), options.begin(), options.end());
      const TRun first = RunCli(args);
      ASSERT_EQ(first.Status, kExitOk) << first.Err;
      std::vector<std::string> again = {"generate", "--folder", SamplesFolder(), "--from", "-"};
      again.insert(again.end(), options.begin(), options.end());
      const TRun second = RunCli(again, first.Out);
      EXPECT_EQ(second.Status, kExitOk) << second.Err;
      EXPECT_EQ(second.Out, first.Out);
      // Nothing is wrong in it (risky settings are warned of; the core's round trip
      // tells those apart).
      const TRun check = RunCli({"check", "--folder", SamplesFolder(), "-"}, first.Out);
      EXPECT_EQ(check.Status, kExitOk) << check.Out;
      EXPECT_EQ(check.Out.find(": error: "), std::string::npos) << check.Out;
      EXPECT_EQ(second.Err.find(": error: "), std::string::npos) << second.Err;
    }
  }
}

TEST(ConfigGenFrom, CarriesAConfigurationToAnotherDeviceReportingWhatItCannotTake) {
  const std::string text =
      "device = 18F2550\nconfig\n  FOSC = HS,\n  WDT = on,\n  PLLDIV = 5,\n  VREGEN = ON\n";
  const TRun run = RunCli({"generate", "--folder", SamplesFolder(), "--from", "-", "--device", "18F4520",
                           "--set", "LVP=ON", "--no-comments"},
                          text);
  EXPECT_EQ(run.Status, kExitFailure);
  EXPECT_EQ(
      run.Err,
      "<stdin>:3: error: unknown switch 'FOSC' for 18F4520; its switches: OSC, FCMEN, IESO, "
      "PWRT, BOREN, BORV, WDT, WDTPS, CCP2MX, PBADEN, LPT1OSC, MCLRE, STVREN, LVP, XINST, DEBUG\n"
      "<stdin>:5: error: unknown switch 'PLLDIV' for 18F4520; its switches: OSC, FCMEN, IESO, "
      "PWRT, BOREN, BORV, WDT, WDTPS, CCP2MX, PBADEN, LPT1OSC, MCLRE, STVREN, LVP, XINST, DEBUG\n"
      "<stdin>:6: error: unknown switch 'VREGEN' for 18F4520; its switches: OSC, FCMEN, IESO, "
      "PWRT, BOREN, BORV, WDT, WDTPS, CCP2MX, PBADEN, LPT1OSC, MCLRE, STVREN, LVP, XINST, DEBUG\n"
      "<stdin>:1: warning: LVP = ON (the chip's default, as the file does not set it): low-voltage "
      "programming: programming can start without a high voltage on MCLR/VPP; if the part has a PGM pin "
      "(its device data does not say), that pin is given over to programming, and a stray high level on it "
      "stops the program\n"
      "<stdin>:1: note: 15 switch(es) of 18F4520 not named, so at the chip's default: OSC, FCMEN, IESO, "
      "PWRT, BOREN, BORV, WDTPS, CCP2MX, PBADEN, LPT1OSC, MCLRE, STVREN, LVP, XINST, DEBUG\n");
  // The text is printed all the same: what could be carried is, --set goes on top.
  EXPECT_EQ(run.Out.rfind("device = 18F4520\n\nconfig\n", 0), 0u) << run.Out;
  EXPECT_NE(run.Out.find("    WDT = ON,\n"), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("    LVP = ON,\n"), std::string::npos) << run.Out;

  TTempFolder folder;
  const std::string path = folder.WriteFile("old.bas", "config WDT = ON\n");
  const TRun noDevice = RunCli({"generate", "--folder", SamplesFolder(), "--from", path});
  EXPECT_EQ(noDevice.Status, kExitFailure);
  EXPECT_NE(noDevice.Err.find(path + ":1: error: the text has no device line"), std::string::npos)
      << noDevice.Err;
}

TEST(ConfigGenFrom, DiagnosticsAreCheckDiagnosticsEachAtItsFileAndLine) {
  TTempFolder folder;
  const struct {
    std::string Text;
    std::vector<std::string> Err; // the start of each line of stderr
    int Status;
  } cases[] = {
      {"device = 18F4520\nconfig LVP = ON,\n OSC = HS,\n LVP = OFF\n",
       {"FILE:2: warning: LVP = ON: ", "FILE:4: error: switch 'LVP' named twice", "FILE:1: note: "},
       kExitFailure},
      {"device = PIC18F9999\nconfig LVP = OFF\n",
       {"FILE:1: error: device '18F9999' is not among"},
       kExitFailure},
      {"config LVP = OFF\n", {"FILE:1: error: the text has no device line"}, kExitFailure},
      {"device = 18F4520\nconfig\n OSC = HS extra,\n LVP = OFF\n",
       {"FILE:3: error: expected NAME = SETTING", "FILE:1: note: "},
       kExitFailure},
      {"device = 18F4520\nconfig WDT = OFF\nconfig LVP = OFF\n\nconfig WDT = OFF\n",
       {"FILE:5: warning: switch 'WDT' named twice with the same setting, on lines 2 and 5",
        "FILE:1: note: "},
       kExitOk},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Text);
    const std::string path = folder.WriteFile("prog.bas", c.Text);
    const TRun run = RunCli({"generate", "--folder", SamplesFolder(), "--from", path});
    EXPECT_EQ(run.Status, c.Status);
    std::istringstream lines(run.Err);
    std::string line;
    for (std::string start : c.Err) {
      start.replace(0, 4, path);
      ASSERT_TRUE(std::getline(lines, line)) << "missing: " << start;
      EXPECT_EQ(line.substr(0, start.size()), start);
    }
    EXPECT_FALSE(std::getline(lines, line)) << line;
  }
}

TEST(ConfigGenGenerate, ChangedOnlyWritesTheSwitchesThatDifferFromTheFilesDefault) {
  const TRun all =
      RunCli({"switches", "--folder", SamplesFolder(), "--device", "18F4520", "--info-defaults"});
  ASSERT_EQ(all.Status, kExitOk);
  // With the file's defaults and nothing chosen, nothing differs.
  const TRun none = RunCli(
      {"generate", "--folder", SamplesFolder(), "--device", "18F4520", "--info-defaults", "--changed-only"});
  EXPECT_EQ(none.Out, "device = 18F4520\n\n// config: every switch at the chip's default\n");
  // A choice differs; so do the switches forced off, where the file's default is on.
  const TRun some = RunCli({"generate", "--folder", SamplesFolder(), "--device", "18F4520", "--changed-only",
                            "--no-comments", "--orvane", "--set", "WDT=OFF"});
  EXPECT_EQ(some.Out, "device = 18F4520\n\nconfig WDT = OFF\nconfig LVP = OFF\n");
}

TEST(ConfigGenCheck, DiagnosticsInTheCompilersForm) {
  const std::string text = "' program\ndevice = 18F4520\nconfig\n  OSC = HS,\n  LVP = ON,\n  WDT = MAYBE,\n"
                           "  NOPE = 1,\n  osc = xt,\n  MCLRE = off\n";
  const TRun run = RunCli({"check", "--folder", SamplesFolder(), "-"}, text);
  EXPECT_EQ(run.Status, kExitFailure);
  const std::vector<std::string> expected = {
      "<stdin>:5: warning: LVP = ON: ",
      "<stdin>:6: error: unknown setting 'MAYBE' for switch 'WDT'; its settings: OFF, ON",
      "<stdin>:7: error: unknown switch 'NOPE' for 18F4520; its switches: OSC, ",
      "<stdin>:8: error: switch 'OSC' named twice (first on line 4); this later setting wins",
      "<stdin>:9: warning: MCLRE = OFF: ",
      std::string(
          "<stdin>:2: note: 13 switch(es) of 18F4520 not named, so at the chip's default: FCMEN, IESO, ") +
          "PWRT, BOREN, BORV, WDT, WDTPS, CCP2MX, PBADEN, LPT1OSC, STVREN, XINST, DEBUG",
  };
  std::istringstream lines(run.Out);
  std::string line;
  for (const std::string &start : expected) {
    ASSERT_TRUE(std::getline(lines, line)) << "missing: " << start;
    EXPECT_EQ(line.substr(0, start.size()), start);
  }
  EXPECT_FALSE(std::getline(lines, line)) << line;
}

TEST(ConfigGenCheck, TheDeviceAndTheConfigurationMustBeThere) {
  const struct {
    std::vector<std::string> Args;
    std::string Text;
    int Status;
    std::string Out;
  } cases[] = {
      {{"check", "--folder", SamplesFolder(), "-"},
       "nothing here\n",
       kExitFailure,
       "<stdin>:1: error: no configuration found\n<stdin>:1: error: the text has no device line; name the "
       "device with --device NAME\n"},
      {{"check", "--folder", SamplesFolder(), "-"},
       "\ndevice = PIC18F9999\nconfig A = B\n",
       kExitFailure,
       "<stdin>:2: error: device '18F9999' is not among the devices listed in "},
      {{"check", "--folder", SamplesFolder(), "--device", "18f8722", "-"},
       "config A = B\n",
       kExitFailure,
       "<stdin>:1: error: device '18F8722' is listed in "},
      {{"check", "--folder", SamplesFolder(), "--device", "18F1220", "-"},
       "device = 18F9999\nconfig WDT = ON\n",
       kExitOk,
       "<stdin>:1: warning: LVP = ON (the chip's default"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Text);
    const TRun run = RunCli(c.Args, c.Text);
    EXPECT_EQ(run.Status, c.Status) << run.Err;
    EXPECT_EQ(run.Out.substr(0, c.Out.size()), c.Out);
  }
  // Usage: a FILE is required, and only one.
  EXPECT_EQ(RunCli({"check", "--folder", SamplesFolder()}).Status, kExitUsage);
  EXPECT_EQ(RunCli({"check", "--folder", SamplesFolder(), "a", "b"}).Status, kExitUsage);
  const TRun missing = RunCli({"check", "--folder", SamplesFolder(), "/no/such/file.bas"});
  EXPECT_EQ(missing.Status, kExitFailure);
  EXPECT_NE(missing.Err.find("cannot read /no/such/file.bas"), std::string::npos) << missing.Err;
}

TEST(ConfigGenCheck, AUtf16TextIsReportedAsSuchAndNothingElseInEveryPath) {
  const std::string folder = SamplesFolder();
  const std::string utf16 = "<stdin>:1: error: the text is UTF-16; save it as ANSI or UTF-8\n";
  std::string little; // as Notepad's "Unicode" saves it
  for (const char c : std::string("device = 18F4520\r\nconfig OSC = HS\r\n"))
    little += std::string{c, '\0'};
  std::string big = "\xFE\xFF" + little;
  for (size_t i = 2; i + 1 < big.size(); i += 2)
    std::swap(big[i], big[i + 1]);
  const struct {
    const char *What;
    std::string Text;
  } texts[] = {{"little-endian, with its byte-order mark", "\xFF\xFE" + little},
               {"little-endian, without one", little},
               {"big-endian, with its byte-order mark", big}};
  const struct {
    std::vector<std::string> Args;
    bool ToStdout; // check's diagnostics go to stdout, --from's to stderr
  } paths[] = {
      {{"check", "--folder", folder, "-"}, true},
      {{"check", "--folder", folder, "--device", "18F4520", "-"}, true},
      {{"generate", "--folder", folder, "--from", "-"}, false},
      {{"generate", "--folder", folder, "--device", "18F4520", "--from", "-"}, false},
      {{"words", "--folder", folder, "--from", "-"}, false},
      {{"words", "--folder", folder, "--device", "18F4520", "--from", "-"}, false},
  };
  for (const auto &text : texts)
    for (const auto &path : paths) {
      SCOPED_TRACE(text.What + (" " + testing::PrintToString(path.Args)));
      const TRun run = RunCli(path.Args, text.Text);
      EXPECT_EQ(run.Status, kExitFailure);
      EXPECT_EQ(path.ToStdout ? run.Out : run.Err, utf16);
      EXPECT_EQ(path.ToStdout ? run.Err : run.Out, "");
    }
}

// --- words, and a HEX file as a configuration ------------------------------------------

TEST(ConfigGenWords, PrintsEachRegistersWordAsWorkedOutByHand) {
  const struct {
    std::vector<std::string> Options;
    std::string Words;
  } cases[] = {
      // Defaults; OSC's default matches no setting, so the last one's bits go in (0xC9, not 0xCF).
      {{"--device", "18F1220"},
       "CONFIG1H  0x300001  0xC9\nCONFIG2L  0x300002  0x0B\nCONFIG2H  0x300003  0x1F\n"
       "CONFIG4L  0x300006  0x81\nCONFIG5L  0x300008  0x03\nCONFIG5H  0x300009  0xC0\n"},
      {{"--device", "18F1220", "--info-defaults"},
       "CONFIG1H  0x300001  0xC9\nCONFIG2L  0x300002  0x0B\nCONFIG2H  0x300003  0x1F\n"
       "CONFIG4L  0x300006  0x85\nCONFIG5L  0x300008  0x03\nCONFIG5H  0x300009  0xC0\n"},
      {{"--device", "18F4520", "--set", "OSC=HS", "--set", "LVP=ON", "--set", "MCLRE=OFF"},
       "CONFIG1H  0x300001  0x02\nCONFIG2L  0x300002  0x1F\nCONFIG2H  0x300003  0x1F\n"
       "CONFIG3H  0x300005  0x03\nCONFIG4L  0x300006  0x85\n"},
  };
  for (const auto &c : cases) {
    std::vector<std::string> args = {"words", "--folder", SamplesFolder()};
    args.insert(args.end(), c.Options.begin(), c.Options.end());
    const TRun run = RunCli(args);
    EXPECT_EQ(run.Status, kExitOk) << run.Err;
    EXPECT_EQ(run.Out, c.Words) << testing::PrintToString(c.Options);
  }
}

TEST(ConfigGenWords, FaultsOfTheDeviceData) {
  TTempFolder folder;
  folder.WriteDeviceInfo(TDeviceInfoText()
                             .Index("18F1")
                             .Part("18F1")
                             .Switch("EARLY", "before any register", "1")
                             .Setting("E0", "", "0")
                             .Line("<CONFIGREG_INFO_TYPE><300001><CONFIG1H><0f><ff>")
                             .Switch("A", "a", "03")
                             .Setting("A0", "", "0")
                             .Setting("A7", "", "7")
                             .Text());
  // The C and assembler texts name the registers: the fault is theirs too.
  for (const std::vector<std::string> &args :
       {std::vector<std::string>{"words", "--folder", folder.Path(), "--device", "18F1"},
        std::vector<std::string>{"generate", "--folder", folder.Path(), "--device", "18F1", "--syntax",
                                 "asm"}}) {
    const TRun run = RunCli(args);
    EXPECT_EQ(run.Status, kExitFailure);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "configgen: " + DeviceInfoFileName(folder.Path()) +
                           ", line 8: setting 'A7' of switch 'A' has the "
                           "value 0x07, with bits outside the switch's mask 0x03\n");
  }
  folder.WriteDeviceInfo(TDeviceInfoText()
                             .Index("18F1")
                             .Part("18F1")
                             .Switch("EARLY", "before any register", "1")
                             .Setting("E0", "", "0")
                             .Line("<CONFIGREG_INFO_TYPE><300001><CONFIG1H><0f><ff>")
                             .Text());
  const TRun early = RunCli({"words", "--folder", folder.Path(), "--device", "18F1"});
  EXPECT_EQ(early.Status, kExitOk);
  EXPECT_EQ(early.Out, "CONFIG1H  0x300001  0x0F\n");
  EXPECT_EQ(early.Err.rfind(
                "configgen: warning: switch 'EARLY' (" + DeviceInfoFileName(folder.Path()) + ", line 3)", 0),
            0u)
      << early.Err;
}

// A switch outside the registers is warned of once, in one text, whether words
// are written, a HEX file is read, or both.
TEST(ConfigGenWords, ASwitchOutsideTheRegistersIsWarnedOfOnceInOneText) {
  TTempFolder folder;
  folder.WriteDeviceInfo(TDeviceInfoText()
                             .Index("18F1")
                             .Part("18F1")
                             .Switch("EARLY", "before any register", "1")
                             .Setting("E0", "", "0")
                             .Line("<CONFIGREG_INFO_TYPE><300001><CONFIG1H><0f><ff>")
                             .Switch("A", "a", "03")
                             .Setting("A0", "", "0")
                             .Setting("A3", "", "3")
                             .Text());
  const std::string warning = "warning: switch 'EARLY' (" + DeviceInfoFileName(folder.Path()) +
                              ", line 3) stands before any configuration register of its device: it belongs "
                              "to none, so the words leave it out and the chip has its default\n";
  const std::vector<std::string> device = {"--folder", folder.Path(), "--device", "18F1"};
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin() + 1, device.begin(), device.end());
    return RunCli(args);
  };
  const TRun written = run({"hex"});
  ASSERT_EQ(written.Status, kExitOk) << written.Err;
  const std::string hex = folder.Path() + "/config.hex";
  std::ofstream(hex, std::ios::binary) << written.Out;
  for (const std::vector<std::string> &args : {std::vector<std::string>{"hex"},
                                               {"words"},
                                               {"words", "--from", hex},
                                               {"hex", "--from", hex},
                                               {"check", hex}}) {
    SCOPED_TRACE(testing::PrintToString(args));
    const TRun r = run(args);
    EXPECT_EQ(r.Status, kExitOk) << r.Err;
    const std::string said = args[0] == "check" ? r.Out : r.Err;
    const size_t at = said.find(warning);
    EXPECT_NE(at, std::string::npos) << said;
    EXPECT_EQ(said.find("stands before", at + warning.size()), std::string::npos) << said;
  }
}

TEST(ConfigGenHex, AHexFileIsReadAsAConfigurationForTheDeviceNamed) {
  TTempFolder folder;
  // 18F4520: OSC = HS, LVP = ON, MCLRE = OFF; CONFIG2L and CONFIG2H left out.
  const std::string hex = folder.WriteFile("prog.hex", THexText()
                                                           .Data(0, {0xEF, 0x00, 0xF0, 0x00})
                                                           .Upper(0x0030)
                                                           .Data(0x0001, {0x02})
                                                           .Line("")
                                                           .Data(0x0005, {0x03, 0x85})
                                                           .End()
                                                           .Text());
  const TRun generated = RunCli({"generate", "--folder", SamplesFolder(), "--device", "18F4520", "--from",
                                 hex, "--no-comments", "--changed-only"});
  EXPECT_EQ(generated.Status, kExitOk) << generated.Err;
  EXPECT_EQ(generated.Out, "device = 18F4520\n\nconfig\n    OSC = HS,\n    MCLRE = OFF\n");
  const TRun check = RunCli({"check", "--folder", SamplesFolder(), "--device", "18F4520", hex});
  EXPECT_EQ(check.Status, kExitOk);
  EXPECT_NE(check.Out.find(hex + ":5: warning: MCLRE = OFF: "), std::string::npos) << check.Out;
  EXPECT_NE(check.Out.find(hex + ":5: warning: LVP = ON: "), std::string::npos) << check.Out;
  EXPECT_NE(check.Out.find(hex + ":1: note: CONFIG2L (0x300002) is not in the file"), std::string::npos)
      << check.Out;
  const TRun words = RunCli({"words", "--folder", SamplesFolder(), "--device", "18F4520", "--from", hex});
  EXPECT_EQ(words.Out, "CONFIG1H  0x300001  0x02\nCONFIG2L  0x300002  0x1F\nCONFIG2H  0x300003  0x1F\n"
                       "CONFIG3H  0x300005  0x03\nCONFIG4L  0x300006  0x85\n");

  const TRun noDevice = RunCli({"check", "--folder", SamplesFolder(), hex});
  EXPECT_EQ(noDevice.Status, kExitFailure);
  EXPECT_EQ(noDevice.Out, hex + ":1: error: a HEX file names no device; name it with --device NAME\n");
}

TEST(ConfigGenHex, AFileWhoseFirstLineIsARecordIsReadAsHexThroughItsEndOfFileRecord) {
  const std::string records = THexText().Upper(0x0030).Data(0x0001, {0x02}).Text();
  const struct {
    const char *What;
    std::string Text;
    int Status;
    std::string Out; // the start of check's diagnostics
  } cases[] = {
      {"a line of text after the end", records + ":00000001FF\r\nSaved by the programmer\r\n", kExitOk,
       "<stdin>:1: note: CONFIG2L (0x300002) is not in the file"},
      {"a DOS end-of-file byte after the end", records + ":00000001FF\r\n\x1A", kExitOk,
       "<stdin>:1: note: CONFIG2L (0x300002) is not in the file"},
      {"a DOS end-of-file byte on the end's line", records + ":00000001FF\x1A", kExitOk,
       "<stdin>:1: note: CONFIG2L (0x300002) is not in the file"},
      {"a line that is no record before the end", records + "Saved by the programmer\r\n:00000001FF\r\n",
       kExitFailure, "<stdin>:3: error: a line that is no record: 'Saved by the programmer'\n"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    const TRun run = RunCli({"check", "--folder", SamplesFolder(), "--device", "18F4520", "-"}, c.Text);
    EXPECT_EQ(run.Status, c.Status) << run.Out;
    EXPECT_EQ(run.Out.substr(0, c.Out.size()), c.Out);
    const TRun words =
        RunCli({"words", "--folder", SamplesFolder(), "--device", "18F4520", "--from", "-"}, c.Text);
    EXPECT_EQ(words.Out.substr(0, 25), "CONFIG1H  0x300001  0x02\n");
  }
}

// The sample's device packs, installed and as .atpack archives (written here from the
// installed ones), hold the sample file's devices: every command gives the same bytes
// from all three, the device list and its status line aside, where the two kinds of
// packs agree. They hold one part of the newest kind too, which only packs describe.
TEST(ConfigGenPacks, TheSamplePacksInstalledOrArchivedGiveWhatTheSampleFileGives) {
  const std::string packs = SourcePath("samples/packs");
  const TTempFolder archived;
  ASSERT_EQ(WritePackArchives(packs, archived.Path()).size(), 6u);
  const char *const packsOnly = "18F04Q20";
  const std::string listing =
      "resource file: PIC18F-K_DFP 1.0.4, PIC18F-Q_DFP 1.2.71, PIC18Fxxxx_DFP 1.10.3    9 device(s) found\n"
      "18F04Q20\n18F1220\n18F2550\n18F25K22\n18F26Q10\n18F4520\n18F45K50\n18LF25K22\n18LF45K50\n";
  // Every part: the PIC18 ones and one of each other family.
  const std::string all =
      "resource file: PIC18F-K_DFP 1.0.4, PIC18F-Q_DFP 1.2.71, PIC18Fxxxx_DFP 1.10.3    12 device(s) found\n"
      "12F509\n16F1847\n16F628A\n18F04Q20\n18F1220\n18F2550\n18F25K22\n18F26Q10\n18F4520\n18F45K50\n"
      "18LF25K22\n18LF45K50\n";
  for (const std::string &folder : {packs, archived.Path()}) {
    const TRun devices = RunCli({"devices", "--folder", folder, "--include-lf"});
    EXPECT_EQ(devices.Status, kExitOk) << devices.Err;
    EXPECT_EQ(devices.Out, listing) << folder;
    EXPECT_EQ(RunCli({"devices", "--folder", folder, "--all"}).Out, all) << folder;
  }
  // The same command on each folder that holds the device, with the same result.
  const auto same = [&](std::vector<std::string> args, const std::string &device, const std::string &input) {
    args.insert(args.end(), {"--device", device, "--folder"});
    std::vector<TRun> runs;
    for (const std::string &folder : {packs, archived.Path(), SamplesFolder()}) {
      if (device == packsOnly && folder == SamplesFolder())
        continue;
      std::vector<std::string> withFolder = args;
      withFolder.push_back(folder);
      runs.push_back(RunCli(withFolder, input));
    }
    for (size_t k = 1; k < runs.size(); ++k) {
      EXPECT_EQ(runs[k].Status, runs[0].Status) << device << " " << args[0] << " " << k;
      EXPECT_EQ(runs[k].Out, runs[0].Out) << device << " " << args[0] << " " << k;
      EXPECT_EQ(runs[k].Err, runs[0].Err) << device << " " << args[0] << " " << k;
    }
    return runs[0];
  };
  const std::vector<std::vector<std::string>> commands = {{"switches"},
                                                          {"switches", "--info-defaults"},
                                                          {"generate"},
                                                          {"generate", "--orvane", "--no-comments"},
                                                          {"generate", "--changed-only", "--set", "WDT=ON"},
                                                          {"words"},
                                                          {"words", "--info-defaults", "--set", "LVP=ON"},
                                                          {"generate", "--syntax", "c"},
                                                          {"generate", "--syntax", "asm", "--changed-only"}};
  std::istringstream listed(all.substr(all.find('\n') + 1));
  int devices = 0;
  for (std::string name; std::getline(listed, name); ++devices) {
    EXPECT_EQ(same(commands[0], name, "").Status, kExitOk) << name;
    for (const std::vector<std::string> &args : commands)
      same(args, name, "");
  }
  EXPECT_EQ(devices, 12);
  // A word-addressed part's HEX file (CONFIG1 at 0x8007: bytes at 0x1000E), as gpasm
  // writes it, with the bits above 14 set.
  const std::string wordHex = THexText().Upper(0x0001).Data(0x000E, {0xBC, 0xFF}).End().Text();
  const TRun fromHex =
      same({"generate", "--syntax", "c", "--changed-only", "--from", "-"}, "16F1847", wordHex);
  EXPECT_EQ(fromHex.Status, kExitOk) << fromHex.Err;
  EXPECT_NE(fromHex.Out.find("FOSC = INTOSC"), std::string::npos) << fromHex.Out;

  // A text checked, and a HEX file's words (OSC = HS, LVP = OFF) read back. (LVP's reason tells
  // the sources apart: only the packs list the 18F4520's pins.)
  const TRun check = same({"check", "-"}, "18F4520", "config\n  OSC = HS,\n  LVP = OFF,\n  WDT = MAYBE\n");
  EXPECT_EQ(check.Status, kExitFailure);
  EXPECT_NE(check.Out.find("unknown setting 'MAYBE'"), std::string::npos) << check.Out;
  const std::string hex = THexText().Upper(0x0030).Data(0x0001, {0x02}).Data(0x0006, {0x81}).End().Text();
  EXPECT_EQ(same({"check", "-"}, "18F4520", hex).Status, kExitOk);
  EXPECT_NE(same({"generate", "--from", "-"}, "18F4520", hex).Out.find("OSC = HS"), std::string::npos);
}

// LVP = ON costs what the part's own data says: the 18F4520's pack lists a PGM pin;
// the Q parts' packs list none, and the 18F26Q10's setting keeps MCLR/VPP MCLR in
// the .info file too; the .info file lists no pins, so there the 18F4520's reason is
// one that holds for any part. Named, and as the chip's default a text leaves out.
TEST(ConfigGenPacks, LowVoltageProgrammingIsWarnedOfAsThePartsOwnDataSays) {
  const std::string packs = SourcePath("samples/packs");
  const std::string pgm = "low-voltage programming: the PGM pin is given over to programming, and a stray "
                          "high level on it stops the program";
  const std::string anyPart =
      "low-voltage programming: programming can start without a high voltage on MCLR/VPP; if the part has a "
      "PGM pin (its device data does not say), that pin is given over to programming, and a stray high level "
      "on it stops the program";
  const struct {
    const char *What;
    std::string Folder;
    const char *Device;
    std::string Reason; // empty: no warning
  } cases[] = {
      {"a PGM pin in the pack's pin list", packs, "18F4520", pgm},
      {"a Q part's pack: no PGM pin", packs, "18F26Q10", ""},
      {"the packs-only Q part: no PGM pin", packs, "18F04Q20", ""},
      {"a Q part in the .info file: its setting keeps MCLR/VPP MCLR", SamplesFolder(), "18F26Q10", ""},
      {"the .info file lists no pins", SamplesFolder(), "18F4520", anyPart},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    const std::string device = std::string("device = ") + c.Device + "\n";
    const TRun named = RunCli({"check", "--folder", c.Folder, "-"}, device + "config LVP = ON\n");
    const TRun left = RunCli({"check", "--folder", c.Folder, "-"},
                             device + "// config: every switch at the chip's default\n");
    EXPECT_EQ(named.Status, kExitOk) << named.Out;
    EXPECT_EQ(left.Status, kExitOk) << left.Out;
    const auto warnings = [](const std::string &out) {
      std::string found;
      std::istringstream lines(out);
      for (std::string line; std::getline(lines, line);)
        if (line.find(": warning: ") != std::string::npos)
          found += line + "\n";
      return found;
    };
    EXPECT_EQ(warnings(named.Out),
              c.Reason.empty() ? "" : "<stdin>:2: warning: LVP = ON: " + c.Reason + "\n");
    EXPECT_EQ(warnings(left.Out),
              c.Reason.empty()
                  ? ""
                  : "<stdin>:1: warning: LVP = ON (the chip's default, as the file does not set it): " +
                        c.Reason + "\n");
  }
}

namespace {
constexpr const char *kOneTime =
    "one-time programmable: once programmed, this setting can never be undone, not even by a bulk erase";
} // namespace

// The newest parts' second, one-time programmable sector: its switches are read,
// set, written as words and read back from a HEX file, and a setting other than
// the chip's default is warned of wherever a configuration is read.
TEST(ConfigGenPacks, TheSecondOneTimeProgrammableSectorIsReadWrittenAndWarnedOf) {
  const std::string packs = SourcePath("samples/packs");
  const TRun switches = RunCli({"switches", "--folder", packs, "--device", "18F04Q20"});
  EXPECT_EQ(switches.Out.substr(switches.Out.find("\nCP\t") + 1),
            "CP\tPFM and Data EEPROM Code Protection bit\tOFF\tPFM and Data EEPROM code protection disabled\n"
            "SAFLOCK\tSAFLOCK bit\tOFF\tSAF areas are not locked\n"
            "SAFSZ\tSAF Size Selection bits\tSAFSZ_NONE\tNo SAF area\n");
  // In address order, though CONFIG14 comes before CONFIG9.
  const TRun words = RunCli({"words", "--folder", packs, "--device", "18F04Q20", "--set", "saflock=on",
                             "--set", "SAFSZ=SAFSZ_256"});
  EXPECT_EQ(words.Status, kExitOk) << words.Err;
  EXPECT_EQ(words.Out.substr(words.Out.find("CONFIG11")),
            "CONFIG11  0x300009  0xFF\nCONFIG14  0x300018  0xFE\nCONFIG9  0x300019  0xFC\n");

  const std::string text = "device = 18F04Q20\nconfig SAFLOCK = ON\nconfig SAFSZ = SAFSZ_NONE\n";
  const std::string warning = ":2: warning: SAFLOCK = ON: " + std::string(kOneTime) + "\n";
  const TRun check = RunCli({"check", "--folder", packs, "-"}, text);
  EXPECT_EQ(check.Status, kExitOk);
  EXPECT_NE(check.Out.find("<stdin>" + warning), std::string::npos) << check.Out;
  EXPECT_EQ(check.Out.find("SAFSZ = "), std::string::npos) << check.Out; // its chip default
  const TRun from =
      RunCli({"generate", "--folder", packs, "--from", "-", "--changed-only", "--no-comments"}, text);
  EXPECT_EQ(from.Status, kExitOk);
  EXPECT_EQ(from.Out, "device = 18F04Q20\n\nconfig\n    SAFLOCK = ON\n");
  EXPECT_NE(from.Err.find("<stdin>" + warning), std::string::npos) << from.Err;

  // SAFLOCK = ON and SAFSZ = SAFSZ_512 as a HEX file's words.
  const std::string hex = THexText().Upper(0x0030).Data(0x0018, {0xFE, 0xF8}).End().Text();
  const TRun hexCheck = RunCli({"check", "--folder", packs, "--device", "18F04Q20", "-"}, hex);
  EXPECT_EQ(hexCheck.Status, kExitOk);
  EXPECT_NE(hexCheck.Out.find("<stdin>" + warning), std::string::npos) << hexCheck.Out;
  EXPECT_NE(hexCheck.Out.find("<stdin>:2: warning: SAFSZ = SAFSZ_512: " + std::string(kOneTime) + "\n"),
            std::string::npos)
      << hexCheck.Out;
  const TRun hexFrom = RunCli(
      {"generate", "--folder", packs, "--device", "18F04Q20", "--from", "-", "--changed-only", "--orvane"},
      hex);
  EXPECT_NE(
      hexFrom.Out.find("config SAFLOCK = ON     ' SAF areas are locked and SAFSZ bits cannot be erased\n"
                       "config SAFSZ = SAFSZ_512 ' SAF area is 512 words\n"),
      std::string::npos)
      << hexFrom.Out;
}

// A switch whose chip default is none of its settings (the newest parts' boot block
// size). The table starts at its last setting, so generate names it and the words
// agree; but a text that leaves it out, as the vendor IDE does ("BBSIZE = No
// Setting"), or a word at its bits when not set, leaves it out on the way through:
// the words keep those bits, the port does not name it, check says what the chip
// gets.
TEST(ConfigGenFrom, ASwitchLeftOutWhoseChipDefaultIsNoneOfItsSettingsStaysLeftOut) {
  const std::string packs = SourcePath("samples/packs");
  const TRun changed =
      RunCli({"generate", "--folder", packs, "--device", "18F04Q20", "--info-defaults", "--changed-only"});
  EXPECT_EQ(changed.Out,
            "device = 18F04Q20\n\nconfig\n    BBSIZE = BBSIZE_128 // Boot block size is 128 words\n");
  const TRun words = RunCli({"words", "--folder", packs, "--device", "18F04Q20", "--info-defaults"});
  EXPECT_NE(words.Out.find("CONFIG8  0x300007  0x00\n"), std::string::npos) << words.Out;
  const TRun named = RunCli({"check", "--folder", packs, "-"}, changed.Out);
  EXPECT_EQ(named.Status, kExitOk);
  EXPECT_EQ(named.Out.find("none of their settings"), std::string::npos) << named.Out;

  const std::string note = ":1: note: 1 switch(es) of 18F04Q20 left out have a chip default that is none of "
                           "their settings; the chip gets the bits they have when not set: BBSIZE (CONFIG8 & "
                           "0xFF = 0xFF)\n";
  const std::string comment = "BBSIZE not set: at the chip's default, which is none of its settings\n";
  const std::string vendor =
      "// PIC18F04Q20 Configuration Bit Settings\n\n// CONFIG8\n// BBSIZE = No Setting\n\n"
      "// CONFIG10\n#pragma config WRTC = OFF\n";
  const std::string hex = THexText().Upper(0x0030).Data(0x0007, {0xFF}).End().Text();
  for (const auto &[what, text, device] :
       {std::tuple<const char *, std::string, const char *>{"a C text", vendor, nullptr},
        {"a HEX file", hex, "18F04Q20"}}) {
    SCOPED_TRACE(what);
    std::vector<std::string> given = {"--folder", packs};
    if (device != nullptr)
      given.insert(given.end(), {"--device", device});
    // The command, the folder and device, then Args with "-" for the text.
    const auto run = [&](std::vector<std::string> args, const std::string &input) {
      args.insert(args.begin() + 1, given.begin(), given.end());
      return RunCli(args, input);
    };
    const TRun check = run({"check", "-"}, text);
    EXPECT_EQ(check.Status, kExitOk) << check.Out;
    EXPECT_NE(check.Out.find("<stdin>" + note), std::string::npos) << check.Out;
    EXPECT_NE(run({"words", "--from", "-"}, text).Out.find("CONFIG8  0x300007  0xFF\n"), std::string::npos);
    // The port in every syntax: BBSIZE is not named, a comment says so, and the
    // port reads back to the same words.
    for (const char *syntax : {"tarnwick", "orvane", "c", "asm"}) {
      SCOPED_TRACE(syntax);
      const TRun port = run({"generate", "--syntax", syntax, "--from", "-"}, text);
      EXPECT_EQ(port.Status, kExitOk) << port.Err;
      EXPECT_EQ(port.Out.find("BBSIZE = "), std::string::npos) << port.Out;
      EXPECT_NE(port.Out.find(comment), std::string::npos) << port.Out;
      const TRun back = RunCli({"check", "--folder", packs, "-"}, port.Out);
      EXPECT_EQ(back.Status, kExitOk);
      EXPECT_EQ(back.Out.find("warning: BBSIZE"), std::string::npos) << back.Out;
      EXPECT_NE(back.Out.find("<stdin>" + note), std::string::npos) << back.Out;
      EXPECT_NE(
          RunCli({"words", "--folder", packs, "--from", "-"}, port.Out).Out.find("CONFIG8  0x300007  0xFF\n"),
          std::string::npos);
    }
    // Only what differs: a switch left out is at the chip's default.
    EXPECT_EQ(run({"generate", "--changed-only", "--from", "-"}, text).Out.find("BBSIZE"), std::string::npos);
    // --set names it again.
    EXPECT_NE(
        run({"generate", "--set", "BBSIZE=BBSIZE_512", "--from", "-"}, text).Out.find("BBSIZE = BBSIZE_512,"),
        std::string::npos);
  }
}

// A part without switches (no configuration sector, or every field hidden) gets the
// text of a configuration at the chip's defaults, which checks clean.
TEST(ConfigGenGenerate, APartWithoutSwitchesGetsTheAllDefaultsCommentWhichChecksClean) {
  const std::string head =
      "<edc:PIC xmlns:edc=\"http://crownking/edc\" edc:name=\"PIC18F1\"><edc:ProgramSpace>";
  const std::string tail = "</edc:ProgramSpace></edc:PIC>\n";
  for (const std::string &program :
       {std::string(),
        std::string(
            "<edc:ConfigFuseSector><edc:DCRDef edc:_addr=\"0x300000\" edc:cname=\"CONFIG1L\">"
            "<edc:DCRModeList><edc:DCRMode><edc:DCRFieldDef edc:cname=\"F\" edc:mask=\"0x1\" "
            "edc:nzwidth=\"0x1\" edc:ishidden=\"true\"><edc:DCRFieldSemantic edc:cname=\"ON\" "
            "edc:when=\"(field &amp; 0x1) == 0x1\"/></edc:DCRFieldDef></edc:DCRMode></edc:DCRModeList>"
            "</edc:DCRDef></edc:ConfigFuseSector>")}) {
    TTempFolder folder;
    std::filesystem::create_directories(std::filesystem::path(folder.Path()) / "P_DFP" / "1.0.0" / "edc");
    folder.WriteFile("P_DFP/1.0.0/edc/PIC18F1.PIC", std::string(head).append(program).append(tail));
    for (const bool orvane : {false, true}) {
      SCOPED_TRACE(program.substr(0, 20) + (orvane ? " orvane" : ""));
      std::vector<std::string> args = {"generate", "--folder", folder.Path(), "--device", "18F1"};
      if (orvane)
        args.push_back("--orvane");
      const TRun generated = RunCli(args);
      EXPECT_EQ(generated.Status, kExitOk) << generated.Err;
      EXPECT_EQ(generated.Out, std::string("device = 18F1\n\n") + (orvane ? "'" : "//") +
                                   " config: every switch at the chip's default\n");
      const TRun check = RunCli({"check", "--folder", folder.Path(), "-"}, generated.Out);
      EXPECT_EQ(check.Status, kExitOk);
      EXPECT_EQ(check.Out, "");
    }
  }
}

TEST(ConfigGenPacks, BadDataAndUnlistedDevicesNameThePacks) {
  TTempFolder folder;
  std::filesystem::create_directories(std::filesystem::path(folder.Path()) / "P_DFP" / "1.0.0" / "edc");
  const std::string file =
      folder.WriteFile("P_DFP/1.0.0/edc/PIC18F1.PIC", "<edc:PIC xmlns:edc=\"http://crownking/edc\">\n<a>\n");
  const TRun bad = RunCli({"generate", "--folder", folder.Path(), "--device", "18f1"});
  EXPECT_EQ(bad.Status, kExitFailure);
  EXPECT_EQ(bad.Out, "");
  EXPECT_EQ(bad.Err.rfind("configgen: not well-formed XML: ", 0), 0u) << bad.Err;
  EXPECT_NE(bad.Err.find("(" + std::filesystem::path(file).make_preferred().string() + ", line 2)"),
            std::string::npos)
      << bad.Err;

  const TRun unlisted = RunCli({"switches", "--folder", folder.Path(), "--device", "18F2"});
  EXPECT_EQ(unlisted.Status, kExitFailure);
  EXPECT_NE(unlisted.Err.find("listed in the device packs in " + folder.Path()), std::string::npos)
      << unlisted.Err;
}

// Every family's sample part through every command, with the PIC18 rules: its whole
// words, its text in C and assembler read back to the same words, its HEX file
// (little-endian at twice the word address, gpasm's bits above the width set) read
// back, and the house syntaxes refused with nothing on standard output.
TEST(ConfigGenFamilies, EveryCommandWorksOnEachFamilysSamplePart) {
  const struct {
    const char *Device;
    std::vector<std::string> Set;
    const char *Words;
    std::string Hex; // the words above, as a HEX file
    const char *Family;
  } cases[] = {
      {"16F1847",
       {"--set", "FOSC=INTOSC", "--set", "MCLRE=OFF"},
       "CONFIG1  0x8007  0x3FBC\nCONFIG2  0x8008  0x1FFF\n",
       THexText().Upper(0x0001).Data(0x000E, {0xBC, 0xFF, 0xFF, 0xDF}).End().Text(),
       "enhanced mid-range"},
      {"PIC16F628A",
       {"--set", "FOSC=INTOSCIO", "--set", "MCLRE=OFF"},
       "CONFIG  0x2007  0x3F5C\n",
       THexText().Data(0x400E, {0x5C, 0xFF}).End().Text(),
       "mid-range"},
      {"12f509",
       {"--set", "OSC=IntRC", "--set", "MCLRE=OFF"},
       "CONFIG  0x0FFF  0xFEE\n",
       THexText().Data(0x1FFE, {0xEE, 0xFF}).End().Text(),
       "baseline"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Device);
    std::vector<std::string> base = {"--folder", SamplesFolder(), "--device", c.Device};
    auto with = [&](std::vector<std::string> args, bool set) {
      args.insert(args.end(), base.begin(), base.end());
      if (set)
        args.insert(args.end(), c.Set.begin(), c.Set.end());
      return args;
    };
    const TRun words = RunCli(with({"words"}, true));
    EXPECT_EQ(words.Status, kExitOk) << words.Err;
    EXPECT_EQ(words.Out, c.Words);
    EXPECT_EQ(RunCli(with({"switches"}, false)).Status, kExitOk);
    for (const char *syntax : {"c", "asm"}) {
      const TRun text = RunCli(with({"generate", "--syntax", syntax}, true));
      EXPECT_EQ(text.Status, kExitOk) << text.Err;
      const TRun check = RunCli({"check", "--folder", SamplesFolder(), "-"}, text.Out);
      EXPECT_EQ(check.Status, kExitOk) << check.Out;
      EXPECT_NE(check.Out.find("MCLRE = OFF"), std::string::npos) << check.Out;
      EXPECT_EQ(RunCli({"words", "--folder", SamplesFolder(), "--from", "-"}, text.Out).Out, c.Words)
          << syntax;
    }
    const TRun fromHex = RunCli(with({"words", "--from", "-"}, false), c.Hex);
    EXPECT_EQ(fromHex.Status, kExitOk) << fromHex.Err;
    EXPECT_EQ(fromHex.Out, c.Words);
    for (const std::vector<std::string> &house :
         {std::vector<std::string>{"generate"}, std::vector<std::string>{"generate", "--orvane"},
          std::vector<std::string>{"generate", "--syntax", "tarnwick"}}) {
      const TRun refused = RunCli(with(house, false));
      EXPECT_EQ(refused.Status, kExitFailure);
      EXPECT_EQ(refused.Out, "");
      EXPECT_NE(
          refused.Err.find(std::string("is of the ") + c.Family + " family: use --syntax c or --syntax asm"),
          std::string::npos)
          << refused.Err;
    }
  }
}

// What the device data or a HEX file gets wrong for a family is an error naming the
// file and line, never a silent wrong word.
TEST(ConfigGenFamilies, DataAndHexFilesWrongForTheFamilyAreErrorsNamingTheirPlace) {
  const std::string index = "<PARTS_INDEX_TYPE><16F1>\r\n";
  const struct {
    const char *Name;
    std::string Part;
    std::vector<std::string> Message;
  } cases[] = {
      {"a setting value above the 14-bit word",
       "<PART_INFO_TYPE><x><PIC16F1><16xxxx>\r\n<CONFIGREG_INFO_TYPE><2007><CONFIG><3fff><3fff>\r\n"
       "<SWITCH_INFO_TYPE><A><a><c000><2>\r\n<SETTING_VALUE_TYPE><X><x><0>\r\n<SETTING_VALUE_TYPE><Y><y><"
       "c000>\r\n",
       {"line 4", "switch 'A' has the mask 0xC000, with bits above the 14-bit word of a mid-range part"}},
      {"a register outside the family's words",
       "<PART_INFO_TYPE><x><PIC16F1><16Exxx>\r\n<CONFIGREG_INFO_TYPE><2007><CONFIG1><3fff><3fff>\r\n"
       "<SWITCH_INFO_TYPE><A><a><1><2>\r\n<SETTING_VALUE_TYPE><X><x><0>\r\n<SETTING_VALUE_TYPE><Y><y><1>\r\n",
       {"line 3",
        "address 0x2007 lies outside the enhanced mid-range configuration words (0x8007 to 0x800F)"}},
      {"a family that cannot be told",
       "<PART_INFO_TYPE><x><PIC16F1><17Cxxx>\r\n<CONFIGREG_INFO_TYPE><2007><CONFIG><3fff><3fff>\r\n",
       {"line 2", "the family of part 'PIC16F1' cannot be told", "'17Cxxx'"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Name);
    const TTempFolder data;
    data.WriteDeviceInfo(index + c.Part);
    const TRun run = RunCli({"words", "--folder", data.Path(), "--device", "16F1"});
    EXPECT_EQ(run.Status, kExitFailure);
    EXPECT_EQ(run.Out, "");
    for (const std::string &part : c.Message)
      EXPECT_NE(run.Err.find(part), std::string::npos) << run.Err;
  }
  // A mid-range HEX file written at byte addresses (0x2007 itself, not 0x400E).
  const TRun scale = RunCli({"check", "--folder", SamplesFolder(), "--device", "16F628A", "-"},
                            THexText().Data(0x2007, {0x50, 0x3F}).End().Text());
  EXPECT_EQ(scale.Status, kExitFailure);
  EXPECT_NE(
      scale.Out.find("<stdin>:1: error: the file holds bytes at 0x2007, the address of CONFIG (0x2007) as a "
                     "word: the words of mid-range parts lie little-endian at twice their address"),
      std::string::npos)
      << scale.Out;
}

namespace {
// Every device `devices --all` lists in Folder.
std::vector<std::string> EveryDevice(const std::string &folder) {
  const TRun run = RunCli({"devices", "--all", "--folder", folder});
  EXPECT_EQ(run.Status, kExitOk) << run.Err;
  std::vector<std::string> names;
  std::istringstream lines(run.Out.substr(run.Out.find('\n') + 1));
  for (std::string line; std::getline(lines, line);)
    if (std::find(names.begin(), names.end(), line) == names.end())
      names.push_back(line);
  return names;
}

std::string Written(const std::string &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string ReadWhole(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
} // namespace

TEST(ConfigGenHexWrite, EverySampleDevicesHexReadsBackToTheConfigurationWritten) {
  TTempFolder temp;
  for (const std::string &folder : {SamplesFolder(), SourcePath("samples/packs")})
    for (const std::string &device : EveryDevice(folder))
      for (const std::vector<std::string> &extra :
           {std::vector<std::string>{}, std::vector<std::string>{"--info-defaults"}}) {
        SCOPED_TRACE(
            std::string(folder).append(" ").append(device).append(extra.empty() ? "" : " --info-defaults"));
        std::vector<std::string> base = {"--folder", folder, "--device", device};
        base.insert(base.end(), extra.begin(), extra.end());
        auto run = [&](std::vector<std::string> args) {
          args.insert(args.begin() + 1, base.begin(), base.end());
          return RunCli(args);
        };
        const TRun hex = run({"hex"});
        const TRun words = run({"words"});
        if (words.Status != kExitOk) { // a device without a table: the same failure
          EXPECT_EQ(hex.Status, words.Status);
          EXPECT_EQ(hex.Err, words.Err);
          continue;
        }
        ASSERT_EQ(hex.Status, kExitOk) << hex.Err;
#ifdef _WIN32
        const std::string end = "\r\n:00000001FF\r\n"; // text as the platform writes it
#else
        const std::string end = "\n:00000001FF\n";
#endif
        EXPECT_EQ(hex.Out.substr(hex.Out.size() - end.size()), end);
        const std::string file = Written(temp.Path() + "/config.hex", hex.Out);
        const TRun back = run({"words", "--from", file});
        EXPECT_EQ(back.Status, kExitOk) << back.Err;
        EXPECT_EQ(back.Out, words.Out);
        const TRun check = RunCli({"check", "--folder", folder, "--device", device, file});
        EXPECT_EQ(check.Status, kExitOk) << check.Out;
        EXPECT_EQ(check.Out.find(": error:"), std::string::npos) << check.Out;
      }
}

TEST(ConfigGenHexWrite, RiskySettingsWarnAsCheckOfTheFileWrittenWarns) {
  TTempFolder temp;
  const struct {
    std::string Folder, Device, Set;
  } cases[] = {
      {SamplesFolder(), "18F4520", "LVP=ON"},
      {SourcePath("samples/packs"), "18F04Q20", "SAFLOCK=ON"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Set);
    const TRun hex = RunCli({"hex", "--folder", c.Folder, "--device", c.Device, "--set", c.Set});
    ASSERT_EQ(hex.Status, kExitOk) << hex.Err;
    const std::string file = Written(temp.Path() + "/risky.hex", hex.Out);
    const TRun check = RunCli({"check", "--folder", c.Folder, "--device", c.Device, file});
    // check's warnings, without their place, are what hex said.
    std::string warnings;
    std::istringstream lines(check.Out);
    for (std::string line; std::getline(lines, line);)
      if (line.find(": warning: ") != std::string::npos)
        warnings += "configgen: warning: " + line.substr(line.find(": warning: ") + 11) + "\n";
    EXPECT_NE(warnings.find(c.Set.substr(0, c.Set.find('=')) + " = ON: "), std::string::npos) << check.Out;
    EXPECT_EQ(hex.Err, warnings);
  }
}

// What --from's reading warned of is not warned of again when its words are
// written; what --set adds is.
TEST(ConfigGenHexWrite, EachRiskySettingIsWarnedOfOnce) {
  TTempFolder temp;
  const std::vector<std::string> device = {"--folder", SamplesFolder(), "--device", "18F4520"};
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin() + 1, device.begin(), device.end());
    return RunCli(args);
  };
  // MCLRE named off, LVP on as the chip's default.
  const std::string text = Written(temp.Path() + "/risky.bas", "device = 18F4520\nconfig\n    MCLRE = OFF\n");
  const TRun risky = run({"hex", "--set", "LVP=ON", "--set", "MCLRE=OFF"});
  ASSERT_EQ(risky.Status, kExitOk) << risky.Err;
  const std::string hex = Written(temp.Path() + "/risky.hex", risky.Out);
  const TRun safe = run({"hex", "--set", "LVP=OFF"});
  ASSERT_EQ(safe.Status, kExitOk) << safe.Err;
  const std::string safeBuild = Written(temp.Path() + "/safe.hex", safe.Out);
  const struct {
    std::vector<std::string> Args;
    std::vector<std::string> Risks; // each warned of once
  } cases[] = {
      {{"hex", "--from", text}, {"MCLRE = OFF", "LVP = ON"}},
      {{"hex", "--from", hex}, {"MCLRE = OFF", "LVP = ON"}},
      {{"hex", "--from", text, "--set", "XINST=ON", "--set", "MCLRE=OFF"},
       {"MCLRE = OFF", "LVP = ON", "XINST = ON"}},
      {{"hex", "--from", text, "--into", hex}, {"MCLRE = OFF", "LVP = ON"}},
      // LVP, which the text leaves out, keeps the build's bits: off, so no risk.
      {{"hex", "--from", text, "--into", safeBuild}, {"MCLRE = OFF"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Args));
    const TRun hexRun = run(c.Args);
    ASSERT_EQ(hexRun.Status, kExitOk) << hexRun.Err;
    size_t warnings = 0;
    for (size_t at = hexRun.Err.find("warning: "); at != std::string::npos;
         at = hexRun.Err.find("warning: ", at + 1))
      ++warnings;
    EXPECT_EQ(warnings, c.Risks.size()) << hexRun.Err;
    for (const std::string &risk : c.Risks) {
      const size_t at = hexRun.Err.find("warning: " + risk);
      EXPECT_NE(at, std::string::npos) << risk;
      EXPECT_EQ(hexRun.Err.find("warning: " + risk, at + 1), std::string::npos) << risk;
    }
  }
}

TEST(ConfigGenHexWrite, IntoABuildChangesTheNamedFieldAndKeepsEverythingElse) {
  TTempFolder temp;
  const std::string folder = SamplesFolder();
  const std::vector<std::string> device = {"--folder", folder, "--device", "18F26Q10"};
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin() + 1, device.begin(), device.end());
    return RunCli(args);
  };
  // A build: program bytes, and its words with settings of its own.
  const TRun config = run({"hex", "--set", "RSTOSC=HFINTOSC_64MHZ", "--set", "WDTE=OFF"});
  ASSERT_EQ(config.Status, kExitOk) << config.Err;
  const std::string program = THexText().Upper(0).Data(0, {0xEF, 0x10, 0xF0, 0x00}).Text();
  const std::string build = Written(temp.Path() + "/build.hex", program + config.Out);

  const TRun into = run({"hex", "--into", build, "--set", "FEXTOSC=OFF"});
  ASSERT_EQ(into.Status, kExitOk) << into.Err;
  EXPECT_EQ(into.Out.rfind(program, 0), 0u) << into.Out; // records outside kept as they were
  EXPECT_NE(into.Err.find("note: the switches neither --from nor --set names keep the bits " + build +
                          " holds: RSTOSC, MCLRE"),
            std::string::npos)
      << into.Err;
  const std::string result = Written(temp.Path() + "/result.hex", into.Out);
  const TRun expected = run({"words", "--from", build, "--set", "FEXTOSC=OFF"});
  EXPECT_EQ(run({"words", "--from", result}).Out, expected.Out);

  // --from names some switches: only those change.
  const std::string from = Written(temp.Path() + "/from.bas", "device = 18F26Q10\nconfig\n  WDTE = ON\n");
  const TRun fromInto = run({"hex", "--into", build, "--from", from, "-o", temp.Path() + "/out.hex"});
  ASSERT_EQ(fromInto.Status, kExitOk) << fromInto.Err;
  // --from's notes would say its left-out switches are at the chip's default: not here.
  EXPECT_EQ(fromInto.Err.find(from + ":1: note:"), std::string::npos) << fromInto.Err;
  EXPECT_EQ(run({"words", "--from", temp.Path() + "/out.hex"}).Out,
            run({"words", "--from", build, "--set", "WDTE=ON"}).Out);

  // --in-place writes the same over the build.
  ASSERT_EQ(run({"hex", "--into", build, "--in-place", "--set", "FEXTOSC=OFF"}).Status, kExitOk);
  EXPECT_EQ(ReadWhole(build), into.Out);
}

TEST(ConfigGenHexWrite, ABuildWithoutWordsGetsTheChipsDefaultsWithTheNamedSwitches) {
  TTempFolder temp;
  const std::string program = THexText().Upper(0).Data(0x10, {1, 2, 3}).End().Text();
  const std::string build = Written(temp.Path() + "/build.hex", program);
  const std::vector<std::string> device = {"--folder", SamplesFolder(), "--device", "16F1847"};
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin() + 1, device.begin(), device.end());
    return RunCli(args);
  };
  const TRun into = run({"hex", "--into", build, "--set", "MCLRE=OFF"});
  ASSERT_EQ(into.Status, kExitOk) << into.Err;
  EXPECT_NE(into.Err.find("note: CONFIG1 (0x8007) is not in " + build), std::string::npos) << into.Err;
  const std::string result = Written(temp.Path() + "/result.hex", into.Out);
  EXPECT_EQ(run({"words", "--from", result}).Out,
            run({"words", "--info-defaults", "--set", "MCLRE=OFF"}).Out);
}

TEST(ConfigGenHexWrite, ABuildThatDoesNotReadIsRefusedAndNothingIsWritten) {
  TTempFolder temp;
  const std::string bad = THexText().Upper(0).Line(":0400000001020304F3").End().Text();
  const std::string twice = THexText().Upper(0x30).Data(1, {0x22}).Data(1, {0x23}).End().Text();
  const struct {
    std::string Build;
    std::string Error;
  } cases[] = {
      {bad, ":2: error: the record's checksum is 0xF3"},
      {twice, ":3: error: the byte at 0x300001 is written again with another value"},
  };
  for (const auto &c : cases) {
    const std::string build = Written(temp.Path() + "/build.hex", c.Build);
    const std::string out = temp.Path() + "/out.hex";
    const TRun run = RunCli({"hex", "--folder", SamplesFolder(), "--device", "18F4520", "--into", build,
                             "--set", "LVP=OFF", "-o", out});
    EXPECT_EQ(run.Status, kExitFailure);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.rfind(build + c.Error, 0), 0u) << run.Err;
    EXPECT_NE(run.Err.find("configgen: " + build + " is not read cleanly; nothing is written\n"),
              std::string::npos)
        << run.Err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

TEST(ConfigGenHexWrite, AConfigurationWithErrorsIsNotWritten) {
  TTempFolder temp;
  const std::string from = Written(temp.Path() + "/bad.bas", "device = 18F4520\nconfig\n  OSC = NOPE\n");
  const std::string build =
      Written(temp.Path() + "/build.hex", THexText().Upper(0).Data(0, {1}).End().Text());
  for (const std::vector<std::string> &extra : {std::vector<std::string>{}, {"--into", build}}) {
    std::vector<std::string> args = {"hex", "--folder", SamplesFolder(), "--from", from};
    args.insert(args.end(), extra.begin(), extra.end());
    const TRun run = RunCli(args);
    EXPECT_EQ(run.Status, kExitFailure);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.rfind(from + ":3: error: unknown setting 'NOPE'", 0), 0u) << run.Err;
  }
}

TEST(ConfigGenHexWrite, AFailedWriteIsExitOneAndLeavesTheBuildWhole) {
  TTempFolder temp;
  const std::string text = THexText().Upper(0).Data(0x10, {1, 2, 3}).End().Text();
  const std::string build = Written(temp.Path() + "/build.hex", text);
  // The new file beside it cannot be made: a folder stands in its place.
  std::filesystem::create_directory(build + ".configgen-new");
  const std::vector<std::string> base = {"hex",    "--folder", SamplesFolder(), "--device", "18F4520",
                                         "--into", build};
  std::vector<std::string> inPlace = base;
  inPlace.push_back("--in-place");
  const TRun run = RunCli(inPlace);
  EXPECT_EQ(run.Status, kExitFailure);
  EXPECT_NE(run.Err.find("configgen: cannot write " + build + ".configgen-new: "), std::string::npos)
      << run.Err;
  EXPECT_EQ(ReadWhole(build), text);
  std::vector<std::string> missing = base;
  missing.insert(missing.end(), {"-o", temp.Path() + "/none/out.hex"});
  const TRun nowhere = RunCli(missing);
  EXPECT_EQ(nowhere.Status, kExitFailure);
  EXPECT_NE(nowhere.Err.find("configgen: cannot write " + temp.Path() + "/none/out.hex: "), std::string::npos)
      << nowhere.Err;
#ifndef _WIN32
  if (std::filesystem::is_character_file("/dev/full")) { // a full disk
    std::vector<std::string> full = base;
    full.insert(full.end(), {"-o", "/dev/full"});
    const TRun disk = RunCli(full);
    EXPECT_EQ(disk.Status, kExitFailure);
    EXPECT_NE(disk.Err.find("configgen: cannot write /dev/full: No space left on device"), std::string::npos)
        << disk.Err;
  }
#endif
}

TEST(ConfigGenHexWrite, UsageErrors) {
  const std::string folder = SamplesFolder();
  for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
           {"hex", "--folder", folder},
           {"hex", "--folder", folder, "--device", "18F4520", "--in-place"},
           {"hex", "--folder", folder, "--device", "18F4520", "--into", "a.hex", "--in-place", "-o", "b.hex"},
           {"hex", "--folder", folder, "--device", "18F4520", "--into", "-", "--in-place"},
           {"hex", "--folder", folder, "--device", "18F4520", "--into"},
       })
    ExpectUsageError(args);
}
