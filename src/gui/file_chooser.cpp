// The desktop program's open- and save-file dialogs for the file chooser seam.
#include "gui/file_chooser.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QStringList>

namespace quorvel {

namespace {

std::optional<QString> Run(QFileDialog& dialog, const QString& filter, const QString& preset) {
  dialog.setNameFilter(filter);
  dialog.selectFile(preset);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

}  // namespace

std::optional<QString> FileDialogs::ChooseOpenFile(const QString& filter, const QString& preset) {
  QFileDialog dialog(owner_);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  return Run(dialog, filter, preset);
}

std::optional<QString> FileDialogs::ChooseSaveFile(const QString& filter, const QString& preset,
                                                   const QString& default_suffix,
                                                   bool confirm_overwrite) {
  QFileDialog dialog(owner_);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(default_suffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirm_overwrite);
  return Run(dialog, filter, preset);
}

std::optional<QString> FileDialogs::ChooseCardName(const QString& prompt, const QString& preset) {
  bool accepted = false;
  const QString name =
      QInputDialog::getText(owner_, QCoreApplication::translate("quorvel::FileDialogs", "單元名稱"),
                            prompt, QLineEdit::Normal, preset, &accepted);
  if (!accepted) return std::nullopt;
  return name;
}

namespace {

QString StartIn(const FileHistory* history, FileKind kind, const QString& preset) {
  const std::filesystem::path name = ToPath(preset);
  if (history == nullptr || name.has_parent_path()) return preset;
  return QString::fromStdU16String(history->StartIn(kind, name).u16string());
}

void Remember(FileHistory* history, FileKind kind, const std::optional<QString>& chosen) {
  if (history != nullptr && chosen) history->Remember(kind, ToPath(*chosen));
}

}  // namespace

std::optional<QString> ChooseOpenFileIn(FileChooser& files, FileHistory* history, FileKind kind,
                                        const QString& filter, const QString& preset) {
  std::optional<QString> chosen = files.ChooseOpenFile(filter, StartIn(history, kind, preset));
  Remember(history, kind, chosen);
  return chosen;
}

std::optional<QString> ChooseSaveFileIn(FileChooser& files, FileHistory* history, FileKind kind,
                                        const QString& filter, const QString& preset,
                                        const QString& default_suffix, bool confirm_overwrite) {
  std::optional<QString> chosen = files.ChooseSaveFile(filter, StartIn(history, kind, preset),
                                                       default_suffix, confirm_overwrite);
  Remember(history, kind, chosen);
  return chosen;
}

QString NameFilter(std::string_view pairs) {
  const QStringList parts =
      QString::fromUtf8(pairs.data(), static_cast<qsizetype>(pairs.size())).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    while (description.endsWith(' ')) description.chop(1);
    filters << description + " (" + parts[i + 1] + ")";
  }
  return filters.join(";;");
}

}  // namespace quorvel
