// A virtual card backed by an image file: one or more pages of 131,072 bytes in link order,
// read into memory at load and written through to the file as the unit completes writes. The
// file stays open and locked while the card is in the unit, so no other program uses it.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorvel {

inline constexpr std::size_t kVirtualPageSize = 131072;

// What the program means to do with the unit's cards.
enum class CardFileAccess {
  kRead,       // only read them: the files are shared with other readers
  kReadWrite,  // write them too: nobody else may use the files meanwhile
};

class CardFile {
 public:
  // Why a card file did not load.
  enum class LoadError { kNone, kUnusable, kInUse };

  // Loads `path`, whose size must be a whole number of pages in `allowed_pages`, and locks it
  // (shared for reading, exclusive for writing). With kReadWrite a file that may not be
  // written is loaded for reading only (ReadOnly()). On failure returns nothing and says why
  // in `error` (and `why`, when given).
  static std::optional<CardFile> Load(const std::filesystem::path& path,
                                      std::span<const std::size_t> allowed_pages,
                                      std::string& error,
                                      CardFileAccess access = CardFileAccess::kReadWrite,
                                      LoadError* why = nullptr);

  // A card held in memory only, without a file (a unit built in memory, e.g. for fuzzing):
  // writes change only the bytes, and nothing can change it underneath. `bytes` must be a
  // whole number of pages in `allowed_pages`; otherwise nothing, with the reason in `error`.
  static std::optional<CardFile> InMemory(std::vector<std::uint8_t> bytes,
                                          std::span<const std::size_t> allowed_pages,
                                          std::string& error);

  CardFile(CardFile&& other) noexcept;
  CardFile& operator=(CardFile&& other) noexcept;
  CardFile(const CardFile&) = delete;
  CardFile& operator=(const CardFile&) = delete;
  ~CardFile();

  std::size_t Pages() const { return bytes_.size() / kVirtualPageSize; }
  const std::filesystem::path& Path() const { return path_; }
  bool ReadOnly() const { return read_only_; }
  std::span<const std::uint8_t> Bytes(std::size_t offset, std::size_t length) const {
    return std::span<const std::uint8_t>(bytes_).subspan(offset, length);
  }
  // The card's bytes, handed over (the card is empty afterwards).
  std::vector<std::uint8_t> TakeBytes() && { return std::move(bytes_); }
  // Stores `data` at `offset` in memory and in the file; false (errno set) when the file
  // write failed or the card is read-only.
  bool Write(std::size_t offset, std::span<const std::uint8_t> data);

  // Empty while the file at Path() is still this card, unchanged since the unit last wrote it;
  // else what became of it (deleted, replaced by another file, shortened, changed by someone
  // else): a card whose file went away is a card pulled out.
  std::string ChangedUnderneath() const;

 private:
  CardFile(std::filesystem::path path, std::vector<std::uint8_t> bytes, int fd, bool read_only);
  void RememberFileState();

  std::filesystem::path path_;
  std::vector<std::uint8_t> bytes_;
  int fd_ = -1;  // -1 for a card held in memory only
  bool read_only_ = false;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  timespec modified_{};  // the file's change time as the unit last saw it
};

}  // namespace quorvel
