// TMiniEdForm: the "Mini HexEditor" window. The hex editor control HexEditor1 filling it, the
// status bar, the menus with their enabling rules, save, hex text, clipboard, go to, jump,
// find, printing and the question before unsaved changes are lost.
#pragma once

#include <QAction>
#include <QActionGroup>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/file_history.h"
#include "gui/hex_printer.h"
#include "gui/thexeditor.h"
#include "hexedit/find_session.h"
#include "host/messages.h"

class QPrinter;

namespace quorvel {

enum class FileDialogKind { kOpen, kSave };

// What the user chose in OpenDialog1 or SaveDialog1.
struct FileChoice {
  std::string path;
  bool read_only = false;  // the open dialog's read-only box
};

class TMiniEdForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr std::int64_t kDefaultJumpAmount = 4000;

  // first_argument: the program's first command-line argument (may be empty); a file of that
  // name is loaded the first time the window is shown.
  explicit TMiniEdForm(Messages& messages, std::string first_argument = {},
                       QWidget* parent = nullptr);
  ~TMiniEdForm() override;

  // Loads a file into the control (false when it is missing or cannot be copied).
  bool LoadFile(const std::string& path);
  // Shows the window modally until it closes.
  int ShowModal() { return exec(); }

  // Set whenever the save command runs, also when it fails; the caller clears it.
  bool Saved = false;

  // ---- Dialog seams (tests replace them) ---------------------------------------------
  std::function<std::optional<FileChoice>(FileDialogKind)> ChooseFile;
  // Where the file dialogs start and what they remember (none: the current directory).
  void SetFileHistory(FileHistory* history) { history_ = history; }
  // An input box: title, prompt and initial text; nullopt when cancelled.
  std::function<std::optional<QString>(const QString&, const QString&, const QString&)> InputBox;

  // ---- Commands ----------------------------------------------------------------------
  void Neu1Click();
  void ffnen1Click();
  // The save command; true when the data was written.
  bool Speichern1Click();
  void AnyFile1Click();
  void HexText1Click();
  void ImportfromHexText1Click();
  void Printpreview1Click();
  void Printsetup1Click();
  void Print1Click();
  void Beenden1Click() { close(); }
  void Rckgngig1Click();
  void Ausschneiden1Click();
  void Kopieren1Click();
  void Einfgen1Click();
  void PasteText1Click();
  void Goto1Click();
  void Amount40001Click();
  void Jumpforward1Click();
  void Jumpbackward1Click();
  void Find1Click();
  void FindNext1Click();
  // Ctrl+A: one byte 0xFF appended and selected.
  void AppendFF();

  // Asks to save changes when the data is modified; false when the user cancelled or the
  // save failed.
  bool AskToSaveChanges();
  // The status bar texts and the menu items' captions, check marks and enabling.
  void UpdateStatusBar();
  void UpdateMenus();

  // The first page as the preview shows it.
  QImage PreviewImage();
  PrintSource MakePrintSource();

  std::int64_t JumpAmount() const { return jump_amount_; }
  PrintNumberFormat PrintFormat() const { return print_format_; }

  // ---- Controls, named as in the window description ------------------------------------
  THexEditor* HexEditor1;
  QMenuBar* MainMenu1;
  QStatusBar* StatusBar1;
  std::array<QLabel*, 6> Panels{};

  QMenu* Datei1;
  QAction* Neu1;
  QAction* ffnen1;
  QAction* Speichern1;
  QMenu* Speichernunter1;
  QAction* AnyFile1;
  QAction* HexText1;
  QAction* ImportfromHexText1;
  QMenu* Printlayout1;
  QAction* Hex2;
  QAction* Decimal1;
  QAction* Octal2;
  QAction* Printpreview1;
  QAction* Printsetup1;
  QAction* Print1;
  QAction* Beenden1;

  QMenu* Bearbeiten1;
  QAction* Rckgngig1;
  QAction* Ausschneiden1;
  QAction* Kopieren1;
  QAction* Einfgen1;
  QAction* PasteText1;
  QAction* Goto1;
  QMenu* Jump1;
  QAction* Amount40001;
  QAction* Jumpforward1;
  QAction* Jumpbackward1;
  QAction* Find1;
  QAction* FindNext1;

  QMenu* View1;
  QMenu* Linesize1;
  QAction* _16;
  QAction* _32;
  QAction* _64;
  QMenu* Blocksize1;
  QAction* N1Byteperblock1;
  QAction* N2Bytesperblock1;
  QAction* N4Bytesperblock1;
  QMenu* Caretstyle1;
  QAction* Fullblock1;
  QAction* Leftline1;
  QAction* Bottomline1;
  QAction* Auto1;
  QMenu* Offsetdisplay1;
  QAction* Hex1;
  QAction* Dec1;
  QAction* Octal1;
  QAction* None1;
  QMenu* Translation1;
  QAction* Ansi1;
  QAction* ASCII7Bit1;
  QAction* DOS8Bit1;
  QAction* Mac1;
  QAction* IBMEBCDICcp381;
  QAction* Grid1;
  QAction* Showmarkers1;
  QAction* SwapNibbles1;
  QAction* MaskWhitespaces1;
  QAction* FixedFilesize1;

 public slots:
  void reject() override;  // every way of closing runs the close check

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // tminiedform.cpp
  void BuildMenus();
  void BuildFileMenu();
  void BuildEditMenu();
  void BuildViewMenu();
  void BuildStatusBar();
  QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                   void (TMiniEdForm::*handler)(), const QKeySequence& shortcut = {});
  QAction* AddChoice(QMenu* menu, QActionGroup* group, const char* name, const QString& caption,
                     std::function<void()> apply);
  QAction* AddToggle(QMenu* menu, const char* name, const QString& caption,
                     std::function<void(bool)> apply);
  void UpdateViewChecks();

  // tminiedform_file.cpp
  bool SaveUnder(const std::string& path);
  void ShowSaveError(const std::string& path);
  std::optional<FileChoice> DefaultChooseFile(FileDialogKind kind);
  QPrinter& Printer();

  // tminiedform_edit.cpp
  void ReportSearch(FindSession::Result result);
  QString ClipboardText() const;

  Messages& messages_;
  FileHistory* history_ = nullptr;
  std::string first_argument_;
  bool first_activation_ = true;
  std::int64_t jump_amount_ = kDefaultJumpAmount;
  PrintNumberFormat print_format_ = PrintNumberFormat::kHex;
  std::unique_ptr<QPrinter> printer_;

  FindSession search_;  // kept for the program's run
};

}  // namespace quorvel
