// The desktop program's answer to the message seam: message boxes over the main window.
#pragma once

#include <QWidget>

#include "host/messages.h"

namespace quorvel {

class MessageBoxes : public Messages {
 public:
  // `owner` is the window the boxes are centred on; may be null.
  explicit MessageBoxes(QWidget* owner = nullptr) : owner_(owner) {}

  void SetOwner(QWidget* owner) { owner_ = owner; }

  void Inform(std::string_view text) override;
  void Warn(std::string_view text) override;
  bool AskYesNo(std::string_view text) override;
  Answer AskYesNoCancel(std::string_view text) override;
  void Error(std::string_view text) override;

 private:
  QWidget* owner_;
};

}  // namespace quorvel
