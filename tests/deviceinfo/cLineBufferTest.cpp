// Cutting the file into lines: every kind of line end, and lines found only as
// far as they are asked for.
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
