// The request to stop a card command, its safe points' test and the texts of how it stopped.
#include "card/cancel.h"

#include "card/card_image.h"
#include "card/card_texts.h"

namespace quorvel {
namespace {

CancelRequest* RequestOf(const CardImage& card) {
  return card.env != nullptr ? card.env->cancel : nullptr;
}

}  // namespace

std::string_view Describe(CancelOutcome outcome) {
  switch (outcome) {
    case CancelOutcome::kNone:
      return "not cancelled";
    case CancelOutcome::kNothingWritten:
      return "cancelled before anything was written";
    case CancelOutcome::kNothingStored:
      return "cancelled: the card lists the saves it listed (the blocks copied so far went to "
             "free blocks only)";
    case CancelOutcome::kPutBack:
      return "cancelled: the card was put back as it was";
    case CancelOutcome::kNotPutBack:
      return "cancelled, but the card could not be put back as it was: it is partly overwritten "
             "(its journal still holds the old blocks for undo)";
  }
  return "";
}

std::string CancelledMessage(CancelOutcome outcome, bool file_command) {
  switch (outcome) {
    case CancelOutcome::kNone:
      return "";
    case CancelOutcome::kNothingWritten:
      return std::string(file_command ? kCancelledFileUnwrittenText : kCancelledCardUnchangedText);
    case CancelOutcome::kNothingStored:
      return std::string(kCancelledSavesUnchangedText);
    case CancelOutcome::kPutBack:
      return std::string(kCancelledPutBackText);
    case CancelOutcome::kNotPutBack:
      return std::string(kCancelledNotPutBackText);
  }
  return "";
}

bool StopRequested(const CardImage& card) {
  const CancelRequest* request = RequestOf(card);
  return request != nullptr && request->Requested() && !request->Held();
}

void AcknowledgeStop(const CardImage& card, CancelOutcome outcome) {
  if (CancelRequest* request = RequestOf(card)) request->Acknowledge(outcome);
}

CancelHold::CancelHold(const CardImage& card) : request_(RequestOf(card)) {
  if (request_ != nullptr) request_->holds_.fetch_add(1, std::memory_order_relaxed);
}

CancelHold::~CancelHold() {
  if (request_ != nullptr) request_->holds_.fetch_sub(1, std::memory_order_relaxed);
}

}  // namespace quorvel
