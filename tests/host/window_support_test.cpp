// What the window does without a window: fitting the page, the key entries, the error dialog.
#include <gtest/gtest.h>

#include "host/error_dialog.h"
#include "host/key_entries.h"
#include "host/page_fit.h"
#include "runtime/font.h"
#include "runtime/mouse.h"
#include "runtime/screen.h"
#include "support/fresh_program.h"

namespace {

TEST(PageFit, KeepsTheAspectAndCentresThePage) {
  struct Case {
    int window_width, window_height, page_height;
    PageFit fit;
  } cases[] = {
      {640, 480, 480, {0, 0, 640, 480, 1, 1}},
      {640, 400, 400, {0, 0, 640, 400, 1, 1}},
      {1280, 960, 480, {0, 0, 1280, 960, 2, 2}},
      {1920, 1080, 480, {240, 0, 1440, 1080, 2.25f, 2.25f}},  // bars left and right
      {640, 600, 480, {0, 60, 640, 480, 1, 1}},               // bars above and below
      {640, 480, 400, {0, 40, 640, 400, 1, 1}},               // the text page in the graphics window
  };
  for (const Case& c : cases) {
    const PageFit fit = fit_page(c.window_width, c.window_height, 640, c.page_height);
    SCOPED_TRACE(testing::Message() << c.window_width << " x " << c.window_height);
    EXPECT_EQ(fit.left, c.fit.left);
    EXPECT_EQ(fit.top, c.fit.top);
    EXPECT_EQ(fit.width, c.fit.width);
    EXPECT_EQ(fit.height, c.fit.height);
    EXPECT_FLOAT_EQ(fit.horizontal_scale, c.fit.horizontal_scale);
    EXPECT_FLOAT_EQ(fit.vertical_scale, c.fit.vertical_scale);
  }
  EXPECT_EQ(fit_page(0, 0, 640, 480).width, 0) << "a minimised window shows nothing";
}

using FittedMouse = FreshProgram;

TEST_F(FittedMouse, TheMappingOfAFitLeadsBackToThePagePixel) {
  set_screen_mode(12, 0, 1, 13);
  const PageFit fit = fit_page(1920, 1080, 640, 480);
  set_mouse_mapping(fit.left, fit.top, fit.horizontal_scale, fit.vertical_scale);
  struct Case {
    int window_x, window_y;
    float page_x, page_y;
  } cases[] = {{240, 0, 0, 0}, {241, 1, 0, 0}, {243, 3, 1, 1}, {1679, 1079, 639, 479}, {10, 0, 0, 0}, {1900, 1079, 639, 479}};
  for (const Case& c : cases) {
    queue_mouse_move(c.window_x, c.window_y);
    while (mouse_input() != 0) {
    }
    EXPECT_EQ(mouse_x(), c.page_x) << c.window_x;
    EXPECT_EQ(mouse_y(), c.page_y) << c.window_y;
  }
}

TEST(KeyEntries, CharactersControlLettersAndAltKeys) {
  struct Case {
    unsigned char typed;
    bool ctrl, alt;
    int code, scan_code;
  } cases[] = {
      {'m', false, false, 'm', 50}, {'M', false, false, 'M', 50}, {'q', false, false, 'q', 16},
      {27, false, false, 27, 1},    {'\r', false, false, 13, 28}, {' ', false, false, 32, 57},
      {'?', false, false, '?', 53}, {1, true, false, 1, 30},      {'c', true, false, 3, 46},
      {8, true, false, 8, 35},      {8, false, false, 8, 14},     {'t', false, true, 0, 20},
      {'T', false, true, 0, 20},    {127, false, false, 0, 83},   {0xE9, false, false, 0xE9, 0},
  };
  for (const Case& c : cases) {
    const KeyEntry entry = typed_key_entry(c.typed, c.ctrl, c.alt);
    EXPECT_EQ(entry.code, c.code) << int(c.typed);
    EXPECT_EQ(entry.scan_code, c.scan_code) << int(c.typed);
  }
}

ErrorDialog report_dialog() {
  return ErrorDialog("Unhandled Error #62", "Line: 1234 (in main module)\nInput past end of file\nContinue?", 640, 480);
}

TEST(ErrorDialog, KeysAnswer) {
  struct Case {
    const char* keys;
    std::optional<bool> answer;
  } cases[] = {
      {"y", true}, {"Y", true}, {"n", false}, {"N", false}, {"\x1b", false}, {"\r", true}, {" ", true},
      {"\t\r", false}, {"\t\t\r", true}, {"x", std::nullopt},
  };
  for (const Case& c : cases) {
    ErrorDialog dialog = report_dialog();
    std::optional<bool> answer;
    for (const char* key = c.keys; *key != 0 && !answer; ++key) answer = dialog.character(static_cast<unsigned char>(*key));
    EXPECT_EQ(answer, c.answer) << testing::PrintToString(c.keys);
  }
  ErrorDialog dialog = report_dialog();
  dialog.move_focus();
  EXPECT_EQ(dialog.character('\r'), false) << "an arrow moves the focus to No";
}

TEST(ErrorDialog, TheOutOfMemoryBoxClosesByItsOneButtonOK) {
  const auto box = [] { return ErrorDialog("", "Out of memory", 640, 480, DialogButtons::ok); };
  for (const char key : std::string("yYnN\x1b\r ")) {
    ErrorDialog dialog = box();
    EXPECT_EQ(dialog.character(static_cast<unsigned char>(key)), true) << int(key);
  }
  ErrorDialog dialog = box();
  EXPECT_EQ(dialog.character('\t'), std::nullopt);
  dialog.move_focus();
  EXPECT_EQ(dialog.character('\r'), true) << "the focus stays on OK";
  const DialogBox& ok = dialog.button(true);
  EXPECT_EQ(ok.left + ok.width / 2, dialog.frame().left + dialog.frame().width / 2) << "OK stands in the middle";
  dialog.pointer_down(ok.left + 1, ok.top + 1);
  EXPECT_EQ(dialog.pointer_up(ok.left + 1, ok.top + 1), true);
}

TEST(ErrorDialog, AClickAnswersWhenPressAndReleaseHitTheSameButton) {
  ErrorDialog dialog = report_dialog();
  const DialogBox& no = dialog.button(false);
  const DialogBox& yes = dialog.button(true);
  dialog.pointer_down(no.left + 1, no.top + 1);
  EXPECT_FALSE(dialog.yes_focused());
  EXPECT_EQ(dialog.pointer_up(yes.left + 1, yes.top + 1), std::nullopt) << "released elsewhere";
  dialog.pointer_down(dialog.frame().left + 2, dialog.frame().top + 30);
  EXPECT_EQ(dialog.pointer_up(dialog.frame().left + 2, dialog.frame().top + 30), std::nullopt);
  dialog.pointer_down(no.left + no.width - 1, no.top + no.height - 1);
  EXPECT_EQ(dialog.pointer_up(no.left, no.top), false);
  dialog.pointer_down(yes.left, yes.top);
  EXPECT_EQ(dialog.pointer_up(yes.left + 5, yes.top + 5), true);
}

TEST(ErrorDialog, DrawsItsTextWithTheFontInsideItsBoxOnly) {
  const ErrorDialog dialog = report_dialog();
  std::vector<std::uint8_t> page(640 * 480, 4);
  dialog.draw(page.data(), 640, 480);
  const DialogBox& box = dialog.frame();
  EXPECT_GT(box.left, 0);
  EXPECT_GT(box.top, 0);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      if (!box.contains(x, y)) {
        ASSERT_EQ(page[y * 640 + x], 4) << x << "," << y;
      }

  // Somewhere in the box stands "Continue?" in black on the face: find its "C" glyph.
  auto glyph_at = [&](unsigned char c, int left, int top, std::uint8_t ink) {
    for (int row = 0; row < 16; ++row)
      for (int column = 0; column < 8; ++column)
        if ((page[(top + row) * 640 + left + column] == ink) != ((font_glyphs[c][row] & (0x80 >> column)) != 0)) return false;
    return true;
  };
  bool found = false;
  for (int y = box.top; y + 16 <= box.top + box.height && !found; ++y)
    for (int x = box.left; x + 8 * 9 <= box.left + box.width && !found; ++x)
      found = glyph_at('C', x, y, 0) && glyph_at('o', x + 8, y, 0) && glyph_at('?', x + 64, y, 0);
  EXPECT_TRUE(found);
}

}  // namespace
