#include "host/png_writer.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool write_page_png(const Page& page, const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, page.width, page.height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color colours[16];
  for (int i = 0; i < 16; ++i) colours[i] = {palette[i].red, palette[i].green, palette[i].blue};
  png_set_PLTE(png, info, colours, 16);
  png_write_info(png, info);
  // Pixels hold colour numbers 0-15, which are the palette's indexes as they stand.
  for (int y = 0; y < page.height; ++y)
    png_write_row(png, const_cast<png_bytep>(&page.pixels[static_cast<std::size_t>(y) * page.width]));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return std::fflush(file.get()) == 0;
}
