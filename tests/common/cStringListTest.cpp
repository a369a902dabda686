// String list: checked reads, slot reuse, lookup and sorting.
#include "common/cStringList.h"

#include "common/cErrors.h"

#include <gtest/gtest.h>

namespace {
TStringList Make(std::initializer_list<const char *> items) {
  TStringList list;
  for (const char *s : items)
    list.Add(s);
  return list;
}

std::vector<std::string> Items(const TStringList &list) {
  return {list.begin(), list.end()};
}
} // namespace

TEST(StringList, ReadOutsideRangeRaisesWithIndexInMessage) {
  TStringList list = Make({"a", "b"});
  for (int index : {-1, 2, 5}) {
    try {
      (void)list.Get(index);
      FAIL() << "no error for index " << index;
    } catch (const EListError &e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(index) + ")");
      EXPECT_EQ(e.Index(), index);
    }
  }
  EXPECT_THROW(list.Put(2, "x"), EListError);
  list.Clear();
  EXPECT_THROW((void)list.Last(), EListError);
}

TEST(StringList, RefillAfterClearHoldsOnlyTheNewEntries) {
  TStringList list = Make({"a long entry that needs its own buffer", "second", "third"});
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.IndexOf("second"), -1);
  list.Add("x");
  EXPECT_EQ(Items(list), (std::vector<std::string>{"x"}));
  EXPECT_THROW((void)list.Get(1), EListError);
}

TEST(StringList, IndexOfFindsTheFirstExactMatchOrIgnoresCaseOnRequest) {
  const TStringList list = Make({"18F2550", "18f1220", "18F1220", "18F2550"});
  EXPECT_EQ(list.IndexOf("18F2550"), 0);
  EXPECT_EQ(list.IndexOf("18F1220"), 2);
  EXPECT_EQ(list.IndexOf("18F122"), -1);
  EXPECT_EQ(list.IndexOf("18F1220", CompareText), 1);
}

TEST(StringList, SortIsStableAndHonoursTheComparison) {
  TStringList exact = Make({"b", "B", "a", "A"});
  exact.Sort();
  EXPECT_EQ(Items(exact), (std::vector<std::string>{"A", "B", "a", "b"}));

  TStringList caseless = Make({"18LF25K22", "18f4520", "18F2550", "18F1220", "18F4520"});
  caseless.Sort(CompareText);
  EXPECT_EQ(Items(caseless),
            (std::vector<std::string>{"18F1220", "18F2550", "18f4520", "18F4520", "18LF25K22"}));
}

TEST(StringList, AddStringsAppendsEvenToItself) {
  TStringList list = Make({"a", "b"});
  list.AddStrings(list);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "b", "a", "b"}));
}

TEST(TextHelpers, CaseRulesTouchAsciiLettersOnly) {
  EXPECT_EQ(UpperCaseAscii("c:\\micro\xe9hip\\mpasm 8.9"), "C:\\MICRO\xe9HIP\\MPASM 8.9");
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_NE(CompareText("\xe9", "\xc9"), 0);
  EXPECT_LT(CompareStr("B", "a"), 0);
  EXPECT_TRUE(EndsWithText("C:\\Packs\\PIC18F-Q_DFP.ATPACK", ".atpack"));
  EXPECT_TRUE(EndsWithText(".PIC", ".pic"));
  EXPECT_FALSE(EndsWithText("PIC", ".pic"));
  EXPECT_FALSE(EndsWithText("x.atpack.bak", ".atpack"));
}

TEST(SplitTextLines, BreaksAtCrLfAndDropsTheEmptyLastLine) {
  struct TCase {
    const char *Text;
    std::vector<std::string> Lines;
  };
  const TCase cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\r\n\r\n", {"a", ""}},
      {"\r\n", {""}},
      {"a\nb\rc", {"a", "b", "c"}},
  };
  for (const TCase &c : cases) {
    TStringList lines;
    SplitTextLines(c.Text, lines);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), c.Lines) << c.Text;
  }
}
