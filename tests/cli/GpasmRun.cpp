// What the gpasm tests share (POSIX: gpasm is a Linux program here).
#include "tests/cli/GpasmRun.h"

#include "cli/ConfigGen.h"

#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <sstream>

TRun RunCli(const std::vector<std::string> &args) {
  std::istringstream in;
  std::ostringstream out, err;
  const int status = RunConfigGen(args, in, out, err);
  return {status, out.str(), err.str()};
}

int Shell(const std::string &command, std::string &output) {
  output.clear();
  FILE *pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr)
    return -1;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output.append(buffer, got);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string LowerCase(std::string text) {
  for (char &c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::set<std::string> GpasmProcessors() {
  std::string listed;
  std::set<std::string> names;
  if (Shell("gpasm -l", listed) != 0)
    return names;
  std::istringstream words(listed);
  for (std::string word; words >> word;)
    if (word.size() > 1 && word[0] == 'p')
      names.insert(LowerCase(word.substr(1)));
  return names;
}
