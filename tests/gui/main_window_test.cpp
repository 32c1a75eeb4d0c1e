// The main window at start-up: its controls, the configuration file, the timers, and the
// layouts that the start-up detection chooses for the two-slot unit and for paged cards.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <fstream>
#include <sstream>

#include "gui/win_colors.h"
#include "gui/window_fixture.h"

namespace quorvel::test {
namespace {

using MainWindowTest = WindowTest;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(MainWindowTest, WindowAndControlsAreAsDescribed) {
  WriteQuickConfig();
  StartTwoSlot(std::nullopt, std::nullopt);
  TForm1& f = form();
  EXPECT_EQ(Text(f.windowTitle()), "Quorvel");
  // The specified size is the default and the smallest; the window grows and maximises.
  EXPECT_EQ(f.size(), QSize(665, 561));
  EXPECT_EQ(f.minimumSize(), QSize(665, 561));
  EXPECT_GT(f.maximumWidth(), 665);
  EXPECT_TRUE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(BackColor(&f), 0x404000u);

  struct Caption {
    const char* name;
    const char* text;
    const char* hint;
  };
  const Caption buttons[] = {
      {"BitBtn", "插槽1", "重新整理插槽 1 資料"},
      {"BitBtn1", "插槽2", "重新整理插槽 2 資料"},
      {"BitBtn2", "檔案", ""},
      {"optBitBtn", "設定選項...", "設定連接埠的位置和速度值"},
      {"QUIT", "離開", ""},
      {"EditBtn", "編輯...", "編輯選擇中的資料"},
      {"AsmBtn", "DisAsm.", " 執行反組合程式編輯(Vantric)"},
      {"Set16MBtn", "16M 設定頁數", ""},
      {"SpeedButton1", "DCM", "上載 VMU 頁數"},
      {"SpeedButton2", "DCI", " 加上儲存檔案"},
      {"SpeedButton3", "DCM", "上載 VMU 頁數"},
      {"SpeedButton4", "DCI", " 加上儲存檔案"},
      {"SpeedButton5", "DCM", "上載 VMU 頁數"},
      {"SpeedButton6", "DCI", " 加上儲存檔案"},
  };
  for (const Caption& c : buttons) {
    auto* button = f.findChild<QAbstractButton*>(c.name);
    ASSERT_NE(button, nullptr) << c.name;
    EXPECT_EQ(Text(button->text()), c.text) << c.name;
    EXPECT_EQ(Text(button->toolTip()), c.hint) << c.name;
  }
  const Caption labels[] = {
      {"SLOT1", "插槽1", ""},
      {"SLOT2", "插槽2", ""},
      {"Panel9", "檔案", ""},
      {"Label3", "Quorvel V2.3b", ""},
      {"Label4", "中文版", ""},
      {"Label1", "Kestra", ""},
      {"Label6", "頁數:", ""},
      {"Label5", "連接等待中..", ""},
      {"NamePanel", " 沒有選擇單元", ""},
      {"slot1_sizePanel", "餘下 200 個 Block ", "記憶卡剩餘的空間...."},
      {"slot2_sizePanel", "餘下 200 個 Block ", "記憶卡剩餘的空間...."},
      {"FileCardPanel", "餘下 200 個 Block ", "剩餘的空間...."},
  };
  for (const Caption& c : labels) {
    auto* label = f.findChild<QLabel*>(c.name);
    ASSERT_NE(label, nullptr) << c.name;
    EXPECT_EQ(Text(label->text()), c.text) << c.name;
    EXPECT_EQ(Text(label->toolTip()), c.hint) << c.name;
  }
  EXPECT_EQ(Text(f.Card1ListView->toolTip()), " 資料在插槽1的記憶卡中");
  EXPECT_EQ(Text(f.Card2ListView->toolTip()), "資料在插槽2的記憶卡中");
  EXPECT_EQ(Text(f.FileListView->toolTip()), " 資料在開啟檔案中");
  EXPECT_EQ(Text(f.PageBox()->toolTip()), "按上、下鍵改變頁數");
  for (QListWidget* list : {f.Card1ListView, f.Card2ListView, f.FileListView}) {
    EXPECT_EQ(list->viewMode(), QListView::IconMode);
    EXPECT_EQ(list->flow(), QListView::TopToBottom);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(list->iconSize(), QSize(32, 32));
  }
  EXPECT_EQ(f.Splitter1->orientation(), Qt::Vertical);
  EXPECT_GE(f.Panel7->minimumHeight(), 50);
  EXPECT_GE(f.FilePane->minimumHeight(), 50);

  // The menu items keep their names and captions for the commands behind them.
  EXPECT_EQ(Text(f.findChild<QAction*>("Refresh_Slot1")->text()), "插槽 1 重新整理");
  EXPECT_EQ(Text(f.findChild<QAction*>("refresh_slot2")->text()), "插槽 2 重新整理");
  EXPECT_EQ(Text(f.findChild<QAction*>("SLOT1LOADDCI1")->text()), " 加上 DCI  檔案");
  EXPECT_EQ(Text(f.findChild<QAction*>("LOADDCMfile1")->text()), "開啟 DCM  檔案");
  EXPECT_EQ(Text(f.findChild<QAction*>("N240Blocks1")->text()), "240 Blocks");
  EXPECT_EQ(Text(f.findChild<QMenu*>("format_slot2")->title()), "插槽 2 全部刪除( 格式化 )");
  EXPECT_EQ(f.findChild<QAction*>("DelSel1")->shortcut(), QKeySequence(Qt::Key_Delete));
}

TEST_F(MainWindowTest, StartWithoutConfigurationWritesTheDefaults) {
  StartNothing();
  EXPECT_EQ(ReadFile(work_ / "DID2.cfg"),
            "888\r\n00000256\r\n00004608\r\n00006912\r\n00009216\r\n0\r\n1\r\n1\r\n1\r\n0\r\n");
  EXPECT_EQ(settings_.byte_delay, 4608);
  EXPECT_TRUE(form().Timer3->isActive());
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(MainWindowTest, StartUpProblemsAreSaidOnceOverTheShownWindow) {
  std::ofstream(work_ / "DID2.cfg", std::ios::binary) << "888\r\nfast\r\n";
  port_problem_ = "/dev/parport0 cannot be opened: Permission denied";
  trace_port_ = true;
  StartNothing();
  EXPECT_EQ(Text(form().Label5->text()), "       No Device") << "at once, not after a detection";
  EXPECT_TRUE(messages_.texts.empty()) << "nothing is said before the window is on the screen";
  QCoreApplication::processEvents();
  ASSERT_EQ(messages_.texts.size(), 2u);
  EXPECT_NE(messages_.texts[0].find("\"fast\" is not a decimal integer"), std::string::npos);
  EXPECT_EQ(messages_.texts[1],
            " 並列埠不能使用: /dev/parport0 cannot be opened: Permission denied ");

  // Neither the detection nor the automatic refresh waits on a port that cannot answer.
  const std::string trace = port_trace_.str();
  Detect();
  form().Timer3Timer();
  EXPECT_EQ(port_trace_.str(), trace);
  EXPECT_FALSE(form().Timer2->isActive());
  EXPECT_FALSE(form().Timer3->isActive());

  form().hide();
  form().show();
  QCoreApplication::processEvents();
  EXPECT_EQ(messages_.texts.size(), 2u) << "said once";
}

TEST_F(MainWindowTest, TheControlLineIsIdleBeforeTheConfigurationIsRead) {
  std::ofstream(work_ / "DID2.cfg", std::ios::binary) << "632\r\n";  // 0x278
  trace_port_ = true;
  StartNothing();
  EXPECT_EQ(port_trace_.str(), "W 037A 00\n") << "at the built-in address, nothing else yet";
}

TEST_F(MainWindowTest, StartUpStateAndTimers) {
  WriteQuickConfig(/*auto_refresh=*/0);
  StartNothing();
  TForm1& f = form();
  EXPECT_EQ(f.Timer1->interval(), 800);
  EXPECT_TRUE(f.Timer1->isActive());
  EXPECT_EQ(f.Timer2->interval(), 1000);
  EXPECT_TRUE(f.Timer2->isActive());
  EXPECT_EQ(f.Timer3->interval(), 1500);
  EXPECT_FALSE(f.Timer3->isActive()) << "automatic refresh is off in the file";
  EXPECT_FALSE(f.MILFlashLabel1->isVisible());
  EXPECT_FALSE(f.Set16MBtn->isVisible());
  EXPECT_FALSE(f.CLOSEDCMFILE1->isEnabled());
  EXPECT_FALSE(f.AsmBtn->isEnabled());
  EXPECT_FALSE(f.Slot1Loaded || f.Slot2Loaded || f.ImageLoaded);
  EXPECT_EQ(f.Panel2->y(), TForm1::kPanel2Parked) << "the selected-save panel starts parked";
  EXPECT_TRUE(construction_pauses_.empty())
      << "the window, not yet on the screen, waited " << construction_pauses_.size()
      << " times while it was built (the panel's slide)";
  EXPECT_EQ(f.NamePanel->y() - f.Panel2->y(), -34);
  EXPECT_EQ(f.Panel3->x(), TForm1::kPanel3Parked);
  EXPECT_EQ(f.Slot1Card.source, 0);
  EXPECT_EQ(f.Slot2Card.source, 1);
  EXPECT_EQ(f.FileCard.source, 2);
  EXPECT_EQ(f.WorkDir.back(), '/');

  // No unit: the detection changes nothing but stops itself.
  Detect();
  EXPECT_FALSE(f.Timer2->isActive());
  EXPECT_EQ(Text(f.Label5->text()), "       No Device");
  EXPECT_TRUE(f.Card2ListView->isVisible());

  // The first tick greys all three panes and disables their commands.
  f.PaneTick();
  EXPECT_EQ(BackColor(f.Card1ListView), 0xBBBBBBu);
  EXPECT_EQ(FontColor(f.SLOT1), 0x808180u);
  EXPECT_EQ(FontColor(f.Panel9), 0x9F9F00u);
  EXPECT_EQ(FontColor(f.slot1_sizePanel), BackColor(f.slot1_sizePanel));
  EXPECT_FALSE(f.SLOT1SAVEAS1->isEnabled());
  EXPECT_FALSE(f.SpeedButton5->isEnabled());
  EXPECT_FALSE(f.DelSel1->isEnabled());
  EXPECT_TRUE(f.Refresh_Slot1->isEnabled());
  EXPECT_TRUE(f.NEWDCMFILE1->isEnabled());
  EXPECT_TRUE(f.SpeedButton1->isEnabled());
}

TEST_F(MainWindowTest, TheWaitWindowIsBuiltWhenFirstShown) {
  StartNothing();
  TForm1& f = form();
  f.waitForm = nullptr;
  int built = 0;
  f.AttachWaitForm(std::function<TwaitForm*()>([&] {
    ++built;
    return wait_.get();
  }));
  f.RepaintWindow();
  f.HideWaitWindow();
  EXPECT_EQ(built, 0) << "painting and hiding need no wait window";
  f.ShowWaitWindow();
  f.ShowWaitWindow();
  EXPECT_EQ(built, 1);
  EXPECT_TRUE(wait_->isVisible());
  f.HideWaitWindow();
  EXPECT_FALSE(wait_->isVisible());
}

TEST_F(MainWindowTest, TwoSlotUnitShowsBothSlotPanes) {
  WriteQuickConfig();
  StartTwoSlot(CardBuilder(), CardBuilder());
  Detect();
  TForm1& f = form();
  EXPECT_EQ(Text(f.Label5->text()), "Vantric");
  EXPECT_EQ(f.Label5->width(), 217);
  EXPECT_EQ(f.HighestPage, 0);
  EXPECT_TRUE(f.Card2ListView->isVisible());
  EXPECT_TRUE(f.SLOT2->isVisible());
  EXPECT_TRUE(f.BitBtn1->isEnabled());
  EXPECT_FALSE(f.Panel3->isVisible());
  EXPECT_EQ(f.findChild<QSpinBox*>("SpinEdit1"), nullptr) << "only a paged card needs it";
  EXPECT_FALSE(f.MILFlashLabel1->isVisible());
  EXPECT_GE(f.Panel8->width(), 210);
  EXPECT_FALSE(f.Timer2->isActive());
  EXPECT_TRUE(unit().Violations().empty());
}

TEST_F(MainWindowTest, SixteenMegabytePagedCard) {
  WriteQuickConfig();
  StartPaged(16);
  Detect();
  TForm1& f = form();
  EXPECT_EQ(Text(f.Label5->text()), "ORIEL 16M");
  EXPECT_EQ(f.HighestPage, 15);
  EXPECT_TRUE(f.Set16MBtn->isVisible());
  EXPECT_TRUE(f.MILFlashLabel1->isVisible());
  EXPECT_EQ(Text(f.MILFlashLabel1->text()), " 轉頁 : 0");
  EXPECT_EQ(FontColor(f.MILFlashLabel1), 0x80A0D0u);
  EXPECT_FALSE(f.Card2ListView->isVisible());
  EXPECT_FALSE(f.SLOT2->isVisible());
  EXPECT_FALSE(f.slot2_sizePanel->isVisible());
  EXPECT_FALSE(f.BitBtn1->isEnabled());
  EXPECT_GE(f.Panel7->width(), 417);
  EXPECT_EQ(unit().Page(), 0) << "the page is put back after measuring";
  ASSERT_NE(f.findChild<QSpinBox*>("SpinEdit1"), nullptr) << "built when the paged card is found";
  EXPECT_EQ(f.SpinEdit1->value(), 0);
  QWidget* next = f.SpinEdit1->nextInFocusChain();
  while (next->focusPolicy() == Qt::NoFocus || f.SpinEdit1->isAncestorOf(next)) {
    next = next->nextInFocusChain();
  }
  EXPECT_EQ(next, f.Set16MBtn) << "Tab goes on from the page box as in its panel";

  // Stepping the page: the card takes at most its highest page.
  f.PageBox()->setValue(300);  // 300 AND 0xFF = 44, clamped by the card to 15
  EXPECT_EQ(f.PageBox()->value(), 15);
  EXPECT_EQ(f.CurrentPage, 15);
  f.PageBox()->setValue(-1);  // sends page 255
  EXPECT_EQ(f.PageBox()->value(), 15);

  // Storing the page keeps the modal wait window up until its 18-second timer closes it.
  bool was_modal = false;
  int close_interval = 0;
  WhenVisible(wait_.get(), [&] {
    was_modal = wait_->isModal();
    close_interval = wait_->CloseTimer->isActive() ? wait_->CloseTimer->interval() : 0;
    Fire(wait_->CloseTimer);
  });
  f.Set16MBtnClick();
  EXPECT_TRUE(was_modal);
  EXPECT_EQ(close_interval, 18000);
  EXPECT_FALSE(wait_->isVisible());
  EXPECT_FALSE(wait_->CloseTimer->isActive());
  EXPECT_FALSE(f.Set16MBtn->isVisible());
  EXPECT_EQ(unit().Stored16MPage(), std::optional<std::uint8_t>(15));
  EXPECT_TRUE(unit().Violations().empty());
}

TEST_F(MainWindowTest, PageCommandFailuresAreReported) {
  WriteQuickConfig();
  StartPaged(16);
  Detect();
  TForm1& f = form();
  // The page is set, but reading it back gets no answer.
  unit().InjectFault(unit().Transactions() + 2, Fault{.kind = FaultKind::kNoAnswer});
  f.PageBox()->setValue(3);
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_EQ(messages_.texts[0], " 連接錯誤,請檢查程式的速度值,電源和連接器. ");
  EXPECT_EQ(Text(f.Label5->text()), "  -沒硬體連接-");

  // Storing the page fails: no wait window, the button stays.
  unit().InjectFault(unit().Transactions() + 2, Fault{.kind = FaultKind::kNoAnswer});
  f.Set16MBtnClick();
  ASSERT_EQ(messages_.texts.size(), 2u);
  EXPECT_EQ(messages_.texts[1], " 連接錯誤,請檢查16M 記憶卡,程式的速度值,電源和連接器.");
  EXPECT_FALSE(wait_->isVisible());
  EXPECT_TRUE(f.Set16MBtn->isVisible());
}

TEST_F(MainWindowTest, PageCountsGiveTheSizeLabel) {
  EXPECT_EQ(PageSizeSuffix(15), "16M");
  EXPECT_EQ(PageSizeSuffix(255), "16M");
  EXPECT_EQ(PageSizeSuffix(14), "8M");
  EXPECT_EQ(PageSizeSuffix(7), "8M");
  EXPECT_EQ(PageSizeSuffix(6), "4M");
  EXPECT_EQ(PageSizeSuffix(3), "4M");
  EXPECT_EQ(PageSizeSuffix(2), "");
  EXPECT_EQ(PageSizeSuffix(1), "2M");
  EXPECT_EQ(PageSizeSuffix(0), "2M");
}

TEST_F(MainWindowTest, TwoPageCardHasNoPageStoreButton) {
  WriteQuickConfig();
  StartPaged(2);
  Detect();
  EXPECT_EQ(Text(form().Label5->text()), "ORIEL 2M");
  EXPECT_FALSE(form().Set16MBtn->isVisible());
}

// While a link call runs on the worker the window handles its events (queued calls, timers,
// paints), but nothing that would start another card command gets through: a click on a slot
// button is refused with a word in the status label, and the start-up detection waits.
TEST_F(MainWindowTest, DuringALinkCallTheWindowLivesButStartsNoOtherCommand) {
  WriteQuickConfig();
  StartNothing();
  TForm1& f = form();
  bool queued_ran = false;
  bool clicked = false;
  std::string said;
  QObject::connect(f.BitBtn, &QPushButton::clicked, &f, [&] { clicked = true; });
  QMetaObject::invokeMethod(
      &f,
      [&] {
        queued_ran = f.CommandRunning();
        const QPoint centre = f.BitBtn->rect().center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
          QMouseEvent event(type, centre, f.BitBtn->mapToGlobal(centre), Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier);
          QCoreApplication::sendEvent(f.BitBtn, &event);
        }
        said = Text(f.Label5->text());
        Fire(f.Timer2);
      },
      Qt::QueuedConnection);
  f.Refresh_Slot1Click();  // a whole failed handshake, on the worker
  EXPECT_TRUE(queued_ran) << "handled while the command ran";
  EXPECT_FALSE(clicked);
  EXPECT_EQ(said, " 資料傳送中, 請等候完成或按取消. ");
  EXPECT_TRUE(f.Timer2->isActive()) << "the detection did not run (it stops its timer)";
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 連接錯誤,請檢查程式的速度值,電源和連接器. "})
      << "one refresh";

  // Afterwards the same click goes through.
  f.BitBtn->click();
  EXPECT_TRUE(clicked);
}

TEST_F(MainWindowTest, QuitClosesTheWindow) {
  WriteQuickConfig();
  StartNothing();
  form().QUIT->click();
  EXPECT_FALSE(form().isVisible());
  EXPECT_FALSE(form().Timer1->isActive());
}

}  // namespace
}  // namespace quorvel::test
