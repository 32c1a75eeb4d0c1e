// How the core tells the user something or asks a question without knowing about windows.
// The desktop program answers with message boxes, quorvel-cli with stderr and stdin, and the
// tests with a scripted fake that records every text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

enum class Answer { kYes, kNo, kCancel };

class Messages {
 public:
  virtual ~Messages() = default;

  // An information box with one OK button (errors and notices).
  virtual void Inform(std::string_view text) = 0;
  // A warning box with one OK button.
  virtual void Warn(std::string_view text) = 0;
  // A question with Yes and No; true means Yes (proceed).
  virtual bool AskYesNo(std::string_view text) = 0;
  // A question before something is lost (a save deleted or replaced, a card formatted or
  // overwritten): as AskYesNo, but a careless Enter answers No.
  virtual bool AskYesNoDefaultNo(std::string_view text) { return AskYesNo(text); }
  // A question with Yes, No and Cancel.
  virtual Answer AskYesNoCancel(std::string_view text) = 0;
  // An error box (error icon, one OK button); shown as a warning where no error box exists.
  virtual void Error(std::string_view text) { Warn(text); }
};

// Keeps what it is told, to be said later (or not at all), and answers every question No:
// for what comes up before there is a window to say it over.
class HeldMessages : public Messages {
 public:
  void Inform(std::string_view text) override { texts.emplace_back(text); }
  void Warn(std::string_view text) override { texts.emplace_back(text); }
  bool AskYesNo(std::string_view text) override {
    texts.emplace_back(text);
    return false;
  }
  Answer AskYesNoCancel(std::string_view text) override {
    texts.emplace_back(text);
    return Answer::kCancel;
  }

  std::vector<std::string> texts;
};

}  // namespace quorvel
