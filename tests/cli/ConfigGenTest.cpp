// configgen's commands, run in-process: output, messages and exit statuses.
#include "cli/ConfigGen.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {
struct TRun {
  int Status;
  std::string Out, Err;
};

TRun RunCli(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = RunConfigGen(args, out, err);
  return {status, out.str(), err.str()};
}
} // namespace

TEST(ConfigGenDevices, PrintsTheStatusLineAndTheNamesInFileOrder) {
  const TRun run = RunCli({"devices", "--folder", SamplesFolder()});
  EXPECT_EQ(run.Status, kExitOk) << run.Err;
  EXPECT_EQ(run.Out, "resource file: V1.42.7    7 device(s) found\n"
                     "18F1220\n18F2550\n18F25K22\n18F45K50\n18F4520\n18F8722\n18F2550\n");
  EXPECT_EQ(run.Err, "");

  const TRun withLF = RunCli({"devices", "--include-lf", "--folder=" + SamplesFolder()});
  EXPECT_EQ(withLF.Status, kExitOk);
  EXPECT_EQ(withLF.Out.substr(0, withLF.Out.find('\n')), "resource file: V1.42.7    9 device(s) found");
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

TEST(ConfigGenDevices, MalformedFileGivesTheReadersMessageAndTheLine) {
  TTempFolder folder;
  folder.WriteDeviceInfo("<PARTS_INDEX_TYPE><18F1>\r\n<PARTS_INDEX_TYPE>\r\n");
  const TRun run = RunCli({"devices", "--folder", folder.Path()});
  EXPECT_EQ(run.Status, kExitFailure);
  EXPECT_EQ(run.Out, "");
  EXPECT_NE(run.Err.find("List index out of bounds (1)"), std::string::npos) << run.Err;
  EXPECT_NE(run.Err.find("line 2"), std::string::npos) << run.Err;
}

TEST(ConfigGen, UsageErrorsExitTwoWithTheUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {}, {"frobnicate"}, {"devices"}, {"devices", "--folder"}, {"devices", "--folder", "x", "--bogus"}};
  for (const auto &args : cases) {
    const TRun run = RunCli(args);
    EXPECT_EQ(run.Status, kExitUsage) << testing::PrintToString(args);
    EXPECT_NE(run.Err.find("Usage: configgen"), std::string::npos);
    EXPECT_EQ(run.Out, "");
  }
  const TRun help = RunCli({"--help"});
  EXPECT_EQ(help.Status, kExitOk);
  EXPECT_NE(help.Out.find("devices --folder DIR"), std::string::npos);
}
