// How the core tells the user something or asks a question without knowing about windows.
// The desktop program answers with message boxes, quorvel-cli with stderr and stdin, and the
// tests with a scripted fake that records every text.
#pragma once

#include <string_view>

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
  // A question with Yes, No and Cancel.
  virtual Answer AskYesNoCancel(std::string_view text) = 0;
  // An error box (error icon, one OK button); shown as a warning where no error box exists.
  virtual void Error(std::string_view text) { Warn(text); }
};

}  // namespace quorvel
