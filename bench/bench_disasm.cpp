// Disassembler speed: listing lines per second over a 100 KiB code file, straight through and
// through the code window's page table.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "disasm/code_page_table.h"
#include "disasm/disassembler.h"

namespace {

// A 100 KiB file of pseudo-random code in the system's temporary directory.
class CodeFileFixture {
 public:
  CodeFileFixture() {
    path_ = std::filesystem::temp_directory_path() / "quorvel-bench-disasm.bin";
    std::vector<std::uint8_t> bytes(100 * 1024);
    std::uint32_t seed = 1;
    for (auto& byte : bytes) {
      seed = seed * 1103515245u + 12345u;
      byte = static_cast<std::uint8_t>(seed >> 16);
    }
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  ~CodeFileFixture() { std::filesystem::remove(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const CodeFileFixture& File() {
  static const CodeFileFixture file;
  return file;
}

void BM_DisassembleNext(benchmark::State& state) {
  quorvel::CodeReader reader;
  std::int64_t lines = 0;
  for (auto _ : state) {
    if (!reader.OpenCodeFile(File().path())) {
      state.SkipWithError(reader.error().c_str());
      return;
    }
    for (std::string line = quorvel::DisassembleNext(reader); !line.empty();
         line = quorvel::DisassembleNext(reader)) {
      benchmark::DoNotOptimize(line);
      ++lines;
    }
  }
  state.counters["lines"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DisassembleNext)->Unit(benchmark::kMillisecond);

// Opening the code window: the table is built in one pass and page 0 is kept.
void BM_PageTableOpen(benchmark::State& state) {
  quorvel::CodeReader reader;
  std::int64_t lines_per_open = 0;
  if (reader.OpenCodeFile(File().path())) {
    while (quorvel::DecodeNext(reader)) ++lines_per_open;
  }
  quorvel::CodePageTable table;
  for (auto _ : state) {
    if (!table.Open(File().path())) {
      state.SkipWithError(table.error().c_str());
      return;
    }
  }
  state.counters["lines"] = benchmark::Counter(
      static_cast<double>(lines_per_open * state.iterations()), benchmark::Counter::kIsRate);
  state.counters["pages"] = table.page_count();
}
BENCHMARK(BM_PageTableOpen)->Unit(benchmark::kMillisecond);

}  // namespace
