// The 8-bit families and how a part's data names its family.
#include "common/cDeviceFamily.h"

namespace {
bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    x = x >= 'a' && x <= 'z' ? static_cast<char>(x - 'a' + 'A') : x;
    y = y >= 'a' && y <= 'z' ? static_cast<char>(y - 'a' + 'A') : y;
    if (x != y)
      return false;
  }
  return true;
}

std::string_view WithoutPic(std::string_view name) {
  if (name.size() >= 3 && SameText(name.substr(0, 3), "PIC"))
    name.remove_prefix(3);
  return name;
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
} // namespace

const TDeviceFamily *FamilyOfCode(std::string_view code) {
  for (const TDeviceFamily *family : kDeviceFamilies)
    for (const char *known : family->Codes)
      if (known != nullptr && SameText(code, known))
        return family;
  return nullptr;
}

const TDeviceFamily *FamilyOfUnnamedPart(std::string_view name) {
  name = WithoutPic(name);
  return name.size() > 2 && name.substr(0, 2) == "18" && IsLetter(name[2]) ? &kPic18Family : nullptr;
}

bool IsEightBitPart(std::string_view name) {
  name = WithoutPic(name);
  if (name.size() < 3 || !IsLetter(name[2]))
    return false;
  const std::string_view digits = name.substr(0, 2);
  return digits == "10" || digits == "12" || digits == "16" || digits == "18";
}

bool IsListedPic18(std::string_view name, bool includeLF) {
  name = WithoutPic(name);
  // As the list has always been made: the names as the data writes them.
  return name.substr(0, 3) == "18F" || (includeLF && name.substr(0, 4) == "18LF");
}
