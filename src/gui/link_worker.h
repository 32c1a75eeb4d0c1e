// The link worker: one thread that runs the window's card commands, so that the window keeps
// painting and answering while blocks move. The window thread waits for each command in a
// local event loop; a question the command asks on its way is put to the window thread and
// the worker waits for the answer.
#pragma once

#include <QObject>
#include <QThread>
#include <functional>
#include <string_view>

#include "host/messages.h"

namespace quorvel {

class LinkWorker {
 public:
  LinkWorker();
  ~LinkWorker();
  LinkWorker(const LinkWorker&) = delete;
  LinkWorker& operator=(const LinkWorker&) = delete;

  // Runs `work` on the worker thread; the calling thread handles its events until `work` has
  // returned. Called on the worker itself, or while a command runs (a nested call), `work`
  // runs at once on the calling thread.
  void Run(const std::function<void()>& work);

  // True while a command runs on the worker.
  bool Busy() const { return busy_; }

  // True when the caller runs on the worker thread.
  bool OnWorker() const { return QThread::currentThread() == thread_; }

  // Runs `call` on the thread that made this worker (the window thread) and waits for it; on
  // that thread, runs it at once.
  void OnWindowThread(const std::function<void()>& call);

 private:
  QThread* thread_;
  QObject* worker_side_;  // lives on the worker: the receiver of the commands
  QObject window_side_;   // lives on the window thread: the receiver of the questions
  bool busy_ = false;
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
