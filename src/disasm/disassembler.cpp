// The LC86K decoder: the opcode map, the operand kinds and the layout of a listing line.
#include "disasm/disassembler.h"

#include <string_view>

#include "disasm/hex_text.h"
#include "disasm/register_name.h"

namespace quorvel {
namespace {

// The operands of an instruction, in the order the listing shows them.
enum class Form : std::uint8_t {
  kNone,
  kI8,       // #hhH
  kD9,       // direct address; bit 8 is opcode bit 0
  kRi,       // @R0 to @R3
  kR8,       // relative target of a two-byte instruction
  kR16,      // relative 16-bit target, low byte first
  kA12,      // absolute target within the 4 KiB region of the next instruction
  kA16,      // absolute 16-bit target, high byte first
  kI8D9,     // "MOV" i8,d9: the d9 byte comes first in the code
  kI8Ri,     // i8,@Ri
  kI8R8,     // i8,r8
  kD9R8,     // d9,r8: both bytes or nothing
  kRiI8R8,   // @Ri,i8,r8
  kRiR8,     // @Ri,r8 (a two-byte instruction)
  kD9bB3R8,  // d9b,b3,r8: both bytes or nothing; bit 8 of d9b is opcode bit 4
  kD9bB3,    // d9b,b3
};

struct Opcode {
  std::string_view mnemonic;
  Form form;
};

using Column = std::array<Opcode, 16>;  // indexed by the high four bits of the opcode

constexpr Column kColumn0 = {{{"NOP", Form::kNone},
                              {"CALLR", Form::kR16},
                              {"CALLF", Form::kA16},
                              {"MUL", Form::kNone},
                              {"DIV", Form::kNone},
                              {"...", Form::kNone},
                              {"PUSH", Form::kD9},
                              {"POP", Form::kD9},
                              {"BZ", Form::kR8},
                              {"BNZ", Form::kR8},
                              {"RET", Form::kNone},
                              {"RETI", Form::kNone},
                              {"ROR", Form::kNone},
                              {"RORC", Form::kNone},
                              {"ROL", Form::kNone},
                              {"ROLC", Form::kNone}}};

constexpr Column kColumn1 = {{{"BR", Form::kR8},
                              {"BRF", Form::kR16},
                              {"JMPF", Form::kA16},
                              {"BE", Form::kI8R8},
                              {"BNE", Form::kI8R8},
                              {"...", Form::kNone},
                              {"PUSH", Form::kD9},
                              {"POP", Form::kD9},
                              {"ADD", Form::kI8},
                              {"ADDC", Form::kI8},
                              {"SUB", Form::kI8},
                              {"SUBC", Form::kI8},
                              {"LDC", Form::kNone},
                              {"OR", Form::kI8},
                              {"AND", Form::kI8},
                              {"XOR", Form::kI8}}};

constexpr Column kDirectColumn = {{{"LD", Form::kD9},
                                   {"ST", Form::kD9},
                                   {"MOV", Form::kI8D9},
                                   {"BE", Form::kD9R8},
                                   {"BNE", Form::kD9R8},
                                   {"DBNZ", Form::kD9R8},
                                   {"INC", Form::kD9},
                                   {"DEC", Form::kD9},
                                   {"ADD", Form::kD9},
                                   {"ADDC", Form::kD9},
                                   {"SUB", Form::kD9},
                                   {"SUBC", Form::kD9},
                                   {"XCH", Form::kD9},
                                   {"OR", Form::kD9},
                                   {"AND", Form::kD9},
                                   {"XOR", Form::kD9}}};

constexpr Column kIndirectColumn = {{{"LD", Form::kRi},
                                     {"ST", Form::kRi},
                                     {"MOV", Form::kI8Ri},
                                     {"BE", Form::kRiI8R8},
                                     {"BNE", Form::kRiI8R8},
                                     {"DBNZ", Form::kRiR8},
                                     {"INC", Form::kRi},
                                     {"DEC", Form::kRi},
                                     {"ADD", Form::kRi},
                                     {"ADDC", Form::kRi},
                                     {"SUB", Form::kRi},
                                     {"SUBC", Form::kRi},
                                     {"XCH", Form::kRi},
                                     {"OR", Form::kRi},
                                     {"AND", Form::kRi},
                                     {"XOR", Form::kRi}}};

constexpr Column kUpperColumn = {{{"CALL", Form::kA12},
                                  {"CALL", Form::kA12},
                                  {"JMP", Form::kA12},
                                  {"JMP", Form::kA12},
                                  {"BPC", Form::kD9bB3R8},
                                  {"BPC", Form::kD9bB3R8},
                                  {"BP", Form::kD9bB3R8},
                                  {"BP", Form::kD9bB3R8},
                                  {"BN", Form::kD9bB3R8},
                                  {"BN", Form::kD9bB3R8},
                                  {"NOT1", Form::kD9bB3},
                                  {"NOT1", Form::kD9bB3},
                                  {"CLR1", Form::kD9bB3},
                                  {"CLR1", Form::kD9bB3},
                                  {"SET1", Form::kD9bB3},
                                  {"SET1", Form::kD9bB3}}};

const Opcode& LookUp(std::uint8_t opcode) {
  int high = opcode >> 4;
  int low = opcode & 0xF;
  if (low >= 8) return kUpperColumn[high];
  if (low >= 4) return kIndirectColumn[high];
  if (low >= 2) return kDirectColumn[high];
  return low == 1 ? kColumn1[high] : kColumn0[high];
}

// Reads the operands of one instruction, adding each byte shown to the instruction's bytes
// and hex dump, and appends their text to the line's. A missing byte leaves its operand's text
// out.
class OperandReader {
 public:
  // Without `listing` the operand bytes are read exactly as with it, but no text is made.
  OperandReader(CodeReader& reader, Instruction& instruction, bool listing)
      : reader_(reader),
        instruction_(instruction),
        opcode_(instruction.bytes[0]),
        address_(reader.instruction_address()),
        listing_(listing) {
    if (listing_) AppendHex(dump_, opcode_, 2);
  }

  // The opcode and the operand bytes shown, as hh separated by blanks.
  const std::string& dump() const { return dump_; }

  // Reads the operand bytes of `form` exactly as AppendText() does, without making any text: the
  // passes that only find where instructions start are most of the work of paging a listing.
  void Skip(Form form) {
    switch (form) {
      case Form::kNone:
      case Form::kRi:
        return;
      case Form::kI8:
      case Form::kD9:
      case Form::kR8:
      case Form::kA12:
      case Form::kI8Ri:
      case Form::kRiR8:
      case Form::kD9bB3:
        Shown();
        return;
      case Form::kI8D9:
      case Form::kI8R8:
      case Form::kRiI8R8:
        Shown();
        Shown();
        return;
      case Form::kR16:
      case Form::kA16:
      case Form::kD9R8:
      case Form::kD9bB3R8:
        Pair();
        return;
    }
  }

  // Reads the operand bytes of `form` and appends their text to `out`. A missing byte leaves
  // its operand's text out (the separators stay).
  void AppendText(Form form, std::string& out) {
    switch (form) {
      case Form::kNone:
        return;
      case Form::kI8:
        AppendImmediate(Shown(), out);
        return;
      case Form::kD9:
        AppendDirect(opcode_ & 1, Shown(), out);
        return;
      case Form::kRi:
        AppendIndirect(out);
        return;
      case Form::kR8:
        AppendRelative8(2, Shown(), out);
        return;
      case Form::kR16:
        if (std::optional<std::array<std::uint8_t, 2>> bytes = Pair()) {
          auto offset = static_cast<std::int16_t>((*bytes)[0] | ((*bytes)[1] << 8));
          AppendTarget(address_ + 2 + offset, out);
        }
        return;
      case Form::kA12:
        if (std::optional<std::uint8_t> byte = Shown()) {
          std::int64_t region = (address_ + 2) & 0xF000;
          AppendTarget(region | ((opcode_ & 0x10) << 7) | ((opcode_ & 7) << 8) | *byte, out);
        }
        return;
      case Form::kA16:
        if (std::optional<std::array<std::uint8_t, 2>> bytes = Pair()) {
          AppendTarget(((*bytes)[0] << 8) | (*bytes)[1], out);
        }
        return;
      case Form::kI8D9: {
        std::optional<std::uint8_t> direct = Shown();
        std::optional<std::uint8_t> immediate = Shown();
        AppendImmediate(immediate, out);
        out += ',';
        AppendDirect(opcode_ & 1, direct, out);
        return;
      }
      case Form::kI8Ri:
        AppendImmediate(Shown(), out);
        out += ',';
        AppendIndirect(out);
        return;
      case Form::kI8R8: {
        AppendImmediate(Shown(), out);
        out += ',';
        AppendRelative8(3, Shown(), out);
        return;
      }
      case Form::kD9R8:
        if (std::optional<std::array<std::uint8_t, 2>> bytes = Pair()) {
          AppendDirect(opcode_ & 1, (*bytes)[0], out);
          out += ',';
          AppendRelative8(3, (*bytes)[1], out);
        }
        return;
      case Form::kRiI8R8: {
        std::optional<std::uint8_t> immediate = Shown();
        AppendIndirect(out);
        out += ',';
        AppendImmediate(immediate, out);
        out += ',';
        AppendRelative8(3, Shown(), out);
        return;
      }
      case Form::kRiR8:
        AppendIndirect(out);
        out += ',';
        AppendRelative8(2, Shown(), out);
        return;
      case Form::kD9bB3R8:
        if (std::optional<std::array<std::uint8_t, 2>> bytes = Pair()) {
          AppendDirect((opcode_ >> 4) & 1, (*bytes)[0], out);
          out += ',';
          AppendBit(out);
          out += ',';
          AppendRelative8(3, (*bytes)[1], out);
        }
        return;
      case Form::kD9bB3:
        AppendDirect((opcode_ >> 4) & 1, Shown(), out);
        out += ',';
        AppendBit(out);
        return;
    }
  }

 private:
  void Dump(std::uint8_t byte) {
    instruction_.bytes[instruction_.length++] = byte;
    if (!listing_) return;
    dump_ += ' ';
    AppendHex(dump_, byte, 2);
  }

  // Reads one operand byte and shows it in the hex dump.
  std::optional<std::uint8_t> Shown() {
    std::optional<std::uint8_t> byte = reader_.ReadCodeByte();
    if (byte) Dump(*byte);
    return byte;
  }

  // Reads two operand bytes that are shown together or not at all.
  std::optional<std::array<std::uint8_t, 2>> Pair() {
    std::optional<std::uint8_t> first = reader_.ReadCodeByte();
    std::optional<std::uint8_t> second = reader_.ReadCodeByte();
    if (!first || !second) return std::nullopt;
    Dump(*first);
    Dump(*second);
    return std::array<std::uint8_t, 2>{*first, *second};
  }

  static void AppendImmediate(std::optional<std::uint8_t> byte, std::string& out) {
    if (!byte) return;
    out += '#';
    AppendHex(out, *byte, 2);
    out += 'H';
  }

  static void AppendDirect(int bit8, std::optional<std::uint8_t> byte, std::string& out) {
    if (byte) out += RegisterName((bit8 << 8) | *byte);
  }

  void AppendIndirect(std::string& out) const {
    out += "@R";
    out += static_cast<char>('0' + (opcode_ & 3));
  }

  void AppendBit(std::string& out) const { out += static_cast<char>('0' + (opcode_ & 7)); }

  static void AppendTarget(std::int64_t address, std::string& out) {
    out += '$';
    AppendHex(out, static_cast<std::uint32_t>(address), 4);
  }

  // `length` is the whole instruction's length: the target counts from the next instruction.
  void AppendRelative8(int length, std::optional<std::uint8_t> byte, std::string& out) const {
    if (byte) AppendTarget(address_ + length + static_cast<std::int8_t>(*byte), out);
  }

  CodeReader& reader_;
  Instruction& instruction_;
  std::uint8_t opcode_;
  std::int64_t address_;
  bool listing_;
  std::string dump_;
};

// Columns of a listing line: "$hhhh " then the hex dump padded to 10, two blanks and the
// mnemonic padded to 8.
constexpr std::size_t kDumpEnd = 6 + 10;
constexpr std::size_t kMnemonicEnd = kDumpEnd + 2 + 8;

void PadTo(std::string& text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
}

}  // namespace

std::optional<Instruction> DecodeNext(CodeReader& reader, Listing listing) {
  reader.BeginInstruction();
  Instruction instruction;
  instruction.address = reader.instruction_address();
  instruction.position = reader.position();
  std::optional<std::uint8_t> opcode = reader.ReadCodeByte();
  if (!opcode) return std::nullopt;

  instruction.bytes[0] = *opcode;
  instruction.length = 1;
  const Opcode& entry = LookUp(*opcode);
  const bool with_text = listing == Listing::kText;
  OperandReader operand_reader(reader, instruction, with_text);
  if (!with_text) {
    operand_reader.Skip(entry.form);
    return instruction;
  }
  std::string operands;
  operand_reader.AppendText(entry.form, operands);

  std::string line;
  line.reserve(kMnemonicEnd + operands.size());
  line += '$';
  AppendHex(line, static_cast<std::uint32_t>(instruction.address), 4);
  line += ' ';
  line += operand_reader.dump();
  PadTo(line, kDumpEnd);
  line += "  ";
  line += entry.mnemonic;
  PadTo(line, kMnemonicEnd);
  line += operands;
  instruction.text = std::move(line);
  return instruction;
}

std::string DisassembleNext(CodeReader& reader) {
  std::optional<Instruction> instruction = DecodeNext(reader);
  return instruction ? std::move(instruction->text) : std::string();
}

}  // namespace quorvel
