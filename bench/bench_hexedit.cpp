// Hex editor document on a 1 GiB file: open, show a row anywhere, find a pattern near the end
// (next to `grep -c -F` on the same file), insert at the start and undo it, and the process's
// memory high-water mark. The files are made beside this program and removed at the end.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "hexedit/hex_document.h"

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kFileSize = std::int64_t{1} << 30;
constexpr std::int64_t kNeedleAt = kFileSize - 4096;
const std::string kNeedle = "QuorvelNeedle-42";

double MaxRssMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB on Linux
}

fs::path BenchDir() {
  const fs::path dir = fs::read_symlink("/proc/self/exe").parent_path() / "hexedit-bench-files";
  fs::create_directories(dir);
  return dir;
}

// The two test files: one sparse (all zeros), one of generated text-like bytes; both carry the
// needle near their end. Working copies go to the same directory. grep reads the sparse file
// as one 1 GiB line, the generated one as lines of 100 characters.
class Files {
 public:
  Files() : dir_(BenchDir()) {
    setenv("TMPDIR", dir_.c_str(), 1);
    sparse_ = dir_ / "sparse.bin";
    generated_ = dir_ / "generated.bin";
    {
      std::ofstream(sparse_, std::ios::binary).close();
      fs::resize_file(sparse_, kFileSize);
      std::fstream out(sparse_, std::ios::binary | std::ios::in | std::ios::out);
      out.seekp(kNeedleAt);
      out.write(kNeedle.data(), static_cast<std::streamsize>(kNeedle.size()));
    }
    std::ofstream out(generated_, std::ios::binary);
    std::vector<char> piece(1 << 20);
    std::uint32_t seed = 7;
    for (std::int64_t done = 0; done < kFileSize; done += static_cast<std::int64_t>(piece.size())) {
      for (std::size_t i = 0; i < piece.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        // Printable text in lines of 100 characters (never the whole needle by chance).
        piece[i] = i % 100 == 99 ? '\n' : static_cast<char>(' ' + (seed >> 16) % 95);
      }
      if (done + static_cast<std::int64_t>(piece.size()) > kNeedleAt && done <= kNeedleAt) {
        std::copy(kNeedle.begin(), kNeedle.end(), piece.begin() + (kNeedleAt - done));
      }
      out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    }
  }
  ~Files() { fs::remove_all(dir_); }
  const fs::path& Sparse() const { return sparse_; }
  const fs::path& Generated() const { return generated_; }

 private:
  fs::path dir_, sparse_, generated_;
};

Files* files = nullptr;

const fs::path& FileFor(const benchmark::State& state) {
  return state.range(0) == 0 ? files->Sparse() : files->Generated();
}

void SetLabel(benchmark::State& state) {
  state.SetLabel(state.range(0) == 0 ? "sparse 1 GiB" : "generated 1 GiB");
  state.counters["max_rss_MiB"] = MaxRssMiB();
}

void BM_Open(benchmark::State& state) {
  for (auto _ : state) {
    quorvel::HexDocument doc;
    if (!doc.Open(FileFor(state))) state.SkipWithError("open failed");
  }
  state.SetBytesProcessed(state.iterations() * kFileSize);
  SetLabel(state);
}

void BM_ShowRandomRows(benchmark::State& state) {
  quorvel::HexDocument doc;
  doc.Open(FileFor(state));
  std::uint64_t seed = 1;
  for (auto _ : state) {
    seed = seed * 6364136223846793005u + 1442695040888963407u;
    const auto row = static_cast<std::int64_t>(seed >> 20) % doc.RowCount();
    benchmark::DoNotOptimize(doc.RowBytes(row).data());
  }
  SetLabel(state);
}

void BM_FindNearEnd(benchmark::State& state) {
  quorvel::HexDocument doc;
  doc.Open(FileFor(state));
  const std::vector<std::uint8_t> pattern(kNeedle.begin(), kNeedle.end());
  const bool ignore_case = state.range(1) != 0;
  for (auto _ : state) {
    if (doc.Find(pattern, ignore_case, doc.Size() - 1, 0) != kNeedleAt) {
      state.SkipWithError("needle not found");
    }
  }
  state.SetBytesProcessed(state.iterations() * kNeedleAt);
  SetLabel(state);
  if (ignore_case)
    state.SetLabel(state.range(0) == 0 ? "sparse, ignore case" : "generated, ignore case");
}

void BM_GrepFixedString(benchmark::State& state) {
  const std::string command =
      "grep -c -F -a '" + kNeedle + "' '" + FileFor(state).string() + "' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("grep failed");
  }
  state.SetBytesProcessed(state.iterations() * kFileSize);
  SetLabel(state);
}

void BM_InsertAtStart(benchmark::State& state) {
  quorvel::HexDocument doc;
  doc.Open(FileFor(state));
  const std::uint8_t byte = 0xAB;
  for (auto _ : state) {
    if (!doc.InsertBuffer(std::span(&byte, 1), 0)) state.SkipWithError("insert failed");
    state.PauseTiming();
    doc.Undo();
    state.ResumeTiming();
  }
  SetLabel(state);
}

void BM_UndoInsertAtStart(benchmark::State& state) {
  quorvel::HexDocument doc;
  doc.Open(FileFor(state));
  const std::uint8_t byte = 0xAB;
  for (auto _ : state) {
    state.PauseTiming();
    doc.InsertBuffer(std::span(&byte, 1), 0);
    state.ResumeTiming();
    if (!doc.Undo() || doc.Size() != kFileSize) state.SkipWithError("undo failed");
  }
  SetLabel(state);
}

BENCHMARK(BM_Open)->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ShowRandomRows)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_FindNearEnd)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_GrepFixedString)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_InsertAtStart)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UndoInsertAtStart)
    ->Arg(1)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const double before = MaxRssMiB();
  Files made;
  files = &made;
  benchmark::AddCustomContext("max_rss_MiB_before_documents", std::to_string(before));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
