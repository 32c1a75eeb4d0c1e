// Consistency check of root, FAT chains and directory.
#include "card/card_check.h"

#include <array>
#include <cstdio>

#include "card/file_system.h"

namespace quorvel {
namespace {

constexpr int kNoOwner = -1;
constexpr int kSystemOwner = -2;

// "save 3 (NAME)" with unprintable name bytes shown as '.'.
std::string SaveLabel(const CardImage& card, int index) {
  return "save " + std::to_string(index) + " (" + PrintableName(card.records[index].name) + ")";
}

void CheckRoot(const CardImage& card, std::vector<std::string>& problems) {
  const int user_blocks = UserBlockCount(card);
  if (user_blocks == 0 || user_blocks > kLastDirectoryBlock) {
    problems.push_back("root: user-block count " + std::to_string(user_blocks) +
                       " is outside 1 to 241");
  }
  struct Field {
    std::size_t offset;
    int expected;
    const char* what;
  };
  const Field fields[] = {{0x46, kFatBlock, "FAT location"},
                          {0x4A, kDirectoryBlock, "directory location"},
                          {0x4C, kDirectoryBlocks, "directory size"}};
  for (const Field& field : fields) {
    int value = card.root[field.offset] | card.root[field.offset + 1] << 8;
    if (value != field.expected) {
      problems.push_back("root: " + std::string(field.what) + " is " + std::to_string(value) +
                         ", expected " + std::to_string(field.expected));
    }
  }
}

// Marks the root, FAT and directory blocks as the system's and checks their chain.
void CheckSystemChain(const CardImage& card, std::array<int, kCardBlocks>& owner,
                      std::vector<std::string>& problems) {
  if (card.system_chain_repaired) {
    problems.push_back(
        "FAT: the root and FAT blocks are not marked as chain ends; the "
        "directory chain 253 ... 241 was rebuilt in memory");
  }
  owner[kRootBlock] = kSystemOwner;
  owner[kFatBlock] = kSystemOwner;
  for (int block = kDirectoryBlock; block >= kLastDirectoryBlock; --block) {
    owner[block] = kSystemOwner;
    std::uint16_t expected = block == kLastDirectoryBlock ? kFatLast : block - 1;
    if (card.fat[block] != expected) {
      char text[96];
      std::snprintf(text, sizeof text, "FAT: directory block %d links to 0x%04X, expected 0x%04X",
                    block, card.fat[block], expected);
      problems.push_back(text);
    }
  }
}

// Walks one save's chain (at most 256 steps), claiming its blocks.
void CheckSaveChain(const CardImage& card, int index, std::array<int, kCardBlocks>& owner,
                    std::vector<std::string>& problems) {
  const SaveRecord& save = card.records[index];
  const std::string label = SaveLabel(card, index);
  if (save.header_in_second_block && save.first_block != 0) {
    problems.push_back(label + ": a game must start at block 0, not " +
                       std::to_string(save.first_block));
  }
  std::array<bool, kCardBlocks> seen{};
  std::uint16_t block = save.first_block;
  int length = 0;
  std::string ending;
  while (ending.empty()) {
    if (block >= kLastDirectoryBlock) {
      ending = "runs into system block " + std::to_string(block);
    } else if (seen[block]) {
      ending = "loops back to block " + std::to_string(block);
    } else if (card.fat[block] == kFatFree) {
      ending = "runs into free block " + std::to_string(block);
    } else {
      seen[block] = true;
      ++length;
      if (owner[block] >= 0) {
        problems.push_back(label + ": block " + std::to_string(block) + " is cross-linked with " +
                           SaveLabel(card, owner[block]));
      } else {
        owner[block] = index;
      }
      if (block >= UserBlockCount(card)) {
        problems.push_back(label + ": block " + std::to_string(block) +
                           " lies above the user blocks");
      }
      std::uint16_t next = card.fat[block];
      if (next == kFatLast) break;
      if (next >= kCardBlocks) {
        char text[64];
        std::snprintf(text, sizeof text, "block %d holds the FAT value 0x%04X", block, next);
        ending = text;
      }
      block = next;
    }
  }
  if (!ending.empty()) problems.push_back(label + ": chain " + ending);
  if (length != save.size) {
    problems.push_back(label + ": chain has " + std::to_string(length) +
                       " blocks, directory says " + std::to_string(save.size));
  }
}

void CheckLostBlocks(const CardImage& card, const std::array<int, kCardBlocks>& owner,
                     std::vector<std::string>& problems) {
  for (int block = 0; block < kLastDirectoryBlock; ++block) {
    if (card.fat[block] != kFatFree && owner[block] == kNoOwner) {
      problems.push_back("FAT: block " + std::to_string(block) +
                         " is in use but belongs to no save");
    }
  }
}

}  // namespace

std::vector<std::string> CheckCard(const CardImage& card) {
  std::vector<std::string> problems;
  if (!IsFormatted(card)) {
    problems.push_back("the card is not formatted");
    return problems;
  }
  CheckRoot(card, problems);
  std::array<int, kCardBlocks> owner;
  owner.fill(kNoOwner);
  CheckSystemChain(card, owner, problems);
  int used = 0;
  for (int index = 0; index < kSaveRecords; ++index) {
    if (card.records[index].size == 0) continue;
    used += card.records[index].size;
    CheckSaveChain(card, index, owner, problems);
  }
  CheckLostBlocks(card, owner, problems);
  if (used > UserBlockCount(card)) {
    problems.push_back("directory: the saves occupy " + std::to_string(used) +
                       " blocks, more than the " + std::to_string(UserBlockCount(card)) +
                       " user blocks");
  }
  return problems;
}

}  // namespace quorvel
