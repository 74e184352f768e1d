#pragma once
// What the screen runtime needs from the program's host: the window in the real program, a
// scripted stand-in in the tests.
#include <cstdint>
#include <string>
#include <vector>

class Host {
 public:
  virtual ~Host() = default;
  // The screen mode changed the window's size (640 x 400 text, 640 x 480 graphics).
  virtual void window_size_changed(int width, int height) = 0;
  // The shown page changed (a page swap, or a drawing on the page that is shown): the host
  // copies what it needs before returning; the logic goes on drawing on another page.
  virtual void page_shown(const std::uint8_t* pixels, int width, int height) = 0;
  // The error report: caption, then the text of three lines. True means Yes (go on).
  virtual bool report_error(const std::string& caption, const std::string& text) = 0;
  // The box of a failure that ends the program: the text and one button, OK. Returns once it
  // is closed, or at once when there is no window to show it.
  virtual void report_fatal(const std::string& text) = 0;
  // The key codes of the modifiers already held when the host opened: the held-key list of a
  // new runtime starts with them.
  virtual std::vector<int> keys_held_at_start() const { return {}; }
  // The clock: a millisecond counter, and the wall clock's next second, waited for, as
  // milliseconds since midnight. The system's clocks serve; the tests' host keeps its own.
  virtual std::int64_t clock_counter_ms() const;
  virtual std::int64_t time_of_day_at_next_second_ms();
  // Whether the file system refuses the next write to a file. Only the tests' host refuses
  // one, to cut a save short.
  virtual bool refuses_write() { return false; }
  // Whether a save may write its new version as an unnamed file where the system has them.
  // The tests' host can deny it, to save as on a file system without them.
  virtual bool unnamed_new_versions() const { return true; }
};
