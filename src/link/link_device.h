// LinkDevice: the link protocol to the card unit on the parallel port (handshake, bit-level
// byte exchange, the framed command set) and the block entry points the card layer uses.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "host/block.h"
#include "host/reports.h"
#include "link/settings.h"
#include "port/port_io.h"

namespace quorvel {

inline constexpr std::size_t kPartSize = 128;

// The label text shown when the unit does not finish the handshake (seven leading blanks).
inline constexpr std::string_view kNoDeviceLabel = "       No Device";

// Running counts of the link's work, for "--stats" and for tests.
struct LinkStats {
  std::uint64_t transactions = 0;  // BeginTransaction calls
  std::uint64_t block_reads = 0;   // LinkReadBlock calls
  std::uint64_t block_writes = 0;  // LinkWriteBlock calls
  std::uint64_t retries = 0;       // block calls that repeat the failed call just before them
  // Paged block calls checked by one more read because a checksum reply differed in bit 0.
  std::uint64_t bit0_checks = 0;
};

// What the protocol needs from its surroundings; every member may be left empty.
struct LinkHooks {
  // The current time of day in the system's long time format (for example "15:04:05").
  // Injected so that tests decide when "the second changes".
  std::function<std::string()> time_of_day;
  // Repaint what is pending in the main window, without handling any input.
  std::function<void()> repaint;
  // Where the status text goes ("No Device" when the handshake fails); must outlive the link.
  const Reports* reports = nullptr;
};

class LinkDevice {
 public:
  // TimedOut false, PagedMode false. The base port and the three delay counts are read from
  // `settings` (program-wide values shared with the configuration and the settings dialog),
  // so a change there takes effect at the next transaction. The constructor leaves the
  // delays alone: the configuration, read at start-up, sets all three. Without a
  // time_of_day hook the local clock is used ("HH:MM:SS").
  LinkDevice(PortIo& port, LinkSettings& settings, LinkHooks hooks = {});

  // Writes one of three sets of delay counts into the settings: below 1000 (500, 80, 8),
  // 1000 to 99999 (90000, 1000, 100), 100000 and above (180000, 2000, 200).
  void SetSpeed(std::int32_t value);

  // Transactions and the byte exchange.
  void BeginTransaction();
  void EndTransaction();
  std::uint8_t ExchangeByte(std::uint8_t out);
  std::uint8_t TransferByte(std::uint8_t out);

  // The command set; each returns true when the sync reply and the checksum were right.
  // Received data lands in the caller's buffer as it arrives; GetPage sets `page` only on
  // success; GetCardPresence clears both flags once the handshake succeeded.
  bool ReadMemory(std::uint32_t address, std::span<std::uint8_t, kBlockSize> buffer);
  bool WriteMemory(std::uint32_t address, std::span<const std::uint8_t, kPartSize> data);
  bool SetPage(std::uint16_t page);
  bool GetPage(std::uint16_t& page);
  bool Set16MPage(std::uint8_t page);
  bool BeginSlotAccess();
  bool EndSlotAccess();
  bool RequestBlockPart(std::uint8_t slot, std::uint8_t block, std::uint8_t part);
  bool FetchPart(std::span<std::uint8_t, kPartSize> buffer);
  bool UploadPart(std::span<const std::uint8_t, kPartSize> data);
  bool WriteBlockPart(std::uint8_t slot, std::uint8_t block, std::uint8_t part);
  bool CommitBlockWrite(std::uint8_t slot, std::uint8_t block);
  bool GetCardPresence(bool& slot1, bool& slot2);

  // Block entry points for the card layer; afterwards TimedOut() == !result.
  bool LinkReadBlock(std::uint8_t slot, std::uint8_t block,
                     std::span<std::uint8_t, kBlockSize> buffer);
  bool LinkWriteBlock(std::uint8_t slot, std::uint8_t block,
                      std::span<const std::uint8_t, kBlockSize> data);

  // Unit detection: true when either kind of unit answered; sets PagedMode(). A failed
  // detection leaves PagedMode() as it was. When the page in use cannot be read first,
  // nothing more is sent and the result is false.
  bool DetectUnitType();
  // The highest page of a paged card (the page register clamps SetPage(255)); the page in use
  // is put back and, when `current` is given, stored there. False when a command failed;
  // when the page in use cannot be read, nothing more is sent.
  bool HighestPage(std::uint16_t& highest, std::uint16_t* current = nullptr);
  // True once after DetectUnitType or HighestPage moved a paged card to another page and could
  // not put the page back: whatever was read from the card may belong to another page now.
  bool TakePageLost();

  bool TimedOut() const { return timed_out_; }
  bool PagedMode() const { return paged_mode_; }
  std::uint16_t DataPort() const { return data_port_; }
  std::uint16_t StatusPort() const { return status_port_; }
  std::uint16_t ControlPort() const { return control_port_; }
  const LinkStats& Stats() const { return stats_; }

 private:
  // One command frame: OpenCommand runs the handshake, sends the two command bytes and checks
  // the sync reply (ending the transaction when it fails); CloseCommand exchanges the
  // checksum and ends the transaction.
  bool OpenCommand(std::uint8_t first, std::uint8_t second);
  // The two halves of OpenCommand: the handshake (false, with the transaction ended, when it
  // timed out) and the command bytes with the sync test.
  bool StartCommand();
  bool SendCommandBytes(std::uint8_t first, std::uint8_t second);
  bool CloseCommand(bool exact_checksum);
  void SendBytes(std::span<const std::uint8_t> bytes);
  // A receive run: each exchange echoes the byte received by the exchange before it.
  void ReceiveBytes(std::span<std::uint8_t> bytes);
  // A command that only sends arguments.
  bool SendCommand(std::uint8_t first, std::uint8_t second, std::span<const std::uint8_t> args,
                   bool exact_checksum = false);
  // A command that sends no arguments and receives a run of bytes.
  bool ReceiveCommand(std::uint8_t first, std::uint8_t second, std::span<std::uint8_t> bytes,
                      bool exact_checksum = false);
  void UpdatePorts();
  std::string TimeOfDay() const;
  void CountBlockCall(bool write, std::uint8_t slot, std::uint8_t block);
  bool FinishBlockCall(bool ok);
  bool ReadBlockTwoSlot(std::uint8_t slot, std::uint8_t block,
                        std::span<std::uint8_t, kBlockSize> buffer);
  bool WriteBlockTwoSlot(std::uint8_t slot, std::uint8_t block,
                         std::span<const std::uint8_t, kBlockSize> data);
  bool WriteBlockPaged(std::uint8_t block, std::span<const std::uint8_t, kBlockSize> data);
  // SetPage(page) to undo a page test; a failure is remembered for TakePageLost.
  bool PutPageBack(std::uint16_t page);

  // The last block call, to tell a retry from a new transfer.
  struct BlockCall {
    bool write = false;
    std::uint8_t slot = 0;
    std::uint8_t block = 0;
    bool failed = false;
  };

  PortIo& port_;
  LinkSettings& settings_;
  LinkHooks hooks_;
  std::uint16_t data_port_ = 0x378;
  std::uint16_t status_port_ = 0x379;
  std::uint16_t control_port_ = 0x37A;
  std::uint8_t data_shadow_ = 0;
  std::uint8_t checksum_ = 0;
  bool timed_out_ = false;
  // The last checksum reply differed from the checksum sent (bit 0 included).
  bool checksum_inexact_ = false;
  bool paged_mode_ = false;
  bool page_lost_ = false;
  std::uint8_t last_received_ = 0;  // the byte the most recent exchange brought in
  LinkStats stats_;
  BlockCall last_block_call_;
};

}  // namespace quorvel
