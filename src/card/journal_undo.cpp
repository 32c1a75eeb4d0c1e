// Undo from the journal: the chain of commands back to the one asked for, the check that the
// card still holds what they wrote, and the old blocks written back as one journalled command.
#include <algorithm>
#include <map>
#include <set>

#include "card/block_io.h"
#include "card/cancel.h"
#include "card/journal.h"

namespace quorvel {
namespace {

using Outcome = UndoResult::Outcome;

// What a block may hold now for the undo to go on: one of these hashes, or anything when its
// contents are unknown: the last write to it failed, or the command that wrote it last never
// ended (it may have stopped inside a block, after writing a block twice, or after writing a
// block it had recorded before its first write, whose new contents the journal never saw).
struct Expected {
  bool any = false;
  std::vector<std::uint64_t> hashes;
};

std::string UndoName(const std::vector<std::uint64_t>& undone) {
  // Appended piece by piece: g++ 12 at -O3 takes "-" + std::to_string(...) for an overlapping
  // copy (-Wrestrict), which stops the Release build.
  std::string name = "undo ";
  name += std::to_string(undone.back());
  if (undone.size() > 1) {
    name += '-';
    name += std::to_string(undone.front());
  }
  return name;
}

}  // namespace

JournalFile CardJournal(CardImage& card, Journal& journal, CardKey* key) {
  Block root;
  if (!ReadBlock(card, kRootBlock, root)) return {JournalFile::Status::kUnreadable, {}};
  const CardKey found = CardKeyOfRoot(root);
  if (key != nullptr) *key = found;
  return journal.Load(found);
}

JournalFile LoadedCardJournal(const CardImage& card, const Journal& journal, CardKey* key) {
  Block root = card.root;
  ReverseGroups(root);  // the model holds it in logical order; the key is of the link order
  const CardKey found = CardKeyOfRoot(root);
  if (key != nullptr) *key = found;
  return journal.Load(found);
}

UndoResult UndoCommands(CardImage& card, Journal& journal, std::optional<std::uint64_t> to) {
  UndoResult result;
  CardKey key = 0;
  const JournalFile file = CardJournal(card, journal, &key);
  result.journal_status = file.status;
  if (file.status == JournalFile::Status::kUnreadable && key == 0) {
    result.outcome = Outcome::kReadFailed;
    return result;
  }
  if (file.status == JournalFile::Status::kMissing ||
      (file.status == JournalFile::Status::kOk && file.entries.empty())) {
    result.outcome = Outcome::kNoJournal;
    return result;
  }
  if (file.status != JournalFile::Status::kOk) {
    result.outcome = Outcome::kBadJournal;
    return result;
  }
  const std::vector<JournalEntry>& entries = file.entries;
  const std::uint64_t target = to.value_or(entries.back().number);
  const auto first = std::find_if(entries.begin(), entries.end(),
                                  [&](const JournalEntry& e) { return e.number == target; });
  if (first == entries.end()) {
    result.outcome = Outcome::kNoSuchCommand;
    return result;
  }

  // Newest first: each command must have left the card the next one started from, and the
  // newest the card that is there now (an unfinished one may not have reached its root).
  CardKey expected_after = key;
  std::map<std::uint8_t, Expected> expected;
  std::map<std::uint8_t, const Block*> old_data;
  // The blocks in the order they are written back: the newest command's last block first,
  // so that the commands are unwound step by step in the reverse of the order they wrote.
  std::vector<std::uint8_t> write_order;
  CommandScale scale = CommandScale::kSaves;
  std::set<std::string> saves;
  for (auto it = entries.end(); it != first;) {
    --it;
    const JournalEntry& entry = *it;
    const CardKey left = entry.finished ? entry.card_after : entry.card_before;
    if (left != expected_after && !(!entry.finished && entry.card_after == expected_after)) {
      result.outcome = Outcome::kBrokenChain;
      return result;
    }
    // The blocks of a command that never ended cannot be checked (see Expected), so its old
    // blocks go back only onto the card it ran on: a card of the same root (an image backed up
    // from it, a card that image was written to) would get another card's directory and FAT.
    if (!entry.finished && entry.source != journal.SourceOf(card)) {
      result.outcome = Outcome::kBrokenChain;
      return result;
    }
    expected_after = entry.card_before;
    if (entry.command.scale == CommandScale::kWholeCard) scale = CommandScale::kWholeCard;
    saves.insert(entry.command.saves.begin(), entry.command.saves.end());
    result.undone.push_back(entry.number);
    for (const JournalBlock& block : entry.blocks) {
      if (expected.count(block.block) == 0) {
        Expected& now = expected[block.block];
        if (!entry.finished) {
          now.any = true;
        } else if (block.final_known) {
          now.hashes = {block.final_hash};
        } else {
          now.any = true;
        }
      }
      old_data[block.block] = &block.old_data;  // the oldest command's old contents win
    }
    for (auto block = entry.blocks.rbegin(); block != entry.blocks.rend(); ++block) {
      if (std::find(write_order.begin(), write_order.end(), block->block) == write_order.end()) {
        write_order.push_back(block->block);
      }
    }
  }

  // Until the first write a stop leaves the card as it is. Once the old blocks go back they go
  // back whole: the undo is itself the way back, and half of it would be a card neither before
  // nor after the commands.
  const auto stopped = [&] {
    if (!StopRequested(card)) return false;
    AcknowledgeStop(card, CancelOutcome::kNothingWritten);
    result.outcome = Outcome::kCancelled;
    return true;
  };
  for (const auto& [block, allowed] : expected) {
    if (stopped()) return result;
    if (allowed.any) continue;
    Block now;
    if (!ReadBlock(card, block, now)) {
      result.outcome = Outcome::kReadFailed;
      return result;
    }
    const std::uint64_t hash = BlockHash(now);
    if (std::find(allowed.hashes.begin(), allowed.hashes.end(), hash) == allowed.hashes.end()) {
      result.changed_blocks.push_back(block);
    }
  }
  if (!result.changed_blocks.empty()) {
    result.outcome = Outcome::kChanged;
    return result;
  }

  if (stopped()) return result;
  std::vector<std::uint8_t> declared;
  for (const auto& [block, data] : old_data) declared.push_back(block);
  JournalScope scope(card, {UndoName(result.undone), {saves.begin(), saves.end()}, scale},
                     declared);
  if (!scope.Ok()) {
    result.outcome = Outcome::kJournalFailed;
    return result;
  }
  // A command writes its saves' blocks, then the FAT, then the directory (or, deleting, the
  // directory before the FAT): written back in the reverse order, a card pulled half-way holds
  // at worst blocks in use by no save, never an entry whose chain is already free.
  const CancelHold whole(card);
  const int count = static_cast<int>(write_order.size());
  ReportProgress(card, 0, count);
  for (const std::uint8_t block : write_order) {
    if (!WriteBlock(card, block, *old_data[block])) {
      ReportProgress(card, 0, 0);
      scope.Failed();
      result.outcome = Outcome::kWriteFailed;
      return result;
    }
    ++result.blocks_written;
    ReportProgress(card, static_cast<int>(result.blocks_written), count);
  }
  ReportProgress(card, 0, 0);
  result.outcome = Outcome::kDone;
  return result;
}

std::string Describe(const UndoResult& result) {
  switch (result.outcome) {
    case Outcome::kDone:
      return "undone";
    case Outcome::kNoJournal:
      return "nothing is recorded for this card";
    case Outcome::kBadJournal:
      return std::string("the card's journal is ") + std::string(Describe(result.journal_status)) +
             "; it is not used";
    case Outcome::kNoSuchCommand:
      return "the card's journal has no such command";
    case Outcome::kBrokenChain:
      return "the journal does not lead from this card back to that command; nothing was "
             "changed";
    case Outcome::kChanged: {
      std::string text = "the card was changed since (block";
      text += result.changed_blocks.size() > 1 ? "s" : "";
      for (std::size_t i = 0; i < result.changed_blocks.size(); ++i) {
        text += (i == 0 ? " " : ", ") + std::to_string(result.changed_blocks[i]);
      }
      return text + " no longer hold what the command wrote); nothing was changed";
    }
    case Outcome::kReadFailed:
      return "a block could not be read; nothing was changed";
    case Outcome::kWriteFailed:
      return "a block could not be written; the card is partly put back (this undo is recorded "
             "too and can itself be undone)";
    case Outcome::kJournalFailed:
      return "the journal could not be written; nothing was changed";
    case Outcome::kCancelled:
      return std::string(Describe(CancelOutcome::kNothingWritten));
  }
  return "";
}

}  // namespace quorvel
