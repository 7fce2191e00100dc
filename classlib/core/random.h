// Pseudo-random numbers. The sequence is the same on every run until
// Randomize() seeds it from the clock. Safe to call from any thread.
#pragma once
#include <cstdint>

void Randomize();
// A number in 0 .. range-1, each equally likely; 0 for a range below 1.
int32_t Random(int32_t range);
