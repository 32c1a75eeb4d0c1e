// The journal files of card writes: recording a command, keeping each file bounded, reading
// and checking a file, and following a card whose root a command changed.
#include "card/journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "card/block_io.h"
#include "card/card_texts.h"
#include "card/file_system.h"
#include "files/own_folder.h"
#include "files/safe_write.h"
#include "host/messages.h"

namespace quorvel {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'Q', 'V', 'J', 'O', 'U', 'R', 'N', 'L'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderSize = 16;
constexpr std::uint32_t kMaxPayload = 1 << 20;

enum RecordType : std::uint8_t { kBegin = 1, kBlockRecord = 2, kEnd = 3 };

// The root block's identifying bytes, in logical order: volume fields and colour (0x10 to
// 0x2F), the format time stamp (0x30 to 0x37) and the layout fields (0x40 to 0x55).
constexpr std::size_t kIdentityRanges[][2] = {{0x10, 0x38}, {0x40, 0x56}};

std::uint64_t Fnv1a(std::span<const std::uint8_t> bytes,
                    std::uint64_t hash = 0xcbf29ce484222325ULL) {
  for (std::uint8_t byte : bytes) {
    hash ^= byte;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFU;
  for (std::uint8_t byte : bytes) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFU;
}

// Little-endian writing and reading of the record fields.
class Out {
 public:
  void U8(std::uint8_t v) { bytes.push_back(v); }
  void U16(std::uint16_t v) { Le(v, 2); }
  void U32(std::uint32_t v) { Le(v, 4); }
  void U64(std::uint64_t v) { Le(v, 8); }
  void Text(std::string_view text) {
    const std::size_t size = std::min<std::size_t>(text.size(), 0xFFFF);
    U16(static_cast<std::uint16_t>(size));
    bytes.insert(bytes.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(size));
  }
  void Bytes(std::span<const std::uint8_t> data) {
    bytes.insert(bytes.end(), data.begin(), data.end());
  }
  std::vector<std::uint8_t> bytes;

 private:
  void Le(std::uint64_t v, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
};

class In {
 public:
  explicit In(std::span<const std::uint8_t> data) : data_(data) {}
  bool ok() const { return ok_; }
  bool AtEnd() const { return at_ == data_.size(); }
  std::uint64_t Le(int count) {
    if (!Need(count)) return 0;
    std::uint64_t v = 0;
    for (int i = 0; i < count; ++i) v |= std::uint64_t{data_[at_ + i]} << (8 * i);
    at_ += count;
    return v;
  }
  std::uint8_t U8() { return static_cast<std::uint8_t>(Le(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Le(2)); }
  std::uint64_t U64() { return Le(8); }
  std::string Text() {
    const std::size_t size = U16();
    if (!Need(size)) return {};
    std::string text(data_.begin() + at_, data_.begin() + at_ + size);
    at_ += size;
    return text;
  }
  void Bytes(std::span<std::uint8_t> out) {
    if (!Need(out.size())) return;
    std::copy_n(data_.begin() + at_, out.size(), out.begin());
    at_ += out.size();
  }

 private:
  bool Need(std::size_t count) {
    if (at_ + count > data_.size()) ok_ = false;
    return ok_;
  }
  std::span<const std::uint8_t> data_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

// One record: type, payload length, payload, CRC-32 of the three.
void AddRecord(std::vector<std::uint8_t>& file, RecordType type,
               const std::vector<std::uint8_t>& payload) {
  Out record;
  record.U8(type);
  record.U32(static_cast<std::uint32_t>(payload.size()));
  record.Bytes(payload);
  record.U32(Crc32(record.bytes));
  file.insert(file.end(), record.bytes.begin(), record.bytes.end());
}

std::vector<std::uint8_t> FileHeader() {
  Out header;
  header.Bytes(kMagic);
  header.U32(kVersion);
  header.U32(0);
  return header.bytes;
}

std::vector<std::uint8_t> BeginPayload(const JournalEntry& entry) {
  Out out;
  out.U64(entry.number);
  out.U64(static_cast<std::uint64_t>(entry.time));
  out.U64(entry.card_before);
  out.U8(static_cast<std::uint8_t>(entry.command.scale));
  out.Text(entry.source);
  out.Text(entry.command.name);
  out.U16(static_cast<std::uint16_t>(std::min<std::size_t>(entry.command.saves.size(), 0xFFFF)));
  for (std::size_t i = 0; i < entry.command.saves.size() && i < 0xFFFF; ++i) {
    out.Text(entry.command.saves[i]);
  }
  return out.bytes;
}

std::vector<std::uint8_t> BlockPayload(std::uint64_t number, const JournalBlock& block) {
  Out out;
  out.U64(number);
  out.U8(block.block);
  out.U64(block.first_hash);
  out.Bytes(block.old_data);
  return out.bytes;
}

std::vector<std::uint8_t> EndPayload(const JournalEntry& entry) {
  Out out;
  out.U64(entry.number);
  out.U8(entry.succeeded ? 1 : 0);
  out.U64(entry.card_after);
  out.U16(static_cast<std::uint16_t>(entry.blocks.size()));
  for (const JournalBlock& block : entry.blocks) {
    out.U8(block.block);
    out.U8(block.final_known ? 1 : 0);
    out.U64(block.final_hash);
  }
  return out.bytes;
}

// The records of one whole entry, as a rewrite of the file stores them.
void AddEntry(std::vector<std::uint8_t>& file, const JournalEntry& entry) {
  AddRecord(file, kBegin, BeginPayload(entry));
  for (const JournalBlock& block : entry.blocks) {
    AddRecord(file, kBlockRecord, BlockPayload(entry.number, block));
  }
  if (entry.finished) AddRecord(file, kEnd, EndPayload(entry));
}

}  // namespace

std::vector<std::uint8_t> SerializeJournal(const std::vector<JournalEntry>& entries) {
  std::vector<std::uint8_t> file = FileHeader();
  for (const JournalEntry& entry : entries) AddEntry(file, entry);
  return file;
}

namespace {

std::size_t EntrySize(const JournalEntry& entry) {
  std::vector<std::uint8_t> bytes;
  AddEntry(bytes, entry);
  return bytes.size();
}

// Parses one record's payload into `entries`; false when it does not fit what came before.
bool ApplyRecord(RecordType type, std::span<const std::uint8_t> payload,
                 std::vector<JournalEntry>& entries) {
  In in(payload);
  const std::uint64_t number = in.U64();
  JournalEntry* entry = nullptr;
  for (auto it = entries.rbegin(); it != entries.rend() && type != kBegin; ++it) {
    if (it->number == number) {
      entry = &*it;
      break;
    }
  }
  if (type == kBegin) {
    JournalEntry added;
    added.number = number;
    added.time = static_cast<std::int64_t>(in.U64());
    added.card_before = in.U64();
    const std::uint8_t scale = in.U8();
    if (scale > 1) return false;
    added.command.scale = static_cast<CommandScale>(scale);
    added.source = in.Text();
    added.command.name = in.Text();
    const std::uint16_t saves = in.U16();
    for (int i = 0; i < saves && in.ok(); ++i) added.command.saves.push_back(in.Text());
    if (!in.ok() || !in.AtEnd()) return false;
    for (const JournalEntry& other : entries) {
      if (other.number == number) return false;
    }
    entries.push_back(std::move(added));
    return true;
  }
  if (entry == nullptr || entry->finished) return false;
  if (type == kBlockRecord) {
    JournalBlock block;
    block.block = in.U8();
    block.first_hash = in.U64();
    in.Bytes(block.old_data);
    if (!in.ok() || !in.AtEnd()) return false;
    for (const JournalBlock& other : entry->blocks) {
      if (other.block == block.block) return false;
    }
    entry->blocks.push_back(block);
    return true;
  }
  if (type != kEnd) return false;
  entry->succeeded = in.U8() == 1;
  entry->card_after = in.U64();
  const std::uint16_t count = in.U16();
  if (count != entry->blocks.size()) return false;
  for (JournalBlock& block : entry->blocks) {
    if (in.U8() != block.block) return false;
    block.final_known = in.U8() == 1;
    block.final_hash = in.U64();
  }
  if (!in.ok() || !in.AtEnd()) return false;
  entry->finished = true;
  return true;
}

}  // namespace

JournalFile ParseJournal(std::span<const std::uint8_t> bytes) {
  JournalFile file;
  if (bytes.size() < kHeaderSize) {
    file.status = JournalFile::Status::kTruncated;
    return file;
  }
  In header(bytes.first(kHeaderSize));
  std::array<std::uint8_t, 8> magic{};
  header.Bytes(magic);
  if (magic != kMagic) {
    file.status = JournalFile::Status::kCorrupt;
    return file;
  }
  if (header.Le(4) != kVersion) {
    file.status = JournalFile::Status::kOtherVersion;
    return file;
  }
  // A file that ends inside a record, or whose record cannot be read, is used for nothing:
  // the records before it are dropped too.
  const auto refused = [&file](JournalFile::Status status) {
    file.entries.clear();
    file.status = status;
    return file;
  };
  std::size_t at = kHeaderSize;
  while (at < bytes.size()) {
    if (bytes.size() - at < 9) return refused(JournalFile::Status::kTruncated);
    const auto type = static_cast<RecordType>(bytes[at]);
    In length_in(bytes.subspan(at + 1, 4));
    const std::uint64_t length = length_in.Le(4);
    if (length > kMaxPayload) return refused(JournalFile::Status::kCorrupt);
    if (bytes.size() - at < 9 + length) return refused(JournalFile::Status::kTruncated);
    In crc_in(bytes.subspan(at + 5 + length, 4));
    if (crc_in.Le(4) != Crc32(bytes.subspan(at, 5 + length)) ||
        !ApplyRecord(type, bytes.subspan(at + 5, length), file.entries)) {
      return refused(JournalFile::Status::kCorrupt);
    }
    at += 9 + length;
  }
  file.status = JournalFile::Status::kOk;
  return file;
}

namespace {

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return true;
}

bool AppendFlushed(int fd, std::span<const std::uint8_t> bytes) {
  return WriteAll(fd, bytes) && ::fsync(fd) == 0;
}

Block LinkOrderCopy(std::span<const std::uint8_t, kBlockSize> data) {
  Block copy;
  std::copy(data.begin(), data.end(), copy.begin());
  return copy;
}

std::string SourceText(const CardImage& card) {
  if (card.source == kSourceSlot1) return "slot 1";
  if (card.source == kSourceSlot2) return "slot 2";
  std::error_code ignored;
  return std::filesystem::absolute(card.ImageName(), ignored).string();
}

void Tell(const CardImage& card, std::string_view text) {
  if (card.env != nullptr && card.env->messages != nullptr) card.env->messages->Inform(text);
}

// A damaged journal file is kept aside under its name + ".damaged" (replacing an older one),
// so that recording goes on in a fresh file and nothing of the old one is applied.
// The damage of a journal file as the user is told it (translated where it is shown).
std::string_view DamageText(JournalFile::Status status) {
  switch (status) {
    case JournalFile::Status::kOtherVersion:
      return kJournalOtherVersionText;
    case JournalFile::Status::kTruncated:
      return kJournalTruncatedText;
    case JournalFile::Status::kCorrupt:
      return kJournalCorruptText;
    default:
      return kJournalUnreadableText;
  }
}

void SetAside(const CardImage& card, const std::filesystem::path& path, JournalFile::Status why) {
  const std::filesystem::path aside = path.string() + ".damaged";
  if (::rename(path.c_str(), aside.c_str()) != 0) ::unlink(path.c_str());
  Tell(card, FillText(kJournalSetAsideText, {path.string(), DamageText(why), aside.string()}));
}

}  // namespace

CardKey CardKeyOfRoot(std::span<const std::uint8_t, kBlockSize> root_link_order) {
  Block logical = LinkOrderCopy(root_link_order);
  ReverseGroups(logical);
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const auto& range : kIdentityRanges) {
    hash = Fnv1a(std::span(logical).subspan(range[0], range[1] - range[0]), hash);
  }
  return hash;
}

std::string JournalSaveName(const std::string& name) {
  const std::size_t end = name.find_last_not_of(std::string(" \0", 2));
  return PrintableName(end == std::string::npos ? std::string() : name.substr(0, end + 1));
}

std::string CardKeyName(CardKey key) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(key));
  return text;
}

std::uint64_t BlockHash(std::span<const std::uint8_t, kBlockSize> block) { return Fnv1a(block); }

std::string_view Describe(JournalFile::Status status) {
  switch (status) {
    case JournalFile::Status::kOk:
      return "readable";
    case JournalFile::Status::kMissing:
      return "no journal";
    case JournalFile::Status::kUnreadable:
      return "cannot be read";
    case JournalFile::Status::kOtherVersion:
      return "written by another version";
    case JournalFile::Status::kTruncated:
      return "cut short";
    case JournalFile::Status::kCorrupt:
      return "corrupt";
  }
  return "";
}

std::filesystem::path JournalFolderIn(const std::filesystem::path& work_dir) {
  return work_dir / kJournalFolderName;
}

std::string JournalFailureMessage(std::string_view reason) {
  return FillText(kJournalFailureText, {reason});
}

Journal::~Journal() {
  for (auto& [card, active] : active_) {
    if (active.fd >= 0) ::close(active.fd);
  }
}

std::filesystem::path Journal::FileOf(CardKey key) const {
  return options_.folder / (CardKeyName(key) + ".qvj");
}

JournalFile Journal::Load(CardKey key) const {
  JournalFile file;
  const int fd = OpenNoFollow(FileOf(key), O_RDONLY);
  if (fd < 0) {
    file.status =
        errno == ENOENT ? JournalFile::Status::kMissing : JournalFile::Status::kUnreadable;
    return file;
  }
  struct stat info {};
  std::vector<std::uint8_t> bytes;
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  std::array<std::uint8_t, 65536> chunk;
  while (ok) {
    const ssize_t got = ::read(fd, chunk.data(), chunk.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ok = false;
    if (got <= 0) break;
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
  }
  ::close(fd);
  if (!ok) {
    file.status = JournalFile::Status::kUnreadable;
    return file;
  }
  return ParseJournal(bytes);
}

std::string Journal::SourceOf(const CardImage& card) const {
  const auto page = pages_.find(&card);
  return page != pages_.end() ? "page " + std::to_string(page->second) : SourceText(card);
}

bool Journal::Begin(CardImage& card, const CardCommand& command,
                    std::span<const std::uint8_t> declared, std::string& error) {
  ActiveCommand active;
  active.scale = command.scale;
  if (!options_.record) {
    active_[&card] = active;
    return true;
  }
  if (!EnsureOwnFolder(options_.folder, error)) return false;
  Block root;
  if (!ReadBlock(card, kRootBlock, root)) {
    error = kJournalRootUnreadableText;
    return false;
  }
  active.key = active.key_now = CardKeyOfRoot(root);
  const std::filesystem::path path = FileOf(active.key);

  JournalFile old = Load(active.key);
  if (old.status != JournalFile::Status::kOk && old.status != JournalFile::Status::kMissing) {
    SetAside(card, path, old.status);
    old = {};
  }
  JournalEntry entry;
  entry.number = old.entries.empty() ? 1 : old.entries.back().number + 1;
  bool shared = false;  // another card of the same name is being written (two equal cards)
  for (const auto& [other_card, other] : active_) {
    if (other.fd < 0 || other.key != active.key) continue;
    shared = true;
    entry.number = std::max(entry.number, other.number + 1);
  }
  entry.time = static_cast<std::int64_t>(std::time(nullptr));
  entry.source = SourceOf(card);
  entry.command = command;
  entry.card_before = active.key;

  // The oldest commands go first while the file would hold too many, or too many bytes.
  const std::size_t new_size = EntrySize(entry) + declared.size() * (kBlockSize + 40);
  std::size_t total = kHeaderSize + new_size;
  for (const JournalEntry& kept : old.entries) total += EntrySize(kept);
  std::size_t drop = 0;
  while (!shared && drop < old.entries.size() &&
         (old.entries.size() - drop + 1 > options_.max_commands || total > options_.max_bytes)) {
    total -= EntrySize(old.entries[drop]);
    ++drop;
  }
  if (drop > 0) {
    old.entries.erase(old.entries.begin(), old.entries.begin() + static_cast<std::ptrdiff_t>(drop));
    if (!WriteFileSafely(path, SerializeJournal(old.entries))) {
      error = path.string() + ": " + std::strerror(errno);
      return false;
    }
  }

  active.fd = OpenNoFollow(path, O_WRONLY | O_APPEND | O_CREAT, 0600);
  struct stat info {};
  if (active.fd < 0 || ::fstat(active.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = path.string() + ": " + std::strerror(errno != 0 ? errno : EINVAL);
    if (active.fd >= 0) ::close(active.fd);
    return false;
  }
  active.start = info.st_size;
  std::vector<std::uint8_t> bytes = info.st_size == 0 ? FileHeader() : std::vector<std::uint8_t>{};
  AddRecord(bytes, kBegin, BeginPayload(entry));
  active.number = entry.number;
  // The declared blocks' old contents go with the command's first record, in one flush.
  for (std::uint8_t block : declared) {
    if (active.written.count(block) != 0) continue;
    JournalBlock recorded{.block = block};
    if (!ReadBlock(card, block, recorded.old_data)) {
      error = FillText(kJournalBlockUnreadableText, {std::to_string(block)});
      ::close(active.fd);
      return false;
    }
    AddRecord(bytes, kBlockRecord, BlockPayload(entry.number, recorded));
    active.written[block] = {true, BlockHash(recorded.old_data)};
    active.order.push_back(block);
  }
  if (!AppendFlushed(active.fd, bytes)) {
    error = path.string() + ": " + std::strerror(errno);
    ::close(active.fd);
    return false;
  }
  active_[&card] = std::move(active);
  return true;
}

bool Journal::RecordBlock(CardImage& card, ActiveCommand& active, std::uint8_t block,
                          std::optional<std::uint64_t> first_hash) {
  JournalBlock recorded{.block = block, .first_hash = first_hash.value_or(0)};
  if (!ReadBlock(card, block, recorded.old_data)) return false;
  std::vector<std::uint8_t> bytes;
  AddRecord(bytes, kBlockRecord, BlockPayload(active.number, recorded));
  if (!AppendFlushed(active.fd, bytes)) {
    Tell(card, JournalFailureMessage(FileOf(active.key).string() + ": " + std::strerror(errno)));
    return false;
  }
  active.written[block] = {true, BlockHash(recorded.old_data)};
  active.order.push_back(block);
  return true;
}

bool Journal::BeforeWrite(CardImage& card, std::uint8_t block,
                          std::span<const std::uint8_t, kBlockSize> data) {
  const auto it = active_.find(&card);
  if (it == active_.end() || it->second.fd < 0) return true;
  ActiveCommand& active = it->second;
  if (active.written.count(block) != 0) return true;
  if (!RecordBlock(card, active, block, BlockHash(data))) {
    active.failed = true;
    return false;
  }
  return true;
}

void Journal::AfterWrite(const CardImage& card, std::uint8_t block,
                         std::span<const std::uint8_t, kBlockSize> data, bool ok) {
  const auto it = active_.find(&card);
  if (it == active_.end() || it->second.fd < 0) return;
  ActiveCommand& active = it->second;
  active.written[block] = {ok, ok ? BlockHash(data) : 0};
  if (!ok) active.failed = true;
  if (ok && block == kRootBlock) active.key_now = CardKeyOfRoot(data);
}

bool Journal::Verifying(const CardImage& card) const {
  const auto it = active_.find(&card);
  if (it == active_.end()) return false;
  return it->second.scale == CommandScale::kWholeCard ? options_.verify_whole_card
                                                      : options_.verify_single_saves;
}

void Journal::End(const CardImage& card, bool ok) {
  const auto it = active_.find(&card);
  if (it == active_.end()) return;
  ActiveCommand active = std::move(it->second);
  active_.erase(it);
  if (active.fd < 0) return;
  // A command that wrote nothing (refused, or answered No) leaves no trace, unless another
  // card of the same name has appended records meanwhile.
  const bool shared = std::any_of(active_.begin(), active_.end(), [&](const auto& other) {
    return other.second.fd >= 0 && other.second.key == active.key;
  });
  if (active.order.empty() && !shared) {
    if (active.start == 0) {
      ::unlink(FileOf(active.key).c_str());
    } else if (::ftruncate(active.fd, active.start) == 0) {
      ::fsync(active.fd);
    }
    ::close(active.fd);
    return;
  }
  // The end mark lists the blocks in the order their records were written; Load checks it.
  JournalEntry entry;
  entry.number = active.number;
  entry.succeeded = ok && !active.failed;
  entry.card_after = active.key_now;
  for (std::uint8_t block : active.order) {
    const Written& written = active.written[block];
    entry.blocks.push_back(
        {.block = block, .final_known = written.known, .final_hash = written.hash});
  }
  std::vector<std::uint8_t> bytes;
  AddRecord(bytes, kEnd, EndPayload(entry));
  const bool ended = AppendFlushed(active.fd, bytes);
  ::close(active.fd);
  if (!ended || active.key_now == active.key) return;

  // The card has a new root: its journal follows it to the new name, after the journal a
  // card of that name already has.
  const std::filesystem::path from = FileOf(active.key);
  const std::filesystem::path to = FileOf(active.key_now);
  JournalFile file = Load(active.key);
  JournalFile there = Load(active.key_now);
  if (there.status != JournalFile::Status::kOk || there.entries.empty()) {
    if (there.status != JournalFile::Status::kOk && there.status != JournalFile::Status::kMissing) {
      SetAside(card, to, there.status);
    }
    ::rename(from.c_str(), to.c_str());
    return;
  }
  std::uint64_t number = there.entries.back().number;
  for (JournalEntry& moved : file.entries) {
    moved.number = ++number;
    there.entries.push_back(std::move(moved));
  }
  const std::size_t excess = there.entries.size() > options_.max_commands
                                 ? there.entries.size() - options_.max_commands
                                 : 0;
  there.entries.erase(there.entries.begin(),
                      there.entries.begin() + static_cast<std::ptrdiff_t>(excess));
  if (WriteFileSafely(to, SerializeJournal(there.entries))) ::unlink(from.c_str());
}

JournalScope::JournalScope(CardImage& card, CardCommand command,
                           std::span<const std::uint8_t> declared)
    : card_(card) {
  Journal* journal = card.env != nullptr ? card.env->journal : nullptr;
  if (journal == nullptr || journal->Active(card)) return;  // none, or inside another command
  std::string error;
  if (!journal->Begin(card, command, declared, error)) {
    ok_ = false;
    Tell(card, JournalFailureMessage(error));
    return;
  }
  journal_ = journal;
}

JournalScope::~JournalScope() {
  if (journal_ != nullptr) journal_->End(card_, !failed_);
}

}  // namespace quorvel
