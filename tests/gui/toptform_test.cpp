// Tests of the link settings dialog: hex parsing, the edits' reset texts, the slider and its
// labels, LoadControls, the buttons, the hidden panel and its short-cuts, and the main
// window's settings button with the configuration file.
#include "gui/toptform.h"

#include <QTest>
#include <fstream>
#include <sstream>

#include "app/config.h"
#include "gui/window_fixture.h"

namespace quorvel::test {
namespace {

std::string Str(const QString& text) { return text.toStdString(); }

// Replaces the edit's whole text as the user would by selecting it and typing over it.
void TypeOver(QLineEdit* edit, const QString& typed) {
  edit->selectAll();
  if (typed.isEmpty()) {
    edit->del();
  } else {
    edit->insert(typed);
  }
}

TEST(ParseHex, ValidTextsGiveTheirValueAndAnythingElse0xFFFF) {
  EXPECT_EQ(ParseHex("3BC"), 0x3BCu);
  EXPECT_EQ(ParseHex("0378"), 0x378u);
  EXPECT_EQ(ParseHex("FFFFFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseHex("123456789"), 0x23456789u);  // only the last 8 digits count
  EXPECT_EQ(ParseHex(""), 0xFFFFu);
  EXPECT_EQ(ParseHex("37G"), 0xFFFFu);
  EXPECT_EQ(ParseHex("3bc"), 0xFFFFu);
  EXPECT_EQ(ParseHex(" 378"), 0xFFFFu);
}

class OptFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }
  ToptForm form;
};

TEST_F(OptFormTest, BaseEditAcceptsHexOfItsOwnLengthAndResetsEverythingElse) {
  TypeOver(form.baseEdit, "3bc");  // typed in lower case, shown in upper case
  EXPECT_EQ(Str(form.baseEdit->text()), "3BC");
  EXPECT_EQ(form.Fields.base_port, 0x3BC);
  EXPECT_EQ(Str(form.RadioButton3->text()), " 輸入/輸出3BC");
  EXPECT_TRUE(form.RadioButton3->isChecked());

  TypeOver(form.baseEdit, "37G");
  EXPECT_EQ(Str(form.baseEdit->text()), "378");
  EXPECT_EQ(form.Fields.base_port, 0x378);

  TypeOver(form.baseEdit, "");
  EXPECT_EQ(Str(form.baseEdit->text()), "378");

  TypeOver(form.baseEdit, "0378");
  EXPECT_EQ(Str(form.baseEdit->text()), "0378");
  EXPECT_EQ(form.Fields.base_port, 0x378);
  EXPECT_EQ(Str(form.RadioButton3->text()), " 輸入/輸出378");

  TypeOver(form.baseEdit, "1F");  // at least three digits in the caption
  EXPECT_EQ(Str(form.RadioButton3->text()), " 輸入/輸出01F");
  TypeOver(form.baseEdit, "12345");  // an address keeps its low 16 bits
  EXPECT_EQ(form.Fields.base_port, 0x2345);
}

TEST_F(OptFormTest, DelayEditsResetToTheirOwnTexts) {
  form.Fields.slider_max = 0x2400;
  form.LoadControls();
  TypeOver(form.delayEdit1, "XYZ");
  TypeOver(form.delayEdit2, "");
  TypeOver(form.delayEdit3, "1.5");
  TypeOver(form.MaxEdit, "-1");
  EXPECT_EQ(Str(form.delayEdit1->text()), "00000014");
  EXPECT_EQ(Str(form.delayEdit2->text()), "00000100");
  EXPECT_EQ(Str(form.delayEdit3->text()), "00000600");
  EXPECT_EQ(Str(form.MaxEdit->text()), "00002400");
  EXPECT_EQ(form.Fields.poll_delay, 0x14);
  EXPECT_EQ(form.Fields.byte_delay, 0x100);
  EXPECT_EQ(form.Fields.bit_delay, 0x600);

  TypeOver(form.delayEdit1, "ffffffff");  // any count is accepted
  EXPECT_EQ(form.Fields.poll_delay, -1);
  TypeOver(form.MaxEdit, "1000");
  EXPECT_EQ(form.Fields.slider_max, 0x1000);
  EXPECT_EQ(form.DelayBar->maximum(), 0x1000);
}

TEST_F(OptFormTest, SliderSetsAllThreeDelaysAndTheirDisplays) {
  form.Fields.slider_max = 9216;
  form.LoadControls();
  form.DelayBar->setValue(4608);
  EXPECT_EQ(form.Fields.poll_delay, 288);
  EXPECT_EQ(form.Fields.byte_delay, 4608);
  EXPECT_EQ(form.Fields.bit_delay, 6912);
  EXPECT_EQ(Str(form.Label12->text()), "00000120");
  EXPECT_EQ(Str(form.Label13->text()), "00001200");
  EXPECT_EQ(Str(form.Label14->text()), "00001B00");
  EXPECT_EQ(Str(form.delayEdit3->text()), "00001B00");
  EXPECT_EQ(Str(form.Label11->text()), " 速度指標: 1200");

  form.DelayBar->setValue(129);  // 3 x 129 / 2 and 129 / 16 round toward zero
  EXPECT_EQ(form.Fields.poll_delay, 8);
  EXPECT_EQ(form.Fields.bit_delay, 193);
}

TEST_F(OptFormTest, LoadControlsFillsEveryControlAndMovesTheSlider) {
  form.Fields = Settings{};  // 888, 256, 4608, 6912, 9216, copy, refresh on
  form.DelayBar->setValue(0);
  form.LoadControls();
  EXPECT_EQ(form.DelayBar->value(), 4608);
  EXPECT_EQ(form.Fields.poll_delay, 288);  // the slider moved, so the delays follow it
  EXPECT_EQ(form.Fields.bit_delay, 6912);
  EXPECT_EQ(form.DelayBar->maximum(), 9216);
  EXPECT_EQ(Str(form.Label16->text()), "1200");
  EXPECT_EQ(Str(form.Label17->text()), "2400");
  EXPECT_EQ(Str(form.Label11->text()), " 速度指標: 1200");
  EXPECT_EQ(Str(form.MaxEdit->text()), "00002400");
  EXPECT_TRUE(form.RadioButton1->isChecked());
  EXPECT_EQ(Str(form.RadioButton3->text()), " 自訂");
  EXPECT_TRUE(form.CopyRadio->isChecked());
  EXPECT_TRUE(form.AutoBox1->isChecked());

  // The slider already stands at ByteDelay: it does not move and the poll count stays.
  form.Fields.poll_delay = 256;
  form.LoadControls();
  EXPECT_EQ(form.Fields.poll_delay, 256);
  EXPECT_EQ(Str(form.delayEdit1->text()), "00000100");

  form.Fields.base_port = 632;
  form.Fields.drag_mode = 5;
  form.Fields.auto_refresh = 2;
  form.LoadControls();
  EXPECT_TRUE(form.RadioButton2->isChecked());
  EXPECT_TRUE(form.MoveRadio->isChecked());
  EXPECT_FALSE(form.AutoBox1->isChecked());

  form.Fields.base_port = 0x3BC;
  form.Fields.byte_delay = 20000;  // beyond the slider: limited to SliderMax
  form.LoadControls();
  EXPECT_TRUE(form.RadioButton3->isChecked());
  EXPECT_EQ(Str(form.RadioButton3->text()), " 輸入/輸出3BC");
  EXPECT_EQ(form.DelayBar->value(), 9216);
  EXPECT_EQ(form.Fields.byte_delay, 9216);
  EXPECT_EQ(form.Fields.poll_delay, 576);
}

TEST_F(OptFormTest, OkTakesThePortOfTheSelectedRadioButton) {
  form.Fields = Settings{};
  form.LoadControls();
  TypeOver(form.baseEdit, "3BC");
  form.RadioButton1->setChecked(true);
  form.BitBtn2Click();
  EXPECT_TRUE(form.OkFlag);
  EXPECT_EQ(form.Fields.base_port, 888);

  TypeOver(form.baseEdit, "3BC");
  form.RadioButton2->click();
  form.BitBtn2Click();
  EXPECT_EQ(form.Fields.base_port, 632);

  TypeOver(form.baseEdit, "3BC");
  form.BitBtn2Click();
  EXPECT_EQ(form.Fields.base_port, 0x3BC);

  form.BitBtn1Click();
  EXPECT_FALSE(form.OkFlag);
}

TEST_F(OptFormTest, RadiosAndBoxSetDragModeAndAutoRefresh) {
  form.MoveRadio->click();
  EXPECT_EQ(form.Fields.drag_mode, 1);
  form.CopyRadio->click();
  EXPECT_EQ(form.Fields.drag_mode, 0);
  form.AutoBox1->setChecked(true);
  form.AutoBox1->click();
  EXPECT_EQ(form.Fields.auto_refresh, 0);
  form.AutoBox1->click();
  EXPECT_EQ(form.Fields.auto_refresh, 1);
}

TEST_F(OptFormTest, ShortcutsShowTheDelayPanelAndToggleTheTestDisplay) {
  form.Fields = Settings{};
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  EXPECT_TRUE(form.Panel3->isHidden());
  EXPECT_FALSE(form.EditDelayTime1->isVisible());
  EXPECT_EQ(form.EditDelayTime1->shortcut(), QKeySequence("Ctrl+Alt+E"));
  EXPECT_EQ(form.ToggleTest1->shortcut(), QKeySequence("Ctrl+Alt+T"));

  const int height = form.height();
  QTest::keyClick(&form, Qt::Key_E, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_FALSE(form.Panel3->isHidden());
  EXPECT_GT(form.height(), height);
  EXPECT_EQ(Str(form.delayEdit2->text()), "00001200");

  // Typed counts are taken; the panel's OK reloads the controls from them.
  TypeOver(form.delayEdit2, "00000800");
  TypeOver(form.delayEdit1, "00000007");
  form.Button1->click();
  EXPECT_TRUE(form.Panel3->isHidden());
  EXPECT_EQ(form.height(), height);
  EXPECT_EQ(form.DelayBar->value(), 0x800);
  EXPECT_EQ(form.Fields.poll_delay, 0x80);  // the slider moved and recomputed it

  EXPECT_TRUE(form.Label12->isHidden());
  QTest::keyClick(&form, Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_FALSE(form.Label12->isHidden());
  EXPECT_FALSE(form.Label14->isHidden());
  form.ToggleTest1->trigger();
  EXPECT_TRUE(form.Label13->isHidden());
  form.hide();
}

TEST_F(OptFormTest, SecretPanelScrollsWhileShown) {
  ScrollingText& panel = *form.SecretPanel1;
  EXPECT_EQ(Str(panel.text()), "可調節控制杆上的速度值來配合你電腦的運作!");
  EXPECT_FALSE(panel.ScrollTimer->isActive());
  form.show();
  EXPECT_TRUE(panel.ScrollTimer->isActive());
  const int start = panel.TextLeft();
  panel.ScrollStep();
  EXPECT_EQ(panel.TextLeft(), start - ScrollingText::kStepPixels);
  for (int i = 0; i < 1000 && panel.TextLeft() <= start; ++i) panel.ScrollStep();
  EXPECT_EQ(panel.TextLeft(), panel.width());  // gone at the left, back in at the right
  form.hide();
  EXPECT_FALSE(panel.ScrollTimer->isActive());
}

// The settings button of the main window with the dialog attached.
class SettingsButtonTest : public WindowTest {
 protected:
  void StartWithDialog(int auto_refresh) {
    WriteQuickConfig(auto_refresh);
    StartNothing();
    opt_ = std::make_unique<ToptForm>(&form());
    form().AttachOptForm(opt_.get());
  }
  // Clicks the settings button; `inside` runs while the dialog is open.
  void OpenDialog(const std::function<void(ToptForm&)>& inside) {
    QTimer::singleShot(0, opt_.get(), [this, inside] { inside(*opt_); });
    form().optBitBtn->click();
  }
  std::string ConfigText() const {
    std::ifstream in(work_ / "DID2.cfg", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void TearDown() override {
    opt_.reset();
    WindowTest::TearDown();
  }
  std::unique_ptr<ToptForm> opt_;
};

TEST_F(SettingsButtonTest, OkAppliesWritesAndTheNextStartReadsTheSameValues) {
  StartWithDialog(1);
  EXPECT_FALSE(form().AutoBoxTicked());  // never opened yet
  ASSERT_TRUE(form().Timer3->isActive());
  bool paused = false;
  QPoint at;
  OpenDialog([&](ToptForm& dialog) {
    paused = !form().Timer3->isActive();
    at = dialog.pos();
    EXPECT_EQ(dialog.Fields.slider_max, 9216);
    dialog.DelayBar->setValue(4608);
    dialog.MoveRadio->click();
    TypeOver(dialog.baseEdit, "3BC");
    dialog.BitBtn2->click();
  });
  EXPECT_TRUE(paused);
  EXPECT_EQ(at.x(), form().x() + (form().width() - opt_->width()) / 2);
  EXPECT_EQ(at.y(), form().y() + (form().height() - opt_->height()) / 2);
  EXPECT_EQ(settings_.base_port, 0x3BC);
  EXPECT_EQ(settings_.poll_delay, 288);
  EXPECT_EQ(settings_.drag_mode, 1);
  EXPECT_EQ(ConfigText(), "956\r\n288\r\n4608\r\n6912\r\n9216\r\n1\r\n1\r\n1\r\n1\r\n0\r\n");
  EXPECT_TRUE(form().Timer3->isActive());
  EXPECT_TRUE(form().AutoBoxTicked());

  Settings next_start;
  std::string work_dir = work_.string();
  ReadConfig(work_dir, next_start, messages_);
  EXPECT_EQ(next_start.base_port, settings_.base_port);
  EXPECT_EQ(next_start.poll_delay, settings_.poll_delay);
  EXPECT_EQ(next_start.byte_delay, settings_.byte_delay);
  EXPECT_EQ(next_start.bit_delay, settings_.bit_delay);
  EXPECT_EQ(next_start.slider_max, settings_.slider_max);
  EXPECT_EQ(next_start.drag_mode, settings_.drag_mode);
  EXPECT_EQ(next_start.auto_refresh, settings_.auto_refresh);
  EXPECT_TRUE(messages_.texts.empty());
}

// The program builds the dialog when its button is first clicked: until then detection reads
// the box as not ticked, and the dialog then opens as the one built at start would.
TEST_F(SettingsButtonTest, ADialogBuiltOnTheFirstClickOpensWithTheLiveSettings) {
  WriteQuickConfig(1);
  StartNothing();
  int built = 0;
  ToptForm* dialog = nullptr;
  form().AttachOptForm(std::function<ToptForm*()>([&] {
    ++built;
    return dialog = new ToptForm(&form());
  }));
  EXPECT_FALSE(form().AutoBoxTicked());
  EXPECT_EQ(built, 0);
  bool shown = false;
  QTimer::singleShot(0, &form(), [&] {
    ASSERT_NE(dialog, nullptr);
    shown = dialog->isVisible();
    EXPECT_EQ(dialog->Fields.slider_max, 9216);
    EXPECT_TRUE(dialog->AutoBox1->isChecked());
    EXPECT_EQ(dialog->pos(), QPoint(form().x() + (form().width() - dialog->width()) / 2,
                                    form().y() + (form().height() - dialog->height()) / 2));
    dialog->BitBtn2->click();
  });
  form().optBitBtn->click();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(form().AutoBoxTicked());
  QTimer::singleShot(0, &form(), [&] { dialog->BitBtn1->click(); });
  form().optBitBtn->click();
  EXPECT_EQ(built, 1) << "the same dialog the second time";
}

// The journal's boxes show the settings, and OK puts them into the journal at once and into
// the configuration file.
TEST_F(SettingsButtonTest, TheJournalBoxesApplyAtOnceAndAreStored) {
  StartWithDialog(1);
  EXPECT_TRUE(form().journal().Options().record);
  EXPECT_TRUE(form().journal().Options().verify_whole_card);
  EXPECT_FALSE(form().journal().Options().verify_single_saves);
  std::vector<bool> shown;
  OpenDialog([&](ToptForm& dialog) {
    shown = {dialog.JournalBox->isChecked(), dialog.VerifyCardBox->isChecked(),
             dialog.VerifySaveBox->isChecked()};
    dialog.JournalBox->click();
    dialog.VerifyCardBox->click();
    dialog.VerifySaveBox->click();
    dialog.BitBtn2->click();
  });
  EXPECT_EQ(shown, (std::vector<bool>{true, true, false}));
  EXPECT_FALSE(form().journal().Options().record);
  EXPECT_FALSE(form().journal().Options().verify_whole_card);
  EXPECT_TRUE(form().journal().Options().verify_single_saves);
  EXPECT_TRUE(ConfigText().ends_with("\r\n0\r\n0\r\n1\r\n")) << ConfigText();
  // Leave: nothing changes.
  OpenDialog([&](ToptForm& dialog) {
    dialog.JournalBox->click();
    dialog.BitBtn1->click();
  });
  EXPECT_FALSE(form().journal().Options().record);
}

TEST_F(SettingsButtonTest, LeaveDiscardsAndTheRefreshFollowsTheOldSetting) {
  StartWithDialog(0);
  const Settings before = settings_;
  const std::string file_before = ConfigText();
  EXPECT_FALSE(form().Timer3->isActive());
  OpenDialog([](ToptForm& dialog) {
    dialog.AutoBox1->click();  // ticked: refresh on, but only after OK
    dialog.DelayBar->setValue(128);
    dialog.BitBtn1->click();
  });
  EXPECT_EQ(settings_.auto_refresh, before.auto_refresh);
  EXPECT_EQ(settings_.byte_delay, before.byte_delay);
  EXPECT_EQ(ConfigText(), file_before);
  EXPECT_FALSE(form().Timer3->isActive());
}

TEST_F(SettingsButtonTest, ClosingByTheFrameAfterAnEarlierOkChangesNothing) {
  StartWithDialog(1);
  OpenDialog([](ToptForm& dialog) { dialog.BitBtn2->click(); });
  const Settings after_ok = settings_;
  OpenDialog([](ToptForm& dialog) {
    dialog.MoveRadio->click();
    dialog.close();
  });
  EXPECT_EQ(settings_.drag_mode, after_ok.drag_mode);
  EXPECT_TRUE(form().Timer3->isActive());
}

}  // namespace
}  // namespace quorvel::test
