#include "runtime/keyboard.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "support/fresh_program.h"

namespace {

using Keyboard = FreshProgram;

TEST_F(Keyboard, FifteenKeysWaitAndTheSixteenthIsLost) {
  for (int i = 0; i < 16; ++i) queue_key(static_cast<std::uint8_t>('a' + i), static_cast<std::uint8_t>(30 + i));
  for (int i = 0; i < 15; ++i) EXPECT_EQ(inkey(), std::string(1, static_cast<char>('a' + i)));
  EXPECT_EQ(inkey(), "");
  queue_key('z', 44);  // room again once read
  EXPECT_EQ(inkey(), "z");
}

TEST_F(Keyboard, EntriesComeOutInTheirTextForms) {
  const struct {
    std::uint8_t code, scan_code;
    std::string text;
  } cases[] = {
      {27, 1, "\x1b"},                   // Esc: its character
      {'Q', 16, "Q"},                    // a letter as typed
      {0, 72, std::string("\0H", 2)},    // a key without a character: byte 0 and the scan code
      {0, 0, std::string(1, '\0')},      // two zero bytes: a single byte 0
  };
  for (const auto& c : cases) queue_key(c.code, c.scan_code);
  for (const auto& c : cases) EXPECT_EQ(inkey(), c.text) << int(c.scan_code);
}

TEST_F(Keyboard, PendingFailureLeavesTheKeyWaiting) {
  queue_key('m', 50);
  raise_error(9);
  EXPECT_EQ(inkey(), "");
  take_failure();
  EXPECT_EQ(inkey(), "m");
}

TEST_F(Keyboard, HeldKeysFollowPressAndRelease) {
  set_key_held(key_left_shift, true);
  EXPECT_EQ(key_down(key_left_shift), -1);
  EXPECT_EQ(key_down(key_right_shift), 0);
  set_key_held(key_right_shift, true);
  set_key_held(key_left_shift, false);
  EXPECT_EQ(key_down(key_left_shift), 0);
  EXPECT_EQ(key_down(key_right_shift), -1);
  EXPECT_EQ(take_failure(), 0);

  EXPECT_EQ(key_down(0), 0);
  EXPECT_EQ(take_failure(), 5);
  EXPECT_EQ(key_down(-100304), 0);
  EXPECT_EQ(take_failure(), 5);
}

TEST_F(Keyboard, ANewRuntimeStartsWithTheKeysTheHostFoundHeld) {
  host.held_at_start = {key_right_shift};
  start_runtime(host);
  EXPECT_EQ(key_down(key_right_shift), -1);
  EXPECT_EQ(key_down(key_left_shift), 0);
}

// The window thread writes while the logic reads: every key taken is whole and in order.
TEST_F(Keyboard, KeysQueuedFromAnotherThreadArriveWholeAndInOrder) {
  std::atomic<bool> done{false};
  std::thread window([&] {
    for (int round = 0; round < 200; ++round)
      for (int code = 1; code < 128; ++code) queue_key(static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(code));
    done = true;
  });
  int last = 0, keys = 0, wrong = 0, rounds = 0;
  for (;;) {
    const bool finished = done.load();
    const std::string key = inkey();
    if (key.empty()) {
      if (finished) break;
      continue;
    }
    ++keys;
    const int code = static_cast<unsigned char>(key[0]);
    if (key.size() != 1 || code == 0 || code >= 128) ++wrong;
    if (code <= last) ++rounds;  // keys may be lost while 15 wait, never reordered
    last = code;
  }
  window.join();
  EXPECT_GT(keys, 0);
  EXPECT_EQ(wrong, 0);
  EXPECT_LE(rounds, 200);
}

}  // namespace
