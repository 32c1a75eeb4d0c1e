// The LC86K decoder: reads one instruction from a CodeReader and formats its listing line.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "disasm/code_reader.h"

namespace quorvel {

// One decoded instruction: its listing line and where it came from.
struct Instruction {
  std::int64_t address = 0;   // code address of the opcode (the line shows its low 16 bits)
  std::int64_t position = 0;  // file position of the opcode
  std::array<std::uint8_t, 3> bytes{};  // the bytes of the hex dump, opcode first
  int length = 0;                       // how many bytes the hex dump shows (1 to 3)
  std::string text;                     // the listing line
};

// Whether a decoded instruction gets its listing line, or only its address, position and
// bytes (for passes that only find where instructions start: no text is formatted).
enum class Listing { kText, kBytesOnly };

// Decodes the instruction at the reader's position; nullopt when no opcode is left.
// An instruction cut short by the end of the data is still returned with what could be read.
// kBytesOnly reads exactly the bytes kText reads and leaves `text` empty.
std::optional<Instruction> DecodeNext(CodeReader& reader, Listing listing = Listing::kText);

// The listing line of the next instruction: "$" + address (four hex digits) + " " + hex dump
// padded to 10 + two blanks + mnemonic padded to 8 + operands. Empty at the end of the data.
std::string DisassembleNext(CodeReader& reader);

}  // namespace quorvel
