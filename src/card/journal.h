// The journal of card writes: before a command writes a block to a card, the block's old
// contents go to that card's journal file (flushed to the disk first), and when the command
// ends an end mark says what it wrote. Undo writes the old blocks back once it has checked
// that the card still holds what the command(s) wrote. The file format is in docs/formats.md.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_image.h"

namespace quorvel {

inline constexpr std::size_t kJournalMaxCommands = 50;
inline constexpr std::uint64_t kJournalMaxBytes = std::uint64_t{32} << 20;
inline constexpr std::string_view kJournalFolderName = "journal";

// Which card a journal file belongs to: a hash of the identifying bytes of the root block
// (the volume fields, the format time stamp and the layout fields).
using CardKey = std::uint64_t;
CardKey CardKeyOfRoot(std::span<const std::uint8_t, kBlockSize> root_link_order);
std::string CardKeyName(CardKey key);  // 16 lower-case hexadecimal digits
std::uint64_t BlockHash(std::span<const std::uint8_t, kBlockSize> block);

// Whether a command writes the whole card (format, restore, undo) or single saves; verify
// after write has a setting for each.
enum class CommandScale : std::uint8_t { kSaves = 0, kWholeCard = 1 };

// A save's name as the history shows it: without the trailing zero bytes and blanks, bytes
// outside printable ASCII as '.'.
std::string JournalSaveName(const std::string& name);

// What a command is, as the journal and the history show it.
struct CardCommand {
  std::string name;                // "format", "copy", "import", ...
  std::vector<std::string> saves;  // the saves it touches, as the panes show their names
  CommandScale scale = CommandScale::kSaves;
};

// One block a command wrote: its contents before the command, and what it wrote.
struct JournalBlock {
  std::uint8_t block = 0;
  Block old_data{};
  std::uint64_t first_hash = 0;  // hash of the first data the command sent to this block
  bool final_known = false;      // the end mark holds the block's last written data
  std::uint64_t final_hash = 0;
};

// One command of a card's journal.
struct JournalEntry {
  std::uint64_t number = 0;
  std::int64_t time = 0;  // seconds since 1970 (UTC)
  std::string source;     // "slot 1", "slot 2" or the image's path
  CardCommand command;
  CardKey card_before = 0;
  std::vector<JournalBlock> blocks;  // in the order they were recorded
  bool finished = false;             // an end mark was written
  bool succeeded = false;            // every block write of the command succeeded
  CardKey card_after = 0;            // set by the end mark
};

// A card's journal as read from its file.
struct JournalFile {
  enum class Status { kOk, kMissing, kUnreadable, kOtherVersion, kTruncated, kCorrupt };
  Status status = Status::kMissing;
  std::vector<JournalEntry> entries;  // oldest first; empty unless kOk
};
std::string_view Describe(JournalFile::Status status);

// A journal file's bytes read and checked (what Journal::Load does after reading the file):
// the header, every record's length and CRC, and that each record fits the ones before it.
// Anything but kOk comes with no entries.
JournalFile ParseJournal(std::span<const std::uint8_t> bytes);
// The file that holds exactly `entries` (a rewrite of a journal file stores this).
std::vector<std::uint8_t> SerializeJournal(const std::vector<JournalEntry>& entries);

struct JournalOptions {
  std::filesystem::path folder;  // where the journal files are; created on first use
  bool record = true;            // false: nothing is recorded (and undo has nothing to undo)
  std::size_t max_commands = kJournalMaxCommands;
  std::uint64_t max_bytes = kJournalMaxBytes;
  bool verify_whole_card = true;     // read back every block a format, restore or undo wrote
  bool verify_single_saves = false;  // the same for commands on single saves
};

// The journal folder of a working folder.
std::filesystem::path JournalFolderIn(const std::filesystem::path& work_dir);

// The journal of one program run; the card layer reaches it through CardEnvironment.
class Journal {
 public:
  explicit Journal(JournalOptions options) : options_(std::move(options)) {}
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  const JournalOptions& Options() const { return options_; }
  JournalOptions& MutableOptions() { return options_; }

  std::filesystem::path FileOf(CardKey key) const;
  // Reads and checks a card's journal file; never follows a link at its name.
  JournalFile Load(CardKey key) const;

  // The command's life on one card (see JournalScope). Begin reads the root block and the
  // declared blocks' old contents and flushes them to the journal; false, with the reason in
  // `error`, when that failed: nothing may then be written.
  bool Begin(CardImage& card, const CardCommand& command, std::span<const std::uint8_t> declared,
             std::string& error);
  // Called before each block write: records the old contents of a block not recorded yet
  // (flushed before the write). False when it could not: the block must not be written.
  bool BeforeWrite(CardImage& card, std::uint8_t block,
                   std::span<const std::uint8_t, kBlockSize> data);
  void AfterWrite(const CardImage& card, std::uint8_t block,
                  std::span<const std::uint8_t, kBlockSize> data, bool ok);
  // Writes the end mark; when the command changed the card's root, the journal file takes the
  // card's new name.
  void End(const CardImage& card, bool ok);
  // The page of a paged card that `card` (slot 1) now reads; nothing on the two-slot unit. The
  // journal names the source of its commands by it.
  void SetPage(const CardImage& card, std::optional<std::uint16_t> page) {
    if (page) {
      pages_[&card] = *page;
    } else {
      pages_.erase(&card);
    }
  }
  // What a command on `card` is recorded as coming from: "slot 1", "slot 2", "page N" of a paged
  // card, or the image file's full path.
  std::string SourceOf(const CardImage& card) const;
  bool Active(const CardImage& card) const { return active_.count(&card) != 0; }
  // Whether the command running on `card` reads its writes back.
  bool Verifying(const CardImage& card) const;

 private:
  struct Written {
    bool known = false;
    std::uint64_t hash = 0;
  };
  struct ActiveCommand {
    int fd = -1;
    std::uint64_t number = 0;
    CardKey key = 0;      // the file the records go to
    CardKey key_now = 0;  // the root's identity after the last root write
    CommandScale scale = CommandScale::kSaves;
    std::map<std::uint8_t, Written> written;  // every block recorded, with its last write
    std::vector<std::uint8_t> order;          // the blocks in the order of their records
    std::int64_t start = 0;                   // the file's size before the command's records
    bool failed = false;
  };
  bool RecordBlock(CardImage& card, ActiveCommand& active, std::uint8_t block,
                   std::optional<std::uint64_t> first_hash);

  JournalOptions options_;
  std::map<const CardImage*, ActiveCommand> active_;
  std::map<const CardImage*, std::uint16_t> pages_;
};

// A command's journal record on one card, from the scope's start to its end. When the
// environment has no journal, or it records nothing, the scope only sets what verify needs.
// When the journal cannot be written, Ok() is false, the user has been told, and the command
// must write nothing.
class JournalScope {
 public:
  JournalScope(CardImage& card, CardCommand command, std::span<const std::uint8_t> declared = {});
  ~JournalScope();
  JournalScope(const JournalScope&) = delete;
  JournalScope& operator=(const JournalScope&) = delete;

  bool Ok() const { return ok_; }
  // The command's outcome, for the end mark (a failed write is seen by the journal itself).
  void Failed() { failed_ = true; }

 private:
  CardImage& card_;
  Journal* journal_ = nullptr;
  bool ok_ = true;
  bool failed_ = false;
};

// " 變更記錄 ... 無法寫入 ... " : the journal could not be written, so the card was not changed.
std::string JournalFailureMessage(std::string_view reason);

// Undo of the last command(s) recorded for a card.
struct UndoResult {
  enum class Outcome {
    kDone,
    kNoJournal,   // nothing recorded for this card (or the journal is off)
    kBadJournal,  // the card's journal file is damaged or of another version: ignored
    kNoSuchCommand,
    kBrokenChain,  // the journal does not lead from the card back to the command asked for
    kChanged,      // blocks the command(s) wrote hold something else now
    kReadFailed,
    kWriteFailed,
    kJournalFailed,  // the undo's own journal record could not be written
    kCancelled,      // asked to stop before its first write: nothing was changed
  };
  Outcome outcome = Outcome::kNoJournal;
  JournalFile::Status journal_status = JournalFile::Status::kMissing;
  std::vector<std::uint8_t> changed_blocks;  // kChanged
  std::vector<std::uint64_t> undone;         // numbers of the commands undone, newest first
  std::size_t blocks_written = 0;
};
std::string Describe(const UndoResult& result);

// The journal of the card now in `card`'s source (its root block is read first).
JournalFile CardJournal(CardImage& card, Journal& journal, CardKey* key = nullptr);
// The journal of the card as it was last loaded into `card` (its root block in memory), without
// reading the card again.
JournalFile LoadedCardJournal(const CardImage& card, const Journal& journal,
                              CardKey* key = nullptr);

// Puts the card back as it was before command `to` (default: the last command), after
// checking that it is the card the journal names and that every block the commands wrote
// still holds what they wrote; the undo itself is journalled. The card must be loaded again
// afterwards.
UndoResult UndoCommands(CardImage& card, Journal& journal,
                        std::optional<std::uint64_t> to = std::nullopt);

}  // namespace quorvel
