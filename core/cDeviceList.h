// The device list as both front ends show it: the status line after a load, and
// finding a device by the name a user gives.
#pragma once

#include "common/cStringList.h"

#include <string>
#include <string_view>

// "resource file: <version>    <count> device(s) found".
std::string StatusLine(const std::string &version, int count);

// A device name as users write it, without a "PIC" prefix (any letter case).
std::string_view WithoutPicPrefix(std::string_view name);

// Position of Name among Names, ignoring letter case and a "PIC" prefix; the first
// match, or -1 when it is not listed.
int FindListedDevice(const TStringList &names, std::string_view name);
