#pragma once

void plot_point();
void draw_segment();
void draw_cross();
void draw_cube();
void draw_centroid_links();
