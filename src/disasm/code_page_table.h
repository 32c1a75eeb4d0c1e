// The pages of the code window: a listing split into pages of at most 8193 lines, going to
// an address, and patching an instruction's bytes in the code file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "disasm/disassembler.h"

namespace quorvel {

// Where a page starts (or, for the closing entry, where the data ends).
struct PageEntry {
  std::int64_t address = 0;
  std::int64_t position = 0;
};

// Shown when a go-to address lies at or beyond the end of the data.
inline constexpr std::string_view kAddressOutOfRangeText = " 地址超值.";

enum class GoToStatus {
  kSelected,    // the page holding the address is shown and line() is selected
  kNoLine,      // the page is shown but no line of it lies at or above the address
  kOutOfRange,  // the address is not below the end of the data; nothing changed
  kFailed,      // the code file could not be read or written: see error()
};

struct GoToResult {
  GoToStatus status = GoToStatus::kNoLine;
  std::size_t line = 0;  // index into lines() when status is kSelected
};

// Consecutive pages share one line: each page after the first starts with the last
// instruction listed on the page before. Every line keeps its full code address and file
// position, so going to an address and patching are exact beyond 0xFFFF, where the listing
// text repeats its four hex digits.
class CodePageTable {
 public:
  static constexpr int kLinesPerPage = 8193;

  // Pages of `lines_per_page` lines (at least 2); the code window's pages are kLinesPerPage.
  explicit CodePageTable(int lines_per_page = kLinesPerPage);

  // Builds the table in one pass over the file and shows page 0.
  bool Open(const std::filesystem::path& code_file);
  // The same over code held in memory: listing, going to an address and patching work on the
  // table's own copy (code()), and no file is read or written.
  bool OpenBytes(std::vector<std::uint8_t> code);
  const std::vector<std::uint8_t>& code() const { return code_; }
  int lines_per_page() const { return lines_per_page_; }

  // Lists page `page` (0 to page_count() - 1) from its recorded start.
  bool ShowPage(int page);

  // Shows the page holding `address` and selects the first of its lines at or above it.
  GoToResult GoTo(std::int64_t address);

  // Writes exactly the length of line `line` of the current page, taken from the front of
  // `bytes`, at that instruction's file position; then rebuilds the table from the changed
  // file, shows the current page again and goes to the patched instruction.
  GoToResult Patch(std::size_t line, std::span<const std::uint8_t> bytes);

  int page_count() const { return static_cast<int>(entries_.size()) - 1; }
  int current_page() const { return current_page_; }
  // page_count() + 1 entries: where each page starts, then the end of the data.
  const std::vector<PageEntry>& entries() const { return entries_; }
  std::int64_t end_address() const { return entries_.back().address; }
  // The lines of the current page.
  const std::vector<Instruction>& lines() const { return lines_; }
  // " 頁數1的 N" after opening, " 頁數 n 的 N" after showing page n.
  const std::string& page_label() const { return page_label_; }
  const std::string& error() const { return error_; }
  // Bytes read from the file by the last pass (opening, or listing a page).
  std::int64_t last_pass_bytes_read() const { return last_pass_bytes_read_; }

 private:
  // Builds the table afresh and shows page 0 (opening).
  bool BuildFirstPage();
  // Decodes the whole file once, recording the page starts and the lines of page `keep`
  // (none when the data ends before it).
  bool Build(int keep);
  // Makes `page` the current page and labels it as shown.
  void ShowPageLabel(int page);
  bool Fail(const std::string& error);
  // Opens `reader` on the file or on the code in memory.
  bool OpenReader(CodeReader& reader) const;
  // Pages needed for `lines` lines.
  std::size_t PagesFor(std::int64_t lines) const;

  int lines_per_page_;
  std::int64_t page_step_;  // page k starts at line k * page_step_
  bool in_memory_ = false;
  std::vector<std::uint8_t> code_;
  std::filesystem::path path_;
  std::vector<PageEntry> entries_{PageEntry{}, PageEntry{}};
  std::vector<Instruction> lines_;
  int current_page_ = 0;
  std::string page_label_;
  std::string error_;
  std::int64_t last_pass_bytes_read_ = 0;
};

}  // namespace quorvel
