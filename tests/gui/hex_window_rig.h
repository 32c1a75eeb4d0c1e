// The rig of the hex editor window tests: a message seam answering from a script, input boxes
// and file dialogs answering from queues, and a shown TMiniEdForm over a file in a fresh folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QStringList>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/tminiedform.h"
#include "gui/window_fixture.h"
#include "host/messages.h"
#include "support/temp_dir.h"

namespace quorvel::test {

class ScriptedMessages : public Messages {
 public:
  void Inform(std::string_view text) override { texts.emplace_back(text); }
  void Warn(std::string_view text) override { texts.emplace_back(text); }
  void Error(std::string_view text) override { errors.emplace_back(text); }
  bool AskYesNo(std::string_view text) override {
    texts.emplace_back(text);
    return Next() == Answer::kYes;
  }
  Answer AskYesNoCancel(std::string_view text) override {
    texts.emplace_back(text);
    return Next();
  }
  Answer Next() {
    if (answers.empty()) return Answer::kNo;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<std::string> texts;
  std::vector<std::string> errors;
  std::deque<Answer> answers;
};

class MiniEdTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  void SetUp() override {
    form_ = std::make_unique<TMiniEdForm>(messages_);
    form_->InputBox = [this](const QString& title, const QString& prompt,
                             const QString& initial) -> std::optional<QString> {
      prompts_.push_back({title.toStdString(), prompt.toStdString(), initial.toStdString()});
      if (inputs_.empty()) return std::nullopt;  // the box cancelled
      const QString answer = inputs_.takeFirst();
      return answer;
    };
    form_->ChooseFile = [this](FileDialogKind) -> std::optional<FileChoice> {
      if (choices_.empty()) return std::nullopt;
      auto choice = choices_.front();
      choices_.pop_front();
      return choice;
    };
    form_->show();
  }

  void TearDown() override { form_.reset(); }

  // Loads a file of these bytes into the window.
  std::filesystem::path Load(const std::string& bytes, const std::string& name = "data.bin") {
    const auto path = dir_.Write(name, bytes);
    EXPECT_TRUE(form_->LoadFile(path.string()));
    return path;
  }
  HexDocument& doc() { return form_->HexEditor1->Document(); }
  std::string Data() {
    const auto bytes = doc().BufferFromFile(0, doc().Size());
    return std::string(bytes.begin(), bytes.end());
  }
  std::string Panel(int i) const { return form_->Panels[i]->text().toStdString(); }

  struct Prompt {
    std::string title, prompt, initial;
  };

  quorvel::testing::TempDir dir_;
  ScriptedMessages messages_;
  std::unique_ptr<TMiniEdForm> form_;
  QStringList inputs_;  // answers of the input boxes, in order
  std::vector<Prompt> prompts_;
  std::deque<std::optional<FileChoice>> choices_;
};

}  // namespace quorvel::test
