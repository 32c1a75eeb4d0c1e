// Reading, creating and writing "DID2.cfg", and capturing the working directory.
#include "app/config.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <span>
#include <sstream>
#include <vector>

#include "card/work_files.h"

namespace quorvel {
namespace {

constexpr std::size_t kLineCount = 7;

// The texts written when the file is created, in line order.
constexpr std::array<std::string_view, kLineCount> kDefaultTexts = {
    "888", "00000256", "00004608", "00006912", "00009216", "0", "1"};

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
    default:
      settings.auto_refresh = static_cast<std::uint8_t>(value);
  }
}

// Up to seven lines of the file; CR LF and LF line ends both read.
std::vector<std::string> SplitLines(const std::string& content) {
  std::vector<std::string> lines;
  std::istringstream stream(content);
  std::string line;
  while (lines.size() < kLineCount && std::getline(stream, line)) lines.push_back(line);
  return lines;
}

// Stores every line into `settings`; an empty or missing line takes its default text, and
// a line that is not a decimal integer keeps its default and is reported.
void ApplyLines(const std::vector<std::string>& lines, Settings& settings, Messages& messages) {
  std::string problems;
  for (std::size_t i = 0; i < kLineCount; ++i) {
    std::string_view text = i < lines.size() ? Trim(lines[i]) : std::string_view{};
    if (text.empty()) text = kDefaultTexts[i];
    std::optional<std::int32_t> value = ParseDecimal(text);
    if (!value) {
      if (!problems.empty()) problems += "\n";
      problems += std::string(kConfigFileName) + " line " + std::to_string(i + 1) + ": \"" +
                  std::string(text) + "\" is not a decimal integer; the default " +
                  std::string(kDefaultTexts[i]) + " is used.";
      value = ParseDecimal(kDefaultTexts[i]);
    }
    Store(i, *value, settings);
  }
  if (!problems.empty()) messages.Inform(problems);
}

std::optional<std::string> ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) return std::nullopt;
  return content.str();
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

// Reads an existing file into `settings`; false (after a message) when it cannot be read.
bool ReadExisting(const std::string& work_dir, Settings& settings, Messages& messages) {
  const std::string path = ConfigPath(work_dir);
  std::error_code error;
  std::optional<std::string> content;
  std::string reason = "not a regular file";
  if (std::filesystem::is_regular_file(path, error)) {
    errno = 0;
    content = ReadWhole(path);
    reason = ErrorText();
  }
  if (!content) {
    messages.Inform(std::string(kConfigFileName) + " in " + work_dir + " cannot be read (" +
                    reason + "); the default settings are used.");
    ApplyLines({}, settings, messages);
    return false;
  }
  ApplyLines(SplitLines(*content), settings, messages);
  return true;
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

bool WriteConfig(const std::string& work_dir, const Settings& settings, Messages& messages) {
  const std::string content =
      Lines({std::to_string(settings.base_port), std::to_string(settings.poll_delay),
             std::to_string(settings.byte_delay), std::to_string(settings.bit_delay),
             std::to_string(settings.slider_max), std::to_string(settings.drag_mode),
             std::to_string(settings.auto_refresh)});
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
