// Pending-message processing and the main message loop.
#include "platform/cMessagePumpWin32.h"

void TMessagePumpWin32::Dispatch(MSG &msg) const {
  if (FDialogWindow && IsWindow(FDialogWindow) && IsDialogMessageW(FDialogWindow, &msg))
    return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void TMessagePumpWin32::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

int TMessagePumpWin32::Run() {
  MSG msg;
  for (;;) {
    const BOOL result = GetMessageW(&msg, nullptr, 0, 0);
    if (result == 0)
      return static_cast<int>(msg.wParam);
    if (result == -1)
      return 1;
    Dispatch(msg);
  }
}
