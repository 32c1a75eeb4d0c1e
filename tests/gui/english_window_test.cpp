// The window in English: every window and dialog, opened with the English translation, shows
// no Chinese character in any caption, menu item, hint, title or message (card data aside);
// the core's texts are translated where the window shows them; Qt's own buttons follow the
// language, and the Chinese window keeps its own texts.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <set>

#include "app/core_texts.h"
#include "card/block_io.h"
#include "card/card_texts.h"
#include "card/dcm_file.h"
#include "card/journal.h"
#include "disasm/code_page_texts.h"
#include "gui/dialog_script.h"
#include "gui/hex_printer.h"
#include "gui/message_boxes.h"
#include "gui/tasm86kform.h"
#include "gui/tcopyform.h"
#include "gui/tdelete_form.h"
#include "gui/tminiedform.h"
#include "gui/toptform.h"
#include "gui/translations.h"
#include "gui/tsave_sel_form.h"
#include "gui/tselcolorform.h"
#include "gui/window_fixture.h"
#include "host/translatable.h"

namespace quorvel::test {
namespace {

// CJK ideographs, radicals, kana, fullwidth forms and CJK punctuation.
bool HasCjk(const QString& text) {
  for (const char32_t c : text.toUcs4()) {
    if ((c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
        (c >= 0xFF00 && c <= 0xFFEF)) {
      return true;
    }
  }
  return false;
}

// Every text of `root` and its children that holds a CJK character, as "object: text".
// List rows are left out: they hold card data (block counts and save names).
std::vector<std::string> ChineseTexts(QWidget* root) {
  std::vector<std::string> found;
  const auto check = [&found](const QObject* object, const QString& text) {
    if (HasCjk(text))
      found.push_back(object->objectName().toStdString() + ": " + text.toStdString());
  };
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  widgets.prepend(root);
  for (QWidget* widget : widgets) {
    check(widget, widget->windowTitle());
    check(widget, widget->toolTip());
    check(widget, widget->statusTip());
    if (auto* label = qobject_cast<QLabel*>(widget)) check(label, label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) check(button, button->text());
    if (auto* group = qobject_cast<QGroupBox*>(widget)) check(group, group->title());
    if (auto* menu = qobject_cast<QMenu*>(widget)) check(menu, menu->title());
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) check(edit, edit->placeholderText());
    if (auto* strip = qobject_cast<ScrollStrip*>(widget)) check(strip, strip->Text());
    if (auto* scrolling = qobject_cast<ScrollingText*>(widget)) check(scrolling, scrolling->text());
  }
  for (QAction* action : root->findChildren<QAction*>()) {
    check(action, action->text());
    check(action, action->toolTip());
  }
  return found;
}

SaveSpec Save(const std::string& name, int blocks) {
  return {.name = name, .blocks = blocks, .icons = 1};
}

class EnglishWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
    ASSERT_TRUE(InstallTranslations(Language::kEnglish));
  }
  void TearDown() override {
    RemoveTranslations();
    WindowTest::TearDown();
  }
};

// The same walk in both languages: in English no Chinese anywhere, in Chinese the window's own
// texts. With QUORVEL_GRAB_DIR set, every window is also saved there as a picture
// (NAME-LANGUAGE.png), to look at how the texts fit.
class WindowLanguageTest : public WindowTest, public ::testing::WithParamInterface<Language> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
    ASSERT_TRUE(InstallTranslations(GetParam()));
  }
  void TearDown() override {
    RemoveTranslations();
    WindowTest::TearDown();
  }
  bool English() const { return GetParam() == Language::kEnglish; }
  // The Chinese texts of `window` in English; nothing in Chinese.
  std::vector<std::string> Unexpected(QWidget* window) {
    if (const char* dir = std::getenv("QUORVEL_GRAB_DIR")) {
      window->grab().save(QString::fromUtf8(dir) + "/" + window->objectName() + "-" +
                          QString::fromUtf8(LanguageName(GetParam()).data()) + ".png");
    }
    return English() ? ChineseTexts(window) : std::vector<std::string>{};
  }
};

TEST_P(WindowLanguageTest, EveryWindowAndDialog) {
  StartLoaded(CardBuilder().Add(Save("FIRST", 2)).Add(Save("SECOND", 3)),
              CardBuilder().Add(Save("OTHER", 1)), CardBuilder().Add(Save("IMAGED", 4)));
  TSave_sel_Form save_sel(&form());
  TDelete_Form delete_form(&form());
  TcopyForm copy(&form());
  form().AttachSaveDialogs(&save_sel, &delete_form, &copy);
  ToptForm opt(&form());
  form().AttachOptForm(&opt);
  TMiniEdForm mini_ed(messages_, {}, &form());
  form().AttachMiniEdForm(&mini_ed);
  Tasm86kForm asm86k(messages_, &form());
  form().AttachAsmForm(&asm86k);
  TselcolorForm selcolor(nullptr, &form());
  form().AttachSelcolorForm(&selcolor);
  fmPreview preview(QImage(20, 20, QImage::Format_RGB32), &form());

  // The texts that follow a selection: the name panel and the selection's count and blocks.
  Select(kPaneSlot1, {0, 1});
  form().Card1ListViewClick();
  EXPECT_EQ(Unexpected(&form()), std::vector<std::string>{});
  EXPECT_EQ(Text(form().Info1->text()), English() ? "Slot 1: 2 selected" : " 插槽1 : 2  已選擇");
  EXPECT_EQ(Text(form().Info2->text()), English() ? "5 blocks in all" : "5 Blocks 的總數 ");
  EXPECT_EQ(Text(form().QUIT->text()), English() ? "Quit" : "離開");
  for (QWidget* window :
       std::initializer_list<QWidget*>{&save_sel, &delete_form, &copy, &opt, &mini_ed, &asm86k,
                                       &selcolor, &preview, wait_.get()}) {
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(Unexpected(window), std::vector<std::string>{}) << Text(window->objectName());
    window->hide();
  }
  EXPECT_EQ(Text(mini_ed.Goto1->text()), English() ? "Go to..." : "去到...");

  // The selected-save dialog and the two it leads to, as they are filled for a save.
  std::vector<std::string> in_dialogs;
  {
    Select(kPaneSlot1, {0});
    DialogScript script({{"Save_sel_Form", "BitBtn1"},
                         {"copyForm", "BitBtn3"},
                         {"Save_sel_Form", "BitBtn2"},
                         {"Delete_Form", "BitBtn2"}});
    script.on_each_open = [&] {
      for (const std::string& text : Unexpected(QApplication::activeModalWidget())) {
        in_dialogs.push_back(text);
      }
    };
    form().Card1ListViewDblClick();
    form().Card1ListViewDblClick();
    EXPECT_EQ(script.shown.size(), 4u);
  }
  EXPECT_EQ(in_dialogs, std::vector<std::string>{});

  // Questions and messages of the commands, in the words the message boxes show.
  messages_.yes = false;
  Select(kPaneSlot2, {0});
  form().Slot2DelSel1->trigger();
  form().N200Blocks1->trigger();
  form().N2411->trigger();
  ASSERT_EQ(messages_.texts.size(), 3u);
  if (English()) {
    for (const std::string& text : messages_.texts) EXPECT_FALSE(HasCjk(ShownText(text))) << text;
  } else {
    EXPECT_EQ(messages_.texts[0], " 確定刪除這檔案嗎? ");
  }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, WindowLanguageTest,
                         ::testing::Values(Language::kEnglish, Language::kChinese),
                         [](const ::testing::TestParamInfo<Language>& info) {
                           return std::string(info.param == Language::kEnglish ? "English"
                                                                               : "Chinese");
                         });

TEST_F(EnglishWindowTest, CoreTextsAreShownTranslatedWithTheirValues) {
  for (const CoreText& core : CoreTexts()) {
    const std::string filled = FillText(core.text, {"v1", "v2", "v3"});
    const QString shown = ShownText(filled);
    EXPECT_FALSE(HasCjk(shown)) << core.text;
    for (const char* value : {"v1", "v2", "v3"}) {
      EXPECT_EQ(filled.find(value) != std::string::npos, shown.contains(QLatin1String(value)))
          << core.text << " -> " << shown.toStdString();
    }
  }
  EXPECT_EQ(ShownText(VerifyFailureMessage(12)).toStdString(),
            "Block 12 did not read back as it was written. Stopped.");
  // A reason inside a message is a core text of its own, translated too.
  EXPECT_EQ(
      ShownText(JournalFailureMessage(FillText(kJournalBlockUnreadableText, {"12"}))).toStdString(),
      "The change log cannot be written (block 12 could not be read). The card was not "
      "changed.");
  EXPECT_EQ(ShownText(FillText(kJournalSetAsideText, {"/j/a.qvj", kJournalCorruptText, "/j/b"}))
                .toStdString(),
            "The change log /j/a.qvj is damaged (corrupt). It was kept as /j/b and will not be "
            "used.");
  EXPECT_EQ(ShownText(FillText(kCodeReadErrorText, {"code.bin", kCodeShrankText})).toStdString(),
            "Cannot read code.bin: the file became shorter while it was read");
  // Not a core text: shown as it came.
  EXPECT_EQ(ShownText("card.dcm: 區塊").toStdString(), "card.dcm: 區塊");
}

// Qt's own buttons follow the language; the Chinese window keeps its texts and shows the hex
// editor's in Chinese.
TEST_F(EnglishWindowTest, QtButtonsAndTheHexEditorFollowTheLanguage) {
  MessageBoxes boxes;
  QString text;
  QStringList buttons;
  const auto read_and_answer_no = [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    text = box->text();
    buttons.clear();
    for (QAbstractButton* button : box->buttons()) buttons << button->text().remove('&');
    box->button(QMessageBox::No)->click();
  };
  QTimer::singleShot(0, read_and_answer_no);
  EXPECT_FALSE(boxes.AskYesNo(UnsupportedImageMessage("a.bin", false)));
  EXPECT_EQ(text.toStdString(), "File a.bin: this format is not supported!");
  EXPECT_TRUE(buttons.contains("Yes") && buttons.contains("No")) << buttons.join(",").toStdString();

  ASSERT_TRUE(InstallTranslations(Language::kChinese));
  QTimer::singleShot(0, read_and_answer_no);
  EXPECT_FALSE(boxes.AskYesNo(UnsupportedImageMessage("a.bin", false)));
  EXPECT_EQ(text.toStdString(), " 檔案 : a.bin 的格式並不支援!!!! ");
  if (QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_TW.qm")) {
    // Qt's Traditional Chinese buttons, "是(Y)" and "否(N)".
    EXPECT_TRUE(buttons.join(",").contains(QStringLiteral("是")) &&
                buttons.join(",").contains(QStringLiteral("否")))
        << buttons.join(",").toStdString();
  }
  TMiniEdForm mini_ed(messages_);
  EXPECT_EQ(mini_ed.Datei1->title().toStdString(), "檔案 (&F)");
  EXPECT_EQ(
      QCoreApplication::translate("quorvel::TMiniEdForm", "Goto file position...").toStdString(),
      "去到檔案位置...");
  EXPECT_EQ(QCoreApplication::translate("HexEditor", "Pos : %1").toStdString(), "位置 : %1");
}

}  // namespace
}  // namespace quorvel::test
