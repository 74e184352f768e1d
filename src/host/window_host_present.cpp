// How the shown page reaches the window: the newest copy from the hand-over, with the error
// dialog drawn over it, turned into the palette's colours and shown scaled to fit.
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "host/window_host.h"
#include "runtime/mouse.h"
#include "runtime/screen.h"

namespace {

std::uint32_t rgba(const Rgb& colour) {
  // The bytes in memory are red, green, blue, alpha, as GL_RGBA with GL_UNSIGNED_BYTE reads them.
  const std::uint8_t bytes[4] = {colour.red, colour.green, colour.blue, 255};
  std::uint32_t value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

}  // namespace

void WindowHost::compose() {
  const HandedPage& page = handover_.taken();
  if (page.width == 0) return;
  composed_.assign(page.pixels.begin(), page.pixels.end());
  if (composed_width_ != page.width || composed_height_ != page.height) {
    composed_width_ = page.width;
    composed_height_ = page.height;
    update_fit();
  }
  if (dialog_) dialog_->draw(composed_.data(), composed_width_, composed_height_);
  static const auto colours = [] {
    std::array<std::uint32_t, 16> table{};
    for (int i = 0; i < 16; ++i) table[i] = rgba(palette[i]);
    return table;
  }();
  colours_.resize(composed_.size());
  std::transform(composed_.begin(), composed_.end(), colours_.begin(), [](std::uint8_t c) { return colours[c & 15]; });
  texture_stale_ = true;
  glutPostRedisplay();
}

void WindowHost::update_fit() {
  const int page_width = composed_width_ > 0 ? composed_width_ : page_width_wanted_;
  const int page_height = composed_height_ > 0 ? composed_height_ : page_height_wanted_;
  fit_ = fit_page(window_width_, window_height_, page_width, page_height);
  if (fit_.width > 0) set_mouse_mapping(fit_.left, fit_.top, fit_.horizontal_scale, fit_.vertical_scale);
}

void WindowHost::reshaped(int width, int height) {
  window_width_ = width;
  window_height_ = height;
  update_fit();
  glutPostRedisplay();
}

void WindowHost::display() {
  glViewport(0, 0, window_width_, window_height_);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  if (composed_width_ > 0 && fit_.width > 0) {
    glBindTexture(GL_TEXTURE_2D, texture_);
    if (texture_stale_) {
      glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
      if (texture_width_ != composed_width_ || texture_height_ != composed_height_) {
        texture_width_ = composed_width_;
        texture_height_ = composed_height_;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture_width_, texture_height_, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     colours_.data());
      } else {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, texture_width_, texture_height_, GL_RGBA, GL_UNSIGNED_BYTE,
                        colours_.data());
      }
      texture_stale_ = false;
    }
    // The page's rows run downwards; the viewport is the page's place in the window.
    glViewport(fit_.left, window_height_ - fit_.top - fit_.height, fit_.width, fit_.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, 1, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DITHER);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(1, 0);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(0, 1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
  }
  glutSwapBuffers();
}
