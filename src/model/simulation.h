#pragma once

// Advances the particles by one step: every force from the positions at the start of the step,
// then every move, scaled so the largest force component moves step_size / 50, and the
// centroids of the kinds.
void simulate_step();

// The threads that share the force pass of a large step: 1 for the calling thread alone, 0 or
// less for one per core (the default). The results are the same for every choice.
void set_simulation_threads(int threads);
