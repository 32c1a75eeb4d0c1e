// A file chooser for the window tests: records what each chooser was asked and answers with
// the next queued answer, or with `answer` when none is queued.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "gui/file_chooser.h"

namespace quorvel::test {

class ScriptedChooser : public FileChooser {
 public:
  // Recorded as "FILTER|PRESET".
  std::optional<QString> ChooseOpenFile(const QString& filter, const QString& preset) override {
    asked.push_back(filter + "|" + preset);
    return Next();
  }
  // Recorded as "save:FILTER|PRESET|SUFFIX|ask" (or "|quiet" without the overwrite question).
  std::optional<QString> ChooseSaveFile(const QString& filter, const QString& preset,
                                        const QString& default_suffix,
                                        bool confirm_overwrite) override {
    asked.push_back("save:" + filter + "|" + preset + "|" + default_suffix +
                    (confirm_overwrite ? "|ask" : "|quiet"));
    return Next();
  }

  // Recorded as "name:PROMPT|PRESET"; answered from `names` (the preset when none is queued).
  std::optional<QString> ChooseCardName(const QString& prompt, const QString& preset) override {
    asked.push_back("name:" + prompt + "|" + preset);
    if (names.empty()) return preset;
    std::optional<QString> next = names.front();
    names.pop_front();
    return next;
  }

  std::optional<QString> answer;
  std::deque<std::optional<QString>> names;
  std::function<void()> on_ask;  // runs while each chooser is open
  std::deque<std::optional<QString>> answers;
  std::vector<QString> asked;

 private:
  std::optional<QString> Next() {
    if (on_ask) on_ask();
    if (answers.empty()) return answer;
    std::optional<QString> next = answers.front();
    answers.pop_front();
    return next;
  }
};

}  // namespace quorvel::test
