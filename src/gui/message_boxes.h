// The desktop program's answer to the message seam: message boxes over the main window.
#pragma once

#include <QMessageBox>
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
  bool AskYesNoDefaultNo(std::string_view text) override;
  Answer AskYesNoCancel(std::string_view text) override;
  void Error(std::string_view text) override;

 private:
  // A Yes/No question whose Enter key answers `button`.
  bool AskWithDefault(std::string_view text, QMessageBox::StandardButton button);

  QWidget* owner_;
};

}  // namespace quorvel
