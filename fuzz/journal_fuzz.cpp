// Fuzz target: any bytes as a card's journal file. The reader never faults; a file it refuses
// comes with a status and no entries; what it accepts is written again as the very same
// entries. Undo on the card the file belongs to (a card two recorded commands left) uses the
// file only when it was accepted: with a refused file it says so and writes nothing, an undo
// that does not happen writes nothing, and one that happens puts back exactly the old contents
// the undone command recorded, every other block unchanged.
#include <algorithm>
#include <map>

#include "card/file_system.h"
#include "card/journal.h"
#include "card/save_commands.h"
#include "card_support.h"
#include "demo_cards.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {
namespace {

// A card, two commands run on it with the journal on, and the journal they wrote.
struct RecordedCard {
  Bytes after;               // the card as the commands left it: every input is undone on it
  CardKey key = 0;           // its journal file's name
  Bytes first_command_only;  // the journal after the first command
  Bytes journal;             // after both
};

const RecordedCard& Recorded() {
  static const RecordedCard recorded = [] {
    RecordedCard made;
    MemoryCard card(EmptyCardImage());
    Check(LoadCard(card.card()) == LoadResult::kLoaded, "the empty card does not load");
    Check(testing::AddPatternSave(card.card(), "SONIC_ADV___", 4, false, 1) &&
              testing::AddPatternSave(card.card(), "RACE_DATA___", 3, false, 2),
          "a save could not be added");
    Journal journal{{.folder = ScratchDir() / "recorded-journal"}};
    CardEnvironment env;
    env.journal = &journal;
    card.card().env = &env;
    const std::size_t deleted = card.card().list_order[0];
    Check(DeleteSavesCommand(card.card(), std::span(&deleted, 1)), "the delete failed");
    made.key = CardKeyOfRoot(std::span<const std::uint8_t, kBlockSize>(
        card.bytes().data() + std::size_t{kRootBlock} * kBlockSize, kBlockSize));
    made.first_command_only = ReadFile(journal.FileOf(made.key));
    const StoreResult stored =
        ImportSaveCommand(card.card(), demo::DemoSaves(1).front().dci, FixedAnswers(false));
    Check(stored.Stored(), "the import failed");
    card.card().env = nullptr;
    made.after = card.bytes();
    made.journal = ReadFile(journal.FileOf(made.key));
    return made;
  }();
  return recorded;
}

bool SameBlocks(const std::vector<JournalBlock>& a, const std::vector<JournalBlock>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
    return x.block == y.block && x.old_data == y.old_data && x.first_hash == y.first_hash &&
           x.final_known == y.final_known && x.final_hash == y.final_hash;
  });
}

bool SameEntries(const std::vector<JournalEntry>& a, const std::vector<JournalEntry>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
    return x.number == y.number && x.time == y.time && x.source == y.source &&
           x.command.name == y.command.name && x.command.saves == y.command.saves &&
           x.command.scale == y.command.scale && x.card_before == y.card_before &&
           SameBlocks(x.blocks, y.blocks) && x.finished == y.finished &&
           x.succeeded == y.succeeded && x.card_after == y.card_after;
  });
}

// After an undo of the commands numbered `undone`: each block they recorded holds the old
// contents of the oldest record of it, every other block what it held before.
void CheckUndone(const std::vector<JournalEntry>& entries, const std::vector<std::uint64_t>& undone,
                 const Bytes& before, const Bytes& now) {
  std::map<std::uint8_t, const Block*> old_data;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    if (std::find(undone.begin(), undone.end(), it->number) == undone.end()) continue;
    for (const JournalBlock& block : it->blocks) old_data[block.block] = &block.old_data;
  }
  for (std::size_t block = 0; block < kCardBlocks; ++block) {
    const auto at = static_cast<std::ptrdiff_t>(block * kBlockSize);
    const auto found = old_data.find(static_cast<std::uint8_t>(block));
    const std::uint8_t* expected =
        found != old_data.end() ? found->second->data() : before.data() + at;
    Check(std::equal(expected, expected + kBlockSize, now.begin() + at),
          found != old_data.end() ? "an undone block does not hold its old contents"
                                  : "an undo changed a block its commands did not record");
  }
}

}  // namespace

std::vector<Bytes> journalFuzzSeeds() {
  const RecordedCard& recorded = Recorded();
  std::vector<Bytes> seeds = {recorded.journal, recorded.first_command_only};
  Bytes damaged = recorded.journal;
  damaged[damaged.size() / 2] ^= 0x01;  // a record whose CRC no longer matches
  seeds.push_back(damaged);
  seeds.emplace_back(recorded.journal.begin(), recorded.journal.end() - 3);  // cut short
  Bytes other_version = recorded.journal;
  other_version[8] = 2;
  seeds.push_back(other_version);
  return seeds;
}

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(journal, 16384) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  const RecordedCard& recorded = Recorded();
  const JournalFile parsed = ParseJournal(input);
  if (parsed.status != JournalFile::Status::kOk) {
    Check(parsed.entries.empty(), "a refused journal came with entries");
  } else {
    const JournalFile again = ParseJournal(SerializeJournal(parsed.entries));
    Check(again.status == JournalFile::Status::kOk && SameEntries(again.entries, parsed.entries),
          "a journal written again reads as other entries");
  }

  // The journal file of the recorded card holds the input; nothing records the undo itself
  // (the card has no environment), so the file is only read.
  static Journal journal{{.folder = ScratchDir() / "journal"}};
  static const std::filesystem::path file = [] {
    std::filesystem::create_directories(journal.Options().folder);
    return journal.FileOf(Recorded().key);
  }();
  WriteFile(file, input);
  MemoryCard& card = ReusedCard(0);
  card.Reset(recorded.after);
  const UndoResult undo = UndoCommands(card.card(), journal);
  Check(undo.journal_status == parsed.status, "undo read the journal otherwise than the reader");
  if (parsed.status != JournalFile::Status::kOk) {
    Check(undo.outcome == UndoResult::Outcome::kBadJournal, "a damaged journal was not reported");
  }
  if (undo.outcome != UndoResult::Outcome::kDone) {
    Check(card.bytes() == recorded.after, "an undo that did not happen changed the card");
    return;
  }
  CheckUndone(parsed.entries, undo.undone, recorded.after, card.bytes());
}
