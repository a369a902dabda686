// The device drop-down under Wine: the combo shows what its rules hold, and the
// user's keys (arrows, Enter, typed names) raise the change event as a pick does.
#include "controls/cDropDownList.h"

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

// The rules (tested natively) drive the combo: what it shows and highlights.
TEST_F(DropDownListTest, TheComboShowsWhatTheRulesHold) {
  Fill({"18F1220", "18F2550", "18f2550"});
  EXPECT_EQ(SendMessageW(List.Handle(), CB_GETCOUNT, 0, 0), 3);
  List.SetItemIndex(1);
  EXPECT_EQ(List.ShownText(), L"18F2550");
  EXPECT_EQ(SendMessageW(List.Handle(), CB_GETCURSEL, 0, 0), 1);
  List.ClearText();
  EXPECT_EQ(List.ShownText(), L"");
  List.Clear();
  EXPECT_EQ(SendMessageW(List.Handle(), CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Changes, (std::vector<std::string>{"18F2550@1", "@1"}));
}

// Characters typed in quick succession find the entry by its whole name, first by
// its beginning, else anywhere in it; each change of the shown entry is an event.
TEST_F(DropDownListTest, TypedCharactersFindTheEntryByItsWholeName) {
  Fill({"18F1220", "18F2550", "18F4520", "18F45K22", "18LF25K22"});
  SetFocus(List.Handle());
  TypeText(List.Handle(), "18f45k22", Parent.Handle());
  EXPECT_EQ(List.Text(), "18F45K22");
  EXPECT_EQ(SendMessageW(List.Handle(), CB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(Changes, (std::vector<std::string>{"18F1220@0", "18F4520@2", "18F45K22@3"}));

  Sleep(1200); // a pause: the next characters are a new search
  Changes.clear();
  TypeText(List.Handle(), "lf2", Parent.Handle());
  EXPECT_EQ(Changes, std::vector<std::string>{"18LF25K22@4"});
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
