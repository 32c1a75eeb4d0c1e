// The window's card commands on the link worker: a question the card layer asks on the way is
// answered on the window thread (here by the scripted message seam), the wait window's Cancel
// stops a restore with the card put back, and closing the window during a backup stops it with
// no file written, then closes the window.
#include "gui/link_worker.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>

#include "card/cancel.h"
#include "gui/file_chooser.h"
#include "gui/window_fixture.h"
#include "support/card_files.h"

namespace quorvel::test {
namespace {

using testing::ReadFile;

SaveSpec Data(const std::string& name, int blocks = 1) {
  return {.name = name, .blocks = blocks, .icons = 1};
}

// Every chooser answers with the one file the test names.
class OneFileChooser : public FileChooser {
 public:
  std::optional<QString> ChooseOpenFile(const QString&, const QString&) override { return path; }
  std::optional<QString> ChooseSaveFile(const QString&, const QString&, const QString&,
                                        bool) override {
    return path;
  }
  std::optional<QString> ChooseCardName(const QString&, const QString& preset) override {
    return preset;
  }
  QString path;
};

class LinkWorkerTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
    files_ = &chooser_;
  }

  // Runs `action` once, the first time the progress bar reaches `value` while a command runs.
  void AtProgress(int value, std::function<void()> action) {
    QObject::connect(form().ProgressBar1, &QProgressBar::valueChanged, &form(),
                     [this, value, action = std::move(action), done = false](int now) mutable {
                       if (done || now < value || !form().CommandRunning()) return;
                       done = true;
                       action();
                     });
  }

  OneFileChooser chooser_;
};

TEST_F(LinkWorkerTest, TheReplaceQuestionOfACopyIsAskedOnTheWindowThreadWhileTheCopyRuns) {
  StartLoaded(CardBuilder().Add(Data("SAME", 2)), CardBuilder().Add(Data("SAME", 5)));
  bool running = false;
  bool on_window_thread = false;
  messages_.on_ask = [&] {
    running = form().CommandRunning();
    on_window_thread = QThread::currentThread() == form().thread();
  };
  messages_.answers = {true};
  form().CopyToPane(kPaneSlot1, form().Slot1Card.list_order[0], kPaneSlot2);
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 SAME         己存在,是否要取代它嗎? "});
  EXPECT_TRUE(running) << "asked by the copy on the worker";
  EXPECT_TRUE(on_window_thread);
  EXPECT_FALSE(form().CommandRunning());
  ASSERT_EQ(Captions(kPaneSlot2).size(), 1u);
  EXPECT_EQ(form().Slot2Card.records[form().Slot2Card.list_order[0]].size, 2);
  EXPECT_EQ(Reloaded(form().Slot2Card), std::vector<std::string>{});
}

TEST_F(LinkWorkerTest, CancelDuringARestorePutsTheCardBackAndSaysSo) {
  StartLoaded(CardBuilder().Add(Data("OLD", 4)), CardBuilder());
  const std::filesystem::path image =
      WriteCard("new.dcm", CardBuilder().Add(Data("NEW1", 6)).Add(Data("NEW2", 3)));
  const std::vector<std::uint8_t> before = ReadFile(CardPath("slot1.dcm"));
  chooser_.path = QString::fromStdString(image.string());
  messages_.answers = {true};
  bool wait_shown = false;
  AtProgress(40, [&] {
    wait_shown = wait_->isVisible();
    wait_->CancelButton->click();
  });
  form().SLOT1LOADDCM1Click();
  EXPECT_TRUE(wait_shown);
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), before) << "the old blocks written back";
  ASSERT_EQ(messages_.texts.size(), 2u);
  EXPECT_EQ(messages_.texts[1], CancelledMessage(CancelOutcome::kPutBack));
  EXPECT_EQ(Captions(kPaneSlot1).size(), 1u) << "the pane lists the card as it is";
  EXPECT_TRUE(form().Slot1Loaded);
  EXPECT_FALSE(wait_->isVisible());

  // The next command is not stopped by the earlier request.
  messages_.texts.clear();
  messages_.answers = {true};
  form().SLOT1LOADDCM1Click();
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), ReadFile(image));
  EXPECT_EQ(Captions(kPaneSlot1).size(), 2u);
}

TEST_F(LinkWorkerTest, ClosingTheWindowDuringABackupStopsItWritesNoFileThenCloses) {
  StartLoaded(CardBuilder().Add(Data("ALPHA", 3)), CardBuilder());
  const std::filesystem::path dump = root_ / "dump.dcm";
  chooser_.path = QString::fromStdString(dump.string());
  bool refused_close = false;
  AtProgress(20, [&] {
    form().close();
    refused_close = form().isVisible();
  });
  form().SLOT1SAVEAS1Click();
  EXPECT_TRUE(refused_close) << "the window waits for the command to stop";
  EXPECT_FALSE(std::filesystem::exists(dump));
  for (const auto& entry : std::filesystem::directory_iterator(root_)) {
    EXPECT_EQ(entry.path().filename().string().find("dump"), std::string::npos)
        << "no partial file: " << entry.path();
  }
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{CancelledMessage(CancelOutcome::kNothingWritten, true)});
  QCoreApplication::processEvents();
  EXPECT_FALSE(form().isVisible()) << "closed once the command stopped";
}

// Work asked for from the window thread while a command runs on the worker (an event handled
// during the wait) waits behind that command on the worker: it never runs beside it on the
// window thread.
TEST(LinkWorkerNesting, WorkAskedForDuringACommandRunsAfterItOnTheWorker) {
  EnsureApplication();
  LinkWorker worker;
  std::atomic<bool> asked = false;
  std::atomic<bool> first_ended = false;
  bool second_on_worker = false;
  bool second_after_first = false;
  QTimer::singleShot(0, [&] {
    asked = true;
    worker.Run([&] {
      second_on_worker = worker.OnWorker();
      second_after_first = first_ended;
    });
  });
  worker.Run([&] {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!asked && std::chrono::steady_clock::now() < give_up) QThread::msleep(1);
    QThread::msleep(20);  // time for a second piece of work to overlap, if it could
    first_ended = true;
  });
  EXPECT_TRUE(asked);
  EXPECT_TRUE(second_on_worker);
  EXPECT_TRUE(second_after_first);
  EXPECT_FALSE(worker.Busy());
}

// The port seen through the worker: what the worker does is not counted, a call made on any
// other thread is.
TEST(LinkWorkerNesting, ThePortCountsOnlyAccessesOffTheWorker) {
  EnsureApplication();
  struct Port : PortIo {
    std::uint8_t ReadPort(std::uint16_t) override { return 0x5A; }
    void WritePort(std::uint16_t, std::uint8_t value) override { written = value; }
    std::uint8_t written = 0;
  } port;
  LinkWorker worker;
  WorkerPort checked(port, worker);
  std::uint8_t read = 0;
  worker.Run([&] {
    checked.WritePort(0x378, 1);
    read = checked.ReadPort(0x379);
  });
  EXPECT_EQ(read, 0x5A);
  EXPECT_EQ(port.written, 1);
  EXPECT_EQ(checked.OffWorkerAccesses(), 0);
  checked.WritePort(0x378, 2);
  checked.ReadPort(0x379);
  EXPECT_EQ(checked.OffWorkerAccesses(), 2);
  EXPECT_EQ(port.written, 2);
  checked.Count(false);
  checked.ReadPort(0x379);
  EXPECT_EQ(checked.OffWorkerAccesses(), 2);
}

// Detection, refresh, the automatic refresh's look, a copy and a backup on the two-slot unit,
// and detection, page change, page store and refresh on a paged card: none of it touches the
// port from the window thread (every window test checks this at its end too).
TEST_F(LinkWorkerTest, TheWindowThreadNeverTouchesThePort) {
  StartTwoSlot(CardBuilder().Add(Data("ALPHA", 3)), CardBuilder());
  Detect();
  form().Refresh_Slot1Click();
  form().refresh_slot2Click();
  form().Timer3Timer();
  form().CopyToPane(kPaneSlot1, form().Slot1Card.list_order[0], kPaneSlot2);
  chooser_.path = QString::fromStdString((root_ / "dump.dcm").string());
  form().SLOT1SAVEAS1Click();
  EXPECT_EQ(Captions(kPaneSlot2).size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(root_ / "dump.dcm"));
  EXPECT_GT(unit().Transactions(), 100u);
  EXPECT_EQ(form().PortAccessesOffTheWorker(), 0);
  form_.reset();

  StartPaged(16);
  Detect();
  form().SpinEdit1->setValue(3);
  WhenVisible(wait_.get(), [this] { Fire(wait_->CloseTimer); });
  form().Set16MBtnClick();
  form().Refresh_Slot1Click();
  EXPECT_EQ(unit().Page(), 3);
  EXPECT_EQ(unit().Stored16MPage(), std::optional<std::uint8_t>(3));
  EXPECT_TRUE(form().Slot1Loaded);
  EXPECT_EQ(form().PortAccessesOffTheWorker(), 0);
}

}  // namespace
}  // namespace quorvel::test
