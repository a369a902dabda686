// The layout's factory, through the stand-in window it builds: a control for every
// row, of the row's kind and with its caption and state, found by name.
#include "app/cLayoutControls.h"

#include "tests/support/HeadlessWindow.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(LayoutControls, EveryRowBecomesAControlOfItsKindWithItsCaptionAndState) {
  THeadlessWindow window;
  for (const TControlDef &def : kMainFormControls) {
    SCOPED_TRACE(def.Name);
    switch (def.Kind) {
    case TControlKind::Label:
      EXPECT_EQ(window.FindLabel(def.Name).Text(), def.Caption);
      break;
    case TControlKind::Button:
      EXPECT_EQ(static_cast<THeadlessButton &>(window.FindButton(def.Name)).Caption(), def.Caption);
      break;
    case TControlKind::DropDown:
      EXPECT_EQ(window.FindDropDown(def.Name).Text(), def.Caption);
      break;
    case TControlKind::CheckBox:
      EXPECT_EQ(window.FindCheckBox(def.Name).Checked(), def.Checked);
      break;
    case TControlKind::Grid:
      EXPECT_EQ(window.FindGrid(def.Name).RowCount(), 0);
      break;
    case TControlKind::OutputBox:
      EXPECT_EQ(window.FindOutputBox(def.Name).Text(), "");
      break;
    case TControlKind::Panel:
      break;
    }
    EXPECT_NO_THROW(window.ControlOf(def));
  }
}

TEST(LayoutControls, FindingANameTheLayoutLacksOrOfAnotherKindIsAnError) {
  THeadlessWindow window;
  EXPECT_THROW(window.FindLabel("NoSuchControl"), std::logic_error);
  EXPECT_THROW(window.FindButton("Memo"), std::logic_error);
  EXPECT_THROW(window.FindCheckBox("ButtonGenerate"), std::logic_error);
}

TEST(LayoutControls, AClickRunsTheHandlerItsRowNames) {
  THeadlessWindow window;
  window.Open();
  window.OutputBox("Memo").UserSetText("typed");
  EXPECT_TRUE(window.Button("ButtonGenerate").Click()); // ButtonGenerateClick writes the text
  EXPECT_EQ(window.OutputBox("Memo").Text().rfind("device = ", 0), 0u);
  window.Button("ButtonGenerate").SetEnabled(false);
  EXPECT_FALSE(window.Button("ButtonGenerate").Click());
}
