// Loading and writing the image files behind virtual cards.
#include "virtualunit/card_file.h"

#include <algorithm>
#include <system_error>

namespace quorvel {

std::optional<CardFile> CardFile::Load(const std::filesystem::path& path,
                                       std::span<const std::size_t> allowed_pages,
                                       std::string& error) {
  std::error_code code;
  std::uintmax_t size = std::filesystem::file_size(path, code);
  if (code) {
    error = path.string() + ": " + code.message();
    return std::nullopt;
  }
  bool size_ok = size % kVirtualPageSize == 0 &&
                 std::find(allowed_pages.begin(), allowed_pages.end(), size / kVirtualPageSize) !=
                     allowed_pages.end();
  if (!size_ok) {
    error = path.string() + ": " + std::to_string(size) + " bytes, expected ";
    for (std::size_t i = 0; i < allowed_pages.size(); ++i) {
      if (i > 0) error += i + 1 == allowed_pages.size() ? " or " : ", ";
      error += std::to_string(allowed_pages[i] * kVirtualPageSize);
    }
    return std::nullopt;
  }
  auto file = std::make_unique<std::fstream>(path, std::ios::in | std::ios::out | std::ios::binary);
  if (!*file) {
    error = path.string() + ": cannot be opened for reading and writing";
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(size);
  file->read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  if (!*file) {
    error = path.string() + ": cannot be read";
    return std::nullopt;
  }
  return CardFile(path, std::move(bytes), std::move(file));
}

bool CardFile::Write(std::size_t offset, std::span<const std::uint8_t> data) {
  std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
  file_->clear();
  file_->seekp(static_cast<std::streamoff>(offset));
  file_->write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
  file_->flush();
  return static_cast<bool>(*file_);
}

}  // namespace quorvel
