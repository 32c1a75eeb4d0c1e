// Formatting a card: the root template, an empty directory and a fresh FAT.
#include <algorithm>
#include <array>

#include "card/block_io.h"
#include "card/cancel.h"
#include "card/file_system.h"
#include "card/save_transfer.h"

namespace quorvel {
namespace {

// The first 96 bytes of a freshly formatted root block (logical order); byte 0x50 receives
// the user-block count.
constexpr std::array<std::uint8_t, 0x60> kRootTemplate = [] {
  std::array<std::uint8_t, 0x60> root{};
  for (int i = 0; i < 16; ++i) root[i] = 0x55;  // formatted-card marker
  root[0x10] = 0x01;                            // use the custom colour
  root[0x11] = 0xFF;                            // custom colour: blue, green, red, alpha
  root[0x12] = 0x3F;
  root[0x13] = 0x5F;
  root[0x14] = 0xFF;
  const std::uint8_t stamp[] = {0x19, 0x99, 0x10, 0x27, 0x04, 0x54, 0x52, 0x02};
  for (int i = 0; i < 8; ++i) root[0x30 + i] = stamp[i];  // format time stamp, BCD
  root[0x40] = 0xFF;
  root[0x44] = 0xFF;
  root[0x46] = 0xFE;  // FAT location 254
  root[0x48] = 0x01;  // FAT size 1 block
  root[0x4A] = 0xFD;  // directory location 253
  root[0x4C] = 0x0D;  // directory size 13 blocks
  root[0x4E] = 0x08;  // card icon shape
  root[0x52] = 0x1F;
  return root;
}();

}  // namespace

bool FormatCard(CardImage& card, std::uint8_t user_blocks) {
  constexpr int kWrites = kRootBlock - kLastDirectoryBlock + 1;  // directory, FAT, root
  ReportProgress(card, 0, kWrites);
  // A format answers a request to stop only before its first write: once it writes, it runs
  // to its end (15 blocks), which is sooner done than writing the old blocks back.
  if (StopRequested(card)) {
    AcknowledgeStop(card, CancelOutcome::kNothingWritten);
    ReportProgress(card, 0, 0);
    return false;
  }
  card.root.fill(0);
  std::copy(kRootTemplate.begin(), kRootTemplate.end(), card.root.begin());
  card.root[kRootUserBlocks] = user_blocks;

  // The directory is emptied first and the FAT written once, whole: a FAT block emptied
  // before the new FAT is written would leave a card taken out in between with no chain for
  // its root, FAT and directory. Stopped anywhere, the card holds either its old FAT (with
  // the blocks of the emptied entries in use by no save) or the new one.
  bool ok = true;
  const Block zero{};
  for (int block = kLastDirectoryBlock; block <= kDirectoryBlock; ++block) {
    ok = WriteBlock(card, static_cast<std::uint8_t>(block), zero) && ok;
    ReportProgress(card, block - kLastDirectoryBlock + 1, kWrites);
  }

  card.fat.fill(kFatFree);
  for (int i = kLastDirectoryBlock + 1; i <= kDirectoryBlock; ++i) {
    card.fat[i] = static_cast<std::uint16_t>(i - 1);
  }
  card.fat[kLastDirectoryBlock] = kFatLast;
  card.fat[kFatBlock] = kFatLast;
  card.fat[kRootBlock] = kFatLast;

  WriteFat(card);
  ok = ok && !card.io_error;
  ReportProgress(card, kWrites - 1, kWrites);
  WriteRoot(card);
  ReportProgress(card, 0, 0);
  return ok && !card.io_error;
}

}  // namespace quorvel
