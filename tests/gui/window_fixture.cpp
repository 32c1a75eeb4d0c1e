// The window test rig (see window_fixture.h).
#include "gui/window_fixture.h"

#include <unistd.h>

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <fstream>

#include "card/block_io.h"
#include "card/card_check.h"
#include "card/file_system.h"

namespace quorvel::test {

namespace {

WindowTest* active_window_test = nullptr;  // the test that runs, for Reloaded

}  // namespace

void EnsureApplication() {
  if (QApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

void WindowTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  root_ = std::filesystem::temp_directory_path() /
          (std::string("quorvel_gui_") + info->test_suite_name() + "_" + info->name() + "_" +
           std::to_string(getpid()));
  std::filesystem::remove_all(root_);
  work_ = root_ / "work";
  std::filesystem::create_directories(work_);
  active_window_test = this;
}

void WindowTest::TearDown() {
  if (form_) {
    EXPECT_EQ(form_->PortAccessesOffTheWorker(), 0) << "the window thread touched the port";
  }
  active_window_test = nullptr;
  form_.reset();
  wait_.reset();
  unit_.reset();
  std::filesystem::remove_all(root_);
}

void WindowTest::WriteQuickConfig(int auto_refresh) {
  std::ofstream out(work_ / "DID2.cfg", std::ios::binary);
  out << "888\r\n1\r\n1\r\n1\r\n9216\r\n0\r\n" << auto_refresh << "\r\n";
}

std::filesystem::path WindowTest::WriteCard(const std::string& name,
                                            const CardBuilder& card) const {
  card.Write(root_ / name);
  return root_ / name;
}

void WindowTest::StartTwoSlot(const std::optional<CardBuilder>& slot1,
                              const std::optional<CardBuilder>& slot2) {
  std::optional<std::filesystem::path> path1;
  std::optional<std::filesystem::path> path2;
  if (slot1) path1 = WriteCard("slot1.dcm", *slot1);
  if (slot2) path2 = WriteCard("slot2.dcm", *slot2);
  std::string error;
  auto unit = VirtualUnit::TwoSlot(path1, path2, error);
  ASSERT_TRUE(unit) << error;
  Start(std::move(unit));
}

void WindowTest::StartPaged(int pages, const CardBuilder& page_card) {
  const std::vector<std::uint8_t> page = page_card.LinkBytes();
  const auto path = root_ / "paged.bin";
  {
    std::ofstream out(path, std::ios::binary);
    for (int p = 0; p < pages; ++p) {
      out.write(reinterpret_cast<const char*>(page.data()),
                static_cast<std::streamsize>(page.size()));
    }
  }
  std::string error;
  auto unit = VirtualUnit::Paged(path, error);
  ASSERT_TRUE(unit) << error;
  Start(std::move(unit));
}

void WindowTest::StartNothing() { Start(VirtualUnit::NothingAttached()); }

void WindowTest::StartLoaded(const CardBuilder& slot1, const CardBuilder& slot2,
                             const std::optional<CardBuilder>& image) {
  StartTwoSlot(slot1, slot2);
  Detect();
  form_->Refresh_Slot1Click();
  form_->refresh_slot2Click();
  if (image) {
    ASSERT_TRUE(OpenImageFile(form_->FileCard, WriteCard("image.dcm", *image).string()));
    form_->RefreshImage();
  }
  messages_.texts.clear();
}

void WindowTest::Start(std::unique_ptr<VirtualUnit> unit) {
  unit_ = std::move(unit);
  MainWindowEnv env;
  env.port = unit_.get();
  if (trace_port_) {
    tracing_ = std::make_unique<TracingPort>(*unit_, port_trace_);
    env.port = tracing_.get();
  }
  env.port_problem = port_problem_;
  env.settings = &settings_;
  env.messages = &messages_;
  env.sleep = [this](int ms) {
    pauses_.push_back(ms);
    if (QThread::currentThread() == qApp->thread()) window_thread_paused_ms_ += ms;
  };
  env.time_of_day = [this] {
    const int s = clock_seconds_++;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", (s / 3600) % 24, (s / 60) % 60, s % 60);
    return std::string(text);
  };
  env.work_dir = work_.string() + "/";
  env.files = files_;
  form_ = std::make_unique<TForm1>(std::move(env));
  wait_ = std::make_unique<TwaitForm>();
  form_->AttachWaitForm(wait_.get());
  form_->show();
  construction_pauses_ = pauses_;
  pauses_.clear();
}

void WindowTest::WriteOutsideTheWindow(CardImage& card, Journal* journal,
                                       const std::function<void()>& write) {
  CardEnvironment* const own = card.env;
  CardEnvironment other = *own;
  other.journal = journal;
  card.env = &other;
  OwnLook(write);
  card.env = own;
}

std::vector<std::string> WindowTest::Captions(int pane) const {
  std::vector<std::string> captions;
  const QListWidget* list = form_->ListView(pane);
  for (int row = 0; row < list->count(); ++row)
    captions.push_back(list->item(row)->text().toStdString());
  return captions;
}

void WindowTest::Select(int pane, const std::vector<int>& rows) {
  QListWidget* list = form_->ListView(pane);
  list->clearSelection();
  for (int row : rows) list->item(row)->setSelected(true);
}

void WindowTest::OwnLook(const std::function<void()>& look) {
  form_->CountPortAccessesOffTheWorker(false);
  look();
  form_->CountPortAccessesOffTheWorker(true);
}

void WindowTest::WhenVisible(std::function<QWidget*()> widget, std::function<void()> action) {
  // Owned by the window, so that a watch never met dies with the test.
  auto* poll = new QTimer(form_.get());
  QObject::connect(poll, &QTimer::timeout, poll, [poll, widget, action] {
    QWidget* shown = widget();
    if (shown == nullptr || !shown->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    action();
  });
  poll->start(1);
}

std::vector<std::string> Reloaded(CardImage& card) {
  if (active_window_test != nullptr && active_window_test->form_) {
    active_window_test->OwnLook([&] { LoadCard(card); });
  } else {
    LoadCard(card);
  }
  std::vector<std::string> problems;
  for (const std::string& line : CheckCard(card)) {
    if (!line.starts_with("root:")) problems.push_back(line);
  }
  return problems;
}

}  // namespace quorvel::test
