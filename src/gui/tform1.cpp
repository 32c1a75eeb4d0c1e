// The main window's construction, creation and close, its event wiring, and the helpers every
// concern of the window shares (wait window, repaint, timers, pauses).
#include "gui/tform1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <chrono>
#include <thread>

#include "app/config.h"
#include "gui/centre_on.h"
#include "gui/command_texts.h"
#include "gui/link_worker.h"
#include "gui/translations.h"
#include "gui/twaitform.h"
#include "gui/win_colors.h"

namespace quorvel {

void EnableTimer(QTimer* timer) {
  if (!timer->isActive()) timer->start();
}

TForm1::TForm1(MainWindowEnv env, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      // Started first, so that its thread is up by the time the window gives it work.
      worker_(std::make_unique<LinkWorker>()),
      env_(std::move(env)) {
  if (!env_.sleep) {
    env_.sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  }
  setObjectName("Form1");
  setWindowTitle(QStringLiteral("Quorvel"));
  // The specified size is the default and the smallest; a larger window gives the room to the
  // panes (LayOutWindow).
  setMinimumSize(kClientWidth, kClientHeight);
  resize(kClientWidth, kClientHeight);
  SetBackColor(this, kBackground);
  setMouseTracking(true);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - kClientWidth) / 2,
         area.top() + (area.height() - kClientHeight) / 2);
  }
  BuildPanes();
  BuildLeftColumn();
  BuildTimers();
  ConnectEvents();
  ConnectDragAndDrop();
  ConnectFileCommands();
  ConnectUndoCommands();
  FormCreate();
}

TForm1::~TForm1() {
  // A file manager has copied what was dropped on it by now.
  std::error_code ignored;
  for (const std::filesystem::path& folder : drag_folders_) {
    std::filesystem::remove_all(folder, ignored);
  }
}

void TForm1::FormCreate() {
  WorkDir = env_.work_dir.empty() ? CaptureWorkDir() : env_.work_dir;
  file_history_ = FileHistory(WorkDir);
  FillRecentImages();
  worker_messages_ = std::make_unique<WorkerMessages>(*worker_, *env_.messages);
  // A command on the worker reports to the window thread, which shows the reports in turn.
  reports_.progress = [this](int position, int maximum) {
    OnWindowThread([this, position, maximum] {
      if (maximum <= 0) {
        EmptyProgressBar();  // the operation ended
      } else {
        ProgressBar1->setRange(0, maximum);
        ProgressBar1->setValue(position);
      }
      RepaintWindow();
    });
  };
  reports_.status_text = [this](std::string_view text) {
    OnWindowThread([this, shown = ShownText(text)] {
      Label5->setText(shown);
      RepaintWindow();
    });
  };
  // The value only, so that Timer3 is not re-armed on a broken link; the settings dialog's
  // box is left as it is.
  reports_.link_gave_up = [this] { OnWindowThread([this] { settings().auto_refresh = 0; }); };
  LinkHooks hooks;
  hooks.time_of_day = env_.time_of_day;
  hooks.repaint = [this] { RepaintWindow(); };
  hooks.reports = &reports_;
  worker_port_ = std::make_unique<WorkerPort>(*env_.port, *worker_);
  link_ = std::make_unique<LinkDevice>(*worker_port_, *env_.settings, std::move(hooks));
  slot_link_ = std::make_unique<LinkSlots>(*link_);
  // The control line idle before anything else reaches the port.
  worker_->Run([this] { link_->EndTransaction(); });
  ReadConfig();
  if (PortClosed()) {
    Label5->setText(
        QString::fromUtf8(kNoDeviceLabel.data(), static_cast<qsizetype>(kNoDeviceLabel.size())));
    start_notices_.Inform(PortUnusableMessage(env_.port_problem));
  }
  card_env_.link = slot_link_.get();
  card_env_.messages = worker_messages_.get();
  card_env_.cancel = &cancel_;
  card_env_.reports = &reports_;
  journal_ = std::make_unique<Journal>(JournalOptions{.folder = JournalFolderIn(WorkDir)});
  card_env_.journal = journal_.get();
  ApplyJournalSettings();

  MILFlashLabel1->hide();
  for (CardImage* card : {&Slot1Card, &Slot2Card, &FileCard}) {
    card->env = &card_env_;
    card->link_failed = false;
  }
  Set16MBtn->hide();
  Slot1Loaded = Slot2Loaded = ImageLoaded = false;
  NamePanel->setText(tr("沒有選擇單元"));
  ClearSelection();
  CLOSEDCMFILE1->setEnabled(false);
  SelectedName.clear();
  EnableTimer(Timer2);
  if (AutoRefreshOn()) EnableTimer(Timer3);
  EnableTimer(Timer1);
}

int TForm1::PortAccessesOffTheWorker() const {
  return worker_port_ ? worker_port_->OffWorkerAccesses() : 0;
}

void TForm1::CountPortAccessesOffTheWorker(bool count) {
  if (worker_port_) worker_port_->Count(count);
}

void TForm1::EmptyProgressBar() {
  // A range of (0, 0) would make Qt show its busy animation: an empty bar has a range.
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
}

void TForm1::ReadConfig() { quorvel::ReadConfig(WorkDir, *env_.settings, start_notices_); }

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (start_notices_.texts.empty()) return;
  // After the show has been handled, so that the boxes stand over a window on the screen.
  QTimer::singleShot(0, this, [this] {
    std::vector<std::string> texts;
    texts.swap(start_notices_.texts);
    for (const std::string& text : texts) env_.messages->Inform(text);
  });
}

void TForm1::quitclick() { close(); }

void TForm1::closeEvent(QCloseEvent* event) {
  // The command stops at its next safe point, which leaves the card consistent; the window
  // closes once it has.
  if (CommandRunning()) {
    close_after_command_ = true;
    CancelCommand();
    event->ignore();
    return;
  }
  Timer1->stop();
  Timer2->stop();
  Timer3->stop();
  slot_link_.reset();
  link_.reset();
  event->accept();
}

void TForm1::ConnectEvents() {
  // While a command runs the timers start nothing: the detection waits for the next tick, the
  // automatic refresh for the next one after the command.
  connect(Timer1, &QTimer::timeout, this, [this] {
    if (!CommandRunning()) PaneTick();
  });
  connect(Timer2, &QTimer::timeout, this, [this] {
    if (!CommandRunning()) Timer2Timer();
  });
  connect(Timer3, &QTimer::timeout, this, [this] {
    if (!CommandRunning()) Timer3Timer();
  });
  connect(QUIT, &QPushButton::clicked, this, &TForm1::quitclick);
  connect(Refresh_Slot1, &QAction::triggered, this, &TForm1::Refresh_Slot1Click);
  connect(refresh_slot2, &QAction::triggered, this, &TForm1::refresh_slot2Click);
  connect(Set16MBtn, &QPushButton::clicked, this, &TForm1::Set16MBtnClick);
  connect(Splitter2, &QSplitter::splitterMoved, this, [this] { Splitter2CanResize(); });
  const std::array<QPushButton*, 3> menu_buttons = {BitBtn, BitBtn1, BitBtn2};
  for (int pane = 0; pane < 3; ++pane) {
    CardPane* card_pane = panes_[pane];
    connect(card_pane->list(), &QListWidget::itemSelectionChanged, this,
            [this, pane] { PaneSelectItem(pane); });
    // A click anywhere in a list, also on its free area; run once the list has updated its
    // selection for this click.
    connect(
        card_pane, &CardPane::released, this, [this, pane] { PaneClick(pane); },
        Qt::QueuedConnection);
    connect(card_pane, &CardPane::mouseMoved, this, &TForm1::PagePanelOut);
    QMenu* menu = card_pane->menu().menu;
    connect(menu_buttons[pane], &QPushButton::clicked, this,
            [menu] { menu->popup(QCursor::pos()); });
  }
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOutWindow();
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
  PagePanelOut();
  QWidget::mouseMoveEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (CommandRunning() && RefuseWhileBusy(watched, event)) return true;
  if (watched == MILFlashLabel1 && event->type() == QEvent::MouseMove) PagePanelIn();
  return QWidget::eventFilter(watched, event);
}

// Delivers only the paint requests already pending for this window: no input, no timers.
// The wait window's strip moves on with the time that has passed.
void TForm1::RepaintWindow() {
  if (worker_ && worker_->OnWorker()) return;  // the window thread paints on its own
  QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
  if (waitForm && waitForm->isVisible()) waitForm->CatchUp();
}

void TForm1::ShowWaitWindow() {
  if (!WaitForm()) return;
  CentreOn(*waitForm, *this);
  waitForm->show();
  waitForm->repaint();
}

void TForm1::HideWaitWindow() {
  if (waitForm) waitForm->hide();
}

void TForm1::Pause(int ms) { env_.sleep(ms); }

bool TForm1::AutoRefreshOn() const { return env_.settings->auto_refresh == 1; }

void TForm1::RearmTimer3() {
  if (timer3_holds_ == 0 && AutoRefreshOn()) EnableTimer(Timer3);
}

TForm1::Timer3Hold::Timer3Hold(TForm1& form) : form_(form) {
  form_.Timer3->stop();
  ++form_.timer3_holds_;
}

TForm1::Timer3Hold::~Timer3Hold() {
  --form_.timer3_holds_;
  form_.RearmTimer3();
}

}  // namespace quorvel
