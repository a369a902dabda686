// The portable folder selection routines: id and flag tables, path and text shaping.
#include "dialogs/cDialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// A measure of one unit per character that records every text it is asked about.
struct TRecordingMeasure {
  std::vector<std::string> Measured;

  TTextWidthFunc Func() {
    return [this](const std::string &text) {
      Measured.push_back(text);
      return static_cast<int>(text.size());
    };
  }
};

// Every candidate of a shortening, in order: what a measure that never fits sees,
// followed by the unmeasured last one.
std::vector<std::string> PathCandidates(const std::string &text) {
  std::vector<std::string> seen;
  const std::string last = FitPathToWidth(text, 0, [&](const std::string &candidate) {
    seen.push_back(candidate);
    return 1000;
  });
  seen.push_back(last);
  return seen;
}

std::vector<std::string> TextCandidates(const std::string &text) {
  std::vector<std::string> seen;
  const std::string last = FitTextToWidth(text, 0, [&](const std::string &candidate) {
    seen.push_back(candidate);
    return 1000;
  });
  seen.push_back(last);
  return seen;
}
} // namespace

TEST(RootToFolderId, NTAndOtherPlatformsDifferOnlyInTheCommonRoots) {
  const uint32_t nt[kViewRootCount] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,    16,
                                       17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 0xFEFE};
  const uint32_t other[kViewRootCount] = {0,  1,  2,  3,  4,  5,  6, 7, 8,  9,  10, 11,    16,
                                          17, 18, 19, 20, 21, 11, 2, 7, 16, 26, 27, 0xFEFE};
  for (int root = 0; root < kViewRootCount; ++root) {
    SCOPED_TRACE(root);
    EXPECT_EQ(RootToFolderId(static_cast<TViewRoot>(root), kPlatformWin32NT), nt[root]);
    EXPECT_EQ(RootToFolderId(static_cast<TViewRoot>(root), 1), other[root]);
    EXPECT_EQ(RootToFolderId(static_cast<TViewRoot>(root), 0), other[root]);
  }
  EXPECT_EQ(RootToFolderId(vrCommonPrograms, 2), 23u);
  EXPECT_EQ(RootToFolderId(vrCommonPrograms, 1), 2u);
  EXPECT_EQ(RootToFolderId(vrDesktopExpanded, 2), 0xFEFEu);
  EXPECT_EQ(RootToFolderId(vrDesktopExpanded, 1), 0xFEFEu);
}

TEST(RootToFolderId, ValueOutsideTheEnumerationNamesNoSpecialFolder) {
  EXPECT_EQ(RootToFolderId(static_cast<TViewRoot>(25), 2), kNoSpecialFolder);
  EXPECT_EQ(RootToFolderId(static_cast<TViewRoot>(255), 1), kNoSpecialFolder);
}

TEST(BrowseTypesToFlags, EachTypeMapsToItsFlag) {
  EXPECT_EQ(BrowseTypesToFlags({}), 0u);
  EXPECT_EQ(BrowseTypesToFlags(
                {btDirectoriesOnly, btDomainOnly, btAncestors, btComputers, btPrinters, btIncludeFiles}),
            0x700Bu);
  const struct {
    TBrowseType Type;
    uint32_t Flag;
  } cases[] = {{btDirectoriesOnly, 0x0001}, {btDomainOnly, 0x0002}, {btAncestors, 0x0008},
               {btComputers, 0x1000},       {btPrinters, 0x2000},   {btIncludeFiles, 0x4000}};
  for (const auto &c : cases)
    EXPECT_EQ(BrowseTypesToFlags({c.Type}), c.Flag) << int(c.Type);
  EXPECT_EQ(BrowseTypesToFlags({btComputers, btDirectoriesOnly}), 0x1001u);
  // Bits beyond the six values map to nothing.
  EXPECT_EQ(BrowseTypesToFlags(TBrowseTypes::FromBits(0xC0)), 0u);
}

TEST(BrowseTypes, BitNStandsForOrdinalN) {
  TBrowseTypes set{btAncestors, btIncludeFiles};
  EXPECT_EQ(set.Bits(), 0x24);
  EXPECT_TRUE(set.Contains(btAncestors));
  EXPECT_FALSE(set.Contains(btComputers));
  set.Exclude(btAncestors).Include(btDirectoriesOnly);
  EXPECT_EQ(set.Bits(), 0x21);
  EXPECT_EQ(set, TBrowseTypes::FromBits(0x21));
  EXPECT_TRUE(TBrowseTypes().Empty());
}

TEST(DropFirstFolder, ReplacesTheFirstLevelWithAMarker) {
  const struct {
    const char *Dir;
    const char *Expected;
  } cases[] = {
      {"\\", ""},
      {"\\one\\two\\", "\\...\\two\\"},
      {"\\...\\two\\three\\", "\\...\\three\\"},
      {"one\\two\\", "...\\two\\"},
      {"...\\two\\", "...\\"},
      {"...\\", ""},
      {"one", ""},
      {"\\one", "\\"},
      // A folder name that begins with "." loses its first four characters.
      {"\\.git\\src\\", "\\...\\src\\"},
      {".hidden\\a\\b\\", "...\\a\\b\\"},
      // Shorter than four characters: what is there goes, nothing beyond it.
      {".", ""},
      {".a", ""},
      {"\\..", "\\"},
      {"..\\", ""},
      {"\\.\\x\\", "\\"},
      {"", ""},
  };
  for (const auto &c : cases) {
    std::string dir = c.Dir;
    DropFirstFolder(dir);
    EXPECT_EQ(dir, c.Expected) << "from " << c.Dir;
  }
}

TEST(FitPathToWidth, ShorteningSequences) {
  EXPECT_EQ(PathCandidates("C:\\one\\two\\three\\file.txt"),
            (std::vector<std::string>{"C:\\one\\two\\three\\file.txt", "C:\\...\\two\\three\\file.txt",
                                      "C:\\...\\three\\file.txt", "C:\\...\\file.txt", "...\\file.txt",
                                      "file.txt"}));
  EXPECT_EQ(PathCandidates("C:\\one\\"), (std::vector<std::string>{"C:\\one\\", "C:\\...\\", "...\\", ""}));
  EXPECT_EQ(PathCandidates("\\\\srv\\share\\dir\\"),
            (std::vector<std::string>{"\\\\srv\\share\\dir\\", "\\...\\srv\\share\\dir\\",
                                      "\\...\\share\\dir\\", "\\...\\dir\\", "\\...\\", "...\\", ""}));
  EXPECT_EQ(PathCandidates("C:file.txt"), (std::vector<std::string>{"C:file.txt", "file.txt"}));
  EXPECT_EQ(PathCandidates("\\.cfg\\x.txt"),
            (std::vector<std::string>{"\\.cfg\\x.txt", "\\...\\x.txt", "...\\x.txt", "x.txt"}));
}

TEST(FitPathToWidth, ReturnsTheFirstCandidateThatFits) {
  const std::string path = "C:\\alpha\\two\\three\\file.txt"; // 27 characters
  for (const auto &[width, expected] :
       std::vector<std::pair<int, std::string>>{{100, path},
                                                {27, path},
                                                {26, "C:\\...\\two\\three\\file.txt"},
                                                {25, "C:\\...\\two\\three\\file.txt"},
                                                {24, "C:\\...\\three\\file.txt"},
                                                {20, "C:\\...\\file.txt"},
                                                {15, "C:\\...\\file.txt"},
                                                {14, "...\\file.txt"},
                                                {12, "...\\file.txt"},
                                                {11, "file.txt"},
                                                {1, "file.txt"}}) {
    TRecordingMeasure measure{};
    EXPECT_EQ(FitPathToWidth(path, width, measure.Func()), expected) << width;
    // One measurement per step; the final candidate is not measured.
    if (expected == "file.txt") {
      EXPECT_EQ(measure.Measured.size(), 5u);
      EXPECT_EQ(measure.Measured.back(), "...\\file.txt");
    } else {
      EXPECT_EQ(measure.Measured.back(), expected);
    }
  }
}

TEST(FitPathToWidth, TextWithoutSeparatorStaysEvenWhenTooWide) {
  TRecordingMeasure measure{};
  EXPECT_EQ(FitPathToWidth("averylongfilename.txt", 3, measure.Func()), "averylongfilename.txt");
  EXPECT_TRUE(measure.Measured.empty());
}

TEST(FitPathToWidth, FailedMeasurementCountsAsFitting) {
  int calls = 0;
  const auto failing = [&](const std::string &) {
    ++calls;
    return 0;
  };
  EXPECT_EQ(FitPathToWidth("C:\\one\\two\\file.txt", -5, failing), "C:\\one\\two\\file.txt");
  EXPECT_EQ(FitTextToWidth("abcdef", -5, failing), "abcdef");
  EXPECT_EQ(calls, 2);
}

TEST(FitPathToWidth, EndsOnLongDeepPaths) {
  std::string path = "C:";
  for (int i = 0; i < 200; ++i)
    path += "\\d" + std::to_string(i % 10);
  path += "\\f";
  const auto candidates = PathCandidates(path);
  EXPECT_EQ(candidates.back(), "f");
  EXPECT_LT(candidates.size(), 210u);
}

TEST(FitTextToWidth, CutsOneCharacterPerStep) {
  EXPECT_EQ(TextCandidates("abcdef"),
            (std::vector<std::string>{"abcdef", "abcde...", "abcd...", "abc...", "ab...", "a...", "..."}));
  TRecordingMeasure measure{};
  EXPECT_EQ(FitTextToWidth("abcdef", 6, measure.Func()), "abcdef");
  EXPECT_EQ(measure.Measured, std::vector<std::string>{"abcdef"});
  EXPECT_EQ(FitTextToWidth("abcdef", 5, measure.Func()), "ab...");
  EXPECT_EQ(FitTextToWidth("", 0, measure.Func()), "");
}

TEST(RemoveTrailingBackslash, RemovesOneOnly) {
  EXPECT_EQ(RemoveTrailingBackslash("C:\\dir\\\\"), "C:\\dir\\");
  EXPECT_EQ(RemoveTrailingBackslash("C:\\dir\\"), "C:\\dir");
  EXPECT_EQ(RemoveTrailingBackslash("C:\\dir"), "C:\\dir");
  EXPECT_EQ(RemoveTrailingBackslash("\\"), "");
  EXPECT_EQ(RemoveTrailingBackslash(""), "");
}

TEST(NormalizeSelectionPath, DriveRootsKeepTheirBackslashOthersLoseOne) {
  const struct {
    const char *Text;
    const char *Expected;
  } cases[] = {
      {"", ""},       {"C:", "C:\\"},           {"C:\\", "C:\\"},
      {"C:x", "C:x"}, {"C:\\dir\\", "C:\\dir"}, {"C:\\dir", "C:\\dir"},
      {"\\", "\\"},   {"\\\\", "\\"},           {"\\\\srv\\share\\", "\\\\srv\\share"},
      {"a", "a"},     {"ab\\", "ab"},           {"C:\\d\\", "C:\\d"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(NormalizeSelectionPath(c.Text), c.Expected) << "from " << c.Text;
}

TEST(IsDriveRootText, LetterColonBackslashOnly) {
  int index = -1;
  EXPECT_TRUE(IsDriveRootText("c:\\", index));
  EXPECT_EQ(index, 2);
  EXPECT_TRUE(IsDriveRootText("Z:\\", index));
  EXPECT_EQ(index, 25);
  EXPECT_TRUE(IsDriveRootText("1:\\", index));
  EXPECT_LT(index, 0);
  EXPECT_TRUE(IsDriveRootText("\xe9:\\", index));
  EXPECT_GT(index, 31);
  EXPECT_FALSE(IsDriveRootText("C:", index));
  EXPECT_FALSE(IsDriveRootText("C:\\d", index));
  EXPECT_FALSE(IsDriveRootText("C:/", index));
}
