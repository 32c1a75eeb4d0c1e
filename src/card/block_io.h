// Block I/O of a card through its source (see block_source.h): a slot goes over the link with
// retries and the connection-error message, an image to its file at block × 512.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "card/card_image.h"

namespace quorvel {

// Moves one 512-byte block, in link order, between `buffer` and the card's source. For a
// slot, the card remembers whether the link failed (`link_failed`). With a journal in the
// card's environment a write is recorded first (and refused when it cannot be), and read
// back when the running command verifies its writes.
bool ReadBlock(CardImage& card, std::uint8_t block, std::span<std::uint8_t, kBlockSize> buffer);
bool WriteBlock(CardImage& card, std::uint8_t block,
                std::span<const std::uint8_t, kBlockSize> buffer);

// Told when a block written with verify on did not read back as written, after the retries.
std::string VerifyFailureMessage(int block);

// Reverses each aligned group of four bytes in place: link order <-> logical order.
void ReverseGroups(std::span<std::uint8_t, kBlockSize> buffer);

// What the program means to do with an image file it opens.
enum class ImageAccess {
  kRead,       // only read: the file is opened for reading and shared with other readers
  kReadWrite,  // read and write: nobody else may use the file meanwhile
};

// Why an image file did not open.
enum class ImageOpenError {
  kNone,
  kCannotOpen,  // missing (and not creatable), or not readable
  kInUse,       // another program (or another open card of this one) holds the file
};

// Makes `path` the card's image file, holding a lock on it until it is closed (shared for
// reading, exclusive for writing). The file's byte order is recognised from its root block
// (see RecogniseOrder; the name's order when the root does not tell). With kReadWrite a
// missing file is created as 131,072 bytes of 0xFF, and a file that cannot be written
// (read-only permissions, media or attribute) is opened for reading only, so that it can
// still be read. False, with the reason in `error` when given, when the file cannot be used.
bool OpenImageFile(CardImage& card, const std::string& path,
                   ImageAccess access = ImageAccess::kReadWrite, ImageOpenError* error = nullptr);
void CloseImageFile(CardImage& card);

// Keeps the block cache of a card's source active from construction to destruction, so that
// what one load reads crosses the link only once.
class CacheScope {
 public:
  explicit CacheScope(CardImage& card);
  ~CacheScope();
  CacheScope(const CacheScope&) = delete;
  CacheScope& operator=(const CacheScope&) = delete;

 private:
  CardImage& card_;
  BlockSource* source_;
};

}  // namespace quorvel
