// The cost of verify after write: whole-card restores onto slot 1 of the virtual two-slot unit
// with zero link delays (the model of bench_link), with and without every written block read
// back and compared, and with and without the journal of card writes. Reported per block
// written: the CPU time our code and the virtual unit take, the port accesses, and what those
// accesses cost on a legacy port at about a microsecond each.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "card/block_io.h"
#include "card/card_image.h"
#include "card/dcm_file.h"
#include "card/journal.h"
#include "card/link_slots.h"
#include "host/messages.h"
#include "link/link_device.h"
#include "virtualunit/virtual_unit.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class QuietMessages : public Messages {
 public:
  void Inform(std::string_view) override {}
  void Warn(std::string_view) override {}
  bool AskYesNo(std::string_view) override { return false; }
  Answer AskYesNoCancel(std::string_view) override { return Answer::kCancel; }
};

// The virtual unit with an empty card in slot 1, and a card image to restore onto it whose
// blocks all differ (so that every block is really written).
class RestoreBench {
 public:
  RestoreBench(bool journal, bool verify) {
    dir_ = fs::temp_directory_path() /
           ("quorvel-bench-verify-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::create_directories(dir_);
    image_ = dir_ / "restore.dcm";
    std::vector<char> bytes(std::size_t{kCardBlocks} * kBlockSize, 0);
    std::ofstream(dir_ / "slot1.dcm", std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 512);
    std::ofstream(image_, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::string error;
    unit_ = VirtualUnit::TwoSlotFromFolder(dir_, error);
    if (!unit_) {
      error_ = error;
      return;
    }
    settings_.poll_delay = settings_.byte_delay = settings_.bit_delay = 0;
    link_ = std::make_unique<LinkDevice>(*unit_, settings_);
    link_->EndTransaction();
    if (!link_->DetectUnitType() || link_->PagedMode()) error_ = "unit not detected";
    slots_ = std::make_unique<LinkSlots>(*link_);
    JournalOptions options;
    options.folder = dir_ / "journal";
    options.record = journal;
    options.verify_whole_card = verify;
    journal_ = std::make_unique<Journal>(options);
    env_.link = slots_.get();
    env_.messages = &messages_;
    env_.journal = journal_.get();
    card_ = std::make_unique<CardImage>(kSourceSlot1, &env_);
  }
  ~RestoreBench() {
    card_.reset();
    journal_.reset();
    fs::remove_all(dir_);
  }

  const std::string& Error() const { return error_; }
  bool Restore() { return RestoreCardFromFile(*card_, image_) == DcmError::kNone; }
  std::uint64_t PortAccesses() const {
    return unit_->Counters().port_reads + unit_->Counters().port_writes;
  }
  bool Clean() const { return unit_->Violations().empty(); }

 private:
  fs::path dir_;
  fs::path image_;
  std::string error_;
  QuietMessages messages_;
  LinkSettings settings_;
  std::unique_ptr<VirtualUnit> unit_;
  std::unique_ptr<LinkDevice> link_;
  std::unique_ptr<LinkSlots> slots_;
  std::unique_ptr<Journal> journal_;
  CardEnvironment env_;
  std::unique_ptr<CardImage> card_;
};

// state.range(0): the journal records (1) or not (0); state.range(1): verify after write.
void BM_WholeCardRestore(benchmark::State& state) {
  const bool journal = state.range(0) == 1;
  const bool verify = state.range(1) == 1;
  RestoreBench bench(journal, verify);
  if (!bench.Error().empty()) {
    state.SkipWithError(bench.Error().c_str());
    return;
  }
  const std::uint64_t before = bench.PortAccesses();
  std::uint64_t restores = 0;
  bool ok = true;
  for (auto _ : state) {
    ok &= bench.Restore();
    ++restores;
  }
  if (!ok || !bench.Clean()) {
    state.SkipWithError("a restore failed or broke a protocol rule");
    return;
  }
  const double blocks = static_cast<double>(restores) * kCardBlocks;
  const double per_block = static_cast<double>(bench.PortAccesses() - before) / blocks;
  // CPU seconds per millionth of the blocks: CPU microseconds per block (our code and the
  // virtual unit's simulation of the other side; the journal's flushes wait outside it).
  state.counters["cpu_us_per_block"] =
      benchmark::Counter(blocks / 1e6, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["port_accesses_per_block"] = per_block;
  state.counters["ms_per_block_at_1us_per_access"] = per_block / 1000.0;
  state.SetLabel(std::string(journal ? "journal" : "no journal") +
                 (verify ? ", verify after write" : ", no verify"));
}
BENCHMARK(BM_WholeCardRestore)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"journal", "verify"})
    ->Iterations(8)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel
