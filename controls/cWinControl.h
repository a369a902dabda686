// TWinControl: the common ground of the Win32 controls: the window handle, the font,
// placement in 96-DPI units and the routing of notifications that the parent receives.
#pragma once

#include <functional>
#include <string>

#include <windows.h>

// Shows the message of a failure that an event handler raised.
using TErrorReporter = std::function<void(const std::string &message)>;
// Runs a handler on behalf of a control.
using TEventRunner = std::function<void(const std::function<void()> &handler)>;

// Runs Action and hands a failure it raises to Reporter: no exception may cross a
// window procedure. Without a reporter the failure is dropped.
void RunGuarded(const TErrorReporter &reporter, const std::function<void()> &action) noexcept;

// Answer to WM_CTLCOLORSTATIC: window-text colour on the button face, as the
// window's labels and check boxes are drawn.
LRESULT ColorStaticOnButtonFace(WPARAM dc);

// Scales a length given at 96 pixels per inch to Dpi.
inline int ScaleToDpi(int value, UINT dpi) {
  return MulDiv(value, static_cast<int>(dpi), 96);
}

class TWinControl {
public:
  TWinControl() = default;
  virtual ~TWinControl();
  TWinControl(const TWinControl &) = delete;
  TWinControl &operator=(const TWinControl &) = delete;

  HWND Handle() const { return FHandle; }
  int Id() const { return FId; }

  // Places the control; the rectangle is in the parent's client pixels.
  virtual void SetBounds(int left, int top, int width, int height);
  virtual void SetFont(HFONT font);
  HFONT Font() const { return FFont; }
  // The density the parent lays out for; controls that measure text use it.
  virtual void SetDpi(UINT dpi) { FDpi = dpi; }
  UINT Dpi() const { return FDpi; }

  // Notifications that the parent window received for this control (WM_COMMAND,
  // WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM); true when the control handled it.
  virtual bool HandleCommand(WORD code) {
    (void)code;
    return false;
  }
  virtual bool HandleNotify(NMHDR *header, LRESULT &result) {
    (void)header;
    (void)result;
    return false;
  }
  virtual bool HandleDrawItem(DRAWITEMSTRUCT *item) {
    (void)item;
    return false;
  }
  virtual bool HandleMeasureItem(MEASUREITEMSTRUCT *item) {
    (void)item;
    return false;
  }

  // Receives failures of the handlers the control runs from its own window procedure
  // (keys, its editor, its menu) rather than through its parent's routing.
  TErrorReporter OnError;
  // Runs those handlers, when set (the main window counts them as its own runs).
  TEventRunner RunEvent;

  // Hands a parent's message to the control it concerns; true when one handled it.
  static bool ReflectToControl(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);
  // The control object behind a window handle, or null.
  static TWinControl *FromHandle(HWND handle);

protected:
  // Runs Action as a handler from the control's own window procedure: through
  // RunEvent, its failure going to OnError.
  void RunOwnEvent(const std::function<void()> &action) noexcept;
  // Creates the window and ties it to this object.
  void CreateHandle(DWORD exStyle, const wchar_t *className, const wchar_t *text, DWORD style, HWND parent,
                    int id);

  HWND FHandle = nullptr;
  HFONT FFont = nullptr;
  UINT FDpi = 96;
  int FId = 0;
};

// Text helpers for the controls' wide windows.
std::wstring WindowTextW(HWND handle);
// Width of Text on one line in Font (the default GUI font when null), as a control
// of window Handle draws it.
int CaptionWidth(HWND handle, HFONT font, const std::wstring &text);
