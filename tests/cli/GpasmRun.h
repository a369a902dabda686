// What the gpasm tests share: configgen run in the process, a shell command run with
// its output, and the processors gputils' gpasm knows.
#pragma once

#include <set>
#include <string>
#include <vector>

struct TRun {
  int Status;
  std::string Out, Err;
};

// configgen with Args, its standard input empty.
TRun RunCli(const std::vector<std::string> &args);

// Runs Command through the shell: its exit status (-1 when it did not end by
// itself) and what it printed on either stream.
int Shell(const std::string &command, std::string &output);

std::string LowerCase(std::string text);

// The processors gpasm lists, in lower case without their "p": 18f4520; none where
// gpasm cannot be run.
std::set<std::string> GpasmProcessors();
