// ToptForm: the link settings dialog. Port address, link speed (one slider, or three delay
// counts in a hidden panel), the slider's maximum, the drag mode, the automatic refresh, and the
// journal of card writes with its read-back checks.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QString>
#include <QTimer>
#include <cstdint>

#include "app/settings.h"

namespace quorvel {

// The value of a hexadecimal text of digits 0-9 and A-F; only the last 8 digits count. An
// empty text, or one with any other character, gives 0xFFFF.
std::uint32_t ParseHex(const QString& text);

// `value` as upper-case hexadecimal of at least `digits` digits.
QString HexText(std::uint32_t value, int digits);

// A text that scrolls from right to left through its panel, one step per tick of its timer.
class ScrollingText : public QFrame {
  Q_OBJECT
 public:
  static constexpr int kStepPixels = 2;
  static constexpr int kTickMs = 40;

  ScrollingText(const QString& text, QWidget* parent);

  QString text() const { return text_; }
  // Where the text's left edge is drawn now, in panel pixels.
  int TextLeft() const { return text_left_; }
  // Moves the text one step left; once it has left the panel it comes back in at the right.
  void ScrollStep();

  QTimer* ScrollTimer;  // runs while the panel is shown

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QString text_;
  int text_left_ = 0;
};

class ToptForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr std::uint16_t kLpt1 = 888;  // 0x378
  static constexpr std::uint16_t kLpt2 = 632;  // 0x278

  explicit ToptForm(QWidget* parent = nullptr);

  // ---- Dialog fields: copied in before the dialog opens, copied back after OK -----------
  bool OkFlag = false;
  Settings Fields;

  // Fills the controls from the fields.
  void LoadControls();

  // ---- Handlers -------------------------------------------------------------------------
  void baseEditChange();
  void delayEdit1Change();
  void delayEdit2Change();
  void delayEdit3Change();
  void MaxEditChange();
  void DelayBarChange();
  void CopyRadioClick() { Fields.drag_mode = 0; }
  void MoveRadioClick() { Fields.drag_mode = 1; }
  void AutoBox1Click();
  void JournalBoxClick() { Fields.journal = JournalBox->isChecked() ? 1 : 0; }
  void VerifyCardBoxClick() { Fields.verify_whole_card = VerifyCardBox->isChecked() ? 1 : 0; }
  void VerifySaveBoxClick() { Fields.verify_single_saves = VerifySaveBox->isChecked() ? 1 : 0; }
  void BitBtn2Click();
  void BitBtn1Click();
  void Button1Click();
  void EditDelayTime1Click();
  void ToggleTest1Click();

  // ---- Controls, named as in the window description -------------------------------------
  QGroupBox* RadioGroup1;
  QRadioButton* RadioButton1;
  QRadioButton* RadioButton2;
  QRadioButton* RadioButton3;
  QLabel* StaticText1;
  QLineEdit* baseEdit;
  QGroupBox* GroupBox1;
  QRadioButton* CopyRadio;
  QRadioButton* MoveRadio;
  QLabel* Label3;
  QSlider* DelayBar;
  QLabel* Label8;
  QLabel* Label9;
  QLabel* Label15;
  QLabel* Label16;
  QLabel* Label17;
  QLabel* Label11;
  ScrollingText* SecretPanel1;
  QGroupBox* GroupBox2;
  QCheckBox* AutoBox1;
  QGroupBox* GroupBox3;  // the journal of card writes
  QCheckBox* JournalBox;
  QCheckBox* VerifyCardBox;
  QCheckBox* VerifySaveBox;
  QLabel* Label12;
  QLabel* Label13;
  QLabel* Label14;
  QPushButton* BitBtn2;
  QPushButton* BitBtn1;
  QFrame* Panel3;
  QLabel* Label4;
  QLabel* Label5;
  QLabel* Label6;
  QLabel* Label7;
  QLineEdit* delayEdit1;
  QLineEdit* delayEdit2;
  QLineEdit* delayEdit3;
  QLineEdit* MaxEdit;
  QPushButton* Button1;
  QMenu* PopupMenu1;
  QAction* EditDelayTime1;
  QAction* ToggleTest1;

 private:
  void BuildPortGroup();
  void BuildDragGroup();
  void BuildSpeedControls();
  void BuildRefreshGroup();
  void BuildJournalGroup();
  void BuildButtons();
  void BuildDelayPanel();
  void BuildPopupMenu();
  void ConnectEvents();
  // Shows or hides Panel3, making room for it below the other controls.
  void SetDelayPanelShown(bool shown);
  // The edit's text if it is valid hexadecimal of its own length, else the reset text (put
  // back into the edit); returns ParseHex of the text kept.
  std::uint32_t ValidatedHex(QLineEdit* edit, const QString& reset_text);
  void ShowCustomPort();
  void ShowSpeedIndicator(std::int32_t value);
};

}  // namespace quorvel
