// The device drop-down under Wine: initial text, the change event raised exactly
// when the shown text changes (by the program or by the user), lookups.
#include "controls/cDropDownList.h"

#include "common/cErrors.h"
#include "tests/win32/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
class DropDownListTest : public ::testing::Test {
protected:
  DropDownListTest() : List(Parent.Handle(), 600, "select device") {
    List.SetBounds(8, 8, 121, 200);
    List.OnChange = [this] { Changes.push_back(List.Text() + "@" + std::to_string(List.ItemIndex())); };
    PumpMessages(Parent.Handle());
  }
  void Fill(std::initializer_list<const char *> names) {
    TStringList list;
    for (const char *name : names)
      list.Add(name);
    List.AddStrings(list);
  }

  TTestParent Parent;
  TDropDownList List;
  std::vector<std::string> Changes;
};
} // namespace

TEST_F(DropDownListTest, StartsEmptyShowingSelectDevice) {
  EXPECT_EQ(List.Text(), "select device");
  EXPECT_EQ(List.Count(), 0);
  EXPECT_EQ(List.ItemIndex(), -1);
  EXPECT_EQ(List.ShownText(), L"select device");
  EXPECT_EQ(GetWindowLongW(List.Handle(), GWL_STYLE) & CBS_DROPDOWNLIST, CBS_DROPDOWNLIST);
}

TEST_F(DropDownListTest, ProgramChangesRaiseOnChangeExactlyWhenTheShownTextChanges) {
  Fill({"18F1220", "18F2550", "18f2550"});
  EXPECT_TRUE(Changes.empty());

  List.SetItemIndex(1);
  List.SetItemIndex(1);  // same text: no event
  List.SetItemIndex(-1); // only stored; the text stays
  List.SetItemIndex(7);
  List.SetItemIndex(2); // differs in case only: a change
  List.ClearText();     // clears with the entries and the index still in place
  List.ClearText();
  EXPECT_EQ(Changes, (std::vector<std::string>{"18F2550@1", "18f2550@2", "@2"}));
  EXPECT_EQ(List.ItemIndex(), 2);
  EXPECT_EQ(List.ShownText(), L"");
}

TEST_F(DropDownListTest, ClearRemovesEntriesButKeepsTheText) {
  Fill({"18F1220", "18F2550"});
  List.SetItemIndex(0);
  Changes.clear();
  List.Clear();
  EXPECT_EQ(List.Count(), 0);
  EXPECT_EQ(List.ItemIndex(), -1);
  EXPECT_EQ(List.Text(), "18F1220");
  EXPECT_EQ(SendMessageW(List.Handle(), CB_GETCOUNT, 0, 0), 0);
  // An index of an empty list is stored and shows nothing new.
  List.SetItemIndex(0);
  EXPECT_EQ(List.ItemIndex(), 0);
  EXPECT_EQ(List.Text(), "18F1220");
  EXPECT_TRUE(Changes.empty());
}

TEST_F(DropDownListTest, IndexOfIgnoresCaseAndGivesTheFirstMatch) {
  Fill({"18F1220", "18F2550", "18f2550"});
  EXPECT_EQ(List.IndexOf("18f2550"), 1);
  EXPECT_EQ(List.IndexOf("18F1220"), 0);
  EXPECT_EQ(List.IndexOf("18F9999"), -1);
  EXPECT_EQ(List.Item(2), "18f2550");
  EXPECT_THROW(List.Item(3), EListError);
}

TEST_F(DropDownListTest, UserChoiceRaisesOnChangeOnlyForADifferentText) {
  Fill({"18F1220", "18F2550", "18F4520"});
  List.SetItemIndex(0);
  Changes.clear();
  SetFocus(List.Handle());
  PressKey(List.Handle(), VK_DOWN, Parent.Handle());
  EXPECT_EQ(Changes, std::vector<std::string>{"18F2550@1"});
  EXPECT_EQ(List.Text(), "18F2550");

  // Choosing the entry already shown changes nothing.
  Changes.clear();
  PressKey(List.Handle(), VK_DOWN, Parent.Handle(), true); // Alt+Down opens the list
  PressKey(List.Handle(), VK_RETURN, Parent.Handle());
  EXPECT_TRUE(Changes.empty());
  EXPECT_EQ(List.ItemIndex(), 1);

  // After the program cleared the text, choosing the same entry is a change again.
  List.ClearText();
  Changes.clear();
  SendMessageW(List.Handle(), CB_SETCURSEL, 2, 0);
  SendMessageW(Parent.Handle(), WM_COMMAND, MAKEWPARAM(600, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(List.Handle()));
  EXPECT_EQ(Changes, std::vector<std::string>{"18F4520@2"});
}
