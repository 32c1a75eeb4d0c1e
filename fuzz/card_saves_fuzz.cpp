// Fuzz target: any bytes as a card, read as card_image reads it (see ResetFromInput). Each
// listed save (at most six) gives its icon frames and its single-save file, and the first its
// data, without a fault. The load, listing and check of the card are card_image's.
#include "card/dci_file.h"
#include "card/file_system.h"
#include "card/icon_frames.h"
#include "card/save_transfer.h"
#include "card_support.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

std::vector<Bytes> card_savesFuzzSeeds() { return SeedCardInputs(); }

namespace {

constexpr int kMaxSaves = 6;

// A save's icon frames: all of them at once when the count is small; for a larger count (up
// to 255, each frame 1,024 pixels) the first and the last frame alone, which walk the chain
// as far as all of them do (past its end too), so that one input does not decode hundreds of
// frames of the same blocks. Either way a frame decoded alone equals the same frame of all.
void CheckIconFrames(CardImage& card, std::size_t index) {
  constexpr std::size_t kAllFramesUpTo = 8;
  const std::size_t count = card.records[index].icon_count;
  if (count <= kAllFramesUpTo) {
    const std::vector<IconImage> frames = DecodeIconFrames(card, index);
    Check(frames.size() <= count, "more icon frames than the count");
    if (frames.empty()) return;
    IconImage last;
    Check(DecodeIconFrame(card, index, frames.size() - 1, last), "a frame could not be decoded");
    Check(last.bytes == frames.back().bytes, "a frame decoded alone differs from the same of all");
    return;
  }
  IconImage frame;
  DecodeIconFrame(card, index, 0, frame);
  DecodeIconFrame(card, index, count - 1, frame);
  Check(!DecodeIconFrame(card, index, count, frame), "a frame past the icon count");
}

}  // namespace
}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(card_saves, quorvel::fuzz::kShortCardMaxLength) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  CardImage& card = InputCard(input).card();
  if (LoadCard(card) != LoadResult::kLoaded) return;

  static Bytes held;
  for (int k = 0; k < card.listed_count && k < kMaxSaves; ++k) {
    const std::size_t index = card.list_order[k];
    CheckIconFrames(card, index);
    if (BuildDci(card, index, held) == DciExportError::kNone) {
      Check(held.size() == DciFileSize(card.records[index].size), "a single-save file's size");
    }
  }
  if (card.listed_count > 0) {
    // The working file's bytes, as the hex editor and the disassembler get them.
    const std::size_t first = card.list_order[0];
    if (ReadSaveData(card, first, held)) {
      Check(held.size() <= std::size_t{card.records[first].size} * kBlockSize,
            "a save's data is longer than its blocks");
    }
  }
}
