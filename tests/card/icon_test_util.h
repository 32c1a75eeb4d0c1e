// Helpers for the icon and file tests: link-order conversion and writing test files.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace quorvel::test {

// Logical order to link order and back: every aligned group of four bytes reversed.
template <std::size_t N>
std::array<std::uint8_t, N> Reversed4(const std::array<std::uint8_t, N>& in) {
  std::array<std::uint8_t, N> out{};
  for (std::size_t o = 0; o < N; ++o) out[o ^ 3] = in[o];
  return out;
}

inline void PutFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

}  // namespace quorvel::test
