// Reading, creating and writing "DID2.cfg", and capturing the working directory.
#include "app/config.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "card/work_files.h"
#include "files/input_file.h"
#include "link/busy_wait.h"

namespace quorvel {
namespace {

// Seven lines of the link and the panes, then three of the journal (a file of seven lines
// keeps the journal's defaults; a program that reads only seven lines ignores them).
constexpr std::size_t kLineCount = 10;
// The longest line read, CR included: a setting needs at most 11 characters, and a file that
// is not a configuration (a huge binary, a line without end) is not read beyond this.
constexpr std::size_t kMaxLineLength = 80;
// The most characters of a bad line that its message quotes.
constexpr std::size_t kQuotedLength = 16;

// The texts written when the file is created, in line order.
constexpr std::array<std::string_view, kLineCount> kDefaultTexts = {
    "888", "00000256", "00004608", "00006912", "00009216", "0", "1", "1", "1", "0"};

std::string ConfigPath(const std::string& work_dir) {
  return work_dir + std::string(kConfigFileName);
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// A decimal integer with an optional sign that fits 32 bits; nothing else.
std::optional<std::int32_t> ParseDecimal(std::string_view text) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  std::int32_t value = 0;
  const char* last = text.data() + text.size();
  auto [end, error] = std::from_chars(text.data(), last, value);
  if (error != std::errc{} || end != last) return std::nullopt;
  return value;
}

void Store(std::size_t line, std::int32_t value, Settings& settings) {
  switch (line) {
    case 0:
      settings.base_port = static_cast<std::uint16_t>(value);
      break;
    case 1:
      settings.poll_delay = value;
      break;
    case 2:
      settings.byte_delay = value;
      break;
    case 3:
      settings.bit_delay = value;
      break;
    case 4:
      settings.slider_max = value;
      break;
    case 5:
      settings.drag_mode = static_cast<std::uint8_t>(value);
      break;
    case 6:
      settings.auto_refresh = static_cast<std::uint8_t>(value);
      break;
    case 7:
      settings.journal = static_cast<std::uint8_t>(value);
      break;
    case 8:
      settings.verify_whole_card = static_cast<std::uint8_t>(value);
      break;
    default:
      settings.verify_single_saves = static_cast<std::uint8_t>(value);
  }
}

// The lines read from the file: up to kLineCount, each at most kMaxLineLength characters.
struct ConfigLines {
  std::vector<std::string> lines;
  // The line that went on past kMaxLineLength; nothing after it is read.
  std::optional<std::size_t> too_long;
};

// Reads the file line by line, CR LF and LF line ends alike; nothing when reading failed.
std::optional<ConfigLines> ReadLines(std::FILE* file) {
  ConfigLines read;
  std::string line;
  while (read.lines.size() < kLineCount) {
    const int c = std::getc(file);
    if (c == EOF) {
      if (std::ferror(file)) return std::nullopt;
      if (!line.empty()) read.lines.push_back(line);
      break;
    }
    if (c == '\n') {
      read.lines.push_back(std::move(line));
      line.clear();
    } else if (line.size() == kMaxLineLength) {
      read.too_long = read.lines.size();
      read.lines.push_back(std::move(line));
      break;
    } else {
      line += static_cast<char>(c);
    }
  }
  return read;
}

// At most kQuotedLength characters of `text` in quotes, anything but printable ASCII shown as
// '?', and "..." when cut.
std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text.substr(0, kQuotedLength)) quoted += c >= 0x20 && c < 0x7F ? c : '?';
  return quoted + (text.size() > kQuotedLength ? "...\"" : "\"");
}

std::string LineName(std::size_t index) {
  return std::string(kConfigFileName) + " line " + std::to_string(index + 1);
}

// Lines 2 to 4: the link's delay counts.
bool IsDelayLine(std::size_t index) { return index >= 1 && index <= 3; }

// Stores every line into `settings`; an empty or missing line takes its default text, and
// a line that is not a decimal integer keeps its default and is reported. A delay count above
// kMaxDelayCount is reported and read as kMaxDelayCount, so that no block of the link takes
// minutes.
void ApplyLines(const ConfigLines& read, Settings& settings, Messages& messages) {
  std::string problems;
  const auto report = [&problems](const std::string& problem) {
    if (!problems.empty()) problems += "\n";
    problems += problem;
  };
  for (std::size_t i = 0; i < kLineCount; ++i) {
    const bool missing = i >= read.lines.size() || (read.too_long && i > *read.too_long);
    std::string_view text = missing ? std::string_view{} : Trim(read.lines[i]);
    if (text.empty()) text = kDefaultTexts[i];
    std::optional<std::int32_t> value = ParseDecimal(text);
    const std::string fallback = "the default " + std::string(kDefaultTexts[i]) + " is used";
    if (read.too_long == i) {
      report(LineName(i) + " is longer than " + std::to_string(kMaxLineLength) + " characters (" +
             Quoted(text) + "); " + fallback + ", and the lines after it are not read.");
      value = ParseDecimal(kDefaultTexts[i]);
    } else if (!value) {
      report(LineName(i) + ": " + Quoted(text) + " is not a decimal integer; " + fallback + ".");
      value = ParseDecimal(kDefaultTexts[i]);
    } else if (IsDelayLine(i) && *value > kMaxDelayCount) {
      report(LineName(i) + ": the delay count " + std::to_string(*value) +
             " is more than the largest, " + std::to_string(kMaxDelayCount) + ", which is used.");
      value = kMaxDelayCount;
    }
    Store(i, *value, settings);
  }
  if (!problems.empty()) messages.Inform(problems);
}

// Through a fresh file beside `path`, renamed over it once complete: a failed write leaves
// the old file as it was, and a link planted at `path` is replaced, never followed.
bool WriteWhole(const std::string& path, const std::string& content) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(content.data());
  return ReplaceFileContents(path, std::span<const std::uint8_t>(bytes, content.size()));
}

std::string Lines(const std::array<std::string, kLineCount>& texts) {
  std::string content;
  for (const std::string& text : texts) content += text + "\r\n";
  return content;
}

std::string DefaultContent() {
  std::array<std::string, kLineCount> texts;
  for (std::size_t i = 0; i < kLineCount; ++i) texts[i] = std::string(kDefaultTexts[i]);
  return Lines(texts);
}

std::string ErrorText() { return errno != 0 ? std::strerror(errno) : "unknown error"; }

// Reads an existing file into `settings`; false (after a message) when it cannot be read. Only
// a regular file is opened: a FIFO or a device at the name is refused, never waited on.
bool ReadExisting(const std::string& work_dir, Settings& settings, Messages& messages) {
  errno = 0;
  const InputFile input = OpenRegularFile(ConfigPath(work_dir));
  std::string reason = input.error;
  if (input.file) {
    if (ReadConfigStream(input.file.get(), settings, messages)) return true;
    reason = ErrorText();
  }
  messages.Inform(std::string(kConfigFileName) + " in " + work_dir + " cannot be read (" + reason +
                  "); the default settings are used.");
  ApplyLines({}, settings, messages);
  return false;
}

}  // namespace

void EnsureTrailingSeparator(std::string& dir) {
  const bool ends_with_separator =
      !dir.empty() && (dir.back() == kPathSeparator || dir.back() == '/');
  if (!ends_with_separator) dir += kPathSeparator;
}

std::string CaptureWorkDir() {
  std::error_code error;
  std::string dir = std::filesystem::current_path(error).string();
  EnsureTrailingSeparator(dir);
  return dir;
}

void ReadConfig(std::string& work_dir, Settings& settings, Messages& messages) {
  EnsureTrailingSeparator(work_dir);
  const std::string path = ConfigPath(work_dir);
  std::error_code error;
  if (std::filesystem::exists(path, error)) {
    ReadExisting(work_dir, settings, messages);
    return;
  }
  errno = 0;
  if (!WriteWhole(path, DefaultContent())) {
    messages.Inform(std::string(kConfigFileName) + " cannot be created in " + work_dir + " (" +
                    ErrorText() + "); the default settings are used.");
  }
  ApplyLines({}, settings, messages);
}

bool ReadConfigStream(std::FILE* file, Settings& settings, Messages& messages) {
  const std::optional<ConfigLines> read = ReadLines(file);
  if (!read) return false;
  ApplyLines(*read, settings, messages);
  return true;
}

std::string ConfigContent(const Settings& settings) {
  return Lines({std::to_string(settings.base_port), std::to_string(settings.poll_delay),
                std::to_string(settings.byte_delay), std::to_string(settings.bit_delay),
                std::to_string(settings.slider_max), std::to_string(settings.drag_mode),
                std::to_string(settings.auto_refresh), std::to_string(settings.journal),
                std::to_string(settings.verify_whole_card),
                std::to_string(settings.verify_single_saves)});
}

bool WriteConfig(const std::string& work_dir, const Settings& settings, Messages& messages) {
  const std::string content = ConfigContent(settings);
  errno = 0;
  if (WriteWhole(ConfigPath(work_dir), content)) return true;
  messages.Inform(std::string(kConfigFileName) + " cannot be written in " + work_dir + " (" +
                  ErrorText() + "); the settings stay in force until the program ends.");
  return false;
}

bool ReadConfigIfPresent(const std::string& work_dir, Settings& settings, Messages& messages) {
  std::error_code error;
  if (!std::filesystem::exists(ConfigPath(work_dir), error)) return false;
  return ReadExisting(work_dir, settings, messages);
}

}  // namespace quorvel
