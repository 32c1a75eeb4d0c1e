// The link protocol per block against the virtual unit with zero delays: port accesses per
// block read and write on the two-slot unit and on a paged card, set against the bit-level
// floor (eight bits of four port accesses per byte), and the time our own code takes per block.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "link/link_device.h"
#include "link/settings.h"
#include "virtualunit/virtual_unit.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kPagedPageSize = 131072;
constexpr int kPagedPages = 2;
// Each bit of a byte costs four port accesses, so a 512-byte block costs at least this.
constexpr double kFloorAccessesPerBlock = kBlockSize * 8 * 4;

// A virtual unit with zero link delays, its card files in a temporary folder.
class LinkBench {
 public:
  explicit LinkBench(bool paged) {
    dir_ = fs::temp_directory_path() /
           ("quorvel-bench-link-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::create_directories(dir_);
    std::string error;
    if (paged) {
      WriteZeros(dir_ / "paged.bin", kPagedPageSize * kPagedPages);
      unit_ = VirtualUnit::Paged(dir_ / "paged.bin", error);
    } else {
      WriteZeros(dir_ / "slot1.dcm", 128 * 1024);
      unit_ = VirtualUnit::TwoSlotFromFolder(dir_, error);
    }
    if (!unit_) {
      error_ = error;
      return;
    }
    settings_.poll_delay = 0;
    settings_.byte_delay = 0;
    settings_.bit_delay = 0;
    link_ = std::make_unique<LinkDevice>(*unit_, settings_);
    link_->EndTransaction();
    if (!link_->DetectUnitType() || link_->PagedMode() != paged) error_ = "unit not detected";
  }
  ~LinkBench() { fs::remove_all(dir_); }

  const std::string& Error() const { return error_; }
  LinkDevice& Link() { return *link_; }
  std::uint64_t PortAccesses() const {
    return unit_->Counters().port_reads + unit_->Counters().port_writes;
  }
  bool Clean() const { return unit_->Violations().empty(); }

 private:
  static void WriteZeros(const fs::path& file, std::size_t size) {
    const std::vector<char> zeros(size, 0);
    std::ofstream(file, std::ios::binary).write(zeros.data(), static_cast<std::streamsize>(size));
  }

  fs::path dir_;
  std::string error_;
  LinkSettings settings_;
  std::unique_ptr<VirtualUnit> unit_;
  std::unique_ptr<LinkDevice> link_;
};

// state.range(0): 0 two-slot unit, 1 paged card; state.range(1): 0 read, 1 write.
void BM_LinkBlock(benchmark::State& state) {
  const bool paged = state.range(0) == 1;
  const bool write = state.range(1) == 1;
  LinkBench bench(paged);
  if (!bench.Error().empty()) {
    state.SkipWithError(bench.Error().c_str());
    return;
  }
  std::array<std::uint8_t, kBlockSize> buffer{};
  for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<std::uint8_t>(i * 7);
  const std::uint64_t before = bench.PortAccesses();
  std::uint64_t blocks = 0;
  bool ok = true;
  for (auto _ : state) {
    const auto block = static_cast<std::uint8_t>(blocks % 200);
    ok &= write ? bench.Link().LinkWriteBlock(0, block, buffer)
                : bench.Link().LinkReadBlock(0, block, buffer);
    ++blocks;
  }
  if (!ok || !bench.Clean()) {
    state.SkipWithError("a block call failed or broke a protocol rule");
    return;
  }
  const double per_block =
      static_cast<double>(bench.PortAccesses() - before) / static_cast<double>(blocks);
  state.counters["port_accesses_per_block"] = per_block;
  state.counters["floor_accesses"] = kFloorAccessesPerBlock;
  state.counters["accesses_over_floor"] = per_block / kFloorAccessesPerBlock;
  // On a legacy port each access takes roughly a microsecond.
  state.counters["ms_at_1us_per_access"] = per_block / 1000.0;
  state.SetLabel(std::string(paged ? "paged" : "two-slot") + (write ? " write" : " read"));
}
BENCHMARK(BM_LinkBlock)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"paged", "write"})
    ->MinTime(0.2)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvel
