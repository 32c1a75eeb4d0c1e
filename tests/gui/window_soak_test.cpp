// The soak of the whole main window: a seeded random user drives TForm1 (offscreen) on the
// virtual unit while it injects link faults: clicks, double-clicks, keys, drags between the
// panes, the panes' menu commands and the window's buttons, answers to dialogs, questions and
// file choosers, page changes on a paged card, cards pulled out and put back. After every
// action the event loop answers within 5 s, every card is consistent, and no save is gone
// from a card that the action's command could not take it from.
// QUORVEL_WINDOW_SOAK_ACTIONS and QUORVEL_WINDOW_SOAK_SEED make it the long run
// (scripts/run-soak.sh --window N).
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "card/block_io.h"
#include "card/bmp_file.h"
#include "card/card_check.h"
#include "card/file_system.h"
#include "card/image_order.h"
#include "demo_cards.h"
#include "gui/scripted_chooser.h"
#include "gui/tasm86kform.h"
#include "gui/tcopyform.h"
#include "gui/tdelete_form.h"
#include "gui/tminiedform.h"
#include "gui/toptform.h"
#include "gui/tsave_sel_form.h"
#include "gui/tselcolorform.h"
#include "gui/window_fixture.h"
#include "support/card_files.h"
#include "support/memory_card.h"

namespace quorvel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

long FromEnvironment(const char* name, long fallback) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::strtol(value, nullptr, 10) : fallback;
}

// What a card holds, read from its bytes by the card layer: each save as its directory entry
// (less the first block, which moves when a save is written again) and its blocks, and the
// problems the consistency check finds.
struct CardContents {
  std::multiset<Bytes> saves;
  std::vector<std::string> problems;
};

// Names no block or save: another card's failing to load says nothing of this one.
constexpr std::string_view kDoesNotLoad = "the card does not load";

CardContents ReadContents(Bytes bytes) {
  CardContents contents;
  testing::MemoryCard memory(std::move(bytes));
  CardImage& card = memory.card();
  if (LoadCard(card) != LoadResult::kLoaded) {
    contents.problems.emplace_back(kDoesNotLoad);
    return contents;
  }
  for (int k = 0; k < card.listed_count; ++k) {
    const SaveRecord& record = card.records[card.list_order[k]];
    DirEntry entry = record.entry;
    if (!IsGameEntry(entry)) entry[kEntryFirstBlock] = 0;
    Bytes save(entry.begin(), entry.end());
    std::uint16_t block = record.first_block;
    for (int n = 0; n < record.size && block < kCardBlocks; ++n) {
      Block data{};
      ReadBlock(card, static_cast<std::uint8_t>(block), data);
      save.insert(save.end(), data.begin(), data.end());
      block = card.fat[block];
    }
    contents.saves.insert(std::move(save));
  }
  contents.problems = CheckCard(card);
  return contents;
}

struct Figures {
  int actions = 0;
  std::map<std::string, int> by_action;
  int questions = 0;
  int dialogs_answered = 0;
  int files_chosen = 0;
  int pulls = 0;
  qint64 longest_gap_ms = 0;  // the longest the window thread went without its event loop
  std::vector<std::string> violations;
};

class WindowSoak : public WindowTest {
 protected:
  void TearDown() override {
    answerer_.reset();
    selcolor_.reset();
    asm_.reset();
    opt_.reset();
    mini_ed_.reset();
    copy_.reset();
    delete_.reset();
    save_sel_.reset();
    WindowTest::TearDown();
  }

  // The demo cards in the unit (a paged card: the two demo cards, then two empty pages), an
  // image of the second demo card open, the program's windows as the program creates them,
  // and the files the user may pick: single saves, a picture, card images, a broken file.
  void StartSoak(bool paged, std::uint32_t seed) {
    random_.seed(seed);
    paged_ = paged;
    WriteQuickConfig(1);
    std::string error;
    cards_ = root_ / "cards";
    images_ = root_ / "images";
    picks_ = root_ / "files";
    fs::create_directories(images_);
    fs::create_directories(picks_);
    ASSERT_TRUE(demo::WriteDemoCards(cards_, error)) << error;
    ASSERT_TRUE(demo::WriteDataFiles(work_, error)) << error;
    fs::copy_file(cards_ / "slot2.dcm", images_ / "image.dcm");
    testing::WriteFile(images_ / "empty.dcm", testing::FormattedCardImage(241));
    for (int card = 1; card <= 2; ++card) {
      for (const demo::DemoSave& save : demo::DemoSaves(card)) {
        std::string name = save.name.substr(0, save.name.find_last_not_of(' ') + 1);
        for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        testing::WriteFile(picks_ / (name + ".dci"), save.dci);
      }
    }
    IconImage picture = demo::NoIconPicture();
    ASSERT_TRUE(WriteIconBmp(picture, picks_ / "icon.bmp"));
    testing::WriteFile(picks_ / "broken.dci", Bytes(100, 0x5A));
    std::unique_ptr<VirtualUnit> unit;
    if (paged) {
      Bytes pages = testing::ReadFile(cards_ / "slot1.dcm");
      const Bytes second = testing::ReadFile(cards_ / "slot2.dcm");
      pages.insert(pages.end(), second.begin(), second.end());
      for (int page = 2; page < kPages; ++page) {
        const Bytes empty = testing::FormattedCardImage(200);
        pages.insert(pages.end(), empty.begin(), empty.end());
      }
      testing::WriteFile(cards_ / "paged.bin", pages);
      fs::remove(cards_ / "slot1.dcm");
      fs::remove(cards_ / "slot2.dcm");
      unit = VirtualUnit::Paged(cards_ / "paged.bin", error);
    } else {
      unit = VirtualUnit::TwoSlotFromFolder(cards_, error);
    }
    ASSERT_TRUE(unit) << error;
    files_ = &chooser_;
    chooser_.on_ask = [this] { ChooseFile(); };
    messages_.on_ask = [this] {
      ++figures_.questions;
      messages_.yes = Below(3) != 0;
    };
    Start(std::move(unit));
    save_sel_ = std::make_unique<TSave_sel_Form>(&form());
    delete_ = std::make_unique<TDelete_Form>(&form());
    copy_ = std::make_unique<TcopyForm>(&form());
    form().AttachSaveDialogs(save_sel_.get(), delete_.get(), copy_.get());
    mini_ed_ = std::make_unique<TMiniEdForm>(messages_, std::string(), &form());
    form().AttachMiniEdForm(mini_ed_.get());
    opt_ = std::make_unique<ToptForm>(&form());
    form().AttachOptForm(opt_.get());
    asm_ = std::make_unique<Tasm86kForm>(messages_, &form());
    form().AttachAsmForm(asm_.get());
    selcolor_ = std::make_unique<TselcolorForm>(&chooser_, &form());
    form().AttachSelcolorForm(selcolor_.get());
    Detect();
    form().Refresh_Slot1Click();
    if (!paged) form().refresh_slot2Click();
    ASSERT_TRUE(OpenImageFile(form().FileCard, (images_ / "image.dcm").string()));
    form().RefreshImage();
    messages_.texts.clear();
    // Every modal window that opens is answered: a button pressed at random, or closed.
    answerer_ = std::make_unique<QTimer>();
    answerer_->setInterval(2);
    QObject::connect(answerer_.get(), &QTimer::timeout, [this] { AnswerDialog(); });
    answerer_->start();
    unit_->UseRandomFaults(seed, 150);
  }

  std::uint32_t Below(std::uint32_t bound) { return bound == 0 ? 0 : random_() % bound; }

  void ChooseFile() {
    ++figures_.files_chosen;
    std::vector<fs::path> candidates;
    for (const fs::path& folder : {picks_, images_}) {
      for (const auto& entry : fs::directory_iterator(folder)) candidates.push_back(entry.path());
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.push_back(images_ / ("new" + std::to_string(Below(4)) + ".dcm"));
    candidates.push_back(picks_ / "missing.dci");
    const std::uint32_t pick = Below(static_cast<std::uint32_t>(candidates.size()) + 1);
    if (pick == candidates.size()) {
      chooser_.answer = std::nullopt;  // cancelled
    } else {
      chooser_.answer = QString::fromStdString(candidates[pick].string());
    }
  }

  void AnswerDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    ++figures_.dialogs_answered;
    std::vector<QAbstractButton*> buttons;
    for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
      if (button->isVisible() && button->isEnabled()) buttons.push_back(button);
    }
    if (buttons.empty() || Below(4) == 0) {
      modal->close();
    } else {
      buttons[Below(static_cast<std::uint32_t>(buttons.size()))]->click();
    }
  }

  // Every card there is: the slots' cards (or the paged card's pages) and the image files.
  std::map<std::string, Bytes> Cards() {
    std::map<std::string, Bytes> cards;
    if (paged_) {
      const Bytes pages = testing::ReadFile(cards_ / "paged.bin");
      for (int page = 0; page < kPages; ++page) {
        const auto start = pages.begin() + static_cast<std::ptrdiff_t>(page * testing::kCardBytes);
        cards["page " + std::to_string(page)] = Bytes(start, start + testing::kCardBytes);
      }
    } else {
      cards["slot 1"] = testing::ReadFile(cards_ / "slot1.dcm");
      cards["slot 2"] = testing::ReadFile(cards_ / "slot2.dcm");
    }
    // A card image may be saved among the single saves too (the file chooser offers both).
    for (const fs::path& folder : {images_, picks_}) {
      for (const auto& entry : fs::directory_iterator(folder)) {
        if (fs::file_size(entry.path()) == testing::kCardBytes) {
          const std::string name = entry.path().filename().string();
          Bytes bytes = testing::ReadFile(entry.path());
          // Saved under a name other than ".dcm", a card is kept in its own byte order.
          if (OrderForName(entry.path()) == ImageOrder::kCard) {
            for (std::size_t at = 0; at < bytes.size(); at += kBlockSize) {
              ReverseGroups(std::span(bytes).subspan(at).first<kBlockSize>());
            }
          }
          cards[folder == images_ ? name : "files/" + name] = std::move(bytes);
        }
      }
    }
    return cards;
  }

  // The cards the action may take saves from: a delete, a format, a card written from an
  // image, a save replaced, a move.
  using Losers = std::set<std::string>;

  // On a paged card only the page the card is on can lose saves: the pane's commands write
  // there.
  std::string PaneCards(int pane) {
    if (pane == kPaneImage) return "*image";
    if (paged_) return "page " + std::to_string(unit().Page());
    return pane == kPaneSlot1 ? "slot 1" : "slot 2";
  }

  void AllPanes(Losers& losers) {
    for (int pane : {kPaneSlot1, kPaneSlot2, kPaneImage}) losers.insert(PaneCards(pane));
  }

  bool MayLose(const Losers& losers, const std::string& card) {
    if (losers.contains(card)) return true;
    // The image pane's card, or a card image file a command writes over.
    return losers.contains("*image") && !card.starts_with("page ") && !card.starts_with("slot ");
  }

  QListWidget* List(int pane) { return form().ListView(pane); }

  void SelectRandomRows(int pane) {
    QListWidget* list = List(pane);
    list->clearSelection();
    const std::uint32_t count = Below(3) + (Below(4) == 0 ? 2 : 0);
    for (std::uint32_t i = 0; i < count; ++i) {
      // A selection may make the window read the pane again (the page panel leaves when the
      // selection changes), so the rows are counted afresh each time.
      const int rows = list->count();
      if (rows == 0) return;
      list->item(static_cast<int>(Below(static_cast<std::uint32_t>(rows))))->setSelected(true);
    }
  }

  // Runs one random action; returns its name and the cards it may take saves from.
  std::string Act(Losers& losers) {
    const int pane =
        paged_ ? (Below(2) == 0 ? kPaneSlot1 : kPaneImage) : static_cast<int>(Below(3));
    const std::uint32_t roll = Below(100);
    if (roll < 18) {
      SelectRandomRows(pane);
      form().PaneClick(pane);
      return "click";
    }
    if (roll < 26) {
      SelectRandomRows(pane);
      form().PaneClick(pane);
      form().PaneDblClick(pane);
      AllPanes(losers);  // the selected-save dialog copies (replaces) and deletes
      return "double-click";
    }
    if (roll < 36) {
      static constexpr int kKeys[] = {Qt::Key_Delete, Qt::Key_Return, Qt::Key_Up,
                                      Qt::Key_Down,   Qt::Key_Space,  Qt::Key_A};
      const int key = kKeys[Below(static_cast<std::uint32_t>(std::size(kKeys)))];
      SelectRandomRows(pane);
      QKeyEvent press(QEvent::KeyPress, key,
                      key == Qt::Key_A ? Qt::ControlModifier : Qt::NoModifier);
      QApplication::sendEvent(List(pane), &press);
      if (key == Qt::Key_Delete) losers.insert(PaneCards(pane));
      if (key == Qt::Key_Return) AllPanes(losers);
      return "key";
    }
    if (roll < 52) {
      const std::vector<int> panes = paged_ ? std::vector<int>{kPaneSlot1, kPaneImage}
                                            : std::vector<int>{kPaneSlot1, kPaneSlot2, kPaneImage};
      std::vector<int> targets;
      for (int other : panes) {
        if (other != pane) targets.push_back(other);
      }
      const int target = targets[Below(static_cast<std::uint32_t>(targets.size()))];
      settings_.drag_mode = static_cast<std::uint8_t>(Below(2));
      SelectRandomRows(pane);
      QApplication::setActiveWindow(&form());
      List(pane)->setFocus();
      losers.insert(PaneCards(pane));
      losers.insert(PaneCards(target));
      if (form().PaneDragOver(target)) form().PaneDragDrop(target);
      return "drag";
    }
    if (roll < 72) {
      SelectRandomRows(pane);
      QMenu* menu = pane == kPaneSlot1   ? form().PopupMenu1
                    : pane == kPaneSlot2 ? form().PopupMenu2
                                         : form().FilePopupMenu;
      std::vector<QAction*> actions;
      CollectActions(menu, actions);
      if (actions.empty()) return "menu";
      losers.insert(PaneCards(pane));
      losers.insert("*image");  // save-as and new image write card image files
      QAction* chosen = actions[Below(static_cast<std::uint32_t>(actions.size()))];
      last_menu_item_ = chosen->text().toStdString();
      chosen->trigger();
      return "menu";
    }
    if (roll < 80) {
      std::vector<QAbstractButton*> buttons = {form().BitBtn,   form().BitBtn1, form().BitBtn2,
                                               form().EditBtn,  form().AsmBtn,  form().optBitBtn,
                                               form().Set16MBtn};
      for (QToolButton* button : {form().SpeedButton1, form().SpeedButton2, form().SpeedButton3,
                                  form().SpeedButton4, form().SpeedButton5, form().SpeedButton6}) {
        buttons.push_back(button);
      }
      QAbstractButton* button = buttons[Below(static_cast<std::uint32_t>(buttons.size()))];
      // Only what the user can see can be clicked (the 16M page button is hidden on most units).
      if (button == nullptr || !button->isVisible() || !button->isEnabled()) return "button";
      AllPanes(losers);  // the hex editor and the code window write their save back
      button->click();
      return "button";
    }
    if (roll < 88) {
      if (paged_) {
        // The page selector slides in under the mouse; the pane is read again for a new page
        // when the mouse leaves it, which the user may not do before the next action.
        form().PagePanelIn();
        form().PageBox()->setValue(static_cast<int>(Below(kPages)));
        if (Below(2) == 0) form().PagePanelOut();
        return "page";
      }
      Fire(Below(2) == 0 ? form().Timer3 : form().Timer1);
      return "time passes";
    }
    return PullOrPutBack();
  }

  static void CollectActions(QMenu* menu, std::vector<QAction*>& actions) {
    for (QAction* action : menu->actions()) {
      if (action->menu() != nullptr) {
        CollectActions(action->menu(), actions);
      } else if (!action->isSeparator() && action->isEnabled()) {
        actions.push_back(action);
      }
    }
  }

  // A card pulled out now or during the next link transactions, or put back in.
  std::string PullOrPutBack() {
    const std::size_t slot = paged_ ? 0 : Below(2);
    const fs::path file =
        paged_ ? cards_ / "paged.bin" : cards_ / (slot == 0 ? "slot1.dcm" : "slot2.dcm");
    if (!unit().HasCard(slot)) {
      std::string error;
      if (!unit().InsertCardAfter(slot, file, 0, error)) {
        figures_.violations.push_back("a card cannot be put back: " + error);
      }
      Fire(form().Timer3);
      return "card put back";
    }
    ++figures_.pulls;
    if (Below(2) == 0) {
      unit().TakeCard(slot);
      Fire(form().Timer3);
      return "card pulled";
    }
    // Pulled while the next commands run: their writes may stop half-way.
    const std::uint64_t after = 1 + Below(400);
    unit().RemoveCardAfter(slot, after);
    pending_pulls_.insert(unit().Transactions() + after);
    return "card pulled during the next action";
  }

  // One action and the checks after it.
  void Step(int number) {
    const std::map<std::string, Bytes> before_bytes = Cards();
    std::map<std::string, CardContents> before;
    // A card written whole from another (a backup, a card written from an image) carries what
    // the check found on that one.
    std::set<std::string> problems_before;
    for (const auto& [name, bytes] : before_bytes) {
      before[name] = ReadContents(bytes);
      problems_before.insert(before[name].problems.begin(), before[name].problems.end());
    }
    // The pull waits for its number of link transactions, which the next action may not make:
    // writes may stop half-way in every action until that transaction has come, even when the
    // card was taken out and put back by other actions meanwhile.
    const bool torn_allowed = !pending_pulls_.empty();
    Losers losers;
    // The event loop must keep answering while the action runs (its commands run on the link
    // worker, its dialogs run loops of their own): a ticking timer measures the longest time
    // the window thread went without running it, up to a timer posted after the action.
    QElapsedTimer since_tick;
    since_tick.start();
    qint64 longest_gap = 0;
    QTimer ticker;
    ticker.setInterval(20);
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longest_gap = std::max(longest_gap, since_tick.restart()); });
    ticker.start();
    const std::uint64_t transactions_before = unit().Transactions();
    const std::string action = Act(losers);
    bool answered = false;
    QTimer::singleShot(0, &form(), [&answered] { answered = true; });
    while (!answered && since_tick.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ticker.stop();
    longest_gap = std::max(longest_gap, since_tick.elapsed());
    std::erase_if(pending_pulls_, [this](std::uint64_t at) { return at <= unit().Transactions(); });
    figures_.longest_gap_ms = std::max(figures_.longest_gap_ms, longest_gap);
    ++figures_.actions;
    ++figures_.by_action[action];
    const std::string where = "action " + std::to_string(number) + " (" + action +
                              (action == "menu" ? " " + last_menu_item_ : std::string()) + "): ";
    if (trace_) {
      std::cout << "action " << number << " " << action
                << (action == "menu" ? " " + last_menu_item_ : std::string()) << ": transactions "
                << unit().Transactions() - transactions_before << ", unit page " << unit().Page()
                << ", shown page " << form().ShownPage << ", paged mode "
                << form().Link().PagedMode() << ", card " << (unit().HasCard(0) ? "in" : "out")
                << (torn_allowed ? ", pull pending" : "") << "\n";
    }
    if (!answered || longest_gap > 5000) {
      figures_.violations.push_back(where + "the event loop did not run for " +
                                    std::to_string(longest_gap) + " ms");
    }
    for (const auto& [name, bytes] : Cards()) {
      const CardContents after = ReadContents(bytes);
      const auto was = before.find(name);
      for (const std::string& problem : after.problems) {
        const bool old = (was != before.end() &&
                          std::find(was->second.problems.begin(), was->second.problems.end(),
                                    problem) != was->second.problems.end()) ||
                         (problem != kDoesNotLoad && problems_before.contains(problem));
        const bool lost_block = problem.find("belongs to no save") != std::string::npos;
        if (!old && !(torn_allowed && lost_block)) {
          figures_.violations.push_back(where + name + ": " + problem);
        }
      }
      if (was == before.end() || MayLose(losers, name)) continue;
      for (const Bytes& save : was->second.saves) {
        if (!after.saves.contains(save)) {
          figures_.violations.push_back(where + name + ": a save is gone that no command took");
          break;
        }
      }
    }
    for (std::size_t i = reported_unit_violations_; i < unit().Violations().size(); ++i) {
      figures_.violations.push_back(where +
                                    "the unit saw a broken link rule: " + unit().Violations()[i]);
    }
    reported_unit_violations_ = unit().Violations().size();
    // QUORVEL_WINDOW_SOAK_KEEP=DIR: the cards, files and journals as the first violation left
    // them, to find out how it came about.
    if (const char* keep = std::getenv("QUORVEL_WINDOW_SOAK_KEEP");
        keep != nullptr && !kept_ && !figures_.violations.empty()) {
      kept_ = true;
      fs::copy(root_, fs::path(keep) / ("action" + std::to_string(number)),
               fs::copy_options::recursive);
    }
  }

  Figures Run(int actions) {
    for (int i = 0; i < actions && !HasFatalFailure(); ++i) Step(i);
    return figures_;
  }

  static std::string Describe(const Figures& figures, const std::string& setting) {
    std::ostringstream text;
    text << "window soak (" << setting << "): " << figures.actions << " actions, "
         << figures.questions << " questions answered, " << figures.dialogs_answered
         << " dialogs answered, " << figures.files_chosen << " files chosen, " << figures.pulls
         << " cards pulled, event loop held at most " << figures.longest_gap_ms << " ms, "
         << figures.violations.size() << " violations\n";
    text << "window soak actions:";
    for (const auto& [name, count] : figures.by_action) text << " " << name << " " << count;
    text << "\n";
    for (const std::string& violation : figures.violations) {
      text << "violation: " << violation << "\n";
    }
    return text.str();
  }

  static constexpr int kPages = 4;
  std::mt19937 random_;
  bool paged_ = false;
  // QUORVEL_WINDOW_SOAK_TRACE=1: one line per action (what it was, the link's work, the page).
  bool trace_ = FromEnvironment("QUORVEL_WINDOW_SOAK_TRACE", 0) != 0;
  bool kept_ = false;
  std::multiset<std::uint64_t> pending_pulls_;  // the transactions that pull a card out
  std::string last_menu_item_;
  std::size_t reported_unit_violations_ = 0;
  fs::path cards_;
  fs::path images_;
  fs::path picks_;
  Figures figures_;
  ScriptedChooser chooser_;
  std::unique_ptr<QTimer> answerer_;
  std::unique_ptr<TSave_sel_Form> save_sel_;
  std::unique_ptr<TDelete_Form> delete_;
  std::unique_ptr<TcopyForm> copy_;
  std::unique_ptr<TMiniEdForm> mini_ed_;
  std::unique_ptr<ToptForm> opt_;
  std::unique_ptr<Tasm86kForm> asm_;
  std::unique_ptr<TselcolorForm> selcolor_;
};

TEST_F(WindowSoak, ARandomUserBreaksNoInvariantOnTwoSlots) {
  const auto seed = static_cast<std::uint32_t>(FromEnvironment("QUORVEL_WINDOW_SOAK_SEED", 1));
  const int actions = static_cast<int>(FromEnvironment("QUORVEL_WINDOW_SOAK_ACTIONS", 200));
  StartSoak(/*paged=*/false, seed);
  ASSERT_FALSE(HasFatalFailure());
  const Figures figures = Run(actions);
  std::cout << Describe(figures, "two slots, seed " + std::to_string(seed));
  EXPECT_EQ(figures.actions, actions);
  EXPECT_GT(figures.dialogs_answered, 0);
  EXPECT_GT(figures.questions, 0);
  EXPECT_TRUE(figures.violations.empty());
}

TEST_F(WindowSoak, ARandomUserBreaksNoInvariantOnAPagedCard) {
  const auto seed = static_cast<std::uint32_t>(FromEnvironment("QUORVEL_WINDOW_SOAK_SEED", 1));
  // The long run does half as many actions here as on the two slots.
  const int actions = static_cast<int>(FromEnvironment("QUORVEL_WINDOW_SOAK_ACTIONS", 400) / 2);
  StartSoak(/*paged=*/true, seed);
  ASSERT_FALSE(HasFatalFailure());
  const Figures figures = Run(actions);
  std::cout << Describe(figures, "paged card, seed " + std::to_string(seed));
  EXPECT_EQ(figures.actions, actions);
  EXPECT_GT(figures.questions, 0);
  EXPECT_GT(figures.pulls, 0);
  EXPECT_GT(figures.by_action.count("page"), 0u);
  EXPECT_TRUE(figures.violations.empty());
}

}  // namespace
}  // namespace quorvel::test
