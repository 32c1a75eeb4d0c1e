// Declares a fuzz target once for both builds: with libFuzzer (QUORVEL_LIBFUZZER) the body
// becomes LLVMFuzzerTestOneInput; otherwise it registers itself, with its seed inputs, for
// the replay program that the normal build runs under CTest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quorvel::fuzz {

using Input = std::span<const std::uint8_t>;
using Bytes = std::vector<std::uint8_t>;

// One fuzz target: its name, the function that runs one input, and the inputs built in code
// that the fuzzing starts from.
struct Target {
  std::string_view name;
  void (*run)(Input input);
  std::vector<Bytes> (*seeds)();
  std::size_t max_length;  // the longest input worth trying
};

// Every target linked into this program, by name.
const std::vector<Target>& Targets();

// Registers a target at static initialisation.
struct Registration {
  explicit Registration(const Target& target);
};

// Stops the program with `what` on stderr: a property the target checks did not hold. The
// fuzzer and the replay both report it as a crash with the input that caused it.
[[noreturn]] void Fail(std::string_view what);

inline void Check(bool holds, std::string_view what) {
  if (!holds) Fail(what);
}

}  // namespace quorvel::fuzz

#ifdef QUORVEL_LIBFUZZER
#define QUORVEL_FUZZ_ENTRY(name, max_length)                                          \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
    name##FuzzOne(quorvel::fuzz::Input(data, size));                                  \
    return 0;                                                                         \
  }
#else
#define QUORVEL_FUZZ_ENTRY(name, max_length)                   \
  static const quorvel::fuzz::Registration name##Registration( \
      quorvel::fuzz::Target{#name, &name##FuzzOne, &quorvel::fuzz::name##FuzzSeeds, max_length});
#endif

// QUORVEL_FUZZ_TARGET(name, max_length) { body using `input` }
// The file must define, before it, `std::vector<Bytes> name##FuzzSeeds()` in namespace
// quorvel::fuzz (seed inputs made by code).
#define QUORVEL_FUZZ_TARGET(name, max_length)            \
  static void name##FuzzOne(quorvel::fuzz::Input input); \
  QUORVEL_FUZZ_ENTRY(name, max_length)                   \
  static void name##FuzzOne(quorvel::fuzz::Input input)
