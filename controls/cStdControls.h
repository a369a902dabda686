// The simple Win32 controls behind the seams: push button, check box, label, the
// multi-line output box, and the status panel with its lowered bevel.
#pragma once

#include "controls/cWinControl.h"
#include "seams/cControls.h"

#include <string>

class TButton : public TWinControl, public IButton {
public:
  TButton(HWND parent, int id, const std::string &caption);
  void SetEnabled(bool value) override;
  bool Enabled() const override;
  void SetFocus() override;
  bool HandleCommand(WORD code) override;
  // The room the button's frame leaves on either side of its caption, together.
  int TextMargins() const { return 2 * ScaleToDpi(4, FDpi); }
  // The width its caption needs in its font, with the button's margins.
  int NeededWidth() const;

  TNotifyEvent OnClick;
};

class TCheckBox : public TWinControl, public ICheckBox {
public:
  TCheckBox(HWND parent, int id, const std::string &caption, bool checked);
  bool Checked() const override;
  void SetChecked(bool value);
  bool HandleCommand(WORD code) override;
  // Where its caption begins: the box and the gap after it, at its density.
  int TextLeft() const;
  // The width its box and caption need in its font.
  int NeededWidth() const;

  // Raised when the user toggles the box.
  TNotifyEvent OnClick;
};

// A static text; with AutoSize its width follows the text.
class TLabel : public TWinControl, public ILabel {
public:
  TLabel(HWND parent, int id, const std::string &caption, bool autoSize);
  void SetText(const std::string &text) override;
  std::string Text() const override { return FText; }
  void SetBounds(int left, int top, int width, int height) override;
  void SetFont(HFONT font) override;
  // Width of Text in the label's font, in pixels.
  int TextWidth() const;

private:
  void FitWidth();

  std::string FText;
  bool FAutoSize;
};

// Multi-line, editable, unwrapped text with a vertical scroll bar; lines end in CR LF.
class TOutputBox : public TWinControl, public IOutputBox {
public:
  TOutputBox(HWND parent, int id);
  void Clear() override;
  void AddLine(const std::string &line) override;
  void SetLines(const std::vector<std::string> &lines) override;
  int LineCount() const override;
  void GetLines(TStringList &lines) const override;
  std::string Text() const override;
  void SetSelection(int start, int length) override;
  // Replaces the whole text.
  void SetText(const std::string &text);
};

// A plain panel with a lowered bevel; the status label lives inside it.
class TStatusPanel : public TWinControl {
public:
  TStatusPanel(HWND parent, int id);

private:
  static LRESULT CALLBACK WndProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
};
