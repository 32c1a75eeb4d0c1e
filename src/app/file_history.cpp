// The remembered folders and recent card images, and their file in the working folder.
#include "app/file_history.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

#include "files/safe_write.h"

namespace quorvel {
namespace {

struct KindName {
  FileKind kind;
  std::string_view name;
};
constexpr std::array<KindName, 4> kKindNames = {{{FileKind::kCardImage, "image"},
                                                 {FileKind::kSaveFile, "save"},
                                                 {FileKind::kBitmap, "bmp"},
                                                 {FileKind::kCode, "code"}}};

// The largest file read: eight paths and four folders never come near it.
constexpr std::uintmax_t kMaxContent = 64 * 1024;

std::filesystem::path Absolute(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return (error ? path : absolute).lexically_normal();
}

// A path that a line of the file can hold.
bool Storable(const std::filesystem::path& path) {
  const std::string text = path.string();
  return !text.empty() && text.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

FileHistory::FileHistory(const std::filesystem::path& work_dir)
    : file_(work_dir / kFileHistoryName) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file_, error);
  if (error || size > kMaxContent) return;
  std::ifstream in(file_, std::ios::binary);
  const std::string content(std::istreambuf_iterator<char>(in), {});
  FileHistory read = FromContent(content);
  folders_ = std::move(read.folders_);
  recent_ = std::move(read.recent_);
}

std::filesystem::path FileHistory::Folder(FileKind kind) const {
  const auto it = folders_.find(kind);
  std::error_code error;
  if (it == folders_.end() || !std::filesystem::is_directory(it->second, error)) return {};
  return it->second;
}

std::filesystem::path FileHistory::StartIn(FileKind kind, const std::filesystem::path& name) const {
  const std::filesystem::path folder = Folder(kind);
  return folder.empty() ? name : folder / name;
}

void FileHistory::Remember(FileKind kind, const std::filesystem::path& chosen) {
  const std::filesystem::path folder = Absolute(chosen).parent_path();
  if (!Storable(folder)) return;
  const auto it = folders_.find(kind);
  if (it != folders_.end() && it->second == folder) return;
  folders_[kind] = folder;
  Save();
}

void FileHistory::AddRecentImage(const std::filesystem::path& image) {
  const std::filesystem::path path = Absolute(image);
  if (!Storable(path)) return;
  if (!recent_.empty() && recent_.front() == path) return;
  std::erase(recent_, path);
  recent_.insert(recent_.begin(), path);
  if (recent_.size() > kRecentImageCount) recent_.resize(kRecentImageCount);
  Save();
}

std::string FileHistory::Content() const {
  std::string text;
  for (const KindName& kind : kKindNames) {
    const auto it = folders_.find(kind.kind);
    if (it != folders_.end())
      text += "folder " + std::string(kind.name) + " " + it->second.string() + "\n";
  }
  for (const std::filesystem::path& image : recent_) text += "recent " + image.string() + "\n";
  return text;
}

FileHistory FileHistory::FromContent(std::string_view content) {
  FileHistory history;
  std::size_t at = 0;
  while (at < content.size()) {
    std::size_t end = content.find('\n', at);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(at, end - at);
    at = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.starts_with("recent ")) {
      const std::filesystem::path path(line.substr(7));
      if (path.is_absolute() && history.recent_.size() < kRecentImageCount &&
          std::find(history.recent_.begin(), history.recent_.end(), path) ==
              history.recent_.end()) {
        history.recent_.push_back(path);
      }
      continue;
    }
    if (!line.starts_with("folder ")) continue;
    line.remove_prefix(7);
    for (const KindName& kind : kKindNames) {
      if (!line.starts_with(kind.name) || !line.substr(kind.name.size()).starts_with(' ')) continue;
      const std::filesystem::path folder(line.substr(kind.name.size() + 1));
      if (folder.is_absolute()) history.folders_[kind.kind] = folder;
    }
  }
  return history;
}

void FileHistory::Save() const {
  if (file_.empty()) return;
  const std::string text = Content();
  // Losing what was remembered costs only a folder change in the next dialog: a failure to
  // write is not worth a message.
  WriteFileSafely(file_,
                  std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace quorvel
