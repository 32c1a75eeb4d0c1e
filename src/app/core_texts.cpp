// The table of the core's shown texts.
#include "app/core_texts.h"

#include <array>

#include "card/card_texts.h"
#include "disasm/code_page_texts.h"
#include "host/translatable.h"

namespace quorvel {

namespace {

constexpr std::array kCoreTexts = {
    CoreText{"Card", kVerifyFailureText},
    CoreText{"Card", kReadConnectionError},
    CoreText{"Card", kWriteConnectionError},
    CoreText{"Card", kReadOnlyImageText},
    CoreText{"Card", kBmpFormatMessage},
    CoreText{"Card", kNoSpaceMessage},
    CoreText{"Card", kUnsupportedImageText},
    CoreText{"Card", kUnsupportedImageIntoSlotText},
    CoreText{"Card", kInvalidTemplateText},
    CoreText{"Card", kJournalFailureText},
    CoreText{"Card", kJournalSetAsideText},
    CoreText{"Card", kJournalRootUnreadableText},
    CoreText{"Card", kJournalBlockUnreadableText},
    CoreText{"Card", kJournalUnreadableText},
    CoreText{"Card", kJournalOtherVersionText},
    CoreText{"Card", kJournalTruncatedText},
    CoreText{"Card", kJournalCorruptText},
    CoreText{"Card", kCopyingStatusText},
    CoreText{"Card", kCancelledCardUnchangedText},
    CoreText{"Card", kCancelledFileUnwrittenText},
    CoreText{"Card", kCancelledSavesUnchangedText},
    CoreText{"Card", kCancelledPutBackText},
    CoreText{"Card", kCancelledNotPutBackText},
    CoreText{"CodeWindow", kAddressOutOfRangeText},
    CoreText{"CodeWindow", kFirstPageLabelText},
    CoreText{"CodeWindow", kPageLabelText},
    CoreText{"CodeWindow", kCodeOpenErrorText},
    CoreText{"CodeWindow", kCodeSizeErrorText},
    CoreText{"CodeWindow", kCodeSeekErrorText},
    CoreText{"CodeWindow", kCodeReadErrorText},
    CoreText{"CodeWindow", kCodeShrankText},
    CoreText{"CodeWindow", kCodeWriteErrorText},
    CoreText{"CodeWindow", kNoSuchPageText},
    CoreText{"CodeWindow", kNoInstructionText},
    CoreText{"CodeWindow", kPatchTooShortText},
};

}  // namespace

std::span<const CoreText> CoreTexts() { return kCoreTexts; }

std::optional<MatchedCoreText> MatchCoreText(std::string_view shown) {
  for (const CoreText& text : kCoreTexts) {
    if (std::optional<std::vector<std::string>> values = MatchText(text.text, shown)) {
      return MatchedCoreText{&text, std::move(*values)};
    }
  }
  return std::nullopt;
}

}  // namespace quorvel
