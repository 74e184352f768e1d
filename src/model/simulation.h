#pragma once

// Advances the particles by one step: every force from the positions at the start of the step,
// then every move, scaled so the largest force component moves step_size / 50, and the
// centroids of the kinds.
void simulate_step();
