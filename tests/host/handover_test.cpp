// The threads' meeting points, hammered from a writer thread while the test thread reads:
// the page hand-over, the key and mouse queues, the error report's mailbox, and the doorbell
// that wakes the window.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "host/doorbell.h"
#include "host/page_handover.h"
#include "host/report_mailbox.h"
#include "runtime/keyboard.h"
#include "runtime/mouse.h"
#include "support/fresh_program.h"

namespace {

using Threaded = FreshProgram;

std::uint8_t fill_value(int frame) { return static_cast<std::uint8_t>(frame * 7 + 3); }

TEST_F(Threaded, PageHandoverNeverTearsNorGoesBack) {
  constexpr int frames = 3000;
  PageHandover handover;
  std::thread writer([&] {
    std::vector<std::uint8_t> page(640 * 480);
    for (int frame = 1; frame <= frames; ++frame) {
      const int height = frame % 2 == 0 ? 480 : 400;
      // The frame number in the first two pixels, a value made from it in all the others.
      page[0] = static_cast<std::uint8_t>(frame);
      page[1] = static_cast<std::uint8_t>(frame >> 8);
      std::fill(page.begin() + 2, page.begin() + 640 * height, fill_value(frame));
      handover.publish(page.data(), 640, height);
    }
  });
  int last_frame = 0, takes = 0;
  while (last_frame < frames) {
    if (!handover.take_newest()) continue;
    ++takes;
    const HandedPage& page = handover.taken();
    ASSERT_EQ(page.width, 640);
    ASSERT_EQ(page.pixels.size(), 640u * page.height);
    const int frame = page.pixels[0] | page.pixels[1] << 8;
    ASSERT_GT(frame, last_frame);
    ASSERT_LE(frame, frames);
    ASSERT_EQ(page.height, frame % 2 == 0 ? 480 : 400);
    for (std::size_t i = 2; i < page.pixels.size(); ++i) ASSERT_EQ(page.pixels[i], fill_value(frame)) << "torn frame";
    last_frame = frame;
  }
  writer.join();
  EXPECT_GE(takes, 1);
  EXPECT_FALSE(handover.take_newest());
}

TEST_F(Threaded, PageHandoverTellsAWatchingWindowOfOnePage) {
  PageHandover handover;
  const std::vector<std::uint8_t> page(640 * 400, 1);
  EXPECT_FALSE(handover.publish(page.data(), 640, 400)) << "nobody watched";
  EXPECT_FALSE(handover.watch_for_page()) << "a page already waits";
  ASSERT_TRUE(handover.take_newest());
  EXPECT_FALSE(handover.page_waiting());
  EXPECT_TRUE(handover.watch_for_page());
  EXPECT_TRUE(handover.publish(page.data(), 640, 400));
  EXPECT_FALSE(handover.publish(page.data(), 640, 400)) << "told once per watch";
  EXPECT_TRUE(handover.page_waiting());
}

TEST_F(Threaded, DoorbellWakesTheWaitingWindowAndKeepsEarlierRings) {
  using namespace std::chrono;
  Doorbell doorbell;
  const auto waited = [&](int timeout_ms) {
    const auto start = steady_clock::now();
    doorbell.wait({}, timeout_ms);
    return steady_clock::now() - start;
  };
  doorbell.ring();
  doorbell.ring();
  EXPECT_LT(waited(10000), seconds(5)) << "rings before the wait";
  EXPECT_GE(waited(30), milliseconds(30)) << "the rings were used up by one wait";
  std::thread logic([&] {
    std::this_thread::sleep_for(milliseconds(20));
    doorbell.ring();
  });
  EXPECT_LT(waited(10000), seconds(5)) << "a ring from another thread";
  logic.join();
}

TEST_F(Threaded, KeyQueueKeepsEveryKeyInOrder) {
  constexpr int keys = 20000;
  KeyQueue& queue = runtime().keys;
  std::thread writer([&] {
    for (int i = 0; i < keys; ++i) {
      // Wait for room, so that no key is dropped and the order can be checked whole.
      while ((queue.write_position.load(std::memory_order_relaxed) + 1) % queue.entries.size() ==
             queue.read_position.load(std::memory_order_acquire))
        std::this_thread::yield();
      queue_key(static_cast<std::uint8_t>(1 + i % 255), static_cast<std::uint8_t>(i % 7));
      set_key_held(key_left_shift, i % 2 == 0);
    }
  });
  for (int i = 0; i < keys;) {
    key_down(key_left_shift);
    const std::string key = inkey();
    if (key.empty()) continue;
    ASSERT_EQ(key, std::string(1, static_cast<char>(1 + i % 255)));
    ++i;
  }
  writer.join();
  EXPECT_EQ(inkey(), "");
}

TEST_F(Threaded, MouseQueueHandsOverWholeEvents) {
  constexpr int moves = 20000;
  std::thread writer([&] {
    for (int i = 1; i <= moves; ++i) {
      queue_mouse_move(i % 640, i % 400);
      queue_mouse_button(mouse_bit_left, i % 2 == 0, i % 640, i % 400);
    }
  });
  int events = 0;
  while (events < 3 * moves) {
    if (mouse_input() == 0) continue;
    ++events;
    const int x = static_cast<int>(mouse_x()), y = static_cast<int>(mouse_y());
    // The three events of pass i (a move's two, then a button) stand at (i mod 640, i mod 400);
    // the left button is down after every even pass.
    const int i = (events + 2) / 3;
    const int pass_of_buttons = events % 3 == 0 ? i : i - 1;
    ASSERT_EQ(x, i % 640);
    ASSERT_EQ(y, i % 400);
    ASSERT_EQ(mouse_button(1) != 0, pass_of_buttons > 0 && pass_of_buttons % 2 == 0);
  }
  writer.join();
  EXPECT_EQ(mouse_input(), 0);
}

TEST_F(Threaded, ReportMailboxCarriesTheAnswerBack) {
  ReportMailbox mailbox;
  for (bool yes : {true, false, true}) {
    std::thread window([&] {
      std::optional<PostedReport> question;
      while (!(question = mailbox.take_question())) std::this_thread::yield();
      EXPECT_EQ(question->caption, "Unhandled Error #62");
      EXPECT_FALSE(mailbox.take_question()) << "a report is handed out once";
      EXPECT_TRUE(mailbox.answer_awaited()) << "the window's input goes to the report";
      mailbox.answer(yes);
    });
    EXPECT_EQ(mailbox.ask("Unhandled Error #62", "Line: 1 (in main module)\nInput past end of file\nContinue?"), yes);
    window.join();
    EXPECT_FALSE(mailbox.answer_awaited()) << "the window's input goes to the program again";
  }
}

TEST_F(Threaded, ReportMailboxTellsTheWindowOnceTheReportWaits) {
  std::atomic<bool> told{false};
  ReportMailbox mailbox([&] { told = true; });
  std::thread window([&] {
    while (!told) std::this_thread::yield();
    if (mailbox.take_question()) return mailbox.answer(true);
    ADD_FAILURE() << "told before the report could be taken";
    mailbox.close();
  });
  EXPECT_TRUE(mailbox.ask("Unhandled Error #62", "text"));
  window.join();
}

TEST_F(Threaded, ClosedMailboxAnswersNoAlsoToTheWaitingReport) {
  ReportMailbox mailbox;
  std::thread window([&] {
    while (!mailbox.take_question()) std::this_thread::yield();
    mailbox.close();
  });
  EXPECT_FALSE(mailbox.ask("Unhandled Error #9", "text"));
  window.join();
  EXPECT_FALSE(mailbox.ask("Unhandled Error #9", "text"));
}

}  // namespace
