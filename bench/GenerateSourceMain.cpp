// Writes a large program source for the benchmarks of `configgen check`:
//   fb_gen_source SYNTAX FILE [MEGABYTES]   (SYNTAX tarnwick, orvane, c or asm; 50 MB
//                                           unless given), its configuration at its end.
#include "bench/cSourceGenerator.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char **argv) {
  const TSyntax *syntax = argc > 2 ? FindSyntax(argv[1]) : nullptr;
  if (syntax == nullptr) {
    std::cerr << "usage: fb_gen_source " << SyntaxNames() << " FILE [MEGABYTES]\n";
    return 2;
  }
  const char *file = argv[2];
  const double megabytes = argc > 3 ? std::stod(argv[3]) : 50;
  const std::string text = GeneratedSource(*syntax, static_cast<size_t>(megabytes * 1000 * 1000));
  std::ofstream out(file, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) {
    std::cerr << "cannot write " << file << '\n';
    return 1;
  }
  std::cerr << file << ": " << text.size() << " bytes\n";
  return 0;
}
