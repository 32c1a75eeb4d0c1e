// A request to stop a long card command, and how the command that stopped left the card. The
// request may come from another thread or a signal handler; a command looks at it only where
// the card is consistent: before its first write, and after a whole block when it can still
// leave the card as it was.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

namespace quorvel {

struct CardImage;

// How a command that was asked to stop left the card (and the file it would have written).
enum class CancelOutcome {
  kNone,            // the command did not stop: it ran to its end, or failed on its own
  kNothingWritten,  // it stopped before its first write: the card and any file are as they were
  // A save's store stopped half-way: its blocks went to free blocks only, the FAT and the
  // directory were not written, so the card lists exactly what it listed.
  kNothingStored,
  kPutBack,     // a whole-card command stopped half-way and wrote the card's old blocks back
  kNotPutBack,  // ... and the old blocks could not all be written back: the card is partly new
};

// What quorvel-cli says: "cancelled before anything was written", ...
std::string_view Describe(CancelOutcome outcome);
// What the window says, in its own words (" 已取消, 記憶卡沒有被改變. ", ...); a backup stopped
// before it wrote its file has its own text (`file_command`).
std::string CancelledMessage(CancelOutcome outcome, bool file_command = false);

// The request to stop, shared by whoever asks (a Cancel button, Ctrl+C) and the command that
// runs. Request() only stores an atomic flag, so a signal handler may call it.
class CancelRequest {
 public:
  static_assert(std::atomic<bool>::is_always_lock_free);
  static_assert(std::atomic<int>::is_always_lock_free);

  void Request() noexcept { requested_.store(true, std::memory_order_relaxed); }
  bool Requested() const noexcept { return requested_.load(std::memory_order_relaxed); }

  // Forgets the request and the last outcome, before the next command starts.
  void Reset() noexcept {
    requested_.store(false, std::memory_order_relaxed);
    outcome_.store(static_cast<int>(CancelOutcome::kNone), std::memory_order_relaxed);
  }

  // Set by the safe point that stopped the command; read by whoever tells the user. The first
  // answer stays: whatever runs after the stop (a refresh) does not change what is told.
  void Acknowledge(CancelOutcome outcome) noexcept {
    int none = static_cast<int>(CancelOutcome::kNone);
    outcome_.compare_exchange_strong(none, static_cast<int>(outcome), std::memory_order_relaxed);
  }
  CancelOutcome Outcome() const noexcept {
    return static_cast<CancelOutcome>(outcome_.load(std::memory_order_relaxed));
  }

  // True while a CancelHold covers the running command.
  bool Held() const noexcept { return holds_.load(std::memory_order_relaxed) > 0; }

 private:
  friend class CancelHold;
  std::atomic<bool> requested_{false};
  std::atomic<int> outcome_{static_cast<int>(CancelOutcome::kNone)};
  std::atomic<int> holds_{0};  // while above 0, no safe point answers the request
};

// True when the command running on `card` was asked to stop (through its environment's
// request) and no CancelHold covers it: the caller is at a safe point and stops there.
bool StopRequested(const CardImage& card);

// Tells the card's request how the command stopped (nothing without a request).
void AcknowledgeStop(const CardImage& card, CancelOutcome outcome);

// A stretch of a command that must run to its end once begun (a save stored after the old
// one of its name was deleted, the old blocks written back after a stop): its safe points do
// not answer a request, which stays for the safe points after it.
class CancelHold {
 public:
  explicit CancelHold(const CardImage& card);
  ~CancelHold();
  CancelHold(const CancelHold&) = delete;
  CancelHold& operator=(const CancelHold&) = delete;

 private:
  CancelRequest* request_;
};

}  // namespace quorvel
