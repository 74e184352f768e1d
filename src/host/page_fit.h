#pragma once
// Where a page is shown inside a window of another size: scaled as large as fits with its
// aspect kept, centred, with bars on the two sides that are left over.
struct PageFit {
  int left = 0, top = 0;          // window pixels left of and above the page
  int width = 0, height = 0;      // the page's size on the window
  float horizontal_scale = 1, vertical_scale = 1;  // window pixels per page pixel
};

PageFit fit_page(int window_width, int window_height, int page_width, int page_height);
