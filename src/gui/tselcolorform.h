// TselcolorForm: the colour selection dialog of the card icon. The user ticks which of the
// picture's first 16 colours are dark on the VMU's screen, sees both pictures, names the icon.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <array>
#include <bitset>
#include <string>

#include "app/file_history.h"
#include "card/icon_image.h"

namespace quorvel {

class FileChooser;

class TselcolorForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kColours = 16;
  static constexpr int kNameLength = 32;

  // `files` answers Button2's picture-open dialog (none: Button2 finds no file).
  explicit TselcolorForm(FileChooser* files, QWidget* parent = nullptr);
  // Where Button2's dialog starts and what it remembers (none: it remembers nothing).
  void SetFileHistory(FileHistory* history) { history_ = history; }

  // Readies the dialog for one add-icon command: the monochrome source (a copy of the colour
  // picture), the working directory (ending in the separator), the BMP file shown in Image1
  // and the icon's name.
  void Prepare(const IconImage& monochrome_source, const std::string& work_dir,
               const QString& bmp_file, const QString& name);

  // The palette entries 0 to 15 whose boxes are checked.
  std::bitset<kColours> DarkColours() const;
  QString IconName() const { return Edit1->text(); }

  // ---- Handlers -------------------------------------------------------------------------
  void CheckBoxClick();
  void Button1Click() { accept(); }
  void Button2Click();
  void Button3Click() { accept(); }

  // ---- State ----------------------------------------------------------------------------
  // The monochrome source: palette entries 0 to 15 black or white as the boxes say.
  IconImage Monochrome;
  std::string WorkDir;

  // ---- Controls, named as in the window description -------------------------------------
  std::array<QLabel*, kColours> Panel{};        // Panel1 to Panel16
  std::array<QCheckBox*, kColours> CheckBox{};  // CheckBox1 to CheckBox16
  QLabel* Label1;                               // "畫面"
  QLabel* Label2;                               // "LCD"
  QLabel* Label3;                               // "圖示名稱 :"
  QLabel* Image1;
  QLabel* Image2;
  QLineEdit* Edit1;
  QPushButton* Button1;
  QPushButton* Button2;
  QPushButton* Button3;

 private:
  void BuildColourGrid();
  void BuildPictures();
  void BuildNameAndButtons();
  // Panels from the source's palette, boxes unchecked, the preview, the BMP into Image1.
  void Preparation(const QString& bmp_file);
  // Sets the source's first 16 colours from the boxes, writes "~ico2.bmp", shows it in Image2.
  void UpdatePreview();

  FileChooser* files_;
  FileHistory* history_ = nullptr;
};

}  // namespace quorvel
