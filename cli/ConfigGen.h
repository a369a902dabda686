// configgen: the command-line front end over the portable core.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Exit statuses of configgen.
enum : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// Runs one configgen command; Args excludes the program name. A FILE of "-" is
// read from In (standard input in the first form).
int RunConfigGen(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
int RunConfigGen(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                 std::ostream &err);
