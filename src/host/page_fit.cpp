#include "host/page_fit.h"

#include <algorithm>
#include <cmath>

PageFit fit_page(int window_width, int window_height, int page_width, int page_height) {
  PageFit fit;
  if (window_width <= 0 || window_height <= 0 || page_width <= 0 || page_height <= 0) return fit;
  const double scale = std::min(static_cast<double>(window_width) / page_width,
                                static_cast<double>(window_height) / page_height);
  fit.width = std::clamp(static_cast<int>(std::lround(page_width * scale)), 1, window_width);
  fit.height = std::clamp(static_cast<int>(std::lround(page_height * scale)), 1, window_height);
  fit.left = (window_width - fit.width) / 2;
  fit.top = (window_height - fit.height) / 2;
  fit.horizontal_scale = static_cast<float>(fit.width) / page_width;
  fit.vertical_scale = static_cast<float>(fit.height) / page_height;
  return fit;
}
