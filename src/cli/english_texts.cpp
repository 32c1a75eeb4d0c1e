// The English of the core's texts for quorvel-cli.
#include "cli/english_texts.h"

#include <array>
#include <utility>
#include <vector>

#include "app/core_texts.h"
#include "card/cancel.h"
#include "card/card_texts.h"
#include "disasm/code_page_texts.h"
#include "host/translatable.h"

namespace quorvel {

namespace {

constexpr std::string_view kLinkAdvice =
    " (switch automatic refresh off, then check the speed setting, the power and the cable)";

const std::array<std::pair<std::string_view, std::string>, 35>& Table() {
  static const std::array<std::pair<std::string_view, std::string>, 35> table = {{
      {kVerifyFailureText, "block %1 did not read back as written; stopped"},
      {kReadConnectionError, "link error: a block could not be read" + std::string(kLinkAdvice)},
      {kWriteConnectionError,
       "link error: a block could not be written" + std::string(kLinkAdvice)},
      {kReadOnlyImageText, "%1 is a read-only file and cannot be written"},
      {kBmpFormatMessage, "the BMP file must be 32 x 32 pixels, 8 bits with a 256-colour palette"},
      {kNoSpaceMessage, "not enough free blocks"},
      {kUnsupportedImageText, "%1: this file format is not supported"},
      {kUnsupportedImageIntoSlotText, "%1: this file format is not supported"},
      {kInvalidTemplateText, "%1 is not a valid card template"},
      {kJournalFailureText, "the journal of card writes cannot be written (%1); card unchanged"},
      {kJournalSetAsideText,
       "the journal %1 is damaged (%2); it was set aside as %3 and will not be used"},
      {kJournalRootUnreadableText, "the card's root block could not be read"},
      {kJournalBlockUnreadableText, "block %1 could not be read"},
      {kJournalUnreadableText, "cannot be read"},
      {kJournalOtherVersionText, "written by another version"},
      {kJournalTruncatedText, "cut short"},
      {kJournalCorruptText, "corrupt"},
      {kCopyingStatusText, "copying..."},
      {kCancelledCardUnchangedText, std::string(Describe(CancelOutcome::kNothingWritten))},
      {kCancelledFileUnwrittenText, "cancelled before the file was written"},
      {kCancelledSavesUnchangedText, std::string(Describe(CancelOutcome::kNothingStored))},
      {kCancelledPutBackText, std::string(Describe(CancelOutcome::kPutBack))},
      {kCancelledNotPutBackText, std::string(Describe(CancelOutcome::kNotPutBack))},
      {kAddressOutOfRangeText, "address out of range"},
      {kFirstPageLabelText, "page 1 of %1"},
      {kPageLabelText, "page %1 of %2"},
      {kCodeOpenErrorText, "cannot open %1: %2"},
      {kCodeSizeErrorText, "cannot take the size of %1: %2"},
      {kCodeSeekErrorText, "cannot seek in %1: %2"},
      {kCodeReadErrorText, "cannot read %1: %2"},
      {kCodeShrankText, "the file became shorter while it was read"},
      {kCodeWriteErrorText, "cannot write %1: %2"},
      {kNoSuchPageText, "no page %1 of %2"},
      {kNoInstructionText, "no instruction is selected"},
      {kPatchTooShortText, "the instruction needs %1 bytes"},
  }};
  return table;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string_view EnglishTemplate(std::string_view text) {
  for (const auto& [source, english] : Table()) {
    if (source == text) return english;
  }
  return {};
}

std::string EnglishText(std::string_view text) {
  const std::optional<MatchedCoreText> match = MatchCoreText(text);
  if (!match) return std::string(text);
  const std::string_view english = EnglishTemplate(match->text->text);
  if (english.empty()) return std::string(text);
  // A value may itself be a core text (a reason inside a message).
  std::vector<std::string> v;
  for (const std::string& value : match->values) v.push_back(EnglishText(Trimmed(value)));
  const auto at = [&v](std::size_t i) { return i < v.size() ? std::string_view(v[i]) : ""; };
  return FillText(english, {at(0), at(1), at(2)});
}

}  // namespace quorvel
