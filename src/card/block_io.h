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

// Moves one 512-byte block between `buffer` and the card's source; blocks are not reordered.
bool ReadBlock(CardImage& card, std::uint8_t block, std::span<std::uint8_t, kBlockSize> buffer);
bool WriteBlock(CardImage& card, std::uint8_t block,
                std::span<const std::uint8_t, kBlockSize> buffer);

// Reverses each aligned group of four bytes in place: link order <-> logical order.
void ReverseGroups(std::span<std::uint8_t, kBlockSize> buffer);

// Makes `path` the card's image file, creating a missing file as 131,072 bytes of 0xFF.
// False when the file could not be created or opened for reading and writing.
bool OpenImageFile(CardImage& card, const std::string& path);
void CloseImageFile(CardImage& card);

}  // namespace quorvel
