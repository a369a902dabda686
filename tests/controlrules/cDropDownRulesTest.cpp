// The drop-down's rules: the change event exactly when the shown text changes,
// lookups ignoring letter case, and finding an entry by typing.
#include "controlrules/cDropDownRules.h"

#include "common/cErrors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
TStringList List(std::initializer_list<const char *> items) {
  TStringList list;
  for (const char *item : items)
    list.Add(item);
  return list;
}
} // namespace

TEST(DropDownRules, RaisesChangeExactlyWhenTheShownTextChanges) {
  TDropDownRules list("select device");
  std::vector<std::string> seen; // shown text and index as the handler sees them
  list.OnChange = [&] { seen.push_back(list.Text() + "@" + std::to_string(list.ItemIndex())); };
  EXPECT_EQ(list.Text(), "select device");
  EXPECT_EQ(list.ItemIndex(), -1);

  list.AddStrings(List({"18F1", "18F2", "18f2"}));
  list.SetItemIndex(5); // outside: stored only
  EXPECT_EQ(list.ItemIndex(), 5);
  EXPECT_EQ(list.Text(), "select device");
  list.SetItemIndex(1);
  list.SetItemIndex(1); // same text: no event
  EXPECT_TRUE(list.UserPick(0));
  EXPECT_FALSE(list.UserPick(3));
  list.SetItemIndex(2); // differs in case only: a change
  list.ClearText();     // clears with the entries and the index still in place
  list.ClearText();     // already empty
  EXPECT_EQ(seen, (std::vector<std::string>{"18F2@1", "18F1@0", "18f2@2", "@2"}));
  // After the text was cleared, choosing the same entry again shows it again.
  EXPECT_TRUE(list.UserPick(2));
  EXPECT_EQ(seen.back(), "18f2@2");

  // Removing the entries keeps the shown text.
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.Text(), "18f2");
  list.SetItemIndex(0); // empty list: stored only
  EXPECT_EQ(list.ItemIndex(), 0);
  EXPECT_EQ(list.Text(), "18f2");
  EXPECT_THROW(list.Item(0), EListError);
}

TEST(DropDownRules, IndexOfIgnoresLetterCaseAndTakesTheFirstMatch) {
  TDropDownRules list("");
  list.AddStrings(List({"18F2550", "18f2550", "18LF25K22"}));
  EXPECT_EQ(list.IndexOf("18f2550"), 0);
  EXPECT_EQ(list.IndexOf("18lf25k22"), 2);
  EXPECT_EQ(list.IndexOf("18F255"), -1);
  EXPECT_EQ(list.IndexOf(""), -1);
}

TEST(DropDownRules, TypingFindsTheFirstEntryThatBeginsWithOrElseContainsTheText) {
  const struct {
    const char *What;
    std::vector<std::pair<char, uint64_t>> Keys; // character and time in ms
    std::vector<std::string> Shown;              // the entry shown after each key
  } cases[] = {
      {"quick typing narrows down",
       {{'1', 0}, {'8', 100}, {'f', 200}, {'4', 300}, {'5', 400}, {'K', 500}, {'2', 600}, {'2', 700}},
       {"18F1220", "18F1220", "18F1220", "18F4520", "18F4520", "18F45K22", "18F45K22", "18F45K22"}},
      {"what no entry begins with, one contains",
       {{'4', 0}, {'5', 300}, {'k', 600}, {'2', 900}},
       {"18F4520", "18F4520", "18F45K22", "18F45K22"}},
      {"a pause starts a new search",
       {{'1', 0}, {'8', 500}, {'l', 1600}},
       {"18F1220", "18F1220", "18LF25K22"}},
      {"nothing matches: the entry stays", {{'1', 0}, {'x', 100}}, {"18F1220", "18F1220"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    TDropDownRules list("select device");
    list.AddStrings(List({"18F1220", "18F2550", "18F4520", "18F45K22", "18LF25K22"}));
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    std::vector<std::string> shown;
    int expectedChanges = 0;
    std::string last = list.Text();
    for (const auto &[c2, time] : c.Keys) {
      list.TypeAhead(c2, time);
      shown.push_back(list.Text());
      expectedChanges += list.Text() != last ? 1 : 0;
      last = list.Text();
    }
    EXPECT_EQ(shown, c.Shown);
    EXPECT_EQ(changes, expectedChanges); // each change of the shown entry raises the event once
    EXPECT_EQ(list.Item(list.ItemIndex()), list.Text());
  }
}
