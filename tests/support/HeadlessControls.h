// Stand-ins for the window's controls, without a screen, each made from its row of
// the layout: the simple ones keep their text and state; the drop-down and the grid
// are the controls' own rules.
#pragma once

#include "app/cMainFormLayout.h"
#include "controlrules/cDropDownRules.h"
#include "controlrules/cGridRules.h"
#include "seams/cControls.h"

#include <string>
#include <string_view>
#include <vector>

// Which control of a headless window has the focus.
struct THeadlessFocus {
  const void *Control = nullptr;
};

// What the headless window owns its controls through.
class THeadlessControl {
public:
  virtual ~THeadlessControl() = default;
};

class THeadlessButton : public THeadlessControl, public IButton {
public:
  explicit THeadlessButton(const TControlDef &def) : FCaption(def.Caption) {}

  void SetEnabled(bool value) override { FEnabled = value; }
  bool Enabled() const override { return FEnabled; }
  void SetFocus() override;

  // The user clicks: OnClick runs unless the button is disabled (then false).
  // A failure of the handler propagates, as it would reach the window's error box.
  bool Click();
  // Notes in Focus when the button takes the focus.
  void TrackFocus(THeadlessFocus &focus) { FFocus = &focus; }
  const std::string &Caption() const { return FCaption; }
  bool Focused() const { return FFocus != nullptr && FFocus->Control == this; }

  TNotifyEvent OnClick;

private:
  std::string FCaption;
  THeadlessFocus *FFocus = nullptr;
  bool FEnabled = true;
};

class THeadlessCheckBox : public THeadlessControl, public ICheckBox {
public:
  explicit THeadlessCheckBox(const TControlDef &def) : FCaption(def.Caption), FChecked(def.Checked) {}

  bool Checked() const override { return FChecked; }
  void SetChecked(bool value) { FChecked = value; }
  const std::string &Caption() const { return FCaption; }
  // The user clicks: the box toggles, then OnClick runs.
  void Click();

  TNotifyEvent OnClick;

private:
  std::string FCaption;
  bool FChecked;
};

class THeadlessLabel : public THeadlessControl, public ILabel {
public:
  explicit THeadlessLabel(const TControlDef &def) : FText(def.Caption) {}

  void SetText(const std::string &text) override { FText = text; }
  std::string Text() const override { return FText; }

private:
  std::string FText;
};

// The output box: one text in which every added line ends with CR LF; lines are
// cut as the window's box cuts them.
class THeadlessOutputBox : public THeadlessControl, public IOutputBox {
public:
  explicit THeadlessOutputBox(const TControlDef & /*def*/) {}
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
class THeadlessDropDownList : public THeadlessControl, public TDropDownRules {
public:
  explicit THeadlessDropDownList(const TControlDef &def) : TDropDownRules(def.Caption) {}
  int ChangeCount() const { return FChangeCount; }

protected:
  void TextShown() override { ++FChangeCount; }

private:
  int FChangeCount = 0;
};

// The grid's in-place list, counting how often it was told to repaint at once.
class THeadlessComboEditor : public TComboEditorRules {
public:
  int RefreshCount() const { return FRefreshCount; }

protected:
  void Repaint() override { ++FRefreshCount; }

private:
  int FRefreshCount = 0;
};

// The grid's rules with their in-place list.
class THeadlessSettingsGrid : public THeadlessControl, public TGridRules {
public:
  explicit THeadlessSettingsGrid(const TControlDef & /*def*/) : TGridRules(FEditor) {}
  const THeadlessComboEditor &Editor() const { return FEditor; }
  // The user picks the context menu's item that reads Text; false, and nothing
  // happens, where none does.
  using TGridRules::PickMenuItem;
  bool PickMenuItem(std::string_view text) {
    for (size_t i = 0; i < ContextMenu.size(); ++i)
      if (ContextMenu[i].Text == text)
        return PickMenuItem(i);
    return false;
  }
  // The context menu's texts, in order.
  std::vector<std::string> MenuTexts() const {
    std::vector<std::string> texts;
    for (const TMenuItem &item : ContextMenu)
      texts.push_back(item.Text);
    return texts;
  }

private:
  THeadlessComboEditor FEditor;
};

// The status panel: only a place for the status label.
class THeadlessPanel : public THeadlessControl {
public:
  explicit THeadlessPanel(const TControlDef & /*def*/) {}
};
