// Consistency check of root, FAT chains and directory, and the write-safety test built on it.
#include "card/card_check.h"

#include <array>
#include <charconv>
#include <iterator>
#include <string_view>

#include "card/file_system.h"

namespace quorvel {
namespace {

constexpr int kNoOwner = -1;
constexpr int kSystemOwner = -2;

using Kind = CardFinding::Kind;

// The findings of one check. A check that only wants some of them (the problems, or the first
// fault that makes writes unsafe) builds no text for the others: every finding's text is made
// by a function that runs only when the finding is kept.
class Findings {
 public:
  enum class Keep { kAll, kProblems, kFirstUnsafe };
  explicit Findings(Keep keep) : keep_(keep) {}

  bool Wants(Kind kind) const {
    switch (keep_) {
      case Keep::kAll:
        return true;
      case Keep::kProblems:
        return kind != Kind::kNote;
      case Keep::kFirstUnsafe:
        return kind == Kind::kUnsafe && list_.empty();
    }
    return true;
  }
  template <typename MakeText>
  void Add(Kind kind, MakeText make_text) {
    if (Wants(kind)) list_.push_back({kind, make_text()});
  }
  std::vector<CardFinding> Take() { return std::move(list_); }

 private:
  Keep keep_;
  std::vector<CardFinding> list_;
};

std::uint16_t Field16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

// A finding's text is built in one string, reserved once, from parts: texts, numbers, a
// number in hex and a save's label. A damaged card gives hundreds of findings, and the parts
// joined with operator+ would each be a string of their own.
constexpr std::size_t kTextReserve = 112;

// A number as "0x" and `digits` upper-case hex digits.
struct Hex {
  unsigned value;
  int digits;
};

// "save 3 (NAME)" with unprintable name bytes shown as '.'.
struct SaveLabel {
  const CardImage& card;
  int index;
};

void Append(std::string& text, std::string_view part) { text.append(part); }

void Append(std::string& text, int number) {
  char digits[12];
  const char* end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
  text.append(digits, static_cast<std::size_t>(end - digits));
}

void Append(std::string& text, Hex hex) {
  constexpr char kHexDigits[] = "0123456789ABCDEF";
  text += "0x";
  for (int shift = 4 * (hex.digits - 1); shift >= 0; shift -= 4) {
    text += kHexDigits[(hex.value >> shift) & 0xF];
  }
}

void Append(std::string& text, const SaveLabel& label) {
  text += "save ";
  Append(text, label.index);
  text += " (";
  text += PrintableName(label.card.records[label.index].name);
  text += ')';
}

template <typename... Parts>
void AppendAll(std::string& text, const Parts&... parts) {
  (Append(text, parts), ...);
}

template <typename... Parts>
std::string Text(const Parts&... parts) {
  std::string text;
  text.reserve(kTextReserve);
  AppendAll(text, parts...);
  return text;
}

// The root's FAT and directory must be where this program reads and writes them: a card whose
// root names other blocks would be read by the console from blocks this program overwrites.
void CheckRoot(const CardImage& card, Findings& found) {
  const int user_blocks = UserBlockCount(card);
  if (user_blocks == 0 || user_blocks > kLastDirectoryBlock) {
    found.Add(Kind::kProblem,
              [&] { return Text("root: user-block count ", user_blocks, " is outside 1 to 241"); });
  }
  struct Field {
    std::size_t offset;
    int expected;
    const char* what;
  };
  const Field fields[] = {{0x46, kFatBlock, "FAT location"},
                          {0x48, 1, "FAT size"},
                          {0x4A, kDirectoryBlock, "directory location"},
                          {0x4C, kDirectoryBlocks, "directory size"}};
  for (const Field& field : fields) {
    const int value = Field16(card.root, field.offset);
    if (value != field.expected) {
      found.Add(Kind::kUnsafe, [&] {
        return Text("root: ", field.what, " is ", value, ", expected ", field.expected);
      });
    }
  }
}

// Marks the root, FAT and directory blocks as the system's and checks the directory chain: a
// directory block marked free, or a chain that leaves 253 ... 241, makes the directory writer
// store entries over other blocks (or lose them).
void CheckSystemChain(const CardImage& card, std::array<int, kCardBlocks>& owner, Findings& found) {
  if (card.system_chain_repaired) {
    found.Add(Kind::kProblem, [] {
      return std::string(
          "FAT: the root and FAT blocks are not marked as chain ends; the "
          "directory chain 253 ... 241 was rebuilt in memory");
    });
  }
  owner[kRootBlock] = kSystemOwner;
  owner[kFatBlock] = kSystemOwner;
  for (int block = kDirectoryBlock; block >= kLastDirectoryBlock; --block) {
    owner[block] = kSystemOwner;
    const std::uint16_t value = card.fat[block];
    const std::uint16_t expected = block == kLastDirectoryBlock ? kFatLast : block - 1;
    if (value == expected) continue;
    found.Add(Kind::kUnsafe, [&] {
      constexpr std::string_view kWhere = "FAT: directory block ";
      if (value == kFatFree) return Text(kWhere, block, " is marked free");
      if (value < kLastDirectoryBlock) {
        return Text(kWhere, block, " links to user block ", value,
                    ": the directory chain runs into the saves' blocks");
      }
      return Text(kWhere, block, " links to ", Hex{value, 4}, ", expected ", Hex{expected, 4});
    });
  }
}

// Calls `report(fault, add_text)` for each field of `entry` a card cannot hold, in field
// order; add_text(text) appends the finding's text, built only when it is called.
template <typename Report>
void ForEachEntryFault(const DirEntry& entry, Report report) {
  const std::uint8_t type = entry[kEntryType];
  if (type != kDataType && type != kGameType) {
    report(EntryFault::kType, [type](std::string& text) {
      AppendAll(text, "type ", Hex{type, 2}, " is neither data (0x33) nor game (0xCC)");
    });
  }
  const std::uint16_t first_block = Field16(entry, kEntryFirstBlock);
  if (first_block >= kCardBlocks) {
    report(EntryFault::kFirstBlock, [first_block](std::string& text) {
      AppendAll(text, "first block ", int{first_block}, " is not a block of the card");
    });
  }
  const std::uint16_t size = Field16(entry, kEntrySize);
  if (size >= kCardBlocks) {
    report(EntryFault::kSize, [size](std::string& text) {
      AppendAll(text, "size ", int{size}, " blocks is more than a card holds (this program reads ",
                size & 0xFF, ")");
    });
  }
  const std::uint16_t header_offset = Field16(entry, kEntryHeaderOffset);
  const int blocks = entry[kEntrySize];
  if (header_offset > blocks) {
    report(EntryFault::kHeaderOffset, [header_offset, blocks](std::string& text) {
      AppendAll(text, "header offset ", int{header_offset}, " lies beyond the save's ", blocks,
                " blocks");
    });
  }
}

void CheckEntry(const CardImage& card, int index, Findings& found) {
  if (!found.Wants(Kind::kProblem)) return;
  ForEachEntryFault(card.records[index].entry, [&](EntryFault, const auto& add_text) {
    found.Add(Kind::kProblem, [&] {
      std::string text = Text(SaveLabel{card, index}, ": ");
      add_text(text);
      return text;
    });
  });
}

// Walks one save's chain (at most 256 steps), claiming its blocks. A block of another save, or
// a free block the next save would be given, makes writes unsafe: deleting either save, or
// adding one, would then free or overwrite blocks of another.
void CheckSaveChain(const CardImage& card, int index, std::array<int, kCardBlocks>& owner,
                    Findings& found) {
  const SaveLabel label{card, index};
  const SaveRecord& save = card.records[index];
  if (save.header_in_second_block && save.first_block != 0) {
    found.Add(Kind::kProblem, [&] {
      return Text(label, ": a game must start at block 0, not ", save.first_block);
    });
  }
  // How the walk ended when it did not reach the chain's end mark.
  enum class Ending { kNone, kSystemBlock, kLoop, kFreeBlock, kBadValue };
  std::array<bool, kCardBlocks> seen{};
  std::uint16_t block = save.first_block;
  std::uint16_t ending_block = 0;  // the block named in the ending's text
  int length = 0;
  Ending ending = Ending::kNone;
  while (ending == Ending::kNone) {
    if (block >= kLastDirectoryBlock) {
      ending = Ending::kSystemBlock;
      ending_block = block;
    } else if (seen[block]) {
      ending = Ending::kLoop;
      ending_block = block;
    } else if (card.fat[block] == kFatFree) {
      ending = Ending::kFreeBlock;
      ending_block = block;
    } else {
      seen[block] = true;
      ++length;
      if (owner[block] >= 0) {
        found.Add(Kind::kUnsafe, [&] {
          return Text(label, ": block ", block, " is cross-linked with ",
                      SaveLabel{card, owner[block]});
        });
      } else {
        owner[block] = index;
      }
      if (block >= UserBlockCount(card)) {
        found.Add(Kind::kProblem,
                  [&] { return Text(label, ": block ", block, " lies above the user blocks"); });
      }
      const std::uint16_t next = card.fat[block];
      if (next == kFatLast) break;
      if (next >= kCardBlocks) {
        ending = Ending::kBadValue;
        ending_block = block;
      }
      block = next;
    }
  }
  if (ending != Ending::kNone) {
    found.Add(ending == Ending::kFreeBlock ? Kind::kUnsafe : Kind::kProblem, [&] {
      const int at = ending_block;
      switch (ending) {
        case Ending::kSystemBlock:
          return Text(label, ": chain runs into system block ", at);
        case Ending::kLoop:
          return Text(label, ": chain loops back to block ", at);
        case Ending::kFreeBlock:
          return Text(label, ": chain runs into free block ", at);
        case Ending::kBadValue:
        case Ending::kNone:
          break;
      }
      return Text(label, ": chain block ", at, " holds the FAT value ",
                  Hex{card.fat[ending_block], 4});
    });
  }
  if (length != save.size) {
    found.Add(Kind::kProblem, [&] {
      return Text(label, ": chain has ", length, " blocks, directory says ", save.size);
    });
  }
}

// Blocks marked in use that no save claims. Between the user blocks and the directory (200 to
// 240 on a 200-block card) the console ignores the FAT, and some tools format those blocks as
// 0x0000: not a problem, said once.
void CheckLostBlocks(const CardImage& card, const std::array<int, kCardBlocks>& owner,
                     Findings& found) {
  const int user_blocks = UserBlockCount(card);
  int outside = 0;
  for (int block = 0; block < kLastDirectoryBlock; ++block) {
    if (card.fat[block] == kFatFree || owner[block] != kNoOwner) continue;
    if (block >= user_blocks) {
      ++outside;
    } else {
      found.Add(Kind::kProblem,
                [&] { return Text("FAT: block ", block, " is in use but belongs to no save"); });
    }
  }
  if (outside > 0) {
    found.Add(Kind::kNote, [&] {
      return Text("FAT: ", outside, outside == 1 ? " block" : " blocks",
                  " outside the user blocks (", user_blocks, " to ", kLastDirectoryBlock - 1,
                  ") not marked free; the console ignores them");
    });
  }
}

}  // namespace

std::vector<EntryFinding> CheckEntryFields(const DirEntry& entry) {
  std::vector<EntryFinding> found;
  ForEachEntryFault(entry, [&found](EntryFault fault, const auto& add_text) {
    std::string text;
    add_text(text);
    found.push_back({fault, std::move(text)});
  });
  return found;
}

namespace {

void Inspect(const CardImage& card, Findings& found) {
  if (!IsFormatted(card)) {
    found.Add(Kind::kProblem,
              [&] { return Text("the card is not formatted (", UnformattedReason(card), ")"); });
    return;
  }
  CheckRoot(card, found);
  std::array<int, kCardBlocks> owner;
  owner.fill(kNoOwner);
  CheckSystemChain(card, owner, found);
  int used = 0;
  for (int index = 0; index < kSaveRecords; ++index) {
    if (card.records[index].size == 0) continue;
    used += card.records[index].size;
    CheckEntry(card, index, found);
    CheckSaveChain(card, index, owner, found);
  }
  CheckLostBlocks(card, owner, found);
  if (used > UserBlockCount(card)) {
    found.Add(Kind::kProblem, [&] {
      return Text("directory: the saves occupy ", used, " blocks, more than the ",
                  int{UserBlockCount(card)}, " user blocks, so the card shows 0 blocks free");
    });
  }
}

}  // namespace

std::vector<CardFinding> InspectCard(const CardImage& card) {
  Findings found(Findings::Keep::kAll);
  Inspect(card, found);
  return found.Take();
}

std::vector<std::string> CheckCard(const CardImage& card) {
  Findings found(Findings::Keep::kProblems);
  Inspect(card, found);
  std::vector<CardFinding> kept = found.Take();
  std::vector<std::string> problems;
  problems.reserve(kept.size());
  for (CardFinding& finding : kept) problems.push_back(std::move(finding.text));
  return problems;
}

std::optional<std::string> UnsafeStructure(const CardImage& card) {
  Findings found(Findings::Keep::kFirstUnsafe);
  Inspect(card, found);
  std::vector<CardFinding> unsafe = found.Take();
  if (unsafe.empty()) return std::nullopt;
  return std::move(unsafe.front().text);
}

}  // namespace quorvel
