// The link worker thread, the window thread's wait for it and the questions put back to the
// window thread.
#include "gui/link_worker.h"

#include <QEventLoop>
#include <QMetaObject>

namespace quorvel {

LinkWorker::LinkWorker() : thread_(new QThread), worker_side_(new QObject) {
  thread_->setObjectName("linkWorker");
  worker_side_->moveToThread(thread_);
  QObject::connect(thread_, &QThread::finished, worker_side_, &QObject::deleteLater);
  thread_->start();
}

LinkWorker::~LinkWorker() {
  thread_->quit();
  thread_->wait();
  delete thread_;
}

void LinkWorker::Run(const std::function<void()>& work) {
  if (OnWorker()) {
    work();
    return;
  }
  ++busy_;
  QEventLoop wait;
  bool done = false;
  QMetaObject::invokeMethod(worker_side_, [&] {
    work();
    // Told through the window thread's queue, so that the wait sees it only once it runs.
    QMetaObject::invokeMethod(
        &window_side_,
        [&] {
          done = true;
          wait.quit();
        },
        Qt::QueuedConnection);
  });
  while (!done) wait.exec();
  --busy_;
}

void LinkWorker::OnWindowThread(const std::function<void()>& call) {
  if (!OnWorker()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(&window_side_, call, Qt::BlockingQueuedConnection);
}

void WorkerPort::Check() {
  if (!counting_ || worker_.OnWorker()) return;
  ++off_worker_;
}

std::uint8_t WorkerPort::ReadPort(std::uint16_t port) {
  Check();
  return port_.ReadPort(port);
}

void WorkerPort::WritePort(std::uint16_t port, std::uint8_t value) {
  Check();
  port_.WritePort(port, value);
}

void WorkerMessages::Inform(std::string_view text) {
  worker_.OnWindowThread([&] { window_.Inform(text); });
}

void WorkerMessages::Warn(std::string_view text) {
  worker_.OnWindowThread([&] { window_.Warn(text); });
}

bool WorkerMessages::AskYesNo(std::string_view text) {
  bool answer = false;
  worker_.OnWindowThread([&] { answer = window_.AskYesNo(text); });
  return answer;
}

bool WorkerMessages::AskYesNoDefaultNo(std::string_view text) {
  bool answer = false;
  worker_.OnWindowThread([&] { answer = window_.AskYesNoDefaultNo(text); });
  return answer;
}

Answer WorkerMessages::AskYesNoCancel(std::string_view text) {
  Answer answer = Answer::kCancel;
  worker_.OnWindowThread([&] { answer = window_.AskYesNoCancel(text); });
  return answer;
}

void WorkerMessages::Error(std::string_view text) {
  worker_.OnWindowThread([&] { window_.Error(text); });
}

}  // namespace quorvel
