// Builds small device information files line by line for tests.
#pragma once

#include <string>

class TDeviceInfoText {
public:
  TDeviceInfoText &Version(const std::string &v) { return Line("<RES_FILE_VERSION_INFO_TYPE><" + v + ">"); }
  TDeviceInfoText &Index(const std::string &device) { return Line("<PARTS_INDEX_TYPE><" + device + "><0>"); }
  TDeviceInfoText &Part(const std::string &device) {
    return Line("<PART_INFO_TYPE><0><PIC" + device + "><PIC18>");
  }
  TDeviceInfoText &Register(const std::string &hex) {
    return Line("<CONFIGREG_INFO_TYPE><300000><CONFIG><" + hex + ">");
  }
  TDeviceInfoText &Switch(const std::string &name, const std::string &function, const std::string &mask) {
    return Line("<SWITCH_INFO_TYPE><" + name + "><" + function + "><" + mask + "><2>");
  }
  TDeviceInfoText &Setting(const std::string &name, const std::string &description,
                           const std::string &value) {
    return Line("<SETTING_VALUE_TYPE><" + name + "><" + description + "><" + value + ">");
  }
  // Any line as it stands.
  TDeviceInfoText &Line(const std::string &line) {
    FText += line + "\r\n";
    return *this;
  }
  const std::string &Text() const { return FText; }

private:
  std::string FText;
};
