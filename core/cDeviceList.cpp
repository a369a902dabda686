// The status line and the device look-up.
#include "core/cDeviceList.h"

std::string StatusLine(const std::string &version, int count) {
  return "resource file: " + version + "    " + std::to_string(count) + " device(s) found";
}

std::string_view WithoutPicPrefix(std::string_view name) {
  if (name.size() > 3 && CompareText(name.substr(0, 3), "PIC") == 0)
    return name.substr(3);
  return name;
}

int FindListedDevice(const TStringList &names, std::string_view name) {
  return names.IndexOf(WithoutPicPrefix(name), CompareText);
}
