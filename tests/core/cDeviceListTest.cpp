// The device list's look-up helpers: the names closest to one that is not listed.
#include "core/cDeviceList.h"

#include <gtest/gtest.h>

TEST(ClosestNames, NearestFirstWithinTwoLettersIgnoringCaseAndThePicPrefix) {
  const std::vector<std::string> devices = {"18F25K22", "18F45K50", "18LF25K22", "18LF45K50", "18F2550"};
  const struct {
    std::string Name;
    size_t Most;
    std::vector<std::string> Expected;
  } cases[] = {
      {"18F45K22", 3, {"18F25K22", "18F45K50", "18LF25K22"}},
      {"18F45K22", 1, {"18F25K22"}},
      {"pic18lf45k51", 3, {"18LF45K50", "18F45K50"}},
      {"PIC18F2550", 3, {"18F2550", "18F45K50"}},
      {"18F8722", 3, {}},
      {"1", 3, {}},
      {"", 3, {}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(ClosestNames(devices, c.Name, c.Most), c.Expected) << c.Name;

  const std::vector<std::string> commands = {"devices", "generate", "switches", "words", "check"};
  EXPECT_EQ(ClosestNames(commands, "generat", 1), std::vector<std::string>{"generate"});
  EXPECT_EQ(ClosestNames(commands, "WORD", 1), std::vector<std::string>{"words"});
  EXPECT_EQ(ClosestNames(commands, "frobnicate", 1), std::vector<std::string>{});
}
