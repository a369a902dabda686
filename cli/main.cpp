// Entry point of configgen.
#include "cli/ConfigGen.h"

#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <csignal>
#endif

int main(int argc, char **argv) {
#ifdef _WIN32
  // Lines end with "\n" on every platform.
  _setmode(_fileno(stdout), _O_BINARY);
#else
  // Output into a pipe whose reader has gone (`| head -1`) is a failed write, reported
  // with exit status 1 like any other, not a silent end by SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  const int status = RunConfigGen(args, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
