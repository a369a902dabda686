// Helpers of the Win32 tests: a plain parent window that hands notifications to its
// controls, message pumping, and keys sent the way the keyboard sends them.
#pragma once

#include <optional>
#include <string>

#include <windows.h>

// Registers the common controls once.
void InitControlsForTests();

// A visible top-level window that reflects WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and
// WM_MEASUREITEM to the control they concern. One window serves every test of the
// process (showing a window costs seconds under Wine); each test's controls are
// its children for the length of the test.
class TTestParent {
public:
  TTestParent();
  ~TTestParent() = default;
  TTestParent(const TTestParent &) = delete;
  TTestParent &operator=(const TTestParent &) = delete;
  HWND Handle() const { return FHandle; }

private:
  HWND FHandle;
};

// Handles every pending message, through IsDialogMessage for DialogWindow.
void PumpMessages(HWND dialogWindow = nullptr);
// Posts the key's down and up messages to Target (as WM_SYSKEYDOWN with Alt) and
// pumps them through IsDialogMessage for DialogWindow.
void PressKey(HWND target, UINT key, HWND dialogWindow, bool alt = false);
// Types Text as the keyboard would: each character's key pressed on Target.
void TypeText(HWND target, const std::string &text, HWND dialogWindow);

// A registry value's type and stored bytes (a string's terminating zero included).
struct TRegValue {
  DWORD Type = 0;
  std::string Data;
  bool operator==(const TRegValue &) const = default;
};
// Stores Value as Name under HKEY_CURRENT_USER\Path, creating the key; false when it cannot.
bool PutRegValue(const char *path, const char *name, const TRegValue &value);
// The value Name under HKEY_CURRENT_USER\Path, or nothing when it (or the key) is missing.
std::optional<TRegValue> GetRegValue(const char *path, const char *name);
