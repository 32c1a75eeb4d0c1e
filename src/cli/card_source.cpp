// Opening and loading the SOURCE arguments of quorvel-cli.
#include "cli/card_source.h"

#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <iostream>

#include "app/config.h"
#include "card/block_io.h"
#include "card/card_check.h"
#include "card/dcm_file.h"
#include "card/link_slots.h"
#include "card/save_texts.h"
#include "card/save_transfer.h"
#include "cli/cli_link.h"
#include "files/file_lock.h"
#include "link/link_device.h"

namespace quorvel::cli {
namespace {

std::optional<std::uint8_t> SlotNumber(const std::string& source) {
  if (source == "slot1") return kSourceSlot1;
  if (source == "slot2") return kSourceSlot2;
  return std::nullopt;
}

// A progress line on stderr, only when stderr is a terminal.
void ShowProgress(int position, int maximum) {
  if (maximum == 0) {
    std::cerr << "\r\033[K" << std::flush;
  } else {
    std::cerr << "\rquorvel-cli: " << position << "/" << maximum << std::flush;
  }
}

}  // namespace

void StderrMessages::Inform(std::string_view text) {
  std::cerr << "quorvel-cli: " << EnglishText(text) << "\n";
}
void StderrMessages::Warn(std::string_view text) { Inform(text); }
bool StderrMessages::AskYesNo(std::string_view) { return false; }
Answer StderrMessages::AskYesNoCancel(std::string_view) { return Answer::kCancel; }

VmsQuestions LoneVmsAnswers(const Args& args) {
  if (args.Has("game") && args.Has("data")) {
    throw UsageError{args.command + " takes --game or --data, not both", args.command};
  }
  VmsQuestions questions;
  if (const std::optional<std::string> name = args.Value("name")) {
    questions.name = [name](const std::string&) { return name; };
  }
  if (args.Has("game") || args.Has("data")) {
    const bool game = args.Has("game");
    questions.game = [game] { return std::optional<bool>(game); };
  }
  return questions;
}

bool IsSlotName(const std::string& source) { return SlotNumber(source).has_value(); }

int Fail(const std::string& text) {
  std::cerr << "quorvel-cli: " << text << "\n";
  return kExitFailed;
}

std::string CardNotices::Take() {
  std::string joined;
  for (const std::string& text : texts_) {
    const std::size_t end = text.find_last_not_of(' ');
    if (end == std::string::npos) continue;
    joined += (joined.empty() ? "" : "; ") + text.substr(0, end + 1);
  }
  texts_.clear();
  return joined;
}

bool OutputFree(const std::string& out, std::string& error) {
  if (!FileInUse(out)) return true;
  error = out +
          ": is a card file in use (the card being read, or one another program holds); "
          "it is not written over";
  return false;
}

namespace {

JournalOptions CliJournalOptions(const Args& args) {
  JournalOptions options;
  options.folder = JournalFolderIn(CaptureWorkDir());
  options.record = !args.Has("no-journal");
  if (args.Has("verify")) options.verify_single_saves = options.verify_whole_card = true;
  return options;
}

}  // namespace

CardSources::CardSources(const Args& args, ImageAccess access)
    : args_(args), access_(access), journal_(CliJournalOptions(args)) {
  env_.messages = &card_notices_;
  env_.journal = &journal_;
  env_.cancel = &InterruptRequest();
  if (isatty(STDERR_FILENO)) reports_.progress = &ShowProgress;
  env_.reports = &reports_;
}

CardSources::~CardSources() {
  const std::string unreported = card_notices_.Take();
  if (!unreported.empty()) std::cerr << "quorvel-cli: " << unreported << "\n";
}

int CardSources::Fail(const std::string& text) {
  if (const CancelOutcome stopped = InterruptRequest().Outcome(); stopped != CancelOutcome::kNone) {
    std::string line(Describe(stopped));
    if (const std::string notices = card_notices_.Take(); !notices.empty()) {
      line += " (" + notices + ")";
    }
    std::string link_error;
    if (cli_link_ && !cli_link_->Finish(link_error)) line += "; " + link_error;
    cli::Fail(line);
    return stopped == CancelOutcome::kNotPutBack ? kExitFailed : kExitCancelled;
  }
  const std::string notices = card_notices_.Take();
  std::string line = notices.empty() ? text : text + " (" + notices + ")";
  // Why the link failed, when a virtual card file was the cause.
  std::string link_error;
  if (cli_link_ && !cli_link_->Finish(link_error)) line += "; " + link_error;
  return cli::Fail(line);
}

int CardSources::Cancelled(const std::string& done) {
  std::string line = "cancelled: " + done;
  std::string link_error;
  if (cli_link_ && !cli_link_->Finish(link_error)) line += "; " + link_error;
  cli::Fail(line);
  return kExitCancelled;
}

int CardSources::Finish() {
  if (InterruptRequest().Requested() && InterruptRequest().Outcome() == CancelOutcome::kNone) {
    std::cerr << "quorvel-cli: the command had gone too far to stop and was finished\n";
  }
  std::string error;
  if (cli_link_ && !cli_link_->Finish(error)) return cli::Fail(error);
  return kExitOk;
}

bool CardSources::OpenLink(std::string& error) {
  if (link_ != nullptr) return true;
  cli_link_ = CliLink::Open(
      args_, settings_, messages_, error,
      access_ == ImageAccess::kRead ? CardFileAccess::kRead : CardFileAccess::kReadWrite);
  if (!cli_link_) return false;
  LinkSession& session = cli_link_->Session();
  if (session.Hardware() != nullptr && !session.Hardware()->IsOpen()) {
    error = "no unit answered: " + session.BackendText();
    return false;
  }
  if (!cli_link_->Device().DetectUnitType()) {
    error = "no unit answered on the link";
    return false;
  }
  link_ = &cli_link_->Device();
  slots_ = std::make_unique<LinkSlots>(*link_);
  env_.link = slots_.get();
  return true;
}

CardImage* CardSources::Attach(const std::string& source, std::string& error,
                               std::optional<ImageAccess> access) {
  std::optional<std::uint8_t> slot = SlotNumber(source);
  return slot ? AttachSlot(*slot, source, access.value_or(access_), error)
              : AttachImage(source, access.value_or(access_), error);
}

CardImage* CardSources::AttachSlot(std::uint8_t slot, const std::string& source, ImageAccess access,
                                   std::string& error) {
  if (!OpenLink(error)) return nullptr;
  if (slot == kSourceSlot2 && link_->PagedMode()) {
    error = "slot2: a paged card has no second slot";
    return nullptr;
  }
  if (const VirtualUnit* unit = cli_link_->Session().Virtual()) {
    const std::size_t unit_slot = link_->PagedMode() ? 0 : slot;
    if (!unit->InUse(unit_slot).empty()) {
      error = source + ": " + unit->InUse(unit_slot) + "; nothing was changed";
      return nullptr;
    }
    if (access == ImageAccess::kReadWrite && unit->CardReadOnly(unit_slot)) {
      error = source + ": the card file " + unit->CardPath(unit_slot) +
              " is read-only; nothing was changed";
      return nullptr;
    }
  }
  bool present[2] = {true, true};
  if (!link_->PagedMode() && link_->GetCardPresence(present[0], present[1]) && !present[slot]) {
    error = source + ": no card in the slot";
    return nullptr;
  }
  cards_.push_back(std::make_unique<CardImage>(slot, &env_));
  return cards_.back().get();
}

CardImage* CardSources::AttachImage(const std::string& source, ImageAccess access,
                                    std::string& error) {
  std::error_code code;
  const auto size = std::filesystem::file_size(source, code);
  if (code) {
    error = source + ": " + code.message();
    return nullptr;
  }
  if (size != kImageFileSize) {
    error = source + ": not a card image (" + std::to_string(size) + " bytes, expected " +
            std::to_string(kImageFileSize) + ")";
    return nullptr;
  }
  // Either byte order is read (DCM, or a raw image in the card's own); a root block that reads
  // as a card's in neither is not guessed at.
  if (const DcmError checked = CheckImageFile(source); checked == DcmError::kUnknownOrder) {
    error = source + ": not a card image: " + std::string(Describe(checked));
    return nullptr;
  }
  auto card = std::make_unique<CardImage>(kSourceImage, &env_);
  ImageOpenError why = ImageOpenError::kNone;
  if (!OpenImageFile(*card, source, access, &why)) {
    error =
        source + (why == ImageOpenError::kInUse ? ": in use by another program; nothing was changed"
                                                : ": cannot be opened for reading");
    return nullptr;
  }
  if (access == ImageAccess::kReadWrite && card->ImageReadOnly()) {
    error = source + ": the file is read-only; nothing was changed";
    return nullptr;
  }
  cards_.push_back(std::move(card));
  return cards_.back().get();
}

CardImage* CardSources::Open(const std::string& source, LoadResult& loaded, std::string& error,
                             std::optional<ImageAccess> access) {
  CardImage* opened = Attach(source, error, access);
  if (opened == nullptr) return nullptr;
  loaded = LoadCard(*opened);
  if (loaded == LoadResult::kFailed) {
    error = source + ": the card could not be read";
    return nullptr;
  }
  return opened;
}

CardImage* CardSources::OpenFormatted(const std::string& source, std::string& error,
                                      std::optional<ImageAccess> access) {
  LoadResult loaded;
  CardImage* card = Open(source, loaded, error, access);
  if (card != nullptr && loaded == LoadResult::kUnformatted) {
    error = source + ": the card is not formatted";
    return nullptr;
  }
  return card;
}

CardImage* CardSources::OpenWritable(const std::string& source, std::string& error) {
  CardImage* card = OpenFormatted(source, error);
  if (card == nullptr) return nullptr;
  if (const std::optional<std::string> fault = UnsafeStructure(*card)) {
    error = source + ": " + std::string(Describe(TransferError::kUnsafeCard)) + ": " + *fault +
            " (quorvel-cli check " + source + " lists the damage)";
    return nullptr;
  }
  return card;
}

std::optional<FoundSave> CardSources::OpenSave(const std::string& source, const std::string& save,
                                               std::string& error,
                                               std::optional<ImageAccess> access,
                                               bool for_writing) {
  CardImage* card =
      for_writing ? OpenWritable(source, error) : OpenFormatted(source, error, access);
  if (card == nullptr) return std::nullopt;
  std::optional<std::size_t> index = FindSave(*card, save, error);
  if (!index) {
    error = source + ": " + error;
    return std::nullopt;
  }
  return FoundSave{card, *index};
}

bool CardSources::Reload(CardImage& card, std::string& error) {
  const CancelHold hold(card);
  if (LoadCard(card) != LoadResult::kFailed) return true;
  error = "the card could not be read back";
  return false;
}

bool CardSources::SameSource(const std::string& a, const std::string& b) {
  if (SlotNumber(a) || SlotNumber(b)) return a == b;
  std::error_code code;
  return std::filesystem::equivalent(a, b, code);
}

std::optional<std::size_t> FindSave(const CardImage& card, const std::string& save,
                                    std::string& error) {
  if (save.size() > 1 && save[0] == '#') {
    std::size_t slot = 0;
    auto [end, code] = std::from_chars(save.data() + 1, save.data() + save.size(), slot);
    if (code == std::errc() && end == save.data() + save.size() && slot < kSaveRecords &&
        card.records[slot].size != 0) {
      return slot;
    }
    error = "no save in directory slot " + save.substr(1);
    return std::nullopt;
  }
  if (auto found = FindSaveByName(card, save)) return found;
  for (int k = 0; k < card.listed_count; ++k) {
    std::uint8_t index = card.list_order[k];
    if (!save.empty() && TrimPadding(card.records[index].name) == save) return index;
  }
  error = "no save named " + save;
  return std::nullopt;
}

}  // namespace quorvel::cli
