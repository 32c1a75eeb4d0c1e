// Tests of the colour selection dialog and the add-icon commands: the panels, boxes and
// previews, Button2's other picture, the picture checks, and the ICONDATA_VMS save built in
// "~ico._" and imported into the pane's card.
#include <unistd.h>

#include <QImage>
#include <QTimer>
#include <fstream>

#include "card/block_io.h"
#include "card/bmp_file.h"
#include "card/card_icon_file.h"
#include "card/dci_file.h"
#include "gui/file_chooser.h"
#include "gui/scripted_chooser.h"
#include "gui/tselcolorform.h"
#include "gui/win_colors.h"
#include "gui/window_fixture.h"

namespace quorvel::test {
namespace {

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A picture whose palette entry i is (i, 2i, 3i) + 40 and whose top-left quarter uses `index`.
IconImage Picture(std::uint8_t index) {
  IconImage image;
  for (std::size_t i = 0; i < 256; ++i) {
    const auto c = static_cast<std::uint8_t>(40 + i);
    image.SetColour(i, Bgr{c, static_cast<std::uint8_t>(c * 2), static_cast<std::uint8_t>(c * 3)});
  }
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) image.SetPixel(x, y, index);
  }
  return image;
}

void WriteBmp(const std::filesystem::path& path, const IconImage& image) {
  ASSERT_TRUE(WriteIconBmp(image, path));
}

// A BMP with an information header of the given size and depth, all pixels 0.
std::vector<std::uint8_t> PlainBmp(int width, int height, int bits) {
  const int palette = bits == 8 ? 1024 : 0;
  const int row = (width * bits / 8 + 3) / 4 * 4;
  const int offset = 54 + palette;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(offset + row * height), 0);
  auto put = [&](std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, static_cast<std::uint32_t>(bytes.size()), 4);
  put(10, static_cast<std::uint32_t>(offset), 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(width), 4);
  put(22, static_cast<std::uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, static_cast<std::uint32_t>(bits), 2);
  put(34, static_cast<std::uint32_t>(row * height), 4);
  return bytes;
}

// Byte o of the save's data in a single-save file (blocks in link order).
std::uint8_t SaveByte(const std::vector<std::uint8_t>& file, std::size_t o) {
  return file.at(32 + (o ^ 3));
}

class SelcolorFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("quorvel_selcolor_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string WorkDir() const { return dir_.string() + "/"; }

  std::filesystem::path dir_;
  ScriptedChooser chooser_;
  TselcolorForm form_{&chooser_};
};

TEST_F(SelcolorFormTest, ControlsCarryTheirTextsHintsAndLimits) {
  EXPECT_EQ(form_.windowTitle().toStdString(), "顏色選擇");
  EXPECT_EQ(form_.Label1->text().toStdString(), "畫面");
  EXPECT_EQ(form_.Label2->text().toStdString(), "LCD");
  EXPECT_EQ(form_.Label3->text().toStdString(), "圖示名稱 :");
  EXPECT_EQ(form_.Button1->text().toStdString(), "確認");
  EXPECT_EQ(form_.Button2->text().toStdString(), "另外開啟檔案");
  EXPECT_EQ(form_.Button3->text().toStdString(), "自動選擇");
  EXPECT_EQ(form_.Button2->toolTip().toStdString(), "用其他圖片作 LCD 畫面的圖示");
  EXPECT_EQ(form_.Edit1->maxLength(), 32);
  EXPECT_EQ(form_.Edit1->toolTip().toStdString(), "整張記憶卡的名稱");
  EXPECT_EQ(form_.Image1->size(), QSize(64, 64));
  EXPECT_TRUE(form_.Image2->hasScaledContents());
  // Four rows of four, each box right of its panel.
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(form_.Panel[k]->objectName(), QStringLiteral("Panel%1").arg(k + 1));
    EXPECT_EQ(form_.CheckBox[k]->x(), form_.Panel[k]->geometry().right() + 5);
    EXPECT_EQ(form_.Panel[k]->y(), form_.Panel[k / 4 * 4]->y());
    EXPECT_EQ(form_.Panel[k]->x(), form_.Panel[k % 4]->x());
    EXPECT_EQ(form_.CheckBox[k]->toolTip().toStdString(),
              "已選的顏色會顯示在 LCD 畫面配合的圖形上");
  }
  EXPECT_LT(form_.Panel[0]->y(), form_.Panel[4]->y());
}

TEST_F(SelcolorFormTest, PreparationShowsThePaletteAndAWhitePreview) {
  const IconImage picture = Picture(3);
  WriteBmp(dir_ / "pic.bmp", picture);
  form_.Prepare(picture, WorkDir(), Q(dir_ / "pic.bmp"), "No Name");
  EXPECT_EQ(form_.Edit1->text().toStdString(), "No Name");
  for (int k = 0; k < 16; ++k) {
    const Bgr c = picture.Colour(static_cast<std::size_t>(k));
    EXPECT_EQ(BackColor(form_.Panel[k]),
              static_cast<std::uint32_t>(c.blue << 16 | c.green << 8 | c.red));
    EXPECT_FALSE(form_.CheckBox[k]->isChecked());
    EXPECT_EQ(form_.Monochrome.Colour(static_cast<std::size_t>(k)), (Bgr{0xFF, 0xFF, 0xFF}));
  }
  EXPECT_EQ(form_.Monochrome.Colour(16), picture.Colour(16));  // only the first 16 change
  const auto preview = ReadAll(dir_ / "~ico2.bmp");
  EXPECT_EQ(preview.size(), kIconBmpSize);
  EXPECT_EQ(form_.Image2->pixmap().toImage().pixelColor(0, 0), QColor(Qt::white));
  EXPECT_EQ(form_.Image1->pixmap().toImage().pixelColor(0, 0),
            QColor(picture.Colour(3).red, picture.Colour(3).green, picture.Colour(3).blue));
}

TEST_F(SelcolorFormTest, CheckingAColourDarkensItInSourceFileAndPreview) {
  const IconImage picture = Picture(3);
  WriteBmp(dir_ / "pic.bmp", picture);
  form_.Prepare(picture, WorkDir(), Q(dir_ / "pic.bmp"), "No Name");
  const auto untouched = ReadAll(dir_ / "~ico2.bmp");

  form_.CheckBox[7]->click();  // a colour no pixel uses: the picture stays white
  EXPECT_EQ(form_.Monochrome.Colour(7), (Bgr{0, 0, 0}));
  EXPECT_EQ(form_.Image2->pixmap().toImage().pixelColor(0, 0), QColor(Qt::white));

  form_.CheckBox[3]->click();
  EXPECT_EQ(form_.DarkColours(), std::bitset<16>((1 << 3) | (1 << 7)));
  const QImage shown = form_.Image2->pixmap().toImage();
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::black));    // top-left quarter: index 3
  EXPECT_NE(shown.pixelColor(31, 31), QColor(Qt::black));  // elsewhere: index 0
  EXPECT_NE(ReadAll(dir_ / "~ico2.bmp"), untouched);
  IconImage from_file;
  ASSERT_EQ(ReadIconBmp(from_file, dir_ / "~ico2.bmp"), BmpReadResult::kOk);
  EXPECT_EQ(from_file.bytes, form_.Monochrome.bytes);

  form_.CheckBox[3]->click();
  EXPECT_EQ(form_.Monochrome.Colour(3), (Bgr{0xFF, 0xFF, 0xFF}));
}

TEST_F(SelcolorFormTest, Button2LoadsAnotherPictureAsTheMonochromeSource) {
  const IconImage first = Picture(3);
  const IconImage second = Picture(9);
  WriteBmp(dir_ / "first.bmp", first);
  WriteBmp(dir_ / "second.bmp", second);
  form_.Prepare(first, WorkDir(), Q(dir_ / "first.bmp"), "No Name");
  form_.CheckBox[3]->click();

  chooser_.answer = Q(dir_ / "second.bmp");
  form_.Button2->click();
  EXPECT_EQ(chooser_.asked.back().toStdString(), "Bitmaps (*.bmp)|*.BMP");
  EXPECT_EQ(form_.Monochrome.Pixel(0, 0), 9);
  EXPECT_FALSE(form_.CheckBox[3]->isChecked());
  EXPECT_EQ(form_.Image1->pixmap().toImage().pixelColor(0, 0),
            QColor(second.Colour(9).red, second.Colour(9).green, second.Colour(9).blue));

  // A file that is not an icon picture keeps the source; the boxes start over.
  WriteAll(dir_ / "small.bmp", PlainBmp(16, 16, 8));
  form_.CheckBox[9]->click();
  chooser_.answer = Q(dir_ / "small.bmp");
  form_.Button2->click();
  EXPECT_EQ(form_.Monochrome.Pixel(0, 0), 9);
  EXPECT_FALSE(form_.CheckBox[9]->isChecked());

  chooser_.answer.reset();  // cancelled: nothing changes
  form_.CheckBox[9]->click();
  form_.Button2->click();
  EXPECT_TRUE(form_.CheckBox[9]->isChecked());
}

// The add-icon commands of the main window, with the dialog driven while it is open.
class AddIconTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig(1);
    files_ = &chooser_;
    WriteBmp(work_ / "NA.bmp", Picture(0));  // the picture panes show for a save without icon
  }
  void Attach() {
    selcolor_ = std::make_unique<TselcolorForm>(nullptr, &form());
    form().AttachSelcolorForm(selcolor_.get());
  }
  void StartWithImage(const CardBuilder& card) {
    const auto image = WriteCard("image.dcm", card);
    StartNothing();
    Attach();
    ASSERT_TRUE(OpenImageFile(form().FileCard, image.string()));
    form().RefreshImage();
    messages_.texts.clear();
  }
  // Runs a pane's command; `in_dialog` runs while the colour dialog is open.
  void AddIcon(QAction* command, const std::function<void(TselcolorForm&)>& in_dialog = {}) {
    dialog_opened_ = false;
    timer3_ran_in_dialog_ = false;
    QTimer::singleShot(0, selcolor_.get(), [this, in_dialog] {
      if (!selcolor_->isVisible()) return;
      dialog_opened_ = true;
      timer3_ran_in_dialog_ = form().Timer3->isActive();
      if (in_dialog) in_dialog(*selcolor_);
      selcolor_->Button1->click();
    });
    command->trigger();
  }
  static const SaveRecord* Listed(const CardImage& card, const std::string& name) {
    for (int i = 0; i < card.listed_count; ++i) {
      const SaveRecord& record = card.records[card.list_order[i]];
      if (record.name == name) return &record;
    }
    return nullptr;
  }
  void TearDown() override {
    selcolor_.reset();
    WindowTest::TearDown();
  }

  ScriptedChooser chooser_;
  std::unique_ptr<TselcolorForm> selcolor_;
  bool dialog_opened_ = false;
  bool timer3_ran_in_dialog_ = false;
};

TEST_F(AddIconTest, RefusedPicturesShowTheFormatMessageAndChangeNothing) {
  StartWithImage(CardBuilder());
  WriteAll(root_ / "deep.bmp", PlainBmp(32, 32, 24));
  WriteAll(root_ / "small.bmp", PlainBmp(16, 16, 8));
  for (const char* name : {"deep.bmp", "small.bmp"}) {
    chooser_.answer = Q(root_ / name);
    AddIcon(form().LOADBMPPIC1);
    EXPECT_FALSE(dialog_opened_) << name;
    ASSERT_EQ(messages_.texts.size(), 1u) << name;
    EXPECT_EQ(messages_.texts[0], " BMP 檔案類型必須是 32 x 32 像素, 256 調色板和 8-bits 格式.");
    messages_.texts.clear();
  }
  EXPECT_FALSE(std::filesystem::exists(work_ / "~ico._"));
  EXPECT_EQ(form().FileCard.listed_count, 0);

  chooser_.answer.reset();  // cancelled: no message, nothing changes
  AddIcon(form().LOADBMPPIC1);
  EXPECT_FALSE(dialog_opened_);
  EXPECT_TRUE(messages_.texts.empty());
  // Started in the folder of the pictures chosen before.
  EXPECT_EQ(chooser_.asked.back().toStdString(), "Bitmaps (*.bmp)|" + (root_ / "*.BMP").string());

  chooser_.answer = Q(root_ / "missing.bmp");
  AddIcon(form().LOADBMPPIC1);
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_NE(messages_.texts[0].find("missing.bmp"), std::string::npos);
}

TEST_F(AddIconTest, NoColourChosenImportsABlankMonochromeIconListedAsTheCardLogo) {
  StartWithImage(CardBuilder().Add({.name = "GAMEDATA", .blocks = 3, .icons = 1}));
  IconImage picture = Picture(17);  // index 17 wraps to colour 1
  WriteBmp(root_ / "logo.bmp", picture);
  chooser_.answer = Q(root_ / "logo.bmp");
  AddIcon(form().LOADBMPPIC1,
          [](TselcolorForm& dialog) { EXPECT_EQ(dialog.Edit1->text().toStdString(), "No Name"); });
  ASSERT_TRUE(dialog_opened_);
  EXPECT_TRUE(messages_.texts.empty());

  const auto file = ReadAll(work_ / "~ico._");
  ASSERT_EQ(file.size(), kCardIconFileSize);
  for (std::size_t o = 0x20; o < 0xA0; ++o) ASSERT_EQ(SaveByte(file, o), 0) << o;
  EXPECT_EQ(SaveByte(file, 0xC0), 0x11);  // top-left pixels: index 17 kept as 1
  EXPECT_EQ(SaveByte(file, 0xC0 + 8), 0x00);
  std::string description;
  for (std::size_t o = 0; o < 16; ++o) description += static_cast<char>(SaveByte(file, o));
  EXPECT_EQ(description, "No Name         ");

  const SaveRecord* logo = Listed(form().FileCard, "ICONDATA_VMS");
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(logo->description, "VMU CAPTION LOGO");
  EXPECT_EQ(logo->size, 2);
  EXPECT_EQ(form().FileCard.listed_count, 2);
  EXPECT_EQ(form().FileListView->count(), 2);
}

// The program builds the colour dialog when an add-icon command first needs it; it then
// serves as the one built at start does.
TEST_F(AddIconTest, ADialogBuiltOnFirstUseServesAsOneBuiltAtStart) {
  const auto image = WriteCard("image.dcm", CardBuilder());
  StartNothing();
  int built = 0;
  TselcolorForm* dialog = nullptr;
  form().AttachSelcolorForm(std::function<TselcolorForm*()>([&] {
    ++built;
    return dialog = new TselcolorForm(nullptr, &form());
  }));
  ASSERT_TRUE(OpenImageFile(form().FileCard, image.string()));
  form().RefreshImage();
  messages_.texts.clear();
  WriteAll(root_ / "small.bmp", PlainBmp(16, 16, 8));
  chooser_.answer = Q(root_ / "small.bmp");
  form().LOADBMPPIC1->trigger();
  EXPECT_EQ(built, 0) << "a refused picture needs no dialog";
  messages_.texts.clear();

  WriteBmp(root_ / "logo.bmp", Picture(1));
  chooser_.answer = Q(root_ / "logo.bmp");
  for (const char* name : {"Quorvel memory card 2026", "Second"}) {
    bool opened = false;
    QTimer::singleShot(0, &form(), [&] {
      ASSERT_NE(dialog, nullptr);
      opened = dialog->isVisible();
      EXPECT_EQ(dialog->Edit1->text().toStdString(), "No Name");
      dialog->Edit1->setText(QString::fromUtf8(name));
      dialog->Button1->click();
    });
    form().LOADBMPPIC1->trigger();
    EXPECT_TRUE(opened) << name;
  }
  EXPECT_EQ(built, 1) << "the same dialog the second time";
  ASSERT_EQ(messages_.texts.size(), 1u) << "the second icon asks before it replaces the first";
  EXPECT_NE(messages_.texts[0].find("ICONDATA_VMS"), std::string::npos);
  EXPECT_NE(Listed(form().FileCard, "ICONDATA_VMS"), nullptr);
}

TEST_F(AddIconTest, CheckedColoursAndTheNameReachTheSave) {
  StartWithImage(CardBuilder());
  WriteBmp(root_ / "logo.bmp", Picture(1));
  chooser_.answer = Q(root_ / "logo.bmp");
  AddIcon(form().LOADBMPPIC1, [](TselcolorForm& dialog) {
    dialog.CheckBox[1]->click();
    dialog.Edit1->setText("Quorvel memory card 2026");
  });
  const auto file = ReadAll(work_ / "~ico._");
  ASSERT_EQ(file.size(), kCardIconFileSize);
  EXPECT_EQ(SaveByte(file, 0x20), 0xFF);  // top row: 16 dark pixels, then 16 light
  EXPECT_EQ(SaveByte(file, 0x21), 0xFF);
  EXPECT_EQ(SaveByte(file, 0x22), 0x00);
  EXPECT_EQ(SaveByte(file, 0x20 + 4 * 16), 0x00);  // row 16: light
  std::string description;
  for (std::size_t o = 0; o < 16; ++o) description += static_cast<char>(SaveByte(file, o));
  EXPECT_EQ(description, "Quorvel memory c");
  EXPECT_NE(Listed(form().FileCard, "ICONDATA_VMS"), nullptr);
}

TEST_F(AddIconTest, ANameTheCardCannotStoreIsSaidAndNothingIsAdded) {
  StartWithImage(CardBuilder());
  WriteBmp(root_ / "logo.bmp", Picture(1));
  chooser_.answer = Q(root_ / "logo.bmp");
  AddIcon(form().LOADBMPPIC1,
          [](TselcolorForm& dialog) { dialog.Edit1->setText(QStringLiteral("我的記憶卡 café")); });
  EXPECT_EQ(messages_.texts, std::vector<std::string>{
                                 " 圖示名稱的字元 我的記憶卡 不能儲存在記憶卡上 (只可用英文字母, "
                                 "數字和西歐字元), 圖示沒有加上. "});
  EXPECT_EQ(Listed(form().FileCard, "ICONDATA_VMS"), nullptr);

  messages_.texts.clear();
  AddIcon(form().LOADBMPPIC1, [](TselcolorForm& dialog) {
    dialog.Edit1->setText(QStringLiteral("Café card 0123456789 我"));  // cut after 16
  });
  EXPECT_TRUE(messages_.texts.empty());
  const auto file = ReadAll(work_ / "~ico._");
  ASSERT_EQ(file.size(), kCardIconFileSize);
  std::string description;
  for (std::size_t o = 0; o < 16; ++o) description += static_cast<char>(SaveByte(file, o));
  EXPECT_EQ(description, "Caf\xE9 card 012345");
}

// The console shows the first icon save of a card, so a second one would never show: the one
// there is replaced after the replace question, and kept when the answer is No.
TEST_F(AddIconTest, AnIconSaveAlreadyThereIsReplacedNotJoined) {
  StartWithImage(CardBuilder().Add({.name = "ICONDATA_VMS", .blocks = 2}).Add({.name = "OTHER"}));
  WriteBmp(root_ / "logo.bmp", Picture(1));
  chooser_.answer = Q(root_ / "logo.bmp");
  const std::string question = " 檔案 ICONDATA_VMS 己存在,是否要取代它嗎? ";
  const auto before = ReadAll(root_ / "image.dcm");
  messages_.answers = {false};
  AddIcon(form().LOADBMPPIC1);
  EXPECT_EQ(messages_.texts, std::vector<std::string>{question});
  EXPECT_EQ(ReadAll(root_ / "image.dcm"), before);

  messages_.texts.clear();
  AddIcon(form().LOADBMPPIC1, [](TselcolorForm& dialog) { dialog.Edit1->setText("New"); });
  EXPECT_EQ(messages_.texts, std::vector<std::string>{question});
  EXPECT_EQ(form().FileCard.listed_count, 2);
  const SaveRecord* logo = Listed(form().FileCard, "ICONDATA_VMS");
  ASSERT_NE(logo, nullptr);
  CardImage& card = form().FileCard;
  std::vector<std::uint8_t> stored;
  ASSERT_EQ(BuildDci(card, static_cast<std::size_t>(logo - card.records.data()), stored),
            DciExportError::kNone);
  const auto file = ReadAll(work_ / "~ico._");
  EXPECT_TRUE(std::equal(stored.begin() + 32, stored.end(), file.begin() + 32, file.end()));
  EXPECT_EQ(Reloaded(card), std::vector<std::string>{});
}

TEST_F(AddIconTest, AFullCardSaysSoAndIsNotRefreshed) {
  StartWithImage(CardBuilder().Add({.name = "BIG", .blocks = 199}));
  WriteBmp(root_ / "logo.bmp", Picture(1));
  chooser_.answer = Q(root_ / "logo.bmp");
  AddIcon(form().LOADBMPPIC1);
  ASSERT_TRUE(dialog_opened_);
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{"空間不足."}));
  EXPECT_EQ(Listed(form().FileCard, "ICONDATA_VMS"), nullptr);
  EXPECT_FALSE(form().waitForm->isVisible());
}

TEST_F(AddIconTest, SlotCommandsWorkOnLivePanesOnlyAndPauseTheRefresh) {
  StartTwoSlot(CardBuilder(), CardBuilder());
  Attach();
  WriteBmp(root_ / "logo.bmp", Picture(2));
  chooser_.answer = Q(root_ / "logo.bmp");
  AddIcon(form().SLOT1LOADBMP1);  // slot 1 not read yet: the command does nothing
  EXPECT_TRUE(chooser_.asked.empty());
  EXPECT_FALSE(dialog_opened_);

  Detect();
  form().RefreshSlot1();
  form().RefreshSlot2();
  ASSERT_TRUE(form().Slot1Loaded && form().Slot2Loaded);
  messages_.texts.clear();
  ASSERT_TRUE(form().Timer3->isActive());
  AddIcon(form().S1);
  ASSERT_TRUE(dialog_opened_);
  EXPECT_FALSE(timer3_ran_in_dialog_);
  EXPECT_TRUE(form().Timer3->isActive());
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_NE(Listed(form().Slot2Card, "ICONDATA_VMS"), nullptr);
  EXPECT_EQ(Listed(form().Slot1Card, "ICONDATA_VMS"), nullptr);

  AddIcon(form().SLOT1LOADBMP1);
  EXPECT_NE(Listed(form().Slot1Card, "ICONDATA_VMS"), nullptr);
}

}  // namespace
}  // namespace quorvel::test
