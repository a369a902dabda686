// Cutting the file into lines: every kind of line end, lines found only as far as
// they are asked for, and a search passing over lines by their bytes.
#include "deviceinfo/cLineBuffer.h"
#include "tests/support/ReaderProbe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> Lines(const TLineBuffer &buffer) {
  std::vector<std::string> lines;
  for (int i = 0; buffer.HasLine(i); ++i)
    lines.emplace_back(buffer.Line(i));
  return lines;
}
} // namespace

TEST(LineBuffer, EndsLinesAtCrLfLoneCrAndLoneLfWhereverTheyStand) {
  const struct {
    std::string Text;
    std::vector<std::string> Lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\nc", {"a", "b", "c"}},
      {"a\rb\rc\r", {"a", "b", "c"}},
      // A stray CR or LF in a file of CR LF ends only its own line.
      {"a\r\nb\rc\r\nd\ne\r\n", {"a", "b", "c", "d", "e"}},
      {"a\nb\r\nc\rd\n", {"a", "b", "c", "d"}},
      {"\r\r\n\n\r", {"", "", "", ""}},
      {"a\n\rb", {"a", "", "b"}},
  };
  for (const auto &c : cases) {
    TLineBuffer buffer;
    TLineBufferProbe::Assign(buffer, c.Text);
    EXPECT_EQ(Lines(buffer), c.Lines) << testing::PrintToString(c.Text);
    EXPECT_EQ(buffer.Count(), static_cast<int>(c.Lines.size())) << testing::PrintToString(c.Text);
  }
}

TEST(LineBuffer, FindsLinesOnlyAsFarAsTheyAreAskedFor) {
  TLineBuffer buffer;
  TLineBufferProbe::Assign(buffer, "first\r\nsecond\rthird\n" + std::string(1 << 20, '\n'));
  ASSERT_TRUE(buffer.HasLine(1));
  EXPECT_LT(TLineBufferProbe::LinesFound(buffer), 100000);
  EXPECT_EQ(buffer.Line(1), "second");
  ASSERT_TRUE(buffer.HasLine(2));
  EXPECT_EQ(buffer.Line(2), "third");
  EXPECT_EQ(buffer.Count(), 3 + (1 << 20));
  EXPECT_FALSE(buffer.HasLine(3 + (1 << 20)));
}

namespace {
// The quick look a search takes, line by line: the first line from From on that
// does not begin with '<' and a character above blank other than Except.
int FirstNonRecordLineByLine(const TLineBuffer &buffer, int from, char except) {
  int index = from;
  for (; buffer.HasLine(index); ++index) {
    const std::string_view head = buffer.Line(index).substr(0, 2);
    if (head.size() < 2 || head[0] != '<' || static_cast<unsigned char>(head[1]) <= 32 || head[1] == except)
      break;
  }
  return index;
}
} // namespace

TEST(LineBuffer, SkipsRecordsByTheirBytesCountingEveryLineWhateverEndsIt) {
  // Records of other kinds, short and longer than a 64-byte block.
  const std::vector<std::string> passed = {"<A>", "<SFR_INFO_TYPE><" + std::string(70, 'x') + "><8>",
                                           "<\x7f>", "<QP>"};
  // Where a skip stops: no line at all (the end), and lines that are not records of
  // another kind at a glance.
  const std::vector<std::string> stops = {"none", "", " <A>", "<PART>", "<", "< A>", "<\x80>", "x<A>", "\t"};
  const std::vector<std::vector<std::string>> endings = {
      {"\r\n"}, {"\n"}, {"\r"}, {"\r\n", "\r", "\n", "\n"}};
  for (const std::string &stop : stops) {
    for (const std::vector<std::string> &ends : endings) {
      for (const int count : {0, 1, 2, 5, 40, 333, 334}) {
        std::string text;
        for (int i = 0; i < count; ++i)
          text += passed[static_cast<size_t>(i) % passed.size()] + ends[static_cast<size_t>(i) % ends.size()];
        if (stop != "none")
          text += stop + ends.back() + "<A>" + ends.front() + "<B>";
        SCOPED_TRACE(testing::PrintToString(text.substr(text.size() > 80 ? text.size() - 80 : 0)));
        TLineBuffer reference;
        TLineBufferProbe::Assign(reference, text);
        TLineBuffer buffer;
        TLineBufferProbe::Assign(buffer, text);
        for (const int from : {0, count / 2}) {
          const int expected = FirstNonRecordLineByLine(reference, from, 'P');
          const int found = buffer.SkipRecords(from, 'P');
          ASSERT_EQ(found, expected) << "from " << from;
          // The line it stops at (or the last line), the ones after it and the ones
          // before it are at hand.
          if (found > from) {
            ASSERT_TRUE(buffer.HasLine(found - 1));
            EXPECT_EQ(buffer.Line(found - 1), reference.Line(found - 1));
          }
          for (int line : {found, found + 1, found + 2, from, 0}) {
            ASSERT_EQ(buffer.HasLine(line), reference.HasLine(line)) << line;
            if (reference.HasLine(line)) {
              EXPECT_EQ(buffer.Line(line), reference.Line(line)) << line;
            }
          }
        }
        EXPECT_EQ(buffer.Count(), reference.Count());
      }
    }
  }
}
