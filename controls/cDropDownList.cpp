// The device drop-down over TChoiceCombo: the rules keep the 8-bit entries and the
// shown text exactly, the combo displays them.
#include "controls/cDropDownList.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kSubclassId = 1;
}

TDropDownList::TDropDownList(HWND parent, int id, const std::string &initialText)
    : TChoiceCombo(parent, id, WS_VISIBLE | WS_TABSTOP), TDropDownRules(initialText) {
  SetShownText(AnsiToWide(Text()));
  OnNotify = [this](WORD code) {
    // CBN_SELCHANGE for each user move; CBN_CLOSEUP catches a choice some combo
    // implementations make without a selection change notice.
    if (code == CBN_SELCHANGE || code == CBN_CLOSEUP)
      UserChanged();
  };
  SetWindowSubclass(FHandle, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void TDropDownList::EntriesChanged() {
  ClearItems();
  for (int i = 0; i < Count(); ++i)
    AddItem(AnsiToWide(Item(i)));
}

void TDropDownList::SelectionChanged() {
  const int index = ItemIndex();
  SetCurSel(index >= 0 && index < Count() ? index : -1);
}

void TDropDownList::TextShown() {
  SetShownText(AnsiToWide(Text()));
}

void TDropDownList::UserChanged() {
  UserPick(CurSel());
}

LRESULT CALLBACK TDropDownList::SubclassProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR data) {
  (void)id;
  auto *list = reinterpret_cast<TDropDownList *>(data);
  switch (message) {
  case WM_CHAR:
    // Typed characters search the whole names, not only their first letters.
    if (wParam >= 32) {
      const std::string typed = WideToAnsi(std::wstring(1, static_cast<wchar_t>(wParam)));
      list->RunOwnEvent(
          [&] { list->TypeAhead(typed.empty() ? '?' : typed[0], static_cast<DWORD>(GetMessageTime())); });
      return 0;
    }
    break;
  case WM_NCDESTROY:
    RemoveWindowSubclass(handle, SubclassProc, kSubclassId);
    break;
  default:
    break;
  }
  return DefSubclassProc(handle, message, wParam, lParam);
}
