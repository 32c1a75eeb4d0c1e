// The link worker: one thread that runs the window's card commands, so that the window keeps
// painting and answering while blocks move. The window thread waits for each command in a
// local event loop; a question the command asks on its way is put to the window thread and
// the worker waits for the answer.
#pragma once

#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <string_view>

#include "host/messages.h"
#include "port/port_io.h"

namespace quorvel {

class LinkWorker {
 public:
  LinkWorker();
  ~LinkWorker();
  LinkWorker(const LinkWorker&) = delete;
  LinkWorker& operator=(const LinkWorker&) = delete;

  // Runs `work` on the worker thread; the calling thread handles its events until `work` has
  // returned. Called on the worker itself (a call inside a command), `work` runs at once.
  // Called from the window thread while a command runs (an event handled during the wait),
  // `work` waits on the worker behind that command: two pieces of work never run at once.
  void Run(const std::function<void()>& work);

  // True while a command runs on the worker.
  bool Busy() const { return busy_ > 0; }

  // True when the caller runs on the worker thread.
  bool OnWorker() const { return QThread::currentThread() == thread_; }

  // Runs `call` on the thread that made this worker (the window thread) and waits for it; on
  // that thread, runs it at once.
  void OnWindowThread(const std::function<void()>& call);

 private:
  QThread* thread_;
  QObject* worker_side_;  // lives on the worker: the receiver of the commands
  QObject window_side_;   // lives on the window thread: the receiver of the questions
  int busy_ = 0;          // the window thread's waits under way (more than one when nested)
};

// The port as the window's link reaches it: every access passes through, and those made from
// any thread but the worker's are counted, so that tests can see that the window thread never
// touches the port.
class WorkerPort : public PortIo {
 public:
  WorkerPort(PortIo& port, const LinkWorker& worker) : port_(port), worker_(worker) {}
  std::uint8_t ReadPort(std::uint16_t port) override;
  void WritePort(std::uint16_t port, std::uint8_t value) override;
  // The accesses made off the worker thread so far.
  int OffWorkerAccesses() const { return off_worker_.load(); }
  // While false, accesses off the worker are not counted (a test's own reads of a card).
  void Count(bool count) { counting_ = count; }

 private:
  void Check();
  PortIo& port_;
  const LinkWorker& worker_;
  std::atomic<int> off_worker_ = 0;
  std::atomic<bool> counting_ = true;
};

// The window's message seam as the card layer sees it while it runs on the worker: every box
// and question is shown by the window thread, and the worker waits for the answer.
class WorkerMessages : public Messages {
 public:
  WorkerMessages(LinkWorker& worker, Messages& window) : worker_(worker), window_(window) {}
  void Inform(std::string_view text) override;
  void Warn(std::string_view text) override;
  bool AskYesNo(std::string_view text) override;
  bool AskYesNoDefaultNo(std::string_view text) override;
  Answer AskYesNoCancel(std::string_view text) override;
  void Error(std::string_view text) override;

 private:
  LinkWorker& worker_;
  Messages& window_;
};

}  // namespace quorvel
