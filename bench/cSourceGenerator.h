// Large program sources for the benchmarks of reading a configuration back: a
// program's code in one syntax, then its configuration as the generator writes it
// (device line and entries), at the very end where a reader finds it last.
#pragma once

#include "core/cSyntax.h"

#include <cstddef>
#include <string>

// A program in Syntax of at least Size bytes, CR LF line ends, naming 18F4520 and
// setting a few of its switches at its end.
std::string GeneratedSource(const TSyntax &syntax, size_t size);
