// A virtual card backed by an image file: one or more pages of 131,072 bytes in link order,
// read into memory at load and written through to the file as the unit completes writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorvel {

inline constexpr std::size_t kVirtualPageSize = 131072;

class CardFile {
 public:
  // Loads `path`, whose size must be a whole number of pages in `allowed_pages`. On failure
  // returns nothing and says why in `error`.
  static std::optional<CardFile> Load(const std::filesystem::path& path,
                                      std::span<const std::size_t> allowed_pages,
                                      std::string& error);

  std::size_t Pages() const { return bytes_.size() / kVirtualPageSize; }
  const std::filesystem::path& Path() const { return path_; }
  std::span<const std::uint8_t> Bytes(std::size_t offset, std::size_t length) const {
    return std::span<const std::uint8_t>(bytes_).subspan(offset, length);
  }
  // Stores `data` at `offset` in memory and in the file; false when the file write failed.
  bool Write(std::size_t offset, std::span<const std::uint8_t> data);

 private:
  CardFile(std::filesystem::path path, std::vector<std::uint8_t> bytes,
           std::unique_ptr<std::fstream> file)
      : path_(std::move(path)), bytes_(std::move(bytes)), file_(std::move(file)) {}

  std::filesystem::path path_;
  std::vector<std::uint8_t> bytes_;
  std::unique_ptr<std::fstream> file_;
};

}  // namespace quorvel
