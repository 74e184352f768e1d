#pragma once

// Scatters kinds 0-39, particles 0-239 uniformly in the cube from -50 to 50.
void place_random_cube();
// Collapses every live particle into the cube from -0.5 to 0.5, printing its progress.
void place_bigbang();
