// Block I/O of the three card sources: a slot goes over the link with retries and the
// connection-error message, the image goes to the image file at block × 512.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "card/card_image.h"

namespace quorvel {

// Attempts per block over the link before the operation gives up.
inline constexpr int kSlotReadAttempts = 16;
inline constexpr int kSlotWriteAttempts = 5;

// Shown once when a slot block read (resp. write) failed every attempt.
inline constexpr std::string_view kReadConnectionError =
    "連接錯誤!(請先關閉自動重新整理功能,再檢查程式的速度值,電源和連接器等問題..). ";
inline constexpr std::string_view kWriteConnectionError =
    "連接錯誤!(請先關閉自動重新整理功能,再檢查程式的速度值,電源和連接器等問題..).  ";

// Told when a write to an image file opened for reading only is refused.
std::string ReadOnlyImageMessage(std::string_view file);

// Moves one 512-byte block between `buffer` and the card's source; blocks are not reordered.
bool ReadBlock(CardImage& card, std::uint8_t block, std::span<std::uint8_t, kBlockSize> buffer);
bool WriteBlock(CardImage& card, std::uint8_t block,
                std::span<const std::uint8_t, kBlockSize> buffer);

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
// reading, exclusive for writing). With kReadWrite a missing file is created as 131,072 bytes
// of 0xFF, and a file that cannot be written (read-only permissions, media or attribute) is
// opened for reading only, with `image_read_only` set, so that it can still be read. False,
// with the reason in `error` when given, when the file cannot be used.
bool OpenImageFile(CardImage& card, const std::string& path,
                   ImageAccess access = ImageAccess::kReadWrite, ImageOpenError* error = nullptr);
void CloseImageFile(CardImage& card);

}  // namespace quorvel
