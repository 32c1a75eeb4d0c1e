// fuzz_replay: runs the fuzz targets without libFuzzer, so that the normal build keeps them
// compiling and CTest runs each over its seeds, saved inputs and seeded random mutations.
//   fuzz_replay --list                  one line per target: name and longest useful input
//   fuzz_replay --write-seeds DIR       writes DIR/<target>/seed-NNN for every target
//   fuzz_replay TARGET [--mutations N] [--seed S] [--max-seconds T] [--keep-last FILE] [PATH...]
// --max-seconds stops the mutations once T seconds have passed (for slow sanitizer builds).
// --keep-last writes each input to FILE before running it: after a failure FILE holds the
// input that failed, ready for a run of the libFuzzer program or a debugger.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "fuzz_support.h"

namespace quorvel::fuzz {
namespace {

const Target* FindTarget(std::string_view name) {
  for (const Target& target : Targets()) {
    if (target.name == name) return &target;
  }
  return nullptr;
}

// Small random edits of the kinds that find parser faults: flipped bits, interesting bytes,
// inserted and removed runs, a cut end and a copied run.
class Mutator {
 public:
  explicit Mutator(std::uint32_t seed) : random_(seed) {}

  Bytes Mutate(Bytes bytes, std::size_t max_length) {
    const int edits = 1 + static_cast<int>(Below(8));
    for (int i = 0; i < edits; ++i) Edit(bytes);
    if (bytes.size() > max_length) bytes.resize(max_length);
    return bytes;
  }

 private:
  std::size_t Below(std::size_t bound) { return bound == 0 ? 0 : random_() % bound; }

  void Edit(Bytes& bytes) {
    static constexpr std::uint8_t kInteresting[] = {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF,
                                                    0x20, 0x0D, 0x0A, 0x30, 0x39, 0xCC};
    const std::size_t at = Below(bytes.size() + 1);
    switch (Below(6)) {
      case 0:
        if (at < bytes.size()) bytes[at] ^= static_cast<std::uint8_t>(1u << Below(8));
        break;
      case 1:
        if (at < bytes.size()) bytes[at] = kInteresting[Below(std::size(kInteresting))];
        break;
      case 2:
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), 1 + Below(16),
                     static_cast<std::uint8_t>(random_()));
        break;
      case 3:
        bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                    bytes.begin() +
                        static_cast<std::ptrdiff_t>(std::min(bytes.size(), at + 1 + Below(16))));
        break;
      case 4:
        bytes.resize(at);
        break;
      default: {
        if (bytes.empty()) break;
        const std::size_t from = Below(bytes.size());
        const std::size_t length = std::min(bytes.size() - from, 1 + Below(64));
        const std::size_t to = Below(bytes.size() - length + 1);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), length,
                    bytes.begin() + static_cast<std::ptrdiff_t>(to));
      }
    }
  }

  std::mt19937 random_;
};

void AddFiles(const std::filesystem::path& path, std::vector<Bytes>& inputs) {
  if (std::filesystem::is_directory(path)) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) inputs.push_back(ReadFile(file));
  } else {
    inputs.push_back(ReadFile(path));
  }
}

int WriteSeeds(const std::filesystem::path& dir) {
  for (const Target& target : Targets()) {
    const std::filesystem::path target_dir = dir / std::string(target.name);
    std::filesystem::create_directories(target_dir);
    int number = 0;
    for (const Bytes& seed : target.seeds()) {
      char name[32];
      std::snprintf(name, sizeof name, "seed-%03d", number++);
      WriteFile(target_dir / name, seed);
    }
    std::cout << target.name << ": " << number << " seeds\n";
  }
  return 0;
}

int Usage() {
  std::cerr << "usage: fuzz_replay --list | --write-seeds DIR |"
               " TARGET [--mutations N] [--seed S] [--max-seconds T] [--keep-last FILE]"
               " [PATH...]\n";
  return 2;
}

int Replay(const Target& target, int argc, char** argv) {
  long mutations = 0;
  std::uint32_t seed = 1;
  std::string keep_last;
  double max_seconds = 0;
  std::vector<Bytes> inputs = target.seeds();
  const std::size_t seed_count = inputs.size();
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--keep-last" && i + 1 < argc) {
      keep_last = argv[++i];
    } else if (arg == "--max-seconds" && i + 1 < argc) {
      max_seconds = std::strtod(argv[++i], nullptr);
    } else if ((arg == "--mutations" || arg == "--seed") && i + 1 < argc) {
      const long value = std::strtol(argv[++i], nullptr, 10);
      if (arg == "--mutations") mutations = value;
      if (arg == "--seed") seed = static_cast<std::uint32_t>(value);
    } else {
      AddFiles(arg, inputs);
    }
  }
  if (inputs.empty()) inputs.emplace_back();
  const auto run = [&](const Bytes& input) {
    if (!keep_last.empty()) WriteFile(keep_last, input);
    target.run(input);
  };
  const auto start = std::chrono::steady_clock::now();
  for (const Bytes& input : inputs) run(input);
  const auto seconds = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  Mutator mutator(seed);
  long mutated = 0;
  for (; mutated < mutations && (max_seconds <= 0 || seconds() < max_seconds); ++mutated) {
    run(mutator.Mutate(inputs[static_cast<std::size_t>(mutated) % inputs.size()],
                       target.max_length));
  }
  std::cout << target.name << ": " << seed_count << " seeds, " << inputs.size() - seed_count
            << " saved inputs, " << mutated << " mutations, " << static_cast<long>(seconds() * 1000)
            << " ms, no failure\n";
  return 0;
}

}  // namespace
}  // namespace quorvel::fuzz

int main(int argc, char** argv) {
  using namespace quorvel::fuzz;
  if (argc < 2) return Usage();
  const std::string first = argv[1];
  if (first == "--list") {
    for (const Target& target : Targets()) {
      std::cout << target.name << " " << target.max_length << "\n";
    }
    return 0;
  }
  if (first == "--write-seeds") return argc == 3 ? WriteSeeds(argv[2]) : Usage();
  const Target* target = FindTarget(first);
  if (target == nullptr) {
    std::cerr << "fuzz_replay: no target named " << first << "\n";
    return 2;
  }
  return Replay(*target, argc - 2, argv + 2);
}
