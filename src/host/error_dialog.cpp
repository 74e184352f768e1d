#include "host/error_dialog.h"

#include <algorithm>
#include <string_view>

#include "runtime/font.h"

namespace {

constexpr int glyph_width = 8, glyph_height = 16;
constexpr int padding = 16, caption_height = 20, button_width = 80, button_height = 24, button_gap = 16;
constexpr int min_text_columns = 26;
// The labels, by button count: OK alone, or Yes and No.
constexpr std::string_view button_labels[2][2] = {{"OK", ""}, {"Yes", "No"}};

// The box's colours, palette numbers.
constexpr std::uint8_t frame_colour = 15, face_colour = 7, caption_colour = 1, caption_text_colour = 15,
                       text_colour = 0, button_border_colour = 8, focus_colour = 0, focused_face_colour = 15;

struct Canvas {
  std::uint8_t* pixels;
  int width, height;

  void fill(const DialogBox& box, std::uint8_t colour) const {
    const int x0 = std::max(box.left, 0), x1 = std::min(box.left + box.width, width);
    const int y0 = std::max(box.top, 0), y1 = std::min(box.top + box.height, height);
    for (int y = y0; y < y1; ++y) std::fill(pixels + y * width + x0, pixels + y * width + std::max(x0, x1), colour);
  }

  void outline(const DialogBox& box, std::uint8_t colour) const {
    fill({box.left, box.top, box.width, 1}, colour);
    fill({box.left, box.top + box.height - 1, box.width, 1}, colour);
    fill({box.left, box.top, 1, box.height}, colour);
    fill({box.left + box.width - 1, box.top, 1, box.height}, colour);
  }

  // The text's glyphs, set pixels only, cut at the right edge of the clip box.
  void text(std::string_view text, int x, int y, std::uint8_t colour, const DialogBox& clip) const {
    for (unsigned char c : text) {
      for (int row = 0; row < glyph_height; ++row)
        for (int column = 0; column < glyph_width; ++column) {
          const int px = x + column, py = y + row;
          if ((font_glyphs[c][row] & (0x80 >> column)) == 0 || !clip.contains(px, py)) continue;
          if (px >= 0 && px < width && py >= 0 && py < height) pixels[py * width + px] = colour;
        }
      x += glyph_width;
    }
  }
};

DialogBox inset(const DialogBox& box, int by) { return {box.left + by, box.top + by, box.width - 2 * by, box.height - 2 * by}; }

}  // namespace

ErrorDialog::ErrorDialog(const std::string& caption, const std::string& text, int page_width, int page_height,
                         DialogButtons buttons)
    : caption_(caption), button_count_(buttons == DialogButtons::ok ? 1 : 2) {
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines_.push_back(text.substr(start, end - start));
  lines_.push_back(text.substr(start));

  std::size_t columns = std::max<std::size_t>(caption_.size() + 2, min_text_columns);
  for (const std::string& line : lines_) columns = std::max(columns, line.size());
  const int widest = std::max(page_width - 2 * padding, 2 * button_width + button_gap);
  const int width = std::min(static_cast<int>(columns) * glyph_width + 2 * padding, widest);
  const int height = caption_height + padding + static_cast<int>(lines_.size()) * glyph_height + padding +
                     button_height + padding;
  frame_ = {(page_width - width) / 2, (page_height - height) / 2, width, height};
  caption_bar_ = {frame_.left + 1, frame_.top + 1, frame_.width - 2, caption_height};
  const int buttons_width = button_count_ * button_width + (button_count_ - 1) * button_gap;
  const int buttons_left = frame_.left + (frame_.width - buttons_width) / 2;
  const int buttons_top = frame_.top + frame_.height - padding - button_height;
  buttons_[0] = {buttons_left, buttons_top, button_width, button_height};
  if (button_count_ == 2) buttons_[1] = {buttons_left + button_width + button_gap, buttons_top, button_width, button_height};
}

std::optional<bool> ErrorDialog::character(unsigned char typed) {
  std::optional<bool> answer;
  switch (typed) {
    case 'y': case 'Y': answer = true; break;
    case 'n': case 'N': case 27: answer = false; break;
    case '\r': case '\n': case ' ': answer = focus_ == 0; break;
    case '\t': move_focus(); break;
    default: break;
  }
  if (answer && button_count_ == 1) return true;
  return answer;
}

void ErrorDialog::move_focus() { focus_ = (focus_ + 1) % button_count_; }

void ErrorDialog::pointer_down(int x, int y) {
  pressed_ = -1;
  for (int i = 0; i < button_count_; ++i)
    if (buttons_[i].contains(x, y)) pressed_ = focus_ = i;
}

std::optional<bool> ErrorDialog::pointer_up(int x, int y) {
  const int pressed = pressed_;
  pressed_ = -1;
  if (pressed < 0 || !buttons_[pressed].contains(x, y)) return std::nullopt;
  return pressed == 0;
}

void ErrorDialog::draw(std::uint8_t* pixels, int page_width, int page_height) const {
  const Canvas canvas{pixels, page_width, page_height};
  canvas.fill(frame_, face_colour);
  canvas.outline(frame_, frame_colour);
  canvas.fill(caption_bar_, caption_colour);
  const DialogBox inside = inset(frame_, 1);
  canvas.text(caption_, caption_bar_.left + glyph_width, caption_bar_.top + (caption_height - glyph_height) / 2,
              caption_text_colour, inside);
  const DialogBox text_area = inset(frame_, padding / 2);
  int y = caption_bar_.top + caption_height + padding;
  for (const std::string& line : lines_) {
    canvas.text(line, frame_.left + padding, y, text_colour, text_area);
    y += glyph_height;
  }
  for (int i = 0; i < button_count_; ++i) {
    const std::string_view label = button_labels[button_count_ - 1][i];
    const DialogBox& button = buttons_[i];
    const bool focused = i == focus_;
    canvas.fill(button, focused ? focused_face_colour : face_colour);
    canvas.outline(button, focused ? focus_colour : button_border_colour);
    if (focused) canvas.outline(inset(button, 1), focus_colour);
    const int label_width = static_cast<int>(label.size()) * glyph_width;
    canvas.text(label, button.left + (button.width - label_width) / 2,
                button.top + (button.height - glyph_height) / 2, text_colour, button);
  }
}
