// The device list as both front ends show it: the status line after a load, and
// finding a device by the name a user gives.
#pragma once

#include "common/cStringList.h"

#include <string>
#include <string_view>
#include <vector>

// "resource file: <version>    <count> device(s) found".
std::string StatusLine(const std::string &version, int count);

// A device name as users write it, without a "PIC" prefix (any letter case).
std::string_view WithoutPicPrefix(std::string_view name);

// Position of Name among Names, ignoring letter case and a "PIC" prefix; the first
// match, or -1 when it is not listed.
int FindListedDevice(const TStringList &names, std::string_view name);

// The names among Names closest to Name, for a message about a name that is not
// there: by the fewest letters inserted, removed or replaced, ignoring letter case
// and a "PIC" prefix; nearest first, ties in the order of Names; at most Most, and
// none more than two letters away (nor as far as Name is long).
std::vector<std::string> ClosestNames(const std::vector<std::string> &names, std::string_view name,
                                      size_t most = 3);
