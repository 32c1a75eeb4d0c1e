// What the window's file choosers remember between runs: the folder last used for each kind of
// file, and the card images opened lately. Kept in the working folder beside the settings.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The kinds of file whose choosers each remember their own folder.
enum class FileKind { kCardImage, kSaveFile, kBitmap, kCode };

inline constexpr std::string_view kFileHistoryName = "quorvel-recent.cfg";
// The most card images the recent list holds.
inline constexpr std::size_t kRecentImageCount = 8;

class FileHistory {
 public:
  // An empty history kept in memory only.
  FileHistory() = default;
  // The history kept in `work_dir` (work_dir / kFileHistoryName): read now (a missing or
  // unreadable file is an empty history) and written again after each change.
  explicit FileHistory(const std::filesystem::path& work_dir);

  // `name` in the folder last used for `kind`; `name` alone when none is known or that folder
  // is gone.
  std::filesystem::path StartIn(FileKind kind, const std::filesystem::path& name) const;
  // The folder last used for `kind`; empty when none is known or it is gone.
  std::filesystem::path Folder(FileKind kind) const;
  // Remembers the folder of `chosen` (made absolute) for `kind`.
  void Remember(FileKind kind, const std::filesystem::path& chosen);

  // The card images opened lately, the latest first.
  const std::vector<std::filesystem::path>& RecentImages() const { return recent_; }
  // Puts `image` (made absolute) first in the recent list, once, dropping the oldest beyond
  // kRecentImageCount.
  void AddRecentImage(const std::filesystem::path& image);

  // The file's text: one "folder KIND PATH" or "recent PATH" line each. Reading skips lines
  // it does not know, so that an older program keeps working on a newer file.
  std::string Content() const;
  static FileHistory FromContent(std::string_view content);

 private:
  void Save() const;

  std::filesystem::path file_;  // empty: kept in memory only
  std::map<FileKind, std::filesystem::path> folders_;
  std::vector<std::filesystem::path> recent_;
};

}  // namespace quorvel
