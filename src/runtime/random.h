#pragma once
// The runtime's random generator: a 24-bit linear congruential sequence from the start seed
// (random_start_seed, runtime.h).

// The next value in [0, 1). With an argument: above 0 draws, 0 repeats the last value, below 0
// reseeds from the argument's bit pattern first.
float rnd(float x = 1);
