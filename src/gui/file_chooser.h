// How windows ask the user for a file to open or to save, so that tests can script the answer;
// the desktop program answers with file dialogs.
#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <string_view>

#include "app/file_history.h"

namespace quorvel {

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The file the user picked, or nothing when the chooser was cancelled. `filter` is a Qt
  // name filter ("Bitmaps (*.bmp)"); `preset` is the text the file name starts with.
  virtual std::optional<QString> ChooseOpenFile(const QString& filter, const QString& preset) = 0;
  // The file name the user chose to write, or nothing when cancelled. `default_suffix` (no dot)
  // is added to a name typed without one; with `confirm_overwrite` the chooser itself asks
  // before it accepts the name of an existing file.
  virtual std::optional<QString> ChooseSaveFile(const QString& filter, const QString& preset,
                                                const QString& default_suffix,
                                                bool confirm_overwrite) = 0;
  // The name a file is to have on the card (a VMS file without its VMI), `preset` offered;
  // nothing when cancelled.
  virtual std::optional<QString> ChooseCardName(const QString& prompt, const QString& preset) = 0;
};

// Open- and save-file dialogs over the main window.
class FileDialogs : public FileChooser {
 public:
  explicit FileDialogs(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }

  std::optional<QString> ChooseOpenFile(const QString& filter, const QString& preset) override;
  std::optional<QString> ChooseSaveFile(const QString& filter, const QString& preset,
                                        const QString& default_suffix,
                                        bool confirm_overwrite) override;
  std::optional<QString> ChooseCardName(const QString& prompt, const QString& preset) override;

 private:
  QWidget* owner_;
};

// The choosers above, started in the folder `history` last used for `kind` (the preset's
// folder, when it names one, wins); the folder of the chosen file is remembered. Without a
// history they are the plain choosers.
std::optional<QString> ChooseOpenFileIn(FileChooser& files, FileHistory* history, FileKind kind,
                                        const QString& filter, const QString& preset);
std::optional<QString> ChooseSaveFileIn(FileChooser& files, FileHistory* history, FileKind kind,
                                        const QString& filter, const QString& preset,
                                        const QString& default_suffix, bool confirm_overwrite);

// A chosen file's name as a path for the file layer.
inline std::filesystem::path ToPath(const QString& name) {
  return std::filesystem::path(name.toStdU16String());
}

// A Qt name filter from a list of description|pattern pairs ("DCM file format|*.DCM|ALL
// format|*.*" gives "DCM file format (*.DCM);;ALL format (*.*)"); trailing blanks of a
// description are dropped.
QString NameFilter(std::string_view pairs);

// True when the chosen file is there (a name the platform cannot check counts as missing).
inline bool FileExists(const QString& name) {
  std::error_code error;
  return std::filesystem::exists(ToPath(name), error);
}

// What the picture-open dialogs show: 8-bit BMP pictures, the file name preset to "*.BMP".
inline const QString kBitmapFilter = QStringLiteral("Bitmaps (*.bmp)");
inline const QString kBitmapPreset = QStringLiteral("*.BMP");

}  // namespace quorvel
