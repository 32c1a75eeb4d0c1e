// Linked into the start-up probes: when the application object exists it watches for the first
// window shown, prints the milliseconds since QUORVEL_START_NS (the launcher's clock at the
// moment it started the process, nanoseconds of CLOCK_REALTIME) and ends the event loop.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

class FirstShowWatcher : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && !seen_) {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget != nullptr && widget->isWindow()) {
        seen_ = true;
        Report();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
      }
    }
    return false;
  }

 private:
  static void Report() {
    const char* start = std::getenv("QUORVEL_START_NS");
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    if (start == nullptr) {
      std::fprintf(stderr, "QUORVEL_START_NS is not set\n");
      return;
    }
    std::printf("%.1f\n", static_cast<double>(now - std::atoll(start)) / 1e6);
    std::fflush(stdout);
  }

  bool seen_ = false;
};

void WatchForFirstShow() { qApp->installEventFilter(new FirstShowWatcher); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(WatchForFirstShow)
