// The main window's side of the link worker: card commands run on it while the window keeps
// painting, input that would start another command is refused, and Cancel (the wait window's
// button, Esc, closing the window) asks the running command to stop.
#include <QApplication>
#include <QKeyEvent>
#include <QMetaObject>

#include "gui/link_worker.h"
#include "gui/tform1.h"
#include "gui/translations.h"
#include "gui/twaitform.h"

namespace quorvel {

void TForm1::AttachWaitForm(TwaitForm* wait_form) {
  waitForm = wait_form;
  if (waitForm) connect(waitForm, &TwaitForm::CancelPressed, this, &TForm1::CancelCommand);
}

void TForm1::AttachWaitForm(std::function<TwaitForm*()> make) { make_wait_form_ = std::move(make); }

TwaitForm* TForm1::WaitForm() {
  if (waitForm == nullptr && make_wait_form_) AttachWaitForm(make_wait_form_());
  return waitForm;
}

bool TForm1::CommandRunning() const { return worker_ && worker_->Busy(); }

void TForm1::CancelCommand() {
  if (!CommandRunning()) return;
  cancel_.Request();
  // A stretch that must run to its end once begun (an undo writing the old blocks back) does
  // not stop: the request waits for a safe point after it, if the command has one.
  Label5->setText(cancel_.Held() ? tr(" 這一步必須做完, 不能中途取消, 請稍候... ")
                                 : tr(" 正在取消, 請稍候... "));
}

void TForm1::OnLinkWorker(const std::function<void()>& work, bool file_command) {
  if (!worker_ || worker_->OnWorker()) {
    work();  // a step of the command that runs
    return;
  }
  if (CommandRunning()) {
    // Asked for by an event handled while another command runs: it waits on the worker behind
    // that command, which says how it ended.
    worker_->Run(work);
    return;
  }
  // A window closed during an earlier part of this command keeps its request to stop.
  if (!close_after_command_) cancel_.Reset();
  qApp->installEventFilter(this);
  worker_->Run(work);
  qApp->removeEventFilter(this);
  const CancelOutcome outcome = cancel_.Outcome();
  const bool asked_to_stop = cancel_.Requested();
  cancel_.Reset();
  if (close_after_command_) cancel_.Request();
  if (outcome != CancelOutcome::kNone) {
    Label5->clear();
    env_.messages->Inform(CancelledMessage(outcome, file_command));
  } else if (asked_to_stop && !close_after_command_) {
    // Cancel came after the command's last safe point: it ran to its end.
    Label5->clear();
    env_.messages->Inform(tr(" 動作已進行到不能停止的地方, 已讓它做完. ").toStdString());
  }
  if (close_after_command_) {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
}

NameClashAnswers TForm1::AnsweredOnWindow(const NameClashAnswers& answers) {
  const auto on_window = [this](const std::function<bool(const std::string&)>& ask) {
    return ask ? std::function<bool(const std::string&)>([this, ask](const std::string& name) {
      bool yes = false;
      worker_->OnWindowThread([&] { yes = ask(name); });
      return yes;
    })
               : nullptr;
  };
  return {.replace = on_window(answers.replace), .add = on_window(answers.add)};
}

void TForm1::OnWindowThread(std::function<void()> show) {
  if (worker_ && worker_->OnWorker()) {
    QMetaObject::invokeMethod(this, std::move(show), Qt::QueuedConnection);
  } else {
    show();
  }
}

bool TForm1::RefuseWhileBusy(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Drop:
      break;
    default:
      return false;
  }
  // Only this window's own widgets and actions: the wait window and the question boxes of the
  // command stay usable.
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (widget != nullptr ? widget->window() != this
                        : event->type() != QEvent::Shortcut || watched->parent() == nullptr) {
    return false;
  }
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    CancelCommand();
    return true;
  }
  if (!cancel_.Requested()) Label5->setText(tr(" 資料傳送中, 請等候完成或按取消. "));
  return true;
}

}  // namespace quorvel
