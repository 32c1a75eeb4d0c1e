// The window's card commands on the link worker: a question the card layer asks on the way is
// answered on the window thread (here by the scripted message seam), the wait window's Cancel
// stops a restore with the card put back, and closing the window during a backup stops it with
// no file written, then closes the window.
#include <QCoreApplication>
#include <QPushButton>
#include <QThread>

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

}  // namespace
}  // namespace quorvel::test
