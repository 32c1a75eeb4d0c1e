// Tasm86kForm: the disassembly and patch window. Lists a save's program code page by page,
// goes to an address, rewrites the bytes of one instruction and says whether to save.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <array>
#include <cstdint>
#include <filesystem>

#include "disasm/code_page_table.h"
#include "host/messages.h"

namespace quorvel {

class Tasm86kForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kWidth = 600;
  static constexpr int kHeight = 520;

  explicit Tasm86kForm(Messages& messages, QWidget* parent = nullptr);

  // Lists the code file: builds its page table, shows page 0, nothing selected, the go-to
  // address 00000000 and the saved flag cleared. False, after telling the user why, when the
  // file cannot be read.
  bool OpenCode(const std::filesystem::path& code_file);

  // Set by "儲存及離開" (or Yes to " 儲存資料? "); read by the opener once the window closed.
  bool saved() const { return saved_; }

  // ---- Handlers, named as in the window description ------------------------------------
  void Button2Click();     // go to the address in Edit1 (the last one it held when empty)
  void editbtnClick();     // write the byte fields over the selected instruction
  void AsmListBoxClick();  // show the current row's address and bytes
  void Save1Click();       // save and exit
  void Exit1Click();       // exit, asking whether to save

  // The selected instruction's length (1 to 3), 0 when nothing is selected.
  int byte_count() const { return byte_count_; }
  const CodePageTable& pages() const { return pages_; }

  // ---- Controls ------------------------------------------------------------------------
  QMenuBar* MainMenu1;
  QMenu* File1;  // "檔案"
  QAction* Save1;
  QAction* Exit1;
  QPushButton* Button2;
  QLineEdit* Edit1;
  QPushButton* editbtn;
  QLabel* addrLabel;
  QLineEdit* codeed1;
  QLineEdit* codeed2;
  QLineEdit* codeed3;
  QLabel* Label1;
  QListWidget* AsmListBox;

 private:
  void BuildControls();
  QLineEdit* MakeHexEdit(const char* name, int max_length);
  // Fills the list with the current page's lines when another page (or a changed file) is
  // listed; selects nothing.
  void ListCurrentPage();
  // Selects the line a go-to or a patch found, or tells the user why there is none.
  void ShowGoTo(const GoToResult& result);
  void SelectLine(int row);
  void SelectNothing();
  void UpdateEditButton();

  Messages& messages_;
  CodePageTable pages_;
  std::array<QLineEdit*, 3> byte_fields_{};
  int listed_page_ = -1;
  // The last address Edit1 held; an emptied field still goes there.
  std::uint32_t target_ = 0;
  int selected_row_ = -1;
  int byte_count_ = 0;
  bool saved_ = false;
};

}  // namespace quorvel
