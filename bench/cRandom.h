// A small linear congruential generator for the benchmarks' data: the same state
// gives the same data on every machine.
#pragma once

#include <cstdint>

class TRandom {
public:
  explicit TRandom(uint64_t state) : FState(state) {}
  uint32_t Next() {
    FState = FState * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(FState >> 33);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

private:
  uint64_t FState;
};
