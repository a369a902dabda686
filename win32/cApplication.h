// TApplication: the application object of the start-up. Its own window, never seen
// itself, carries the application title on the taskbar and owns the main window.
#pragma once

#include <windows.h>

class TApplication {
public:
  static constexpr const char *kTitle = "Config Settings Generator";

  // Initialises the common controls and creates the application window.
  TApplication();
  ~TApplication();
  TApplication(const TApplication &) = delete;
  TApplication &operator=(const TApplication &) = delete;

  HWND Handle() const { return FHandle; }
  // The window that the taskbar button brings forward; shows the taskbar button.
  void SetMainWindow(HWND value);

private:
  static LRESULT CALLBACK WndProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

  HWND FHandle = nullptr;
  HWND FMainWindow = nullptr;
};
