// The rig of the window tests: an offscreen application, a working folder with a quick
// "DID2.cfg", the virtual link unit with built cards, a recording message seam, a clock that
// moves one second per reading and pauses that only record their length.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/settings.h"
#include "gui/card_builder.h"
#include "gui/tform1.h"
#include "gui/twaitform.h"
#include "host/messages.h"
#include "port/port_trace.h"
#include "virtualunit/virtual_unit.h"

namespace quorvel::test {

// Creates the one QApplication of the test program (offscreen unless told otherwise).
void EnsureApplication();

class RecordingMessages : public Messages {
 public:
  void Inform(std::string_view text) override { texts.emplace_back(text); }
  void Warn(std::string_view text) override { texts.emplace_back(text); }
  bool AskYesNo(std::string_view text) override {
    texts.emplace_back(text);
    if (on_ask) on_ask();
    if (answers.empty()) return yes;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool AskYesNoDefaultNo(std::string_view text) override {
    default_no.emplace_back(text);
    return AskYesNo(text);
  }
  Answer AskYesNoCancel(std::string_view text) override {
    texts.emplace_back(text);
    if (on_ask) on_ask();
    return yes ? Answer::kYes : Answer::kNo;
  }
  std::vector<std::string> texts;
  std::vector<std::string> default_no;  // the questions asked with No as the default answer
  bool yes = true;
  std::function<void()> on_ask;  // runs while each question is "open"
  std::deque<bool> answers;      // answers to the next Yes/No questions, before `yes`
};

class WindowTest : public ::testing::Test {
  friend std::vector<std::string> Reloaded(CardImage& card);

 protected:
  static void SetUpTestSuite() { EnsureApplication(); }
  void SetUp() override;
  void TearDown() override;

  // Writes "DID2.cfg" with tiny link delays and the given automatic refresh value.
  void WriteQuickConfig(int auto_refresh = 1);
  std::filesystem::path CardPath(const std::string& name) const { return root_ / name; }
  std::filesystem::path WriteCard(const std::string& name, const CardBuilder& card) const;

  // Starts the window on the two-slot unit (nullopt: empty slot), on a paged card of
  // `pages` pages, or on a port with nothing attached. The window is shown but the
  // start-up timers have not fired.
  void StartTwoSlot(const std::optional<CardBuilder>& slot1,
                    const std::optional<CardBuilder>& slot2);
  void StartPaged(int pages, const CardBuilder& page_card = CardBuilder());
  void StartNothing();
  // Starts with the two slots, refreshes both and opens `image` ("image.dcm") when given; the
  // messages of the start are forgotten.
  void StartLoaded(const CardBuilder& slot1, const CardBuilder& slot2,
                   const std::optional<CardBuilder>& image = std::nullopt);
  void Start(std::unique_ptr<VirtualUnit> unit);

  // Runs the start-up detection, as Timer2 does one second after start.
  void Detect() { form_->Timer2Timer(); }

  // Runs `write` on `card` with `journal` recording in place of the window's journal (null:
  // nothing is recorded), as another program or a run of the program that died writes.
  void WriteOutsideTheWindow(CardImage& card, Journal* journal, const std::function<void()>& write);

  // Runs `look`, the test's own read of a card through the window's link on this thread; the
  // check that only the link worker touches the port leaves it out.
  void OwnLook(const std::function<void()>& look);

  // Runs `action` once, from the event loop, as soon as `widget()` gives a visible widget: a
  // modal dialog is acted on inside its own loop (the link waits before it run their loops
  // too, so a plain queued call would come too early).
  void WhenVisible(std::function<QWidget*()> widget, std::function<void()> action);
  void WhenVisible(QWidget* widget, std::function<void()> action) {
    WhenVisible([widget] { return widget; }, std::move(action));
  }

  TForm1& form() { return *form_; }
  VirtualUnit& unit() { return *unit_; }
  std::string Text(const QString& text) const { return text.toStdString(); }
  // The directory slots listed in a pane's rows, by their captions.
  std::vector<std::string> Captions(int pane) const;
  // Selects exactly `rows` of a pane (as the user would, one selection change per row).
  void Select(int pane, const std::vector<int>& rows);

  std::filesystem::path root_;
  std::filesystem::path work_;
  Settings settings_;
  RecordingMessages messages_;
  std::vector<int> pauses_;
  int window_thread_paused_ms_ = 0;       // of those, slept on the window thread
  std::vector<int> construction_pauses_;  // the pauses while the window was built and shown
  int clock_seconds_ = 0;
  std::unique_ptr<VirtualUnit> unit_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<TwaitForm> wait_;
  FileChooser* files_ = nullptr;  // the window's file chooser, when a test scripts one
  std::string port_problem_;      // set before Start: the window is told the port is unusable
  bool trace_port_ = false;       // set before Start: every port access goes to port_trace_
  std::ostringstream port_trace_;
  std::unique_ptr<TracingPort> tracing_;
};

// The chain and directory problems of the card as it now reads back through its source (the
// built test cards carry only the root fields the program reads, so root lines are left out).
std::vector<std::string> Reloaded(CardImage& card);

}  // namespace quorvel::test

namespace quorvel::test {

// Runs the handlers of `timer` now, as if its interval had passed.
inline void Fire(QTimer* timer) { QMetaObject::invokeMethod(timer, "timeout"); }

}  // namespace quorvel::test
