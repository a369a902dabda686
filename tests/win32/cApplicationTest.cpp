// The start-up under Wine: the application window with its title owns the main
// window, closing goes through to the main window, and the message loop ends with
// the settings written.
#include "win32/cApplication.h"

#include "platform/cMessagePumpWin32.h"
#include "tests/win32/Win32TestSupport.h"
#include "win32/cMainWindow.h"
#include "win32/cServicesWin32.h"

#include <gtest/gtest.h>

#include <string>

TEST(Application, TitleOnTheTaskbarWindowAndTheLoopEndsWhenTheMainWindowCloses) {
  InitControlsForTests();
  // The program's guard puts the user's tree back at its end (RegistrySnapshotTest.cpp).
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Holmcraft");
  TApplication application;
  TServicesWin32 services;
  TMainWindow window(services.Setup([](const std::string &) {}, application.Handle(), true));
  application.SetMainWindow(window.Handle());
  window.Show();

  char title[64] = {};
  GetWindowTextA(application.Handle(), title, sizeof(title));
  EXPECT_STREQ(title, "Config Settings Generator");
  EXPECT_TRUE(IsWindowVisible(application.Handle()));
  EXPECT_EQ(GetWindow(window.Handle(), GW_OWNER), application.Handle());

  // Closing from the taskbar button closes the main window; the loop then ends.
  PostMessageW(application.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(window.Pump().Run(), 0);
  EXPECT_FALSE(window.Alive());
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Holmcraft\\Fusebench\\Converter", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  RegCloseKey(key);
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Holmcraft");
}

TEST(MessagePump, ProcessMessagesLeavesAQuitForTheMainLoop) {
  TTestParent parent;
  TMessagePumpWin32 pump(parent.Handle());
  PostQuitMessage(3);
  pump.ProcessMessages();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
}
