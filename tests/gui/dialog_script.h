// Scripted answers to the modal dialogs of the window tests.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::test {

// Answers the modal dialogs as they open: each step names the dialog and the button to press.
class DialogScript {
 public:
  DialogScript(std::initializer_list<std::pair<std::string, std::string>> steps) : steps_(steps) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start();
  }
  std::vector<std::string> shown;      // the dialogs in the order they opened
  std::function<void()> on_each_open;  // runs while each dialog is open

 private:
  void Answer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || steps_.empty() || modal->objectName().toStdString() != steps_.front().first)
      return;
    shown.push_back(steps_.front().first);
    if (on_each_open) on_each_open();
    auto* button = modal->findChild<QPushButton*>(QString::fromStdString(steps_.front().second));
    steps_.pop_front();
    ASSERT_NE(button, nullptr);
    button->click();
  }
  std::deque<std::pair<std::string, std::string>> steps_;
  QTimer timer_;
};

}  // namespace quorvel::test
