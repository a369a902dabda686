// The simple stand-in controls: text, lines, selection, focus and clicks.
#include "tests/support/HeadlessControls.h"

void THeadlessButton::SetFocus() {
  if (FFocus != nullptr)
    FFocus->Control = this;
}

bool THeadlessButton::Click() {
  if (!FEnabled)
    return false;
  if (OnClick)
    OnClick();
  return true;
}

void THeadlessCheckBox::Click() {
  FChecked = !FChecked;
  if (OnClick)
    OnClick();
}

void THeadlessOutputBox::Clear() {
  FText.clear();
  FSelStart = 0;
  FSelLength = 0;
}

void THeadlessOutputBox::AddLine(const std::string &line) {
  // A text that does not end in a line break (the user typed it) gets one first.
  if (!FText.empty() && FText.back() != '\n')
    FText += "\r\n";
  FText += line;
  FText += "\r\n";
}

void THeadlessOutputBox::SetLines(const std::vector<std::string> &lines) {
  Clear();
  for (const std::string &line : lines)
    FText.append(line).append("\r\n");
}

void THeadlessOutputBox::GetLines(TStringList &lines) const {
  SplitTextLines(FText, lines);
}

int THeadlessOutputBox::LineCount() const {
  TStringList lines;
  GetLines(lines);
  return lines.Count();
}

void THeadlessOutputBox::SetSelection(int start, int length) {
  FSelStart = start;
  FSelLength = length;
}
