// The disassembly and patch window on code files of its own (pages, go-to, patches, typing,
// the ways out), and the main window's disassembly command on a game save in a slot of the
// virtual unit and in an image file.
#include "gui/tasm86kform.h"

#include <QApplication>
#include <QEvent>
#include <QTest>
#include <algorithm>
#include <array>
#include <deque>
#include <fstream>
#include <functional>
#include <iterator>

#include "card/block_io.h"
#include "gui/window_fixture.h"

namespace quorvel::test {
namespace {

// Answers the window's questions from a script, in order, and records every text.
class ScriptedMessages : public RecordingMessages {
 public:
  bool AskYesNo(std::string_view text) override {
    texts.emplace_back(text);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question:" << text;
      return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<bool> answers;
};

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// MOV #00H,PSW (3 bytes), INC fx30 (2), NOP (1), repeated and cut at `size` bytes.
std::vector<std::uint8_t> MixedCode(std::size_t size) {
  static constexpr std::uint8_t kPattern[] = {0x23, 0x01, 0x00, 0x62, 0x30, 0x00};
  std::vector<std::uint8_t> code(size);
  for (std::size_t i = 0; i < size; ++i) code[i] = kPattern[i % 6];
  return code;
}

std::string Text(const QString& text) { return text.toStdString(); }

class Asm86kFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ =
        std::filesystem::temp_directory_path() /
        ("quorvel_asm_" + std::to_string(QCoreApplication::applicationPid()) + "_" + info->name());
    std::filesystem::create_directories(dir_);
    code_ = dir_ / "~ico._";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  void Open(const std::vector<std::uint8_t>& code) {
    WriteAll(code_, code);
    ASSERT_TRUE(form_.OpenCode(code_));
  }
  void GoTo(const char* address) {
    form_.Edit1->setText(address);
    form_.Button2->click();
  }
  std::string Row(int row) const { return Text(form_.AsmListBox->item(row)->text()); }
  // The byte fields shown, in order.
  std::vector<std::string> Bytes() const {
    std::vector<std::string> shown;
    for (QLineEdit* field : {form_.codeed1, form_.codeed2, form_.codeed3}) {
      if (!field->isHidden()) shown.push_back(Text(field->text()));
    }
    return shown;
  }

  std::filesystem::path dir_;
  std::filesystem::path code_;
  ScriptedMessages messages_;
  Tasm86kForm form_{messages_};
};

TEST_F(Asm86kFormTest, TenBlockSaveListsOnOnePage) {
  Open(MixedCode(10 * 512));
  EXPECT_EQ(Text(form_.Label1->text()), " 頁數1的 1");
  ASSERT_EQ(form_.AsmListBox->count(), 853 * 3 + 1);
  EXPECT_EQ(Row(0), "$0000 23 01 00    MOV     #00H,PSW");
  EXPECT_EQ(Row(1), "$0003 62 30       INC     fx30");
  EXPECT_EQ(Row(2), "$0005 00          NOP     ");
  EXPECT_EQ(Row(2559), "$13FE 23 01       MOV     ,PSW") << "cut short by the end of the data";
  EXPECT_EQ(Text(form_.Edit1->text()), "00000000");
  EXPECT_EQ(form_.byte_count(), 0);
  EXPECT_EQ(form_.AsmListBox->currentRow(), -1);
  EXPECT_TRUE(Bytes().empty());
  EXPECT_TRUE(form_.font().bold());
  EXPECT_EQ(form_.font().family(), QStringLiteral("Courier New"));
  EXPECT_EQ(form_.size(), QSize(Tasm86kForm::kWidth, Tasm86kForm::kHeight));
  EXPECT_EQ(form_.minimumSize(), form_.maximumSize()) << "a fixed-size dialog";
  EXPECT_EQ(Text(form_.File1->title()), "檔案");
  EXPECT_EQ(Text(form_.Save1->text()), "儲存及離開");
  EXPECT_EQ(Text(form_.Exit1->text()), "離開");
}

TEST_F(Asm86kFormTest, GoToSelectsTheInstructionAtOrAfterTheAddress) {
  Open(MixedCode(10 * 512));
  GoTo("1");  // inside MOV at 0000
  EXPECT_EQ(form_.AsmListBox->currentRow(), 1);
  EXPECT_EQ(Text(form_.addrLabel->text()), "0003");
  EXPECT_EQ(Bytes(), (std::vector<std::string>{"62", "30"}));
  EXPECT_EQ(form_.byte_count(), 2);

  GoTo("5");  // exactly at the NOP
  EXPECT_EQ(Text(form_.addrLabel->text()), "0005");
  EXPECT_EQ(Bytes(), std::vector<std::string>{"00"});

  form_.AsmListBox->setCurrentRow(0);
  GoTo("");  // an emptied field: the last address it held
  EXPECT_EQ(Text(form_.addrLabel->text()), "0005");
  EXPECT_TRUE(messages_.texts.empty());

  GoTo("13FF");  // inside the last instruction: nothing follows it
  EXPECT_EQ(form_.byte_count(), 0);
  EXPECT_EQ(form_.AsmListBox->currentRow(), -1);
  EXPECT_TRUE(messages_.texts.empty());

  form_.AsmListBox->setCurrentRow(0);  // a click on a line
  GoTo("1400");
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 地址超值."});
  EXPECT_EQ(form_.AsmListBox->currentRow(), 0) << "nothing else changes";
  EXPECT_EQ(Bytes(), (std::vector<std::string>{"23", "01", "00"}));

  form_.show();
  form_.codeed1->setText("FF");
  const QRect line = form_.AsmListBox->visualItemRect(form_.AsmListBox->item(0));
  QTest::mouseClick(form_.AsmListBox->viewport(), Qt::LeftButton, {}, line.center());
  EXPECT_EQ(Bytes(), (std::vector<std::string>{"23", "01", "00"}))
      << "a click shows the line again";
}

TEST_F(Asm86kFormTest, PatchingATwoByteInstructionWritesExactlyTwoBytes) {
  const std::vector<std::uint8_t> code = MixedCode(10 * 512);
  Open(code);
  form_.AsmListBox->setCurrentRow(0);  // the third field now holds 00
  form_.AsmListBox->setCurrentRow(1);
  form_.codeed3->setText("FF");  // a hidden field with a value of its own
  form_.codeed1->setText("72");
  form_.editbtn->click();

  std::vector<std::uint8_t> expected = code;
  expected[3] = 0x72;
  EXPECT_EQ(ReadAll(code_), expected);
  EXPECT_EQ(Row(1), "$0003 72 30       DEC     fx30");
  EXPECT_EQ(form_.AsmListBox->currentRow(), 1) << "the patched instruction stays selected";
  EXPECT_EQ(Bytes(), (std::vector<std::string>{"72", "30"}));
  EXPECT_EQ(Text(form_.Label1->text()), " 頁數 1 的 1");

  // A patch that makes the instruction longer: the listing decodes the changed bytes.
  form_.codeed1->setText("23");
  form_.editbtn->click();
  expected[3] = 0x23;
  EXPECT_EQ(ReadAll(code_), expected);
  EXPECT_EQ(Row(1), "$0003 23 30 00    MOV     #00H,SCON0");
  EXPECT_EQ(Row(2), "$0006 23 01 00    MOV     #00H,PSW");
}

TEST_F(Asm86kFormTest, NonHexCharactersAreUndoneAtOnce) {
  Open(MixedCode(60));
  form_.AsmListBox->setCurrentRow(0);
  form_.codeed1->setFocus();
  form_.codeed1->selectAll();
  QTest::keyClicks(form_.codeed1, "G");
  EXPECT_EQ(Text(form_.codeed1->text()), "23") << "G keeps the previous value";
  form_.codeed1->end(false);
  QTest::keyClick(form_.codeed1, Qt::Key_Backspace);
  QTest::keyClicks(form_.codeed1, "za");
  EXPECT_EQ(Text(form_.codeed1->text()), "2A") << "lower case turns upper";

  form_.Edit1->selectAll();
  QTest::keyClicks(form_.Edit1, "1g0x");
  EXPECT_EQ(Text(form_.Edit1->text()), "10");
  QTest::keyClicks(form_.Edit1, "123456789");
  EXPECT_EQ(Text(form_.Edit1->text()), "10123456") << "at most eight digits";
}

TEST_F(Asm86kFormTest, AnEmptyByteFieldCannotBeWritten) {
  const std::vector<std::uint8_t> code = MixedCode(60);
  Open(code);
  form_.AsmListBox->setCurrentRow(1);
  form_.codeed2->clear();
  EXPECT_FALSE(form_.editbtn->isEnabled());
  form_.editbtnClick();
  EXPECT_EQ(ReadAll(code_), code);
  form_.codeed2->setText("3");
  EXPECT_TRUE(form_.editbtn->isEnabled());
}

TEST_F(Asm86kFormTest, PagesShareOneLineAndGoToShowsThePageHoldingTheAddress) {
  Open(std::vector<std::uint8_t>(20000, 0x00));  // 20000 NOPs
  EXPECT_EQ(Text(form_.Label1->text()), " 頁數1的 3");
  EXPECT_EQ(form_.AsmListBox->count(), 8193);

  GoTo("4000");  // the first line of page 2 is found as the last of page 1
  EXPECT_EQ(Text(form_.Label1->text()), " 頁數 2 的 3");
  EXPECT_EQ(form_.AsmListBox->count(), 8193);
  EXPECT_EQ(Row(0), "$2000 00          NOP     ");
  EXPECT_EQ(form_.AsmListBox->currentRow(), 8192);
  EXPECT_EQ(Text(form_.addrLabel->text()), "4000");

  GoTo("4E1F");
  EXPECT_EQ(Text(form_.Label1->text()), " 頁數 3 的 3");
  EXPECT_EQ(form_.AsmListBox->count(), 20000 - 16384);
  EXPECT_EQ(Text(form_.addrLabel->text()), "4E1F");

  GoTo("0");
  EXPECT_EQ(Text(form_.Label1->text()), " 頁數 1 的 3");
  EXPECT_EQ(form_.AsmListBox->currentRow(), 0);
}

TEST_F(Asm86kFormTest, APatchBeyondFFFFLandsOnTheSelectedBytes) {
  std::vector<std::uint8_t> code(0x11000, 0x00);
  code[0x10004] = 0x62;
  code[0x10005] = 0x30;
  Open(code);
  GoTo("10004");
  EXPECT_EQ(Text(form_.addrLabel->text()), "0004") << "the listing's four digits";
  EXPECT_EQ(Bytes(), (std::vector<std::string>{"62", "30"}));
  form_.codeed1->setText("72");
  form_.editbtn->click();
  const std::vector<std::uint8_t> after = ReadAll(code_);
  EXPECT_EQ(after[0x10004], 0x72);
  EXPECT_EQ(after[0x0004], 0x00) << "not the byte whose address shows the same digits";
  EXPECT_EQ(Text(form_.addrLabel->text()), "0004");
  EXPECT_EQ(Bytes(), (std::vector<std::string>{"72", "30"}));
}

TEST_F(Asm86kFormTest, TheWaysOut) {
  Open(MixedCode(60));
  form_.show();
  form_.Save1->trigger();
  EXPECT_TRUE(form_.saved());
  EXPECT_FALSE(form_.isVisible());

  Open(MixedCode(60));
  EXPECT_FALSE(form_.saved()) << "cleared on opening";
  form_.show();
  messages_.answers = {true};
  form_.Exit1->trigger();
  EXPECT_TRUE(form_.saved());
  EXPECT_FALSE(form_.isVisible());
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 儲存資料? "});

  Open(MixedCode(60));
  form_.show();
  messages_.texts.clear();
  messages_.answers = {false, false};
  form_.Exit1->trigger();
  EXPECT_TRUE(form_.isVisible()) << "No, then No keeps the window";
  EXPECT_FALSE(form_.saved());
  EXPECT_EQ(messages_.texts,
            (std::vector<std::string>{" 儲存資料? ", "  資料還沒儲存,是否退出 ?"}));

  messages_.answers = {false, true};
  form_.Exit1->trigger();
  EXPECT_FALSE(form_.isVisible()) << "No, then Yes leaves without saving";
  EXPECT_FALSE(form_.saved());

  Open(MixedCode(60));
  form_.show();
  form_.close();
  EXPECT_FALSE(form_.saved()) << "closed by its frame";
}

TEST_F(Asm86kFormTest, AMissingCodeFileIsReported) {
  EXPECT_FALSE(form_.OpenCode(dir_ / "absent"));
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_NE(messages_.texts[0].find("absent"), std::string::npos) << messages_.texts[0];
}

// ---- The main window's disassembly command ----------------------------------------------

// Runs `actions` once the window is shown (inside its modal loop), then makes sure it closes.
class WhenShown : public QObject {
 public:
  WhenShown(Tasm86kForm& form, std::function<void(Tasm86kForm&)> actions)
      : form_(form), actions_(std::move(actions)) {
    form_.installEventFilter(this);
  }
  ~WhenShown() override { form_.removeEventFilter(this); }
  int times_shown = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &form_ && event->type() == QEvent::Show) {
      ++times_shown;
      QMetaObject::invokeMethod(
          this,
          [this] {
            actions_(form_);
            if (form_.isVisible()) form_.reject();
          },
          Qt::QueuedConnection);
    }
    return false;
  }

 private:
  Tasm86kForm& form_;
  std::function<void(Tasm86kForm&)> actions_;
};

// A game of 4 blocks (0 to 3) whose code starts MOV #00H,PSW / INC fx30 / NOP, and a data save.
constexpr std::uint8_t kGameCode[] = {0x23, 0x01, 0x00, 0x62, 0x30, 0x00};

class AsmBtnTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
  }

  // Writes the card file with the game's code in block 0 (logical order; files hold link order).
  std::filesystem::path WriteGameCard(const std::string& name) {
    const auto path =
        WriteCard(name, CardBuilder()
                            .Add({.name = "MINIGAME", .blocks = 4, .icons = 1, .game = true})
                            .Add({.name = "DATA", .blocks = 2, .icons = 1}));
    std::vector<std::uint8_t> bytes = ReadAll(path);
    for (std::size_t i = 0; i < std::size(kGameCode); ++i) bytes[i ^ 3] = kGameCode[i];
    WriteAll(path, bytes);
    return path;
  }

  void StartWithGameInSlot1() {
    const auto card = WriteGameCard("slot1.dcm");
    std::string error;
    auto unit = VirtualUnit::TwoSlot(card, std::nullopt, error);
    ASSERT_TRUE(unit) << error;
    Start(std::move(unit));
    form().AttachAsmForm(&asm_);
    form().Refresh_Slot1Click();
    Select(kPaneSlot1, {0});
    form().Card1ListViewClick();
    ASSERT_TRUE(form().AsmBtn->isEnabled());
  }

  // Selects the line of INC fx30, makes it DEC fx30 and writes it to the working file.
  static void PatchInc(Tasm86kForm& window) {
    window.AsmListBox->setCurrentRow(1);
    window.codeed1->setText("72");
    window.editbtn->click();
  }

  // Opens `image` in the image pane and selects its game.
  void SelectGameInImage(const std::filesystem::path& image) {
    form().AttachAsmForm(&asm_);
    ASSERT_TRUE(OpenImageFile(form().FileCard, image.string()));
    form().RefreshImage();
    const CardImage& card = form().FileCard;
    for (int row = 0; row < card.listed_count; ++row) {
      if (card.records[card.list_order[row]].header_in_second_block) Select(kPaneImage, {row});
    }
    form().FileListViewClick();
    ASSERT_TRUE(form().AsmBtn->isEnabled());
  }

  std::filesystem::path WorkingFile() const { return work_ / "~ico._"; }

  ScriptedMessages window_messages_;
  Tasm86kForm asm_{window_messages_};
};

TEST_F(AsmBtnTest, SaveAndExitWritesThePatchBackToTheSameBlocksOfTheSlot) {
  StartWithGameInSlot1();
  std::vector<std::uint8_t> expected = ReadAll(CardPath("slot1.dcm"));
  expected[3 ^ 3] = 0x72;
  bool refresh_paused = false;
  std::string caption;
  WhenShown script(asm_, [&](Tasm86kForm& window) {
    caption = Text(window.windowTitle());
    refresh_paused = !form().Timer3->isActive();
    EXPECT_EQ(Text(window.Label1->text()), " 頁數1的 1");
    EXPECT_EQ(Text(window.AsmListBox->item(1)->text()), "$0003 62 30       INC     fx30");
    PatchInc(window);
    window.Save1->trigger();
  });
  form().AsmBtn->click();
  EXPECT_EQ(script.times_shown, 1);
  EXPECT_EQ(caption, " 檔案 :MINIGAME    ");
  EXPECT_TRUE(refresh_paused) << "no automatic refresh while the save is out";
  EXPECT_TRUE(form().Timer3->isActive()) << "re-armed afterwards";
  EXPECT_EQ(ReadAll(CardPath("slot1.dcm")), expected);
  EXPECT_EQ(ReadAll(WorkingFile()).size(), 4u * 512);
  EXPECT_TRUE(unit().Violations().empty());
  EXPECT_FALSE(wait_->isVisible());
}

TEST_F(AsmBtnTest, ExitWithNoThenYesLeavesTheCardUnchanged) {
  StartWithGameInSlot1();
  const std::vector<std::uint8_t> before = ReadAll(CardPath("slot1.dcm"));
  const std::uint64_t writes = unit().Counters().block_writes;
  window_messages_.answers = {false, true};
  WhenShown script(asm_, [&](Tasm86kForm& window) {
    PatchInc(window);
    window.Exit1->trigger();
    EXPECT_FALSE(window.isVisible());
  });
  form().AsmBtn->click();
  EXPECT_EQ(script.times_shown, 1);
  EXPECT_EQ(ReadAll(CardPath("slot1.dcm")), before);
  EXPECT_EQ(unit().Counters().block_writes, writes);
  EXPECT_EQ(ReadAll(WorkingFile())[3], 0x72) << "the patch stays in the working file only";
}

TEST_F(AsmBtnTest, SaveAndExitWritesThePatchBackIntoTheImage) {
  const auto image = WriteGameCard("image.dcm");
  std::vector<std::uint8_t> expected = ReadAll(image);
  expected[3 ^ 3] = 0x72;
  StartNothing();
  Detect();  // no unit answers: the link's time-out flag stays set
  SelectGameInImage(image);
  ASSERT_EQ(form().SelectedName, "MINIGAME    ");
  WhenShown script(asm_, [&](Tasm86kForm& window) {
    PatchInc(window);
    window.Save1->trigger();
  });
  form().AsmBtnClick();
  EXPECT_EQ(script.times_shown, 1) << "an image save does not depend on the link";
  CloseImageFile(form().FileCard);
  EXPECT_EQ(ReadAll(image), expected);
}

TEST_F(AsmBtnTest, ARealGameIsListedFromItsFirstByteAndTakesAPatchBack) {
  const auto raw = std::filesystem::path(QUORVEL_REALDATA_DIR) / "dreampotato" / "ReadFiles_01.vmu";
  if (!std::filesystem::exists(raw)) GTEST_SKIP() << "no real card data at " << raw;
  std::vector<std::uint8_t> card = ReadAll(raw);  // the card's own byte order
  ASSERT_EQ(card.size(), kImageFileSize);
  for (auto group = card.begin(); group != card.end(); group += 4) std::reverse(group, group + 4);
  const auto image = root_ / "real.dcm";
  WriteAll(image, card);
  StartNothing();
  SelectGameInImage(image);
  const SaveRecord& game = form().SelectedImage->records[form().SelectedSlot];
  ASSERT_TRUE(game.header_in_second_block);
  ASSERT_EQ(game.first_block, 0);  // a game's blocks are 0, 1, 2 ... in this order

  // The first instruction's last byte, inverted.
  std::size_t changed = 0;
  WhenShown script(asm_, [&](Tasm86kForm& window) {
    EXPECT_EQ(window.AsmListBox->item(0)->text().left(6), QStringLiteral("$0000 "));
    window.AsmListBox->setCurrentRow(0);
    changed = static_cast<std::size_t>(window.byte_count() - 1);
    QLineEdit* last = std::array{window.codeed1, window.codeed2, window.codeed3}[changed];
    last->setText(
        QStringLiteral("%1").arg(card[changed ^ 3] ^ 0xFF, 2, 16, QLatin1Char('0')).toUpper());
    window.editbtn->click();
    window.Save1->trigger();
  });
  form().AsmBtnClick();
  ASSERT_EQ(script.times_shown, 1);
  EXPECT_EQ(ReadAll(WorkingFile()).size(), game.size * kBlockSize);
  CloseImageFile(form().FileCard);
  card[changed ^ 3] ^= 0xFF;
  EXPECT_EQ(ReadAll(image), card) << "exactly the one byte changed";
}

TEST_F(AsmBtnTest, NoCardInTheSlotIsReportedAndForgotten) {
  StartWithGameInSlot1();
  unit().RemoveCardAfter(0, 0);
  messages_.texts.clear();
  WhenShown script(asm_, [](Tasm86kForm&) {});
  form().AsmBtn->click();
  EXPECT_EQ(script.times_shown, 0);
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 插槽1沒有記憶卡 "});
  EXPECT_FALSE(form().Slot1Loaded);
  EXPECT_TRUE(form().SelectedName.empty());
  EXPECT_FALSE(std::filesystem::exists(WorkingFile()));
}

TEST_F(AsmBtnTest, ALinkTimeOutWhileReadingStopsBeforeTheWindow) {
  StartWithGameInSlot1();
  // The presence check answers; every block read after it does not.
  const std::uint64_t next = unit().Transactions() + 1;
  for (std::uint64_t t = next + 1; t < next + 400; ++t) unit().InjectFault(t, Fault{});
  messages_.texts.clear();
  WhenShown script(asm_, [](Tasm86kForm&) {});
  form().AsmBtn->click();
  EXPECT_EQ(script.times_shown, 0);
  EXPECT_EQ(messages_.texts, std::vector<std::string>{std::string(kReadConnectionError)});
  EXPECT_TRUE(form().Link().TimedOut());
}

}  // namespace
}  // namespace quorvel::test
