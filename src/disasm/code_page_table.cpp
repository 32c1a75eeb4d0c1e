// The pages of the code window, going to an address and patching the code file.
#include "disasm/code_page_table.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "disasm/code_page_texts.h"

namespace quorvel {
namespace {

// Overwrites bytes of the file at `position` without truncating it; returns the error.
std::string WriteAt(const std::filesystem::path& path, std::int64_t position,
                    std::span<const std::uint8_t> bytes) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (!file) return FillText(kCodeWriteErrorText, {path.string(), std::strerror(errno)});
  bool written = std::fseek(file, position, SEEK_SET) == 0 &&
                 std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  int write_error = errno;
  bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    return FillText(kCodeWriteErrorText,
                    {path.string(), std::strerror(written ? errno : write_error)});
  }
  return "";
}

}  // namespace

// Page k starts at line k * (lines per page - 1): the last line of one page is the first of
// the next.
CodePageTable::CodePageTable(int lines_per_page)
    : lines_per_page_(std::max(lines_per_page, 2)), page_step_(lines_per_page_ - 1) {}

// A page after the first exists only when it lists more than the line it shares with the page
// before.
std::size_t CodePageTable::PagesFor(std::int64_t lines) const {
  return lines <= 1 ? 1 : static_cast<std::size_t>((lines - 2) / page_step_ + 1);
}

bool CodePageTable::OpenReader(CodeReader& reader) const {
  return in_memory_ ? reader.OpenCodeBytes(code_) : reader.OpenCodeFile(path_);
}

bool CodePageTable::OpenBytes(std::vector<std::uint8_t> code) {
  in_memory_ = true;
  code_ = std::move(code);
  path_ = "code in memory";
  return BuildFirstPage();
}

bool CodePageTable::Open(const std::filesystem::path& code_file) {
  in_memory_ = false;
  code_.clear();
  path_ = code_file;
  return BuildFirstPage();
}

bool CodePageTable::BuildFirstPage() {
  entries_.assign(2, PageEntry{});
  lines_.clear();
  current_page_ = 0;
  if (!Build(0)) return false;
  page_label_ = FillText(kFirstPageLabelText, {std::to_string(page_count())});
  return true;
}

bool CodePageTable::ShowPage(int page) {
  if (page < 0 || page >= page_count()) {
    return Fail(
        FillText(kNoSuchPageText, {std::to_string(page + 1), std::to_string(page_count())}));
  }
  CodeReader reader;
  if (!OpenReader(reader) || !reader.SeekCodeFile(entries_[page].position)) {
    return Fail(reader.failed() ? reader.error()
                                : FillText(kCodeSeekErrorText, {path_.string(), ""}));
  }
  reader.set_address(entries_[page].address);
  std::vector<Instruction> lines;
  while (lines.size() < static_cast<std::size_t>(lines_per_page_)) {
    std::optional<Instruction> line = DecodeNext(reader);
    if (!line) break;
    lines.push_back(std::move(*line));
  }
  last_pass_bytes_read_ = reader.file_bytes_read();
  if (reader.failed()) return Fail(reader.error());
  lines_ = std::move(lines);
  ShowPageLabel(page);
  return true;
}

GoToResult CodePageTable::GoTo(std::int64_t address) {
  if (address >= end_address()) return {GoToStatus::kOutOfRange};
  if (page_count() > 1) {
    // The lowest entry at or above the address; an address equal to a page's start is found
    // as the last line of the page before.
    auto entry = std::lower_bound(
        entries_.begin(), entries_.end(), address,
        [](const PageEntry& start, std::int64_t value) { return start.address < value; });
    int index = static_cast<int>(entry - entries_.begin());
    int page = index == 0 ? 0 : index - 1;
    if (page != current_page_ && !ShowPage(page)) return {GoToStatus::kFailed};
  }
  auto line = std::lower_bound(
      lines_.begin(), lines_.end(), address,
      [](const Instruction& listed, std::int64_t value) { return listed.address < value; });
  if (line == lines_.end()) return {GoToStatus::kNoLine};
  return {GoToStatus::kSelected, static_cast<std::size_t>(line - lines_.begin())};
}

GoToResult CodePageTable::Patch(std::size_t line, std::span<const std::uint8_t> bytes) {
  if (line >= lines_.size()) {
    Fail(std::string(kNoInstructionText));
    return {GoToStatus::kFailed};
  }
  const Instruction patched = lines_[line];
  auto length = static_cast<std::size_t>(patched.length);
  if (bytes.size() < length) {
    Fail(FillText(kPatchTooShortText, {std::to_string(length)}));
    return {GoToStatus::kFailed};
  }
  std::string error;
  if (in_memory_) {
    std::copy_n(bytes.begin(), length, code_.begin() + patched.position);
  } else {
    error = WriteAt(path_, patched.position, bytes.first(length));
  }
  if (!error.empty()) {
    Fail(error);
    return {GoToStatus::kFailed};
  }
  // The new bytes may change instruction lengths after the patch, so the page starts are
  // found again; those up to the patched line stay where they were.
  int page = current_page_;
  if (!Build(page)) return {GoToStatus::kFailed};
  if (page < page_count()) {
    ShowPageLabel(page);
  } else if (!ShowPage(page_count() - 1)) {  // the patch ended the data on the page before
    return {GoToStatus::kFailed};
  }
  return GoTo(patched.address);
}

bool CodePageTable::Build(int keep) {
  CodeReader reader;
  if (!OpenReader(reader)) return Fail(reader.error());
  std::vector<PageEntry> starts{PageEntry{0, 0}};
  std::vector<Instruction> kept;
  const std::int64_t keep_first = std::int64_t{keep} * page_step_;
  std::int64_t count = 0;
  // Only the lines of the kept page are formatted; the others give only where they start.
  const auto keeps = [&](std::int64_t index) {
    return index >= keep_first && index < keep_first + lines_per_page_;
  };
  while (std::optional<Instruction> line =
             DecodeNext(reader, keeps(count) ? Listing::kText : Listing::kBytesOnly)) {
    if (count > 0 && count % page_step_ == 0) starts.push_back({line->address, line->position});
    if (keeps(count)) kept.push_back(std::move(*line));
    ++count;
  }
  last_pass_bytes_read_ = reader.file_bytes_read();
  if (reader.failed()) return Fail(reader.error());
  starts.resize(PagesFor(count));
  starts.push_back({reader.address(), reader.position()});
  entries_ = std::move(starts);
  lines_ = std::move(kept);
  return true;
}

void CodePageTable::ShowPageLabel(int page) {
  current_page_ = page;
  page_label_ = FillText(kPageLabelText, {std::to_string(page + 1), std::to_string(page_count())});
}

bool CodePageTable::Fail(const std::string& error) {
  error_ = error;
  return false;
}

}  // namespace quorvel
