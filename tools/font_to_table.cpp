// Reads a gzip-compressed PSF1 console font (256 glyphs of 8x16) and writes its glyph table as
// C++ source, so the program carries its font inside the binary.
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: font_to_table FONT.psf.gz OUTPUT.cpp\n");
    return 2;
  }
  gzFile font = gzopen(argv[1], "rb");
  if (font == nullptr) {
    std::fprintf(stderr, "font_to_table: cannot open %s\n", argv[1]);
    return 1;
  }
  std::vector<unsigned char> bytes;
  unsigned char buffer[4096];
  for (int count; (count = gzread(font, buffer, sizeof buffer)) > 0;) bytes.insert(bytes.end(), buffer, buffer + count);
  gzclose(font);

  const bool is_psf1 = bytes.size() >= 4 && bytes[0] == 0x36 && bytes[1] == 0x04;
  if (!is_psf1 || bytes[3] != 16 || bytes.size() < 4 + 256 * 16) {
    std::fprintf(stderr, "font_to_table: %s is not a PSF1 font with 256 glyphs of 8x16\n", argv[1]);
    return 1;
  }
  std::filesystem::create_directories(std::filesystem::path(argv[2]).parent_path());
  std::FILE* out = std::fopen(argv[2], "w");
  if (out == nullptr) return 1;
  std::fprintf(out, "// Generated from the console font at build time.\n");
  std::fprintf(out, "#include \"runtime/font.h\"\n\nconst unsigned char font_glyphs[256][16] = {\n");
  for (int glyph = 0; glyph < 256; ++glyph) {
    std::fprintf(out, "  {");
    for (int row = 0; row < 16; ++row) std::fprintf(out, "0x%02x%s", bytes[4 + glyph * 16 + row], row < 15 ? "," : "");
    std::fprintf(out, "},\n");
  }
  std::fprintf(out, "};\n");
  return std::fclose(out) == 0 ? 0 : 1;
}
