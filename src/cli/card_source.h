// Opens the SOURCE arguments of quorvel-cli: a card image file, or slot1/slot2 of the link
// (the real port from the configuration, or the virtual unit), loaded into a CardImage.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "card/block_io.h"
#include "card/card_image.h"
#include "card/file_system.h"
#include "card/journal.h"
#include "card/save_commands.h"
#include "cli/command.h"
#include "cli/english_texts.h"
#include "cli/interrupt.h"
#include "host/messages.h"

namespace quorvel {
class LinkDevice;
class LinkSlots;
}  // namespace quorvel

namespace quorvel::cli {

class CliLink;

// Notices of the card layer go to stderr; a question is never asked: it is answered No.
class StderrMessages : public Messages {
 public:
  void Inform(std::string_view text) override;
  void Warn(std::string_view text) override;
  bool AskYesNo(std::string_view text) override;
  Answer AskYesNoCancel(std::string_view text) override;
};

// What the card layer says while a command runs (a link that failed all its attempts): kept
// so that the command's one failure line can carry it.
class CardNotices : public Messages {
 public:
  void Inform(std::string_view text) override { texts_.push_back(EnglishText(text)); }
  void Warn(std::string_view text) override { Inform(text); }
  bool AskYesNo(std::string_view) override { return false; }
  Answer AskYesNoCancel(std::string_view) override { return Answer::kCancel; }
  // The texts so far, without their trailing blanks, joined by "; "; then forgets them.
  std::string Take();

 private:
  std::vector<std::string> texts_;
};

// A save on an opened card: the card and the save's directory slot.
struct FoundSave {
  CardImage* card;
  std::size_t index;
};

// The card sources of one command; the link is opened once and shared by both slots. A
// command that only reads says so with `access` kRead: its image files and the virtual unit's
// card files are then opened for reading and shared with other readers; otherwise every card
// file it opens is its own until it ends, and one that may not be written is refused.
class CardSources {
 public:
  explicit CardSources(const Args& args, ImageAccess access = ImageAccess::kReadWrite);
  ~CardSources();

  // Opens and loads SOURCE. Null, with the reason in `error`, when it cannot be reached.
  // An unformatted card is returned with `loaded` = kUnformatted.
  CardImage* Open(const std::string& source, LoadResult& loaded, std::string& error,
                  std::optional<ImageAccess> access = std::nullopt);

  // Opens SOURCE without loading it, for commands that read or write every block (a slot's
  // card must be present). Null, with the reason in `error`, when it cannot be reached (or is
  // read-only, or in use). `access`, when given here or below, replaces the command's own for
  // this source (a source only read by a command that writes another).
  CardImage* Attach(const std::string& source, std::string& error,
                    std::optional<ImageAccess> access = std::nullopt);

  // Opens and loads SOURCE, requiring a formatted card; null with the reason otherwise.
  CardImage* OpenFormatted(const std::string& source, std::string& error,
                           std::optional<ImageAccess> access = std::nullopt);

  // Opens and loads SOURCE for a command that adds or deletes saves: formatted, and with a
  // structure that is safe to write (the card layer refuses the write otherwise); null with
  // the reason, the check's finding included, otherwise.
  CardImage* OpenWritable(const std::string& source, std::string& error);

  // Opens SOURCE (formatted; writable too when `for_writing`) and finds the save SAVE names on
  // it (see FindSave); nothing, with the reason in `error`, when either fails.
  std::optional<FoundSave> OpenSave(const std::string& source, const std::string& save,
                                    std::string& error,
                                    std::optional<ImageAccess> access = std::nullopt,
                                    bool for_writing = false);

  // The end of a command that did its work: kExitOk, or the failure exit status with the
  // reason on stderr when the trace could not be kept or a virtual card file was not written.
  // A Ctrl+C that came too late to stop the command is noted on stderr.
  int Finish();

  // True once Ctrl+C asked the command to stop: a command that works through several saves or
  // files stops between them, and ends with Cancelled.
  static bool StopRequested() { return InterruptRequest().Requested(); }
  // Prints "quorvel-cli: cancelled: DONE" (what was done before the stop) and returns
  // kExitCancelled.
  int Cancelled(const std::string& done);

  // Loads an already opened card again (after a write); false with the reason. Ctrl+C does
  // not stop it: the command's writes are done, and what it tells is about them.
  bool Reload(CardImage& card, std::string& error);

  // Prints "quorvel-cli: TEXT" on stderr, with what the card layer said in parentheses, and
  // returns the failure exit status. When the command failed because Ctrl+C stopped it, says
  // instead how the card was left and returns kExitCancelled (kExitFailed when the card could
  // not be put back as it was).
  int Fail(const std::string& text);

  // The journal of card writes: "journal" in the current folder, off with --no-journal;
  // --verify reads back every block a command writes.
  Journal& CardJournal() { return journal_; }

  // True when the two texts name the same card (the same slot, or the same file).
  static bool SameSource(const std::string& a, const std::string& b);

 private:
  bool OpenLink(std::string& error);
  CardImage* AttachSlot(std::uint8_t slot, const std::string& source, ImageAccess access,
                        std::string& error);
  CardImage* AttachImage(const std::string& source, ImageAccess access, std::string& error);

  const Args& args_;
  ImageAccess access_;
  InterruptScope interrupts_;  // Ctrl+C asks the card command to stop
  Settings settings_;
  StderrMessages messages_;  // configuration and link notices
  CardNotices card_notices_;
  Reports reports_;  // progress on a terminal
  Journal journal_;
  CardEnvironment env_;
  std::unique_ptr<CliLink> cli_link_;  // prints --stats when it goes
  LinkDevice* link_ = nullptr;
  std::unique_ptr<LinkSlots> slots_;
  std::vector<std::unique_ptr<CardImage>> cards_;
};

// Finds the save SAVE names on a loaded card: "#N" is directory slot N, anything else a name
// (all 12 characters, or the name without its trailing blanks and zero bytes).
std::optional<std::size_t> FindSave(const CardImage& card, const std::string& save,
                                    std::string& error);

// True for "slot1" and "slot2", the SOURCE names of the link's slots.
bool IsSlotName(const std::string& source);

// False, with the reason in `error`, when the output file OUT is a card file in use (a card
// this command reads, or one another program holds): it is never written over.
bool OutputFree(const std::string& out, std::string& error);

// Prints "quorvel-cli: TEXT" on stderr and returns the failure exit status.
int Fail(const std::string& text);

// What a VMS file without its VMI is read as: the name --name gives (else the one made from
// the file's name), and --game or --data when the file does not tell.
VmsQuestions LoneVmsAnswers(const Args& args);

// The options that answer for a VMS file without its VMI.
inline constexpr OptionRule kVmsNameOption{"name", true};
inline constexpr OptionRule kVmsGameOption{"game", false};
inline constexpr OptionRule kVmsDataOption{"data", false};
inline constexpr OptionHelp kVmsNameHelp{
    "--name TEXT",
    "the save's name for a VMS file without its VMI (else made from the file's name)"};
inline constexpr OptionHelp kVmsGameHelp{
    "--game", "a VMS file without its VMI is a game, when the file does not tell"};
inline constexpr OptionHelp kVmsDataHelp{
    "--data", "a VMS file without its VMI is a data save, when the file does not tell"};

}  // namespace quorvel::cli
