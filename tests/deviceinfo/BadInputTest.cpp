// What the reader gives for each kind of bad input: a clear, documented error or an
// empty, harmless result; never a crash, and the file is left as it was.
#include "common/cErrors.h"
#include "deviceinfo/cInfoFile.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {
// Outcome of loading a folder and walking every listed device to its end.
struct TOutcome {
  std::string Error;   // message of the first error, or empty
  std::string Loading; // Load's problem: why the file could not be read, as said
  int Devices = 0;
  int Switches = 0;
  std::string Version;
};

TOutcome LoadAndWalk(const std::string &folder) {
  TOutcome outcome;
  TInfoFile reader;
  try {
    outcome.Loading = reader.Load(DeviceInfoFileName(folder), true);
    outcome.Devices = reader.Devices.Count();
    outcome.Version = reader.Version;
    const TStringList devices = reader.Devices;
    TStringList fields, names, descriptions;
    std::string name, function, def;
    for (const std::string &device : devices) {
      if (!reader.FindPart(device, fields))
        continue;
      ++reader.Cursor;
      while (reader.NextSwitch(name, function, names, descriptions, def))
        ++outcome.Switches;
    }
  } catch (const Exception &e) {
    outcome.Error = e.Message();
  }
  return outcome;
}

// A string literal with its embedded NUL bytes, without the terminating one.
template <size_t N> std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

std::string ReadAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

const std::string kIndex = "<RES_FILE_VERSION_INFO_TYPE><7>\r\n<PARTS_INDEX_TYPE><18F1>\r\n";
const std::string kPart = "<PART_INFO_TYPE><x><PIC18F1>\r\n<CONFIGREG_INFO_TYPE><1><C><05>\r\n"
                          "<SWITCH_INFO_TYPE><A><a><0F>\r\n<SETTING_VALUE_TYPE><A0><zero><0>\r\n"
                          "<SETTING_VALUE_TYPE><A5><five><5>\r\n";
} // namespace

TEST(BadInput, MalformedContentGivesTheDocumentedErrorAndLeavesTheFileAlone) {
  const struct {
    const char *What;
    std::string Text;
    std::string Error;
  } cases[] = {
      {"blank line in the index", "<PARTS_INDEX_TYPE><18F1>\r\n\r\n" + kPart, "List index out of bounds (0)"},
      {"blank line in a part section", kIndex + kPart + "   \r\n<SWITCH_INFO_TYPE><B><b><1>\r\n",
       "List index out of bounds (0)"},
      {"record missing a read field", kIndex + "<PART_INFO_TYPE><x><PIC18F1>\r\n<SWITCH_INFO_TYPE><A><a>\r\n",
       "List index out of bounds (3)"},
      {"non-hexadecimal register value",
       kIndex + "<PART_INFO_TYPE><x><PIC18F1>\r\n<CONFIGREG_INFO_TYPE><1><C><5H>\r\n",
       "'$5H' is not a valid integer value"},
      {"non-hexadecimal mask", kIndex + "<PART_INFO_TYPE><x><PIC18F1>\r\n<SWITCH_INFO_TYPE><A><a><0x0F>\r\n",
       "'$0x0F' is not a valid integer value"},
      {"not text at all", Bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0"), "List index out of bounds (0)"},
      {"huge non-hexadecimal register value",
       kIndex + "<PART_INFO_TYPE><x><PIC18F1>\r\n<CONFIGREG_INFO_TYPE><1><C><" + std::string(100000, 'G') +
           ">\r\n",
       "'$" + std::string(60, 'G') + "...' is not a valid integer value"},
      {"blank lines after an error", "<PARTS_INDEX_TYPE><18F1>\n" + std::string(1 << 20, '\n'),
       "List index out of bounds (0)"},
  };
  for (const auto &c : cases) {
    TTempFolder folder;
    const std::string path = folder.WriteDeviceInfo(c.Text);
    const TOutcome outcome = LoadAndWalk(folder.Path());
    EXPECT_EQ(outcome.Error, c.Error) << c.What;
    EXPECT_EQ(ReadAll(path), c.Text) << c.What;
  }
}

TEST(BadInput, UnusualButReadableContentIsReadAsIs) {
  const std::string bigDescription(1 << 20, 'x');
  const struct {
    const char *What;
    std::string Text;
    int Devices;
    int Switches;
  } cases[] = {
      {"0-byte file", "", 0, 0},
      {"1 MB line",
       kIndex + kPart + "<SWITCH_INFO_TYPE><B><b><1>\r\n<SETTING_VALUE_TYPE><ON><" + bigDescription +
           "><1>\r\n",
       1, 2},
      {"NUL bytes inside fields",
       kIndex + kPart + Bytes("<SWITCH_INFO_TYPE><B\0><b><1>\r\n") +
           Bytes("<SETTING_VALUE_TYPE><O\0N><\0><1>\r\n"),
       1, 2},
      {"CR-only line ends",
       "<RES_FILE_VERSION_INFO_TYPE><7>\r<PARTS_INDEX_TYPE><18F1>\r<PART_INFO_TYPE><x><PIC18F1>\r"
       "<SWITCH_INFO_TYPE><A><a><1>\r<SETTING_VALUE_TYPE><ON><on><1>\r",
       1, 1},
  };
  for (const auto &c : cases) {
    TTempFolder folder;
    folder.WriteDeviceInfo(c.Text);
    const TOutcome outcome = LoadAndWalk(folder.Path());
    EXPECT_EQ(outcome.Error, "") << c.What;
    EXPECT_EQ(outcome.Loading, "") << c.What;
    EXPECT_EQ(outcome.Devices, c.Devices) << c.What;
    EXPECT_EQ(outcome.Switches, c.Switches) << c.What;
  }
}

TEST(BadInput, DirectoryNamedLikeTheFileIsNotReadable) {
  TTempFolder folder;
  std::filesystem::create_directory(std::filesystem::path(folder.Path()) / "8bit_device.info");
  const TOutcome outcome = LoadAndWalk(folder.Path());
  EXPECT_EQ(outcome.Error, "");
  EXPECT_NE(outcome.Loading, "");
  EXPECT_EQ(outcome.Devices, 0);
  EXPECT_EQ(outcome.Version, "<none>");
}

TEST(BadInput, AFileOverFourGigabytesIsRefusedByItsSizeBeforeItIsRead) {
  TTempFolder folder;
  const std::string path = folder.WriteDeviceInfo(kIndex + kPart);
  std::filesystem::resize_file(path, (uint64_t{5} << 30)); // sparse: no disk space is taken
  const TOutcome outcome = LoadAndWalk(folder.Path());
  EXPECT_EQ(outcome.Error, "");
  EXPECT_EQ(outcome.Loading, "cannot read " + DeviceInfoFileName(folder.Path()) + ": file too large");
  EXPECT_EQ(outcome.Devices, 0);
}

// A file that is rewritten or shrinks while the reader holds it (an installer
// rewriting it in place) gives either the file as it was read or a clear error,
// never a crash.
TEST(BadInput, AFileChangedWhileItIsReadGivesAClearError) {
  std::string text = kIndex + "<PARTS_INDEX_TYPE><18F2>\r\n" + kPart;
  for (int i = 0; text.size() < (1u << 20); ++i)
    text += "<OTHER_TYPE><" + std::to_string(i) + "><filler to push the next device far away>\r\n";
  text +=
      "<PART_INFO_TYPE><x><PIC18F2>\r\n<SWITCH_INFO_TYPE><B><b><1>\r\n<SETTING_VALUE_TYPE><ON><on><1>\r\n";
  const struct {
    const char *What;
    std::function<void(const std::string &path)> Change;
  } cases[] = {
      {"truncated", [](const std::string &path) { std::filesystem::resize_file(path, 1000); }},
      {"rewritten in place",
       [](const std::string &path) {
         std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
         file.seekp(2000);
         file << "<OTHER_TYPE><rewritten>";
       }},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    TTempFolder folder;
    const std::string path = folder.WriteDeviceInfo(text);
    TInfoFile reader;
    ASSERT_EQ(reader.Load(path, false), "");
    ASSERT_EQ(reader.Devices.Count(), 2);
    c.Change(path);
    TStringList fields;
    [[maybe_unused]] const int cursor = reader.Cursor;
#ifdef _WIN32
    // Read whole and closed at once: the reader keeps the file as it was read.
    EXPECT_TRUE(reader.FindPart("18F2", fields));
#else
    try {
      reader.FindPart("18F2", fields);
      ADD_FAILURE() << "no error";
    } catch (const EFileChanged &e) {
      EXPECT_EQ(e.Message(), "8bit_device.info changed while it was being read");
      // The file alone: a line of what was read is no line of the file.
      EXPECT_EQ(e.WithPlace(), e.Message() + " (" + path + ")");
    }
    EXPECT_EQ(reader.Cursor, cursor);
    // The next load reads the file as it now is.
    EXPECT_EQ(reader.Load(path, false), "");
    EXPECT_EQ(reader.Devices.Count(), 2);
#endif
  }
}

#ifndef _WIN32
TEST(BadInput, AFifoIsRefusedAtOnce) {
  TTempFolder folder;
  const std::string path = (std::filesystem::path(folder.Path()) / "8bit_device.info").string();
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  const TOutcome outcome = LoadAndWalk(folder.Path());
  EXPECT_EQ(outcome.Error, "");
  EXPECT_EQ(outcome.Loading, "cannot read " + DeviceInfoFileName(folder.Path()) + ": is not a regular file");
  EXPECT_EQ(outcome.Devices, 0);
}

// Root may read any file, so the check runs in a child that gives up root first.
TEST(BadInput, FileWithoutReadPermissionIsNotReadable) {
  TTempFolder folder;
  const std::string path = folder.WriteDeviceInfo(kIndex + kPart);
  std::filesystem::permissions(path, std::filesystem::perms::none);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && setuid(65534) != 0)
      _exit(3);
    const TOutcome outcome = LoadAndWalk(folder.Path());
    _exit(outcome.Error.empty() && !outcome.Loading.empty() && outcome.Devices == 0 ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif
