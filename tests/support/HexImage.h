// The memory image of an Intel HEX text, through the core's record reader: every byte
// it programs, by address. A faulty record, or no end record, fails the test.
#pragma once

#include "core/cHexRecord.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

using THexBytes = std::map<uint32_t, uint8_t>;

inline THexBytes ImageOf(const std::string &text) {
  THexBytes image;
  THexRecordReader reader(text);
  while (reader.Next()) {
    EXPECT_EQ(reader.Fault(), "") << reader.Text();
    if (reader.Fault().empty() && reader.Record().Type == 0)
      for (size_t i = 0; i < reader.Record().Data.size(); ++i)
        image[reader.AddressOf(i)] = reader.Record().Data[i];
  }
  EXPECT_TRUE(reader.Ended());
  return image;
}
