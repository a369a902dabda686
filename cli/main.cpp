// Entry point of configgen.
#include "cli/ConfigGen.h"

#include "cli/cOutputBuffer.h"

#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <csignal>
#include <unistd.h>
#endif

int main(int argc, char **argv) {
#ifdef _WIN32
  // Lines end with "\n" on every platform.
  _setmode(_fileno(stdout), _O_BINARY);
  const int output = _fileno(stdout);
#else
  // A pipe whose reader has gone (`| head -1`) shows as a failed write, which ends
  // the run quietly, rather than as SIGPIPE, which would end it at once with a
  // status that scripts take for a failure.
  std::signal(SIGPIPE, SIG_IGN);
  const int output = STDOUT_FILENO;
#endif
  TOutputBuffer buffer(output);
  std::ostream out(&buffer);
  // A failed write stops the run where it happens (EOutputFailed).
  out.exceptions(std::ios::badbit);
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunConfigGen(args, out, std::cerr);
}
