// The main window on the virtual unit with the demo cards and the default delays, offscreen:
// a 10 ms timer on the window thread records how late each of its ticks comes while a
// whole-card backup of slot 1 runs, then while that backup is restored onto slot 2. Prints the
// maximum and the 99th percentile of the lateness and the command's time; with a file name
// argument, also writes a picture of the window one second into the backup (the main window
// with the wait window over it).
//   QT_QPA_PLATFORM=offscreen build/dev/bench/window/window_latency [PICTURE.png]
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/settings.h"
#include "demo_cards.h"
#include "gui/file_chooser.h"
#include "gui/tform1.h"
#include "gui/twaitform.h"
#include "host/messages.h"
#include "virtualunit/virtual_unit.h"

namespace {

using quorvel::Answer;

// Yes to every question, and nothing to read.
class YesMessages : public quorvel::Messages {
 public:
  void Inform(std::string_view text) override {
    std::fprintf(stderr, "told: %.*s\n", int(text.size()), text.data());
  }
  void Warn(std::string_view text) override { Inform(text); }
  bool AskYesNo(std::string_view) override { return true; }
  Answer AskYesNoCancel(std::string_view) override { return Answer::kYes; }
};

// Every file chooser answers with `path`.
class FixedChooser : public quorvel::FileChooser {
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

struct Lateness {
  std::vector<double> ms;
  double seconds = 0;
};

// Runs `command` while a 10 ms timer measures how late its ticks come.
Lateness Measure(const std::function<void()>& command) {
  Lateness result;
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  ticker.setInterval(10);
  QElapsedTimer since_last;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    result.ms.push_back(static_cast<double>(since_last.nsecsElapsed()) / 1e6 - 10.0);
    since_last.start();
  });
  QElapsedTimer whole;
  whole.start();
  since_last.start();
  ticker.start();
  command();
  ticker.stop();
  result.seconds = static_cast<double>(whole.nsecsElapsed()) / 1e9;
  return result;
}

void Print(const char* what, Lateness lateness) {
  std::vector<double>& ms = lateness.ms;
  if (ms.empty()) {
    std::printf("%s: %.2f s, no tick ran\n", what, lateness.seconds);
    return;
  }
  std::sort(ms.begin(), ms.end());
  const double p99 = ms[std::min(ms.size() - 1, static_cast<std::size_t>(ms.size() * 0.99))];
  std::printf("%s: %.2f s, %zu ticks of 10 ms, lateness max %.1f ms, 99th percentile %.1f ms\n",
              what, lateness.seconds, ms.size(), std::max(0.0, ms.back()), std::max(0.0, p99));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("window_latency_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "work");
  std::string error;
  if (!quorvel::demo::WriteDemoCards(dir, error)) {
    std::fprintf(stderr, "demo cards: %s\n", error.c_str());
    return 1;
  }
  std::unique_ptr<quorvel::VirtualUnit> unit = quorvel::VirtualUnit::TwoSlotFromFolder(dir, error);
  if (!unit) {
    std::fprintf(stderr, "virtual unit: %s\n", error.c_str());
    return 1;
  }
  quorvel::Settings settings;  // the default delays
  YesMessages messages;
  FixedChooser files;
  quorvel::MainWindowEnv env;
  env.port = unit.get();
  env.settings = &settings;
  env.messages = &messages;
  env.work_dir = (dir / "work").string() + "/";
  env.files = &files;
  int status = 0;
  {
    quorvel::TForm1 form(std::move(env));
    quorvel::TwaitForm wait(&form);
    form.AttachWaitForm(&wait);
    form.show();
    form.Timer2Timer();  // the start-up detection
    form.Refresh_Slot1Click();
    form.refresh_slot2Click();
    form.Timer3->stop();

    const std::filesystem::path backup = dir / "backup.dcm";
    files.path = QString::fromStdString(backup.string());
    if (argc > 1) {
      const QString picture = QString::fromLocal8Bit(argv[1]);
      QTimer::singleShot(1000, &form, [&form, &wait, picture] {
        QPixmap shot = form.grab();
        QPainter painter(&shot);
        painter.drawPixmap(form.mapFromGlobal(wait.mapToGlobal(QPoint(0, 0))), wait.grab());
        painter.end();
        if (!shot.save(picture)) std::fprintf(stderr, "%s not written\n", qPrintable(picture));
      });
    }
    Print("backup of slot 1", Measure([&] { form.SLOT1SAVEAS1Click(); }));
    if (!std::filesystem::exists(backup)) {
      std::fprintf(stderr, "the backup was not written\n");
      status = 1;
    }
    Print("restore onto slot 2", Measure([&] { form.SLOT2LOADDCM1Click(); }));
  }
  std::filesystem::remove_all(dir);
  return status;
}
