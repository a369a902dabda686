// Entry point of configgen.
#include "cli/ConfigGen.h"

#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char **argv) {
#ifdef _WIN32
  // Lines end with "\n" on every platform.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  const int status = RunConfigGen(args, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
