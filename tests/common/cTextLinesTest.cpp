// The line-end rule and the walk over a text's lines: every way of cutting a text
// into lines gives the same lines.
#include "common/cTextLines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {
using namespace std::string_view_literals;

struct TCase {
  std::string Text;
  std::vector<std::string> Lines;
};

const TCase kCases[] = {
    {"", {}},
    {"a", {"a"}},
    {"a\r\nb\r\n", {"a", "b"}},
    {"a\nb\nc", {"a", "b", "c"}},
    {"a\rb\rc\r", {"a", "b", "c"}},
    {"a\r\nb\rc\r\nd\ne\r\n", {"a", "b", "c", "d", "e"}},
    {"\r\r\n\n\r", {"", "", "", ""}},
    {"a\n\rb", {"a", "", "b"}},
    {"\n", {""}},
};

std::vector<std::string> ByCutLine(std::string_view text) {
  std::vector<std::string> lines;
  for (size_t position = 0; position < text.size();)
    lines.emplace_back(CutLine(text, position));
  return lines;
}

std::vector<std::string> ByTextLines(std::string_view text) {
  std::vector<std::string> lines;
  TTextLines walk(text);
  for (std::string_view line; walk.Next(line);)
    lines.emplace_back(line);
  return lines;
}

// The lines as the starts BeginsLine gives and WithoutLineEnd of each span.
std::vector<std::string> ByLineStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); ++i)
    if (i == 0 || BeginsLine(text, i))
      starts.push_back(i);
  std::vector<std::string> lines;
  for (size_t i = 0; i < starts.size(); ++i) {
    const size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
    lines.emplace_back(WithoutLineEnd(text.substr(starts[i], end - starts[i])));
  }
  return lines;
}
} // namespace

TEST(TextLines, EveryCutterEndsLinesAtCrLfLoneCrAndLoneLf) {
  for (const TCase &c : kCases) {
    SCOPED_TRACE(testing::PrintToString(c.Text));
    EXPECT_EQ(ByCutLine(c.Text), c.Lines);
    EXPECT_EQ(ByTextLines(c.Text), c.Lines);
    EXPECT_EQ(ByLineStarts(c.Text), c.Lines);
    // Block-wise: a line begins after each byte that closes a line end.
    uint64_t crs = 0;
    uint64_t lfs = 0;
    for (size_t i = 0; i < c.Text.size(); ++i) {
      crs |= uint64_t{c.Text[i] == '\r'} << i;
      lfs |= uint64_t{c.Text[i] == '\n'} << i;
    }
    const uint64_t closes = LineEndCloses(crs, lfs);
    for (size_t i = 1; i < c.Text.size(); ++i)
      EXPECT_EQ(((closes >> (i - 1)) & 1) != 0, BeginsLine(c.Text, i)) << i;
  }
}

TEST(TextLines, SkipsRunsOfEmptyLinesCountingEachWhateverEndsIt) {
  // Long enough for whole blocks, with CR LF pairs split across the blocks' ends.
  const std::string ends[] = {std::string(40, '\n'), std::string(37, '\r'),
                              "\r\n\r\n\r\n\n\r\r\n\r\r\r\n\n\n\r\r\n\n", [] {
                                std::string text;
                                for (int i = 0; i < 30; ++i)
                                  text += i % 3 == 0 ? "\r" : "\r\n";
                                return text;
                              }()};
  for (const std::string &run : ends) {
    const std::string text = "first\r\n" + run + "last";
    TTextLines walk(text);
    std::string_view line;
    ASSERT_TRUE(walk.Next(line));
    walk.SkipEmptyLines();
    ASSERT_TRUE(walk.Next(line));
    EXPECT_EQ(line, "last");
    EXPECT_EQ(walk.Number(), static_cast<int>(ByCutLine(text).size())) << testing::PrintToString(run);
  }
}

// SkipLines stops where a walk that reads every line and passes over those the
// filter lets pass would stop: at the same line, with the same number. The texts
// mix every line end, blanks that run across the 64-byte blocks, the filter's
// bytes first and inside lines, and lines cut short by the text's end.
TEST(TextLines, SkipLinesStopsWhereALineByLineWalkStops) {
  const TLineFilter filter({"cOnf", "#"}, {"/*", "!"});
  const auto stops = [&](std::string_view line) {
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
      ++i;
    const std::string_view word = line.substr(i, 4);
    return line.substr(i, 1) == "#" || word == "conf" || word == "CONF" || word == "Conf" ||
           line.find("/*") != std::string_view::npos || line.find('!') != std::string_view::npos;
  };
  const std::string_view pieces[] = {"\r\n",
                                     "\n",
                                     "\r",
                                     " ",
                                     "\t",
                                     "conf",
                                     "CONF",
                                     "Con",
                                     "c",
                                     "Conf",
                                     "#",
                                     "/",
                                     "*",
                                     "!",
                                     "x",
                                     "\v",
                                     "\0"sv,
                                     std::string_view("                                        "
                                                      "                              ")};
  uint32_t state = 12345;
  for (int round = 0; round < 400; ++round) {
    std::string text = round % 7 == 0 ? "\xEF\xBB\xBF" : "";
    const int count = round % 90;
    for (int i = 0; i < count; ++i) {
      state = state * 1103515245 + 12345;
      // Mostly dull bytes, so that whole blocks pass.
      const uint32_t pick = (state >> 16) % 40;
      text += pick < std::size(pieces) ? pieces[pick] : "ab";
    }
    SCOPED_TRACE(testing::PrintToString(text));
    TTextLines expected(text);
    TTextLines walk(text);
    std::string_view line;
    std::string_view wanted;
    for (;;) {
      bool more = false;
      while ((more = expected.Next(wanted)) && !stops(wanted)) {
      }
      walk.SkipLines(filter);
      ASSERT_EQ(walk.Next(line), more);
      if (!more)
        break;
      EXPECT_EQ(line, wanted);
      EXPECT_EQ(line.data(), wanted.data());
      ASSERT_EQ(walk.Number(), expected.Number());
    }
    // The lines passed over at the end are counted too.
    EXPECT_EQ(walk.Number(), expected.Number());
  }
}

// Spaces and tabs are cut from both ends; other bytes, control characters included,
// stay, and the blanks inside stay.
TEST(TextLines, TrimmedCutsSpacesAndTabsAtTheEndsOnly) {
  struct {
    std::string_view Line, Expected;
  } const cases[] = {{"", ""},           {" \t ", ""},           {"\t a b \t", "a b"},
                     {"\va\f", "\va\f"}, {"\xA0x\r", "\xA0x\r"}, {" \0 "sv, "\0"sv}};
  for (const auto &c : cases)
    EXPECT_EQ(Trimmed(c.Line), c.Expected) << testing::PrintToString(std::string(c.Line));
}
