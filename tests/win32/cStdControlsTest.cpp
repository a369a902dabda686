// The simple controls under Wine: output box lines and text, label width, status
// panel, buttons and check boxes.
#include "controls/cStdControls.h"

#include "tests/win32/Win32TestSupport.h"

#include <gtest/gtest.h>

TEST(OutputBox, EveryAddedLineEndsWithCrLf) {
  TTestParent parent;
  TOutputBox box(parent.Handle(), 700);
  box.SetBounds(8, 8, 400, 150);
  EXPECT_EQ(box.LineCount(), 0);
  box.AddLine("device = 18F2550");
  box.AddLine("");
  box.AddLine("config");
  EXPECT_EQ(box.Text(), "device = 18F2550\r\n\r\nconfig\r\n");
  EXPECT_EQ(box.LineCount(), 3);
  TStringList lines;
  box.GetLines(lines);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()),
            (std::vector<std::string>{"device = 18F2550", "", "config"}));
  box.Clear();
  EXPECT_EQ(box.Text(), "");
  EXPECT_EQ(box.LineCount(), 0);
}

TEST(OutputBox, IsAnUnwrappedEditableBoxWithAVerticalScrollBarAndNoTabStop) {
  TTestParent parent;
  TOutputBox box(parent.Handle(), 700);
  const LONG style = GetWindowLongW(box.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_FALSE(style & WS_HSCROLL);
  EXPECT_TRUE(style & ES_AUTOHSCROLL); // lines are not wrapped
  EXPECT_FALSE(style & ES_READONLY);
  EXPECT_FALSE(style & WS_TABSTOP);

  // Text the user typed is part of the lines.
  SendMessageW(box.Handle(), WM_CHAR, 'x', 0);
  box.AddLine("line");
  EXPECT_EQ(box.Text(), "xline\r\n");
  box.SetSelection(1, 3);
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(box.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 4u);
}

TEST(Label, WidthFollowsTheTextWhenAutoSized) {
  TTestParent parent;
  TLabel label(parent.Handle(), 701, "Ready", true);
  label.SetBounds(8, 6, 31, 13);
  RECT rect;
  GetWindowRect(label.Handle(), &rect);
  const int shortWidth = rect.right - rect.left;
  EXPECT_EQ(shortWidth, label.TextWidth());
  label.SetText("resource file: V1.42.7    7 device(s) found");
  GetWindowRect(label.Handle(), &rect);
  EXPECT_GT(rect.right - rect.left, shortWidth);
  EXPECT_EQ(rect.right - rect.left, label.TextWidth());
  EXPECT_EQ(label.Text(), "resource file: V1.42.7    7 device(s) found");

  TLabel fixed(parent.Handle(), 702, "Device", false);
  fixed.SetBounds(8, 96, 32, 13);
  fixed.SetText("a much longer text than before");
  GetWindowRect(fixed.Handle(), &rect);
  EXPECT_EQ(rect.right - rect.left, 32);
}

TEST(ButtonAndCheckBox, ClicksReachTheirHandlers) {
  TTestParent parent;
  TButton button(parent.Handle(), 703, "Generate");
  TCheckBox box(parent.Handle(), 704, "Comments", true);
  button.SetBounds(8, 8, 100, 25);
  box.SetBounds(8, 40, 97, 17);
  int clicks = 0;
  std::vector<bool> states;
  button.OnClick = [&] { ++clicks; };
  box.OnClick = [&] { states.push_back(box.Checked()); };
  EXPECT_TRUE(box.Checked());
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  SendMessageW(box.Handle(), BM_CLICK, 0, 0);
  SendMessageW(box.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(states, (std::vector<bool>{false, true}));

  button.SetEnabled(false);
  EXPECT_FALSE(button.Enabled());
  EXPECT_FALSE(IsWindowEnabled(button.Handle()));
}
