// Stand-ins for the window's controls, without a screen: the simple ones keep
// their text and state; the drop-down and the grid are the controls' own rules.
#pragma once

#include "controlrules/cDropDownRules.h"
#include "controlrules/cGridRules.h"
#include "seams/cControls.h"

#include <string>

// Which control of a headless window has the focus.
struct THeadlessFocus {
  const void *Control = nullptr;
};

class THeadlessButton : public IButton {
public:
  explicit THeadlessButton(std::string caption = {}, THeadlessFocus *focus = nullptr)
      : FCaption(std::move(caption)), FFocus(focus) {}

  void SetEnabled(bool value) override { FEnabled = value; }
  bool Enabled() const override { return FEnabled; }
  void SetFocus() override;

  const std::string &Caption() const { return FCaption; }
  bool Focused() const { return FFocus != nullptr && FFocus->Control == this; }

private:
  std::string FCaption;
  THeadlessFocus *FFocus;
  bool FEnabled = true;
};

class THeadlessCheckBox : public ICheckBox {
public:
  explicit THeadlessCheckBox(std::string caption = {}, bool checked = false)
      : FCaption(std::move(caption)), FChecked(checked) {}

  bool Checked() const override { return FChecked; }
  void SetChecked(bool value) { FChecked = value; }
  const std::string &Caption() const { return FCaption; }

private:
  std::string FCaption;
  bool FChecked;
};

class THeadlessLabel : public ILabel {
public:
  explicit THeadlessLabel(std::string text = {}) : FText(std::move(text)) {}

  void SetText(const std::string &text) override { FText = text; }
  std::string Text() const override { return FText; }

private:
  std::string FText;
};

// The output box: one text in which every added line ends with CR LF; lines are
// cut as the window's box cuts them.
class THeadlessOutputBox : public IOutputBox {
public:
  void Clear() override;
  void AddLine(const std::string &line) override;
  void SetLines(const std::vector<std::string> &lines) override;
  int LineCount() const override;
  void GetLines(TStringList &lines) const override;
  std::string Text() const override { return FText; }
  void SetSelection(int start, int length) override;

  // The user replaces the whole text.
  void UserSetText(const std::string &text) { FText = text; }
  int SelectionStart() const { return FSelStart; }
  int SelectionLength() const { return FSelLength; }

private:
  std::string FText;
  int FSelStart = 0;
  int FSelLength = 0;
};

// The device drop-down's rules, counting the change events.
class THeadlessDropDownList : public TDropDownRules {
public:
  explicit THeadlessDropDownList(std::string initialText) : TDropDownRules(std::move(initialText)) {}
  int ChangeCount() const { return FChangeCount; }

protected:
  void TextShown() override { ++FChangeCount; }

private:
  int FChangeCount = 0;
};

// The grid's rules with their in-place list.
class THeadlessSettingsGrid : public TGridRules {
public:
  THeadlessSettingsGrid() : TGridRules(FEditor) {}

private:
  TComboEditorRules FEditor;
};
