#pragma once
// The error report as a modal box drawn over the shown page: a caption bar, the lines of the
// report, and the buttons Yes and No. The window hands it keys and pointer events in page
// pixels; it gives the answer once one is chosen.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Yes and No for the error report; OK alone for the box of a failure that ends the program.
enum class DialogButtons { yes_no, ok };

struct DialogBox {
  int left = 0, top = 0, width = 0, height = 0;
  bool contains(int x, int y) const { return x >= left && x < left + width && y >= top && y < top + height; }
};

class ErrorDialog {
 public:
  // The text's lines are separated by line feeds; the box is centred on a page of that size.
  ErrorDialog(const std::string& caption, const std::string& text, int page_width, int page_height,
              DialogButtons buttons = DialogButtons::yes_no);

  // A typed character: Y or N answers, Enter and the blank press the focused button, Esc
  // answers No, Tab moves the focus. With OK alone, every key that answers presses OK (true).
  std::optional<bool> character(unsigned char typed);
  // An arrow key: the focus goes to the other button.
  void move_focus();
  void pointer_down(int x, int y);
  std::optional<bool> pointer_up(int x, int y);

  // Draws the box over the page (colour numbers, row by row).
  void draw(std::uint8_t* pixels, int page_width, int page_height) const;

  const DialogBox& frame() const { return frame_; }
  // Yes (or OK) for true, No for false.
  const DialogBox& button(bool yes) const { return buttons_[yes ? 0 : 1]; }
  bool yes_focused() const { return focus_ == 0; }

 private:
  std::string caption_;
  std::vector<std::string> lines_;
  DialogBox frame_, caption_bar_;
  DialogBox buttons_[2];
  int button_count_ = 2;
  int focus_ = 0;               // 0 Yes, 1 No
  int pressed_ = -1;            // the button the pointer went down on
};
