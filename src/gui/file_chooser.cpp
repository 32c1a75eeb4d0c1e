// The desktop program's open-file dialog for the file chooser seam.
#include "gui/file_chooser.h"

#include <QFileDialog>

namespace quorvel {

std::optional<QString> FileDialogs::ChooseOpenFile(const QString& filter, const QString& preset) {
  QFileDialog dialog(owner_);
  dialog.setNameFilter(filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.selectFile(preset);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

}  // namespace quorvel
