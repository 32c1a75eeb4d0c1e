// How windows ask the user for a file to open, so that tests can script the answer; the
// desktop program answers with a file dialog.
#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <optional>

namespace quorvel {

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The file the user picked, or nothing when the chooser was cancelled. `filter` is a Qt
  // name filter ("Bitmaps (*.bmp)"); `preset` is the text the file name starts with.
  virtual std::optional<QString> ChooseOpenFile(const QString& filter, const QString& preset) = 0;
};

// Open-file dialogs over the main window.
class FileDialogs : public FileChooser {
 public:
  explicit FileDialogs(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }

  std::optional<QString> ChooseOpenFile(const QString& filter, const QString& preset) override;

 private:
  QWidget* owner_;
};

// A chosen file's name as a path for the file layer.
inline std::filesystem::path ToPath(const QString& name) {
  return std::filesystem::path(name.toStdU16String());
}

// What the picture-open dialogs show: 8-bit BMP pictures, the file name preset to "*.BMP".
inline const QString kBitmapFilter = QStringLiteral("Bitmaps (*.bmp)");
inline const QString kBitmapPreset = QStringLiteral("*.BMP");

}  // namespace quorvel
