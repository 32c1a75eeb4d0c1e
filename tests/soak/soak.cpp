// The fault-injection soak: the world (virtual unit, link, three card sources), the seeded
// operations and the invariants checked after each of them.
#include "soak/soak.h"

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bitset>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "card/block_io.h"
#include "card/bmp_file.h"
#include "card/cancel.h"
#include "card/card_check.h"
#include "card/card_icon_file.h"
#include "card/dci_file.h"
#include "card/dcm_file.h"
#include "card/file_system.h"
#include "card/journal.h"
#include "card/link_slots.h"
#include "card/save_commands.h"
#include "card/save_transfer.h"
#include "demo_cards.h"
#include "files/safe_write.h"
#include "host/messages.h"
#include "host/reports.h"
#include "link/fake_clock.h"
#include "link/link_device.h"
#include "support/card_files.h"
#include "support/card_invariants.h"
#include "support/memory_card.h"
#include "virtualunit/virtual_unit.h"

namespace quorvel::soak {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A save as a card stores it: its directory entry (without the first block of a data save,
// which the card that takes it chooses) and its blocks in chain order, in link order.
struct SaveContent {
  DirEntry entry{};
  std::vector<Block> blocks;
  auto operator<=>(const SaveContent&) const = default;
};

SaveContent ContentOf(DirEntry entry, std::vector<Block> blocks) {
  if (!IsGameEntry(entry)) entry[kEntryFirstBlock] = 0;
  return {entry, std::move(blocks)};
}

// What a card image holds, read by the card layer from a copy in memory.
struct CardState {
  Bytes bytes;
  bool loads = false;
  std::map<std::size_t, SaveContent> by_slot;  // directory slot -> save
  std::multiset<SaveContent> saves;
  std::set<std::string> problems;
};

CardState Inspect(Bytes bytes) {
  CardState state;
  state.bytes = std::move(bytes);
  testing::MemoryCard memory(state.bytes);
  CardImage& card = memory.card();
  state.loads = LoadCard(card) == LoadResult::kLoaded;
  if (!state.loads) {
    state.problems.insert("the card does not load");
    return state;
  }
  for (int k = 0; k < card.listed_count; ++k) {
    const std::size_t index = card.list_order[k];
    const SaveRecord& record = card.records[index];
    std::vector<Block> blocks;
    std::uint16_t block = record.first_block;
    while (blocks.size() < record.size && block < kCardBlocks) {
      Block data{};
      ReadBlock(card, static_cast<std::uint8_t>(block), data);
      blocks.push_back(data);
      block = card.fat[block];
    }
    SaveContent content = ContentOf(record.entry, std::move(blocks));
    state.saves.insert(content);
    state.by_slot.emplace(index, std::move(content));
  }
  for (const std::string& problem : CheckCard(card)) state.problems.insert(problem);
  return state;
}

SaveContent ContentOfDci(std::span<const std::uint8_t> dci) {
  DirEntry entry{};
  std::copy_n(dci.begin(), kDciEntrySize, entry.begin());
  std::vector<Block> blocks;
  for (std::size_t at = kDciEntrySize; at + kBlockSize <= dci.size(); at += kBlockSize) {
    Block block;
    std::copy_n(dci.begin() + static_cast<std::ptrdiff_t>(at), kBlockSize, block.begin());
    blocks.push_back(block);
  }
  return ContentOf(entry, std::move(blocks));
}

// Where a card's saves differ from those expected: the first differing byte of each save
// that is not as expected, for the violation line.
std::string Difference(const std::multiset<SaveContent>& got,
                       const std::multiset<SaveContent>& wanted) {
  std::string text;
  for (const SaveContent& want : wanted) {
    if (got.contains(want)) continue;
    text += " [a save of " + std::to_string(want.blocks.size()) + " blocks is missing";
    for (const SaveContent& have : got) {
      if (wanted.contains(have)) continue;
      text += "; one of " + std::to_string(have.blocks.size()) + " blocks is there instead";
      if (have.entry != want.entry) text += ", its entry differs";
      for (std::size_t b = 0; b < std::min(have.blocks.size(), want.blocks.size()); ++b) {
        const auto [at, _] =
            std::mismatch(have.blocks[b].begin(), have.blocks[b].end(), want.blocks[b].begin());
        if (at == have.blocks[b].end()) continue;
        text += ", block " + std::to_string(b) + " differs from byte " +
                std::to_string(at - have.blocks[b].begin());
        break;
      }
    }
    text += "]";
  }
  return text;
}

// " from byte N (block B)": where two card images first differ.
std::string FirstDifference(const Bytes& got, const Bytes& wanted) {
  if (got.size() != wanted.size()) return " in size";
  const auto at = static_cast<std::size_t>(
      std::mismatch(got.begin(), got.end(), wanted.begin()).first - got.begin());
  return " from byte " + std::to_string(at) + " (block " + std::to_string(at / kBlockSize) + ")";
}

// The card's key (the name of its journal file) from its bytes in link order.
CardKey KeyOf(const Bytes& bytes) {
  if (bytes.size() < testing::kCardBytes) return 0;
  return CardKeyOfRoot(std::span<const std::uint8_t, kBlockSize>(
      bytes.data() + std::size_t{kRootBlock} * kBlockSize, kBlockSize));
}

// Two journal records of the same command (the number aside: a journal that follows its card
// to a name that has a journal already numbers its commands anew).
bool SameRecord(const JournalEntry& a, const JournalEntry& b) {
  if (a.time != b.time || a.source != b.source || a.command.name != b.command.name ||
      a.command.saves != b.command.saves || a.command.scale != b.command.scale ||
      a.card_before != b.card_before || a.card_after != b.card_after || a.finished != b.finished ||
      a.succeeded != b.succeeded || a.blocks.size() != b.blocks.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.blocks.size(); ++i) {
    const JournalBlock& x = a.blocks[i];
    const JournalBlock& y = b.blocks[i];
    if (x.block != y.block || x.old_data != y.old_data || x.first_hash != y.first_hash ||
        x.final_known != y.final_known || x.final_hash != y.final_hash) {
      return false;
    }
  }
  return true;
}

// How many of the last records of `after` are new: without them, `after` is what `before`
// ended with (the journal drops its oldest records when it is full).
std::size_t NewRecords(const std::vector<JournalEntry>& before,
                       const std::vector<JournalEntry>& after) {
  for (std::size_t added = 0; added < after.size(); ++added) {
    const std::size_t kept = after.size() - added;
    if (kept <= before.size() &&
        std::equal(after.begin(), after.begin() + static_cast<std::ptrdiff_t>(kept),
                   before.end() - static_cast<std::ptrdiff_t>(kept), SameRecord)) {
      return added;
    }
  }
  return after.size();
}

// The port the soak's link drives: the virtual unit, with a switch that ends the process in
// the middle of a command, as a killed program ends (no destructor runs, nothing more is
// written).
class KillablePort : public PortIo {
 public:
  static constexpr int kKilledStatus = 42;
  void Attach(VirtualUnit* unit) { unit_ = unit; }
  // Ends the process `extra` transactions after the card has taken `writes` more blocks (0:
  // at once after that block, so that no later write starts; else in the middle of a later
  // block, or of the reads between two writes).
  void KillAfterWrites(std::uint64_t writes, std::uint64_t extra) {
    kill_writes_ = unit_->Counters().block_writes + writes;
    extra_ = extra;
  }
  std::uint8_t ReadPort(std::uint16_t port) override {
    CheckKill();
    return unit_->ReadPort(port);
  }
  void WritePort(std::uint16_t port, std::uint8_t value) override {
    unit_->WritePort(port, value);
    CheckKill();
  }

 private:
  void CheckKill() {
    if (kill_writes_ != 0 && unit_->Counters().block_writes >= kill_writes_) {
      kill_writes_ = 0;
      kill_at_ = unit_->Transactions() + extra_;
    }
    if (kill_at_ != 0 && unit_->Transactions() >= kill_at_) ::_exit(kKilledStatus);
  }
  VirtualUnit* unit_ = nullptr;
  std::uint64_t kill_writes_ = 0;
  std::uint64_t extra_ = 0;
  std::uint64_t kill_at_ = 0;
};

// What the killed child tells its parent, in memory both share.
struct ChildReport {
  char operation[64];
};

class QuietMessages : public Messages {
 public:
  void Inform(std::string_view) override {}
  void Warn(std::string_view) override {}
  bool AskYesNo(std::string_view) override { return false; }
  Answer AskYesNoCancel(std::string_view) override { return Answer::kCancel; }
};

// What an operation may have done to one card.
struct Expectation {
  enum class Kind { kUntouched, kAdds, kRemoves, kFormats, kRestores } kind = Kind::kUntouched;
  bool succeeded = false;
  SaveContent save;     // kAdds, kRemoves
  int user_blocks = 0;  // kFormats
  Bytes restored;       // kRestores
  // Not succeeded: the card holds exactly the bytes it held (a whole-card command stopped on
  // request, nothing written or its old blocks written back).
  bool exact = false;
};

constexpr const char* kPaneNames[] = {"slot 1", "slot 2", "image"};

class World {
 public:
  World(const Options& options, const std::filesystem::path& dir)
      : options_(options), dir_(dir), random_(options.seed) {}
  ~World() {
    if (child_report_ != nullptr) ::munmap(child_report_, sizeof(ChildReport));
  }
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  Figures Run() {
    figures_.paged = options_.paged;
    figures_.setting = options_.paged ? "paged card, " + std::to_string(options_.pages) + " pages"
                                      : std::string("two slots");
    if (!Start()) return figures_;
    for (int i = 0; i < options_.operations; ++i) Step(i);
    figures_.transactions = unit_->Transactions();
    for (const std::string& violation : unit_->Violations()) {
      figures_.violations.push_back("the unit saw a broken link rule: " + violation);
    }
    return figures_;
  }

 private:
  std::uint32_t Below(std::uint32_t bound) { return bound == 0 ? 0 : random_() % bound; }

  bool Start() {
    std::string error;
    if (!demo::WriteDemoCards(dir_, error)) return Fail("demo cards: " + error);
    slot_files_[0] = dir_ / "slot1.dcm";
    slot_files_[1] = dir_ / "slot2.dcm";
    image_file_ = dir_ / "image.dcm";
    testing::WriteFile(image_file_, testing::FormattedCardImage(200));
    for (int card = 1; card <= 2; ++card) {
      for (demo::DemoSave& save : demo::DemoSaves(card)) demo_saves_.push_back(save.dci);
    }
    if (options_.paged) {
      panes_ = {0, 2};
      // One file, one card per page: the two demo cards, then empty cards of 200 or 241 blocks.
      Bytes pages;
      for (int page = 0; page < options_.pages; ++page) {
        const Bytes card = page < 2 ? testing::ReadFile(slot_files_[page])
                                    : testing::FormattedCardImage(page % 2 == 0 ? 200 : 241);
        pages.insert(pages.end(), card.begin(), card.end());
      }
      slot_files_[0] = dir_ / "paged.bin";
      testing::WriteFile(slot_files_[0], pages);
      unit_ = VirtualUnit::Paged(slot_files_[0], error);
    } else {
      unit_ = VirtualUnit::TwoSlotFromFolder(dir_, error);
    }
    if (!unit_) return Fail("virtual unit: " + error);
    settings_.poll_delay = settings_.byte_delay = settings_.bit_delay = 0;
    clock_.TickEvery(1000);
    LinkHooks hooks;
    hooks.time_of_day = [this] { return clock_.Read(); };
    port_.Attach(unit_.get());
    link_ = std::make_unique<LinkDevice>(port_, settings_, hooks);
    if (!link_->DetectUnitType() || link_->PagedMode() != options_.paged) {
      return Fail("the link does not see the unit it was built on");
    }
    slots_ = std::make_unique<LinkSlots>(*link_);
    reports_.progress = [this](int, int maximum) {
      if (maximum > 0 && stop_at_ > 0 && --stop_at_ == 0) cancel_.Request();
    };
    // Each pane's card has a journal folder of its own, so that the commands undone after an
    // operation are the ones it recorded on that card; few commands are kept, so that the
    // oldest are dropped often.
    for (std::uint8_t source = 0; source < 3; ++source) {
      envs_[source].link = slots_.get();
      envs_[source].messages = &messages_;
      envs_[source].reports = &reports_;
      envs_[source].cancel = &cancel_;
      journals_[source] = std::make_unique<Journal>(JournalOptionsOf(source));
      envs_[source].journal = journals_[source].get();
      cards_[source] = std::make_unique<CardImage>(source, &envs_[source]);
    }
    void* shared = ::mmap(nullptr, sizeof(ChildReport), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) return Fail("no memory to share with a child process");
    child_report_ = static_cast<ChildReport*>(shared);
    if (!OpenImageFile(*cards_[2], image_file_.string())) return Fail("the image does not open");
    return true;
  }

  JournalOptions JournalOptionsOf(int pane) const {
    JournalOptions options;
    options.folder = dir_ / "journal" / kPaneNames[pane];
    options.max_commands = 8;
    return options;
  }

  bool Fail(const std::string& text) {
    figures_.violations.push_back("set-up: " + text);
    return false;
  }

  // What a pane's card holds: a slot's card file, the image, or the selected page.
  Bytes PaneBytes(int pane) {
    const Bytes bytes = testing::ReadFile(pane < 2 ? slot_files_[pane] : image_file_);
    if (!options_.paged || pane != 0) return bytes;
    return PageOf(bytes, page_);
  }

  static Bytes PageOf(const Bytes& pages, int page) {
    const std::size_t start = static_cast<std::size_t>(page) * testing::kCardBytes;
    if (pages.size() < start + testing::kCardBytes) return {};
    return Bytes(pages.begin() + static_cast<std::ptrdiff_t>(start),
                 pages.begin() + static_cast<std::ptrdiff_t>(start + testing::kCardBytes));
  }

  // Paged card: selects a page at random (page 0 one time in `pages`) as the program does,
  // and checks that the card took it. False when the link failed or the card is elsewhere.
  bool SelectPage() {
    const int page = static_cast<int>(Below(static_cast<std::uint32_t>(options_.pages)));
    std::uint16_t taken = 0;
    if (!link_->SetPage(static_cast<std::uint16_t>(page)) || !link_->GetPage(taken) ||
        taken != page) {
      return false;
    }
    if (page != page_) ++figures_.page_changes;
    page_ = page;
    return true;
  }

  // Paged card: every page but the one the operation used holds what it held.
  void CheckOtherPages(const Bytes& before, std::optional<int> used, int number) {
    const Bytes after = testing::ReadFile(slot_files_[0]);
    for (int page = 0; page < options_.pages; ++page) {
      if (page == used) continue;
      if (PageOf(after, page) != PageOf(before, page)) {
        figures_.violations.push_back(
            "operation " + std::to_string(number) + " (seed " + std::to_string(options_.seed) +
            "): page " + std::to_string(page) + ", which the operation did not use, was changed");
      }
    }
  }

  // Faults on coming transactions, about one in fault_one_in, kept ahead of the link.
  void ScheduleFaults() {
    const std::uint64_t now = unit_->Transactions();
    std::uint64_t at = scheduled_.empty() ? now : std::max(now, scheduled_.back());
    const std::uint32_t gap = std::max<std::uint32_t>(1, options_.fault_one_in);
    while (at < now + 3000) {
      at += 1 + Below(2 * gap);
      Fault fault;
      fault.kind = static_cast<FaultKind>(Below(5));  // all kinds but the slow handshake
      fault.checksum_xor = static_cast<std::uint8_t>(1u << Below(8));
      fault.byte = Below(8);
      fault.bit = static_cast<int>(Below(8));
      unit_->InjectFault(at, fault);
      scheduled_.push_back(at);
    }
  }

  void CountReachedFaults() {
    const std::uint64_t now = unit_->Transactions();
    auto reached = std::partition(scheduled_.begin(), scheduled_.end(),
                                  [now](std::uint64_t at) { return at <= now; });
    figures_.faults += static_cast<std::uint64_t>(reached - scheduled_.begin());
    scheduled_.erase(scheduled_.begin(), reached);
  }

  // Maybe arranges for a slot's card to be pulled during the next operation.
  void MaybePull() {
    pull_ = std::nullopt;
    if (Below(std::max<std::uint32_t>(1, options_.pull_one_in)) != 0) return;
    const std::size_t slot = options_.paged ? 0 : Below(2);
    const std::uint64_t after = 1 + Below(600);
    pull_ = Pull{slot, unit_->Transactions() + after};
    unit_->RemoveCardAfter(slot, after);
  }

  // Puts a pulled card back; true when the pull happened during the operation.
  bool PutCardBack() {
    if (!pull_) return false;
    const bool during = unit_->Transactions() >= pull_->at;
    bool slot1 = false;
    bool slot2 = false;
    std::uint16_t page = 0;
    for (int i = 0; i < 2000 && unit_->Transactions() < pull_->at; ++i) {
      // Harmless commands that let the unit reach the pull.
      if (options_.paged) {
        link_->GetPage(page);
      } else {
        link_->GetCardPresence(slot1, slot2);
      }
    }
    std::string error;
    if (!unit_->InsertCardAfter(pull_->slot, slot_files_[pull_->slot], 0, error)) {
      figures_.violations.push_back("the pulled card could not be put back: " + error);
    }
    if (during) ++figures_.pulls;
    return during;
  }

  void Step(int number) {
    ScheduleFaults();
    const bool kill = options_.kill_one_in != 0 && Below(options_.kill_one_in) == 0;
    const bool cancel = !kill && options_.cancel_one_in != 0 && Below(options_.cancel_one_in) == 0;
    MaybePull();
    const Bytes pages_before = options_.paged ? testing::ReadFile(slot_files_[0]) : Bytes{};
    const bool page_selected = !options_.paged || SelectPage();
    std::array<CardState, 3> before;
    for (int pane : panes_) before[pane] = Inspect(PaneBytes(pane));
    const Bytes dcm_before = testing::ReadFile(dcm_file());
    std::array<Expectation, 3> expect;
    std::string name = "select page";
    // Set for an operation run in a child process: whether the child was killed.
    std::optional<bool> killed;
    if (page_selected && kill) {
      killed = RunKilled(before, expect, name);
    } else if (page_selected && cancel) {
      RunCancelled(before, expect, name);
    } else if (page_selected) {
      RunOperation(before, expect, name);
    }
    const bool pulled = PutCardBack();
    CountReachedFaults();
    ++figures_.operations;
    ++figures_.by_operation[killed ? name + " (child)" : name];
    const bool succeeded =
        std::any_of(expect.begin(), expect.end(), [](const Expectation& e) { return e.succeeded; });
    ++(succeeded ? figures_.succeeded : figures_.failed);
    std::array<std::string, 3> where;
    for (int pane : panes_) {
      where[pane] = "operation " + std::to_string(number) + " (" + name +
                    (killed ? " in a child" : "") + ", seed " + std::to_string(options_.seed) +
                    ") on " + kPaneNames[pane];
      if (options_.paged && pane == 0) where[pane] += " page " + std::to_string(page_);
      if (killed) continue;  // what the child did is known only from the journal
      const CardState after = Inspect(PaneBytes(pane));
      for (const std::string& problem : CheckPane(before[pane], after, expect[pane], pulled)) {
        figures_.violations.push_back(where[pane] + ": " + problem);
      }
    }
    if (options_.paged) {
      CheckOtherPages(pages_before, page_selected ? std::optional<int>(page_) : std::nullopt,
                      number);
    }
    if (name == "dump" && !killed) CheckDump(before, dcm_before, dumped_, number);
    UndoSteps(before, where, killed);
    if (number % 4 == 3) SecondWriter(number);  // apart from the seeded draws
  }

  // A second program tries to take the cards this one holds: the image for writing, a second
  // virtual unit on the same card files, a file written over the image. Each must be refused
  // and leave every file as it was.
  void SecondWriter(int number) {
    ++figures_.second_writers;
    const std::string where = "operation " + std::to_string(number) + " (second writer): ";
    std::vector<std::filesystem::path> files = {image_file_, slot_files_[0]};
    if (!options_.paged) files.push_back(slot_files_[1]);
    std::vector<Bytes> before;
    for (const auto& file : files) before.push_back(testing::ReadFile(file));
    CardImage other(kSourceImage);
    ImageOpenError why = ImageOpenError::kNone;
    if (OpenImageFile(other, image_file_.string(), ImageAccess::kReadWrite, &why) ||
        why != ImageOpenError::kInUse) {
      figures_.violations.push_back(where + "the image opened a second time");
    }
    if (WriteFileSafely(image_file_, Bytes(testing::kCardBytes, 0x00))) {
      figures_.violations.push_back(where + "the image was written over");
    }
    std::string error;
    if (options_.paged) {
      if (unit_->HasCard(0) && VirtualUnit::Paged(slot_files_[0], error)) {
        figures_.violations.push_back(where + "a second unit took the paged card");
      }
    } else if (auto second = VirtualUnit::TwoSlotFromFolder(dir_, error)) {
      for (std::size_t slot = 0; slot < 2; ++slot) {
        if (unit_->HasCard(slot) && second->HasCard(slot)) {
          figures_.violations.push_back(where + "a second unit took slot " +
                                        std::to_string(slot + 1));
        }
      }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
      if (testing::ReadFile(files[i]) != before[i]) {
        figures_.violations.push_back(where + files[i].filename().string() + " changed");
      }
    }
  }

  // A dump that succeeded holds the slot's card; one that failed left the file as it was.
  void CheckDump(const std::array<CardState, 3>& before, const Bytes& dcm_before,
                 std::optional<int> dumped, int number) {
    const Bytes dcm = testing::ReadFile(dcm_file());
    const std::string where = "operation " + std::to_string(number) + " (dump): ";
    if (dumped && dcm != before[*dumped].bytes) {
      figures_.violations.push_back(where + "the image file differs from the card");
    } else if (!dumped && dcm != dcm_before) {
      figures_.violations.push_back(where + "a failed dump changed the image file");
    }
  }

  std::filesystem::path dcm_file() const { return dir_ / "dump.dcm"; }

  // Loads a pane as the program does before an operation; false when it does not load.
  bool Load(int pane) { return LoadCard(*cards_[pane]) == LoadResult::kLoaded; }

  // A random listed save of a loaded pane.
  std::optional<std::size_t> PickSave(int pane) {
    const CardImage& card = *cards_[pane];
    if (card.listed_count == 0) return std::nullopt;
    return card.list_order[Below(card.listed_count)];
  }

  static const char* OperationName(std::uint32_t roll) {
    static constexpr std::pair<std::uint32_t, const char*> kNames[] = {
        {30, "copy"},      {45, "move"}, {58, "delete"},  {73, "import"},
        {80, "card icon"}, {86, "dump"}, {92, "restore"}, {95, "format"}};
    for (const auto& [below, name] : kNames) {
      if (roll < below) return name;
    }
    return "write to a damaged card";
  }

  // Runs an operation in a child process that dies after a random number of block writes,
  // unless it finishes first; then takes up the cards as a program started again would (a
  // slot's card as its file now holds it, the image opened again). True when it was killed.
  bool RunKilled(const std::array<CardState, 3>& before, std::array<Expectation, 3>& expect,
                 std::string& name) {
    ++figures_.kills;
    std::snprintf(child_report_->operation, sizeof child_report_->operation, "%s", "?");
    // Most commands write a few blocks, a format 15, a restore 256.
    const std::uint64_t writes = 1 + (Below(4) == 0 ? Below(256) : Below(8));
    const std::uint64_t extra = Below(4);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
      in_child_ = true;
      port_.KillAfterWrites(writes, extra);
      RunOperation(before, expect, name);
      ::_exit(0);
    }
    int status = 0;
    const bool waited = child > 0 && ::waitpid(child, &status, 0) == child;
    const bool killed =
        waited && WIFEXITED(status) && WEXITSTATUS(status) == KillablePort::kKilledStatus;
    if (!waited || !WIFEXITED(status) || (!killed && WEXITSTATUS(status) != 0)) {
      figures_.violations.push_back("the child process of a killed command ended abnormally");
    }
    name = child_report_->operation;
    if (!killed) ++figures_.finished_before_kill;
    random_.discard(97);  // the child drew from its own copy of the generator
    std::string error;
    for (std::size_t slot = 0; slot < (options_.paged ? 1u : 2u); ++slot) {
      unit_->TakeCard(slot);
      if (!unit_->InsertCardAfter(slot, slot_files_[slot], 0, error)) {
        figures_.violations.push_back("a card the child wrote cannot be put back: " + error);
      }
    }
    CloseImageFile(*cards_[2]);
    if (!OpenImageFile(*cards_[2], image_file_.string())) {
      figures_.violations.push_back("the image the child wrote does not open again");
    }
    // A program started again has journals that know nothing of the commands it ran.
    for (int pane : panes_) {
      journals_[pane] = std::make_unique<Journal>(JournalOptionsOf(pane));
      envs_[pane].journal = journals_[pane].get();
    }
    return killed;
  }

  void RunOperation(const std::array<CardState, 3>& before, std::array<Expectation, 3>& expect,
                    std::string& name) {
    // A child does not damage the image: a killed child could not put it back.
    const std::uint32_t roll = in_child_ ? Below(95) : Below(100);
    const std::size_t at = Below(static_cast<std::uint32_t>(panes_.size()));
    const int pane = panes_[at];
    const int other =
        panes_[(at + 1 + Below(static_cast<std::uint32_t>(panes_.size() - 1))) % panes_.size()];
    const int slot = options_.paged ? 0 : pane % 2;
    name = OperationName(roll);
    std::snprintf(child_report_->operation, sizeof child_report_->operation, "%s", name.c_str());
    if (roll < 30) {
      Copy(pane, other, false, before, expect);
    } else if (roll < 45) {
      Copy(pane, other, true, before, expect);
    } else if (roll < 58) {
      Delete(pane, before, expect);
    } else if (roll < 73) {
      Import(pane, expect);
    } else if (roll < 80) {
      CardIcon(pane, expect);
    } else if (roll < 86) {
      Dump(slot);
    } else if (roll < 92) {
      Restore(slot, expect);
    } else if (roll < 95) {
      Format(pane, expect);
    } else {
      DamagedImageWrite(pane != 2 ? pane : other);
    }
  }

  // Damages the image so that writes to it are unsafe (a cross-linked chain, a
  // directory block marked free, a directory chain into user blocks, a root naming another
  // FAT), tries a delete, an import or a copy from `other` onto it, and checks that the write
  // was refused and left the damaged card exactly as it was; then puts the card back. Only the
  // image is damaged: a slot file written under the virtual unit is a card pulled out, which
  // the unit now notices on its own.
  void DamagedImageWrite(int other) {
    const int pane = 2;
    if (other == pane) return;
    const std::filesystem::path file = pane < 2 ? slot_files_[pane] : image_file_;
    const Bytes original = testing::ReadFile(file);
    const Bytes damaged = Damage(original);
    if (!PutCardFile(pane, damaged)) return;
    if (Load(pane)) {
      CardImage& card = *cards_[pane];
      const std::uint32_t kind = Below(3);
      bool refused = true;
      if (kind == 0 && card.listed_count > 0) {
        const std::size_t index = *PickSave(pane);
        refused = !DeleteSavesCommand(card, std::span(&index, 1));
      } else if (kind == 1) {
        const Bytes& dci = demo_saves_[Below(static_cast<std::uint32_t>(demo_saves_.size()))];
        refused =
            ImportSaveCommand(card, dci, FixedAnswers(false)).error == TransferError::kUnsafeCard;
      } else if (Load(other)) {
        if (const std::optional<std::size_t> index = PickSave(other)) {
          refused = CopySaveCommand(*cards_[other], *index, card, FixedAnswers(false)).error ==
                    TransferError::kUnsafeCard;
        }
      }
      if (!refused) figures_.violations.push_back("a write to a damaged card was not refused");
      if (testing::ReadFile(file) != damaged) {
        figures_.violations.push_back("a refused write changed the damaged card" +
                                      FirstDifference(testing::ReadFile(file), damaged));
      }
    }
    if (!PutCardFile(pane, original)) {
      figures_.violations.push_back("the damaged card could not be put back as it was");
    }
  }

  // The card with one kind of damage that makes writes unsafe (bytes in link order).
  Bytes Damage(Bytes bytes) {
    const auto put = [&bytes](int block, std::size_t offset, std::uint8_t value) {
      bytes[static_cast<std::size_t>(block) * kBlockSize + (offset ^ 3)] = value;
    };
    const auto set_fat = [&put](int block, std::uint16_t value) {
      put(kFatBlock, 2 * static_cast<std::size_t>(block), static_cast<std::uint8_t>(value));
      put(kFatBlock, 2 * static_cast<std::size_t>(block) + 1,
          static_cast<std::uint8_t>(value >> 8));
    };
    testing::MemoryCard memory(bytes);
    CardImage& card = memory.card();
    const bool loads = LoadCard(card) == LoadResult::kLoaded;
    switch (Below(4)) {
      case 0:
        // The last block of the first listed save links into the second's chain.
        if (loads && card.listed_count >= 2) {
          std::uint16_t last = card.records[card.list_order[0]].first_block;
          for (int step = 0; step < kCardBlocks && card.fat[last] < kCardBlocks; ++step) {
            last = card.fat[last];
          }
          set_fat(last, card.records[card.list_order[1]].first_block);
          break;
        }
        [[fallthrough]];
      case 1:
        set_fat(kLastDirectoryBlock + 1 + static_cast<int>(Below(12)), kFatFree);
        break;
      case 2:
        set_fat(kDirectoryBlock - static_cast<int>(Below(12)), 1 + Below(199));
        break;
      default:
        put(kRootBlock, 0x46, static_cast<std::uint8_t>(Below(200)));
        break;
    }
    return bytes;
  }

  // Replaces the card of `pane` by `bytes`: a slot's card is taken out and put in again from
  // its file, the image is closed and opened again.
  bool PutCardFile(int pane, const Bytes& bytes) {
    if (pane == 2) {
      CloseImageFile(*cards_[2]);
      testing::WriteFile(image_file_, bytes);
      return OpenImageFile(*cards_[2], image_file_.string());
    }
    testing::WriteFile(slot_files_[pane], bytes);
    std::string error;
    return unit_->InsertCardAfter(static_cast<std::size_t>(pane), slot_files_[pane], 0, error);
  }

  void Copy(int from, int to, bool move, const std::array<CardState, 3>& before,
            std::array<Expectation, 3>& expect, bool cancel = false) {
    if (!Load(from) || !Load(to)) return;
    const std::optional<std::size_t> index = PickSave(from);
    if (!index) return;
    CardImage& source = *cards_[from];
    if (FindSaveByName(*cards_[to], source.records[*index].name)) return;  // would ask
    const auto saved = before[from].by_slot.find(*index);
    if (saved == before[from].by_slot.end()) return;
    expect[to].kind = Expectation::Kind::kAdds;
    expect[to].save = saved->second;
    if (cancel) StopAtReport(source.records[*index].size + 1);
    expect[to].succeeded =
        CopySaveCommand(source, *index, *cards_[to], FixedAnswers(false)).Stored();
    if (move && expect[to].succeeded) {
      expect[from].kind = Expectation::Kind::kRemoves;
      expect[from].save = saved->second;
      expect[from].succeeded = DeleteSavesCommand(source, std::span(&*index, 1));
    }
  }

  void Delete(int pane, const std::array<CardState, 3>& before,
              std::array<Expectation, 3>& expect) {
    if (!Load(pane)) return;
    const std::optional<std::size_t> index = PickSave(pane);
    if (!index) return;
    const auto saved = before[pane].by_slot.find(*index);
    if (saved == before[pane].by_slot.end()) return;
    expect[pane].kind = Expectation::Kind::kRemoves;
    expect[pane].save = saved->second;
    expect[pane].succeeded = DeleteSavesCommand(*cards_[pane], std::span(&*index, 1));
  }

  void Import(int pane, std::array<Expectation, 3>& expect) {
    const Bytes& dci = demo_saves_[Below(static_cast<std::uint32_t>(demo_saves_.size()))];
    const std::filesystem::path file = dir_ / "save.dci";
    testing::WriteFile(file, dci);
    if (!Load(pane)) return;
    const std::string name(dci.begin() + kEntryName, dci.begin() + kEntryName + kEntryNameSize);
    if (FindSaveByName(*cards_[pane], name)) return;  // would ask
    expect[pane].kind = Expectation::Kind::kAdds;
    expect[pane].save = ContentOfDci(dci);
    expect[pane].succeeded = Store(pane, file);
  }

  // The add-icon command: a picture read from a BMP file becomes the card icon save, built
  // in the working file and imported like a single-save file.
  void CardIcon(int pane, std::array<Expectation, 3>& expect) {
    IconImage picture;
    for (std::uint8_t& byte : picture.bytes) byte = static_cast<std::uint8_t>(random_());
    const std::filesystem::path bmp = dir_ / "icon.bmp";
    const std::filesystem::path work = dir_ / kCardIconWorkFile;
    IconImage colour;
    if (!WriteIconBmp(picture, bmp) || ReadIconBmp(colour, bmp) != BmpReadResult::kOk ||
        colour.bytes != picture.bytes) {
      figures_.violations.push_back("the icon picture does not survive its BMP file");
      return;
    }
    IconImage monochrome = colour;
    SetDarkColours(monochrome, std::bitset<16>(Below(1u << 16)));
    if (!WriteCardIconFile(colour, monochrome, "SOAK ICON", work)) {
      figures_.violations.push_back("the card icon file cannot be written");
      return;
    }
    if (!Load(pane)) return;
    expect[pane].kind = Expectation::Kind::kAdds;
    expect[pane].save = ContentOfDci(testing::ReadFile(work));
    expect[pane].succeeded = Store(pane, work);
  }

  // Adds a single-save file to a pane's card as the window and quorvel-cli do.
  bool Store(int pane, const std::filesystem::path& file) {
    const SaveFileBytes read = ReadSaveFile(file);
    return read.status == DciImportResult::File::kOk &&
           ImportSaveCommand(*cards_[pane], read.bytes, FixedAnswers(false)).Stored();
  }

  void Dump(int slot) {
    dumped_ = std::nullopt;
    if (DumpCardToFile(*cards_[slot], dcm_file()) == DcmError::kNone) dumped_ = slot;
  }

  void Restore(int slot, std::array<Expectation, 3>& expect, bool cancel = false,
               const std::filesystem::path& image = {}) {
    const std::filesystem::path file = image.empty() ? dcm_file() : image;
    if (CheckImageFile(file) != DcmError::kNone) return;
    expect[slot].kind = Expectation::Kind::kRestores;
    expect[slot].restored = testing::ReadFile(file);
    if (cancel) StopAtReport(kCardBlocks + 1);
    expect[slot].succeeded = RestoreCardFromFile(*cards_[slot], file) == DcmError::kNone;
  }

  void Format(int pane, std::array<Expectation, 3>& expect, bool cancel = false) {
    static constexpr std::uint8_t kUserBlocks[] = {200, 240, 241};
    expect[pane].kind = Expectation::Kind::kFormats;
    expect[pane].user_blocks = kUserBlocks[Below(3)];
    // A format stops only at its first report (before its first write): half the stops there.
    if (cancel) StopAtReport(Below(2) == 0 ? 1 : kRootBlock - kLastDirectoryBlock + 2);
    expect[pane].succeeded = FormatCardCommand(*cards_[pane], expect[pane].user_blocks);
  }

  // Arms a request to stop at one of the next `reports` progress reports, drawn at random: the
  // first comes before the command's first block, each further one after a whole block, and
  // the last after its last block (too late to stop anything).
  void StopAtReport(std::uint32_t reports) { stop_at_ = static_cast<int>(1 + Below(reports)); }

  // A copy, a restore or a format asked to stop at a random point. Stopped, it must leave the
  // card storing what it stored (a whole-card command: exactly the bytes it held), and say so;
  // the undo step after it then checks what the journal recorded of it.
  void RunCancelled(const std::array<CardState, 3>& before, std::array<Expectation, 3>& expect,
                    std::string& name) {
    const std::size_t at = Below(static_cast<std::uint32_t>(panes_.size()));
    const int pane = panes_[at];
    const int other =
        panes_[(at + 1 + Below(static_cast<std::uint32_t>(panes_.size() - 1))) % panes_.size()];
    const int slot = options_.paged ? 0 : pane % 2;
    cancel_.Reset();
    const std::uint32_t kind = Below(3);
    if (kind == 0) {
      name = "cancelled copy";
      Copy(pane, other, false, before, expect, true);
    } else if (kind == 1) {
      name = "cancelled restore";
      // Another card's bytes are written onto the slot's card.
      const std::filesystem::path image = dir_ / "restore.dcm";
      testing::WriteFile(image, before[other == slot ? 2 : other].bytes);
      Restore(slot, expect, true, image);
    } else {
      name = "cancelled format";
      Format(pane, expect, true);
    }
    stop_at_ = 0;
    const CancelOutcome outcome = cancel_.Outcome();
    const bool stopped = outcome != CancelOutcome::kNone;
    for (Expectation& e : expect) {
      if (e.kind == Expectation::Kind::kRestores || e.kind == Expectation::Kind::kFormats) {
        e.exact = stopped;
      }
    }
    if (stopped && std::any_of(expect.begin(), expect.end(),
                               [](const Expectation& e) { return e.succeeded; })) {
      figures_.violations.push_back(name + " reported success and a stop");
    }
    if (outcome == CancelOutcome::kNotPutBack && !pull_) {
      figures_.violations.push_back(name + ": the card could not be put back as it was");
    }
    ++figures_.cancels[name + ": " + OutcomeWords(outcome, cancel_.Requested())];
    cancel_.Reset();
  }

  static std::string OutcomeWords(CancelOutcome outcome, bool requested) {
    switch (outcome) {
      case CancelOutcome::kNone:
        return requested ? "ran to its end" : "not reached";
      case CancelOutcome::kNothingWritten:
        return "nothing written";
      case CancelOutcome::kNothingStored:
        return "nothing stored";
      case CancelOutcome::kPutBack:
        return "put back";
      case CancelOutcome::kNotPutBack:
        return "not put back";
    }
    return "";
  }

  // The journal records of a pane's card as they were after the last step, by card key.
  void Remember(int pane, CardKey key) {
    const JournalFile file = journals_[pane]->Load(key);
    if (file.status == JournalFile::Status::kOk) {
      journal_seen_[pane][key] = file.entries;
    } else {
      journal_seen_[pane].erase(key);
    }
  }

  // After an operation, without faults: each card it recorded commands for is put back by
  // undo to exactly what it held before; the undo is then undone, which must give back
  // exactly what the operation left. After a killed child the journal is read afresh (as a
  // program started again reads it), the interrupted command is found by its missing end
  // mark, and the card stays put back.
  // `killed` is set for an operation run in a child (true when the child was killed).
  void UndoSteps(const std::array<CardState, 3>& before, const std::array<std::string, 3>& where,
                 std::optional<bool> killed) {
    unit_->ClearFaults();
    scheduled_.clear();
    std::uint16_t page = 0;
    if (options_.paged && (!link_->SetPage(static_cast<std::uint16_t>(page_)) ||
                           !link_->GetPage(page) || page != page_)) {
      figures_.violations.push_back(where[0] + ": the page cannot be selected for the undo");
      return;
    }
    bool interrupted = false;
    bool recorded = false;
    for (int pane : panes_) {
      const auto broken = [&](const std::string& text) {
        figures_.violations.push_back(where[pane] + ": " + text);
      };
      const Bytes after = PaneBytes(pane);
      const CardKey key_before = KeyOf(before[pane].bytes);
      CardKey key = 0;
      const JournalFile file = CardJournal(*cards_[pane], *journals_[pane], &key);
      if (key != KeyOf(after)) broken("the card's root block reads differently over the link");
      if (file.status != JournalFile::Status::kOk && file.status != JournalFile::Status::kMissing) {
        broken("the card's journal is " + std::string(Describe(file.status)));
      }
      // What the journal held before: the records under the card's name then, after those of
      // a card that had its new name already (the journal follows a card that changed its
      // root).
      std::vector<JournalEntry> seen;
      const auto& known = journal_seen_[pane];
      if (key != key_before) {
        if (auto it = known.find(key); it != known.end()) seen = it->second;
      }
      if (auto it = known.find(key_before); it != known.end()) {
        seen.insert(seen.end(), it->second.begin(), it->second.end());
      }
      const std::size_t added = NewRecords(seen, file.entries);
      if (added == 0) {
        if (after != before[pane].bytes) {
          broken("the card was changed and the journal recorded nothing" +
                 FirstDifference(after, before[pane].bytes));
        }
      } else {
        recorded = true;
        if (!file.entries.back().finished) interrupted = true;
        const std::uint64_t first = file.entries[file.entries.size() - added].number;
        const UndoResult undo = UndoCommands(*cards_[pane], *journals_[pane], first);
        ++figures_.undos;
        const Bytes undone = PaneBytes(pane);
        if (undo.outcome != UndoResult::Outcome::kDone) {
          broken("undo of " + std::to_string(added) + " command(s) refused: " + Describe(undo));
        } else if (undone != before[pane].bytes) {
          broken("undo did not give the card back" + FirstDifference(undone, before[pane].bytes));
        } else if (!killed.has_value()) {
          const UndoResult again = UndoCommands(*cards_[pane], *journals_[pane]);
          ++figures_.undos_undone;
          if (again.outcome != UndoResult::Outcome::kDone) {
            broken("undoing the undo was refused: " + Describe(again));
          } else if (PaneBytes(pane) != after) {
            broken("undoing the undo did not give back what the operation left" +
                   FirstDifference(PaneBytes(pane), after));
          }
        }
      }
      Remember(pane, key_before);
      Remember(pane, key);
    }
    if (killed.value_or(false)) {
      if (interrupted) {
        ++figures_.interrupted_found;
      } else if (!recorded) {
        ++figures_.killed_unrecorded;
      }
    }
  }

  // The invariants for one card; each broken one is a line.
  std::vector<std::string> CheckPane(const CardState& before, const CardState& after,
                                     const Expectation& expect, bool pulled) {
    using Kind = Expectation::Kind;
    std::vector<std::string> broken;
    const bool same_bytes = after.bytes == before.bytes;
    if (expect.kind == Kind::kUntouched) {
      if (!same_bytes) broken.push_back("a card the operation does not write was changed");
      return broken;
    }
    if (!expect.succeeded) {
      if (expect.exact && !same_bytes && !pulled) {
        broken.push_back("a stopped command did not leave the card exactly as it was" +
                         FirstDifference(after.bytes, before.bytes));
      }
      if (invariants::SameCardContent(before.bytes, after.bytes)) return broken;
      if (!pulled) {
        broken.push_back("a failed operation changed what the card stores");
      } else if (expect.kind == Kind::kAdds || expect.kind == Kind::kRemoves) {
        CheckTorn(before, after, expect, broken);
      }
      return broken;
    }
    switch (expect.kind) {
      case Kind::kAdds: {
        std::multiset<SaveContent> wanted = before.saves;
        wanted.insert(expect.save);
        if (after.saves != wanted)
          broken.push_back("the card does not hold the added save exactly" +
                           Difference(after.saves, wanted));
        break;
      }
      case Kind::kRemoves: {
        std::multiset<SaveContent> wanted = before.saves;
        if (auto it = wanted.find(expect.save); it != wanted.end()) wanted.erase(it);
        if (after.saves != wanted) broken.push_back("the card lost more or less than the save");
        break;
      }
      case Kind::kFormats:
        if (!after.loads || !after.saves.empty() || !after.problems.empty() ||
            after.bytes[std::size_t{kRootBlock} * kBlockSize + (kRootUserBlocks ^ 3)] !=
                expect.user_blocks) {
          broken.push_back("the formatted card is not empty and clean");
        }
        return broken;
      case Kind::kRestores:
        if (after.bytes != expect.restored) {
          broken.push_back("the restored card differs" +
                           FirstDifference(after.bytes, expect.restored));
        }
        return broken;
      case Kind::kUntouched:
        break;
    }
    for (const std::string& problem : after.problems) {
      if (!before.problems.contains(problem)) broken.push_back("new problem: " + problem);
    }
    return broken;
  }

  // A card pulled while it was written: no save may hold bytes that were never its own and no
  // save but the one concerned may be lost; lost blocks are allowed.
  void CheckTorn(const CardState& before, const CardState& after, const Expectation& expect,
                 std::vector<std::string>& broken) {
    for (const SaveContent& save : after.saves) {
      if (!before.saves.contains(save) && !(save == expect.save)) {
        broken.push_back("after a pull a save holds bytes that were never written as its own");
      }
    }
    for (const SaveContent& save : before.saves) {
      if (!after.saves.contains(save) && !(save == expect.save)) {
        broken.push_back("after a pull a save that was not concerned is gone");
      }
    }
    for (const std::string& problem : after.problems) {
      if (!before.problems.contains(problem) &&
          problem.find("belongs to no save") == std::string::npos) {
        broken.push_back("after a pull, new problem: " + problem);
      }
    }
  }

  struct Pull {
    std::size_t slot;
    std::uint64_t at;
  };

  Options options_;
  std::filesystem::path dir_;
  std::mt19937 random_;
  Figures figures_;
  std::array<std::filesystem::path, 2> slot_files_;
  std::filesystem::path image_file_;
  std::vector<Bytes> demo_saves_;
  LinkSettings settings_;
  testing::FakeClock clock_;
  QuietMessages messages_;
  Reports reports_;
  CancelRequest cancel_;
  int stop_at_ = 0;  // progress reports until the request to stop (0: none armed)
  std::array<CardEnvironment, 3> envs_;
  std::array<std::unique_ptr<Journal>, 3> journals_;
  std::array<std::map<CardKey, std::vector<JournalEntry>>, 3> journal_seen_;
  ChildReport* child_report_ = nullptr;  // shared with the child of a killed operation
  bool in_child_ = false;
  KillablePort port_;
  std::unique_ptr<VirtualUnit> unit_;
  std::unique_ptr<LinkDevice> link_;
  std::unique_ptr<LinkSlots> slots_;
  std::array<std::unique_ptr<CardImage>, 3> cards_;
  std::vector<std::uint64_t> scheduled_;
  std::optional<Pull> pull_;
  std::optional<int> dumped_;  // the slot the last dump read in full
  std::vector<int> panes_ = {0, 1, 2};
  int page_ = 0;  // paged card: the page selected for the current operation
};

}  // namespace

Figures Run(const Options& options, const std::filesystem::path& dir) {
  return World(options, dir).Run();
}

std::string Describe(const Figures& figures) {
  std::ostringstream text;
  text << "soak (" << figures.setting << "): " << figures.operations << " operations ("
       << figures.succeeded << " succeeded, " << figures.failed << " failed or refused), "
       << figures.transactions << " link transactions, " << figures.faults << " faults injected, "
       << figures.pulls << " cards pulled during an operation, " << figures.second_writers
       << " second writers refused, ";
  if (figures.paged) text << figures.page_changes << " operations on a newly selected page, ";
  text << figures.violations.size() << " invariant violations\n";
  text << "soak undo: " << figures.undos << " undos checked byte for byte, " << figures.undos_undone
       << " undos undone again; " << figures.kills << " operations in a child process, "
       << figures.finished_before_kill << " finished before their kill, "
       << figures.interrupted_found << " interrupted commands found without end mark and put back, "
       << figures.killed_unrecorded << " killed before anything was recorded\n";
  text << "soak operations:";
  for (const auto& [name, count] : figures.by_operation) text << " " << name << " " << count;
  text << "\n";
  if (!figures.cancels.empty()) {
    text << "soak cancels:";
    for (const auto& [what, count] : figures.cancels) text << " " << what << " " << count << ";";
    text << "\n";
  }
  for (const std::string& violation : figures.violations)
    text << "violation: " << violation << "\n";
  return text.str();
}

}  // namespace quorvel::soak
