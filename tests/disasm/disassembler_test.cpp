// The LC86K decoder: every opcode, every operand kind, the line layout and the rules for
// instructions cut short by the end of the data.
#include "disasm/disassembler.h"

#include <gtest/gtest.h>

#include "code_file.h"

namespace quorvel {
namespace {

using testing::CodeFile;

// All lines of `bytes` listed from code address `address`.
std::vector<std::string> List(std::int64_t address, const std::vector<std::uint8_t>& bytes) {
  CodeFile file(bytes);
  CodeReader reader;
  EXPECT_TRUE(reader.OpenCodeFile(file.path()));
  reader.set_address(address);
  std::vector<std::string> lines;
  for (std::string line = DisassembleNext(reader); !line.empty(); line = DisassembleNext(reader)) {
    lines.push_back(line);
  }
  EXPECT_EQ(reader.position(), static_cast<std::int64_t>(bytes.size()));
  return lines;
}

// The first line of `bytes` listed from code address `address`.
std::string First(std::int64_t address, const std::vector<std::uint8_t>& bytes) {
  std::vector<std::string> lines = List(address, bytes);
  return lines.empty() ? "" : lines.front();
}

TEST(DisassembleNext, ExampleRows) {
  EXPECT_EQ(First(0x0000, {0x23, 0x00, 0x12}), "$0000 23 00 12    MOV     #12H,ACC");
  EXPECT_EQ(First(0x0010, {0x01, 0xFE}), "$0010 01 FE       BR      $0010");
  EXPECT_EQ(First(0x1234, {0x1A, 0x56}), "$1234 1A 56       CALL    $1A56");
  EXPECT_EQ(First(0x0100, {0xEF, 0x0C}), "$0100 EF 0C       SET1    fxC,7");
  EXPECT_EQ(First(0x0200, {0x58, 0x00, 0x05}), "$0200 58 00 05    BPC     ACC,0,$0208");
  EXPECT_EQ(First(0x0020, {0x06}), "$0020 06          LD      @R2");
  EXPECT_EQ(First(0x0030, {0x21, 0x12, 0x34}), "$0030 21 12 34    JMPF    $1234");
  EXPECT_EQ(First(0x0040, {0x50}), "$0040 50          ...     ");
}

TEST(DisassembleNext, UndefinedOpcodeIsOneByteLong) {
  EXPECT_EQ(List(0, {0x50, 0x51, 0x00}),
            (std::vector<std::string>{"$0000 50          ...     ", "$0001 51          ...     ",
                                      "$0002 00          NOP     "}));
}

TEST(DisassembleNext, DirectAddressesZeroAndAccumulator) {
  EXPECT_EQ(First(0, {0x02, 0x00}), "$0000 02 00       LD      fx0");
  EXPECT_EQ(First(0, {0x03, 0x00}), "$0000 03 00       LD      ACC");
  // Bit 8 of a bit instruction's address is opcode bit 4.
  EXPECT_EQ(First(0, {0xE8, 0x00}), "$0000 E8 00       SET1    fx0,0");
  EXPECT_EQ(First(0, {0xF8, 0x00}), "$0000 F8 00       SET1    ACC,0");
}

TEST(DisassembleNext, AbsoluteTargetTakesItsRegionFromTheNextInstruction) {
  EXPECT_EQ(First(0x0FFE, {0x08, 0x00}), "$0FFE 08 00       CALL    $1000");
  EXPECT_EQ(First(0x0FFC, {0x08, 0x00}), "$0FFC 08 00       CALL    $0000");
  EXPECT_EQ(First(0x1FFD, {0x3F, 0xFF}), "$1FFD 3F FF       JMP     $1FFF");
  EXPECT_EQ(First(0x1FFE, {0x3F, 0xFF}), "$1FFE 3F FF       JMP     $2FFF");
}

TEST(DisassembleNext, RelativeTargetsCountFromTheNextInstructionAndWrapAt16Bits) {
  EXPECT_EQ(First(0x0000, {0x01, 0x80}), "$0000 01 80       BR      $FF82");
  EXPECT_EQ(First(0xFFF0, {0x01, 0x7F}), "$FFF0 01 7F       BR      $0071");
  EXPECT_EQ(First(0x0100, {0x31, 0x05, 0x00}), "$0100 31 05 00    BE      #05H,$0103");
  EXPECT_EQ(First(0x0100, {0x54, 0xFE}), "$0100 54 FE       DBNZ    @R0,$0100");
  EXPECT_EQ(First(0x0100, {0x11, 0x10, 0x00}), "$0100 11 10 00    BRF     $0112");
  EXPECT_EQ(First(0x0100, {0x10, 0x00, 0x80}), "$0100 10 00 80    CALLR   $8102");
}

TEST(DisassembleNext, LineShowsOnlyTheLow16BitsOfLargeAddresses) {
  EXPECT_EQ(First(0x12340, {0x01, 0x00}), "$2340 01 00       BR      $2342");
  EXPECT_EQ(First(0x11FFE, {0x08, 0x00}), "$1FFE 08 00       CALL    $2000");
}

TEST(DisassembleNext, EmptyFileHasNoLines) {
  CodeFile file({});
  CodeReader reader;
  ASSERT_TRUE(reader.OpenCodeFile(file.path()));
  EXPECT_EQ(DisassembleNext(reader), "");
}

TEST(DisassembleNext, MissingOneByteOperandsLeaveTheirCommas) {
  EXPECT_EQ(List(0, {0x23, 0x00}),  // immediate missing
            std::vector<std::string>{"$0000 23 00       MOV     ,ACC"});
  EXPECT_EQ(First(0, {0x23}), "$0000 23          MOV     ,");
  EXPECT_EQ(First(0, {0x24}), "$0000 24          MOV     ,@R0");
  EXPECT_EQ(First(0, {0x31, 0x12}), "$0000 31 12       BE      #12H,");
  EXPECT_EQ(First(0, {0x35}), "$0000 35          BE      @R1,,");
  EXPECT_EQ(First(0, {0x35, 0x12}), "$0000 35 12       BE      @R1,#12H,");
  EXPECT_EQ(First(0, {0x56}), "$0000 56          DBNZ    @R2,");
  EXPECT_EQ(First(0, {0xEF}), "$0000 EF          SET1    ,7");
  EXPECT_EQ(First(0, {0x81}), "$0000 81          ADD     ");
  EXPECT_EQ(First(0, {0x02}), "$0000 02          LD      ");
  EXPECT_EQ(First(0, {0x08}), "$0000 08          CALL    ");
  EXPECT_EQ(First(0, {0x01}), "$0000 01          BR      ");
}

TEST(DisassembleNext, TwoByteFormsAreShownWholeOrNotAtAll) {
  EXPECT_EQ(List(0, {0x58, 0x00}), std::vector<std::string>{"$0000 58          BPC     "});
  EXPECT_EQ(List(0, {0x52, 0x01}), std::vector<std::string>{"$0000 52          DBNZ    "});
  EXPECT_EQ(List(0, {0x33, 0x01}), std::vector<std::string>{"$0000 33          BE      "});
  EXPECT_EQ(List(0, {0x10, 0x34}), std::vector<std::string>{"$0000 10          CALLR   "});
  EXPECT_EQ(List(0, {0x11}), std::vector<std::string>{"$0000 11          BRF     "});
  EXPECT_EQ(List(0, {0x21, 0x12}), std::vector<std::string>{"$0000 21          JMPF    "});
  EXPECT_EQ(List(0, {0x20}), std::vector<std::string>{"$0000 20          CALLF   "});
}

TEST(DecodeNext, KeepsTheBytesTheAddressAndTheFilePosition) {
  CodeFile file({0x00, 0x23, 0x00, 0x12, 0x58, 0x00});
  CodeReader reader;
  ASSERT_TRUE(reader.OpenCodeFile(file.path()));
  reader.set_address(0x10000);
  ASSERT_TRUE(DecodeNext(reader));
  std::optional<Instruction> mov = DecodeNext(reader);
  ASSERT_TRUE(mov);
  EXPECT_EQ(mov->address, 0x10001);
  EXPECT_EQ(mov->position, 1);
  EXPECT_EQ(mov->length, 3);
  EXPECT_EQ(mov->bytes, (std::array<std::uint8_t, 3>{0x23, 0x00, 0x12}));
  EXPECT_EQ(mov->text, "$0001 23 00 12    MOV     #12H,ACC");
  // A cut pair shows only its opcode, so only that byte belongs to the line.
  std::optional<Instruction> cut = DecodeNext(reader);
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->length, 1);
  EXPECT_EQ(cut->position, 4);
  EXPECT_EQ(DecodeNext(reader), std::nullopt);
}

// Every opcode, decoded at 0x0FFE from the bytes opcode, 01, F0: d9 gives fx1 or PSW, r8 is +1
// as the second byte and -16 as the third, r16 is -4095, a16 is $01F0, a12 takes its region
// from 0x1000. Each line is written out in full.
struct OpcodeLine {
  std::uint8_t opcode;
  const char* line;
};

constexpr OpcodeLine kOpcodeLines[] = {
    {0x00, "$0FFE 00          NOP     "},
    {0x01, "$0FFE 01 01       BR      $1001"},
    {0x02, "$0FFE 02 01       LD      fx1"},
    {0x03, "$0FFE 03 01       LD      PSW"},
    {0x04, "$0FFE 04          LD      @R0"},
    {0x05, "$0FFE 05          LD      @R1"},
    {0x06, "$0FFE 06          LD      @R2"},
    {0x07, "$0FFE 07          LD      @R3"},
    {0x08, "$0FFE 08 01       CALL    $1001"},
    {0x09, "$0FFE 09 01       CALL    $1101"},
    {0x0A, "$0FFE 0A 01       CALL    $1201"},
    {0x0B, "$0FFE 0B 01       CALL    $1301"},
    {0x0C, "$0FFE 0C 01       CALL    $1401"},
    {0x0D, "$0FFE 0D 01       CALL    $1501"},
    {0x0E, "$0FFE 0E 01       CALL    $1601"},
    {0x0F, "$0FFE 0F 01       CALL    $1701"},
    {0x10, "$0FFE 10 01 F0    CALLR   $0001"},
    {0x11, "$0FFE 11 01 F0    BRF     $0001"},
    {0x12, "$0FFE 12 01       ST      fx1"},
    {0x13, "$0FFE 13 01       ST      PSW"},
    {0x14, "$0FFE 14          ST      @R0"},
    {0x15, "$0FFE 15          ST      @R1"},
    {0x16, "$0FFE 16          ST      @R2"},
    {0x17, "$0FFE 17          ST      @R3"},
    {0x18, "$0FFE 18 01       CALL    $1801"},
    {0x19, "$0FFE 19 01       CALL    $1901"},
    {0x1A, "$0FFE 1A 01       CALL    $1A01"},
    {0x1B, "$0FFE 1B 01       CALL    $1B01"},
    {0x1C, "$0FFE 1C 01       CALL    $1C01"},
    {0x1D, "$0FFE 1D 01       CALL    $1D01"},
    {0x1E, "$0FFE 1E 01       CALL    $1E01"},
    {0x1F, "$0FFE 1F 01       CALL    $1F01"},
    {0x20, "$0FFE 20 01 F0    CALLF   $01F0"},
    {0x21, "$0FFE 21 01 F0    JMPF    $01F0"},
    {0x22, "$0FFE 22 01 F0    MOV     #F0H,fx1"},
    {0x23, "$0FFE 23 01 F0    MOV     #F0H,PSW"},
    {0x24, "$0FFE 24 01       MOV     #01H,@R0"},
    {0x25, "$0FFE 25 01       MOV     #01H,@R1"},
    {0x26, "$0FFE 26 01       MOV     #01H,@R2"},
    {0x27, "$0FFE 27 01       MOV     #01H,@R3"},
    {0x28, "$0FFE 28 01       JMP     $1001"},
    {0x29, "$0FFE 29 01       JMP     $1101"},
    {0x2A, "$0FFE 2A 01       JMP     $1201"},
    {0x2B, "$0FFE 2B 01       JMP     $1301"},
    {0x2C, "$0FFE 2C 01       JMP     $1401"},
    {0x2D, "$0FFE 2D 01       JMP     $1501"},
    {0x2E, "$0FFE 2E 01       JMP     $1601"},
    {0x2F, "$0FFE 2F 01       JMP     $1701"},
    {0x30, "$0FFE 30          MUL     "},
    {0x31, "$0FFE 31 01 F0    BE      #01H,$0FF1"},
    {0x32, "$0FFE 32 01 F0    BE      fx1,$0FF1"},
    {0x33, "$0FFE 33 01 F0    BE      PSW,$0FF1"},
    {0x34, "$0FFE 34 01 F0    BE      @R0,#01H,$0FF1"},
    {0x35, "$0FFE 35 01 F0    BE      @R1,#01H,$0FF1"},
    {0x36, "$0FFE 36 01 F0    BE      @R2,#01H,$0FF1"},
    {0x37, "$0FFE 37 01 F0    BE      @R3,#01H,$0FF1"},
    {0x38, "$0FFE 38 01       JMP     $1801"},
    {0x39, "$0FFE 39 01       JMP     $1901"},
    {0x3A, "$0FFE 3A 01       JMP     $1A01"},
    {0x3B, "$0FFE 3B 01       JMP     $1B01"},
    {0x3C, "$0FFE 3C 01       JMP     $1C01"},
    {0x3D, "$0FFE 3D 01       JMP     $1D01"},
    {0x3E, "$0FFE 3E 01       JMP     $1E01"},
    {0x3F, "$0FFE 3F 01       JMP     $1F01"},
    {0x40, "$0FFE 40          DIV     "},
    {0x41, "$0FFE 41 01 F0    BNE     #01H,$0FF1"},
    {0x42, "$0FFE 42 01 F0    BNE     fx1,$0FF1"},
    {0x43, "$0FFE 43 01 F0    BNE     PSW,$0FF1"},
    {0x44, "$0FFE 44 01 F0    BNE     @R0,#01H,$0FF1"},
    {0x45, "$0FFE 45 01 F0    BNE     @R1,#01H,$0FF1"},
    {0x46, "$0FFE 46 01 F0    BNE     @R2,#01H,$0FF1"},
    {0x47, "$0FFE 47 01 F0    BNE     @R3,#01H,$0FF1"},
    {0x48, "$0FFE 48 01 F0    BPC     fx1,0,$0FF1"},
    {0x49, "$0FFE 49 01 F0    BPC     fx1,1,$0FF1"},
    {0x4A, "$0FFE 4A 01 F0    BPC     fx1,2,$0FF1"},
    {0x4B, "$0FFE 4B 01 F0    BPC     fx1,3,$0FF1"},
    {0x4C, "$0FFE 4C 01 F0    BPC     fx1,4,$0FF1"},
    {0x4D, "$0FFE 4D 01 F0    BPC     fx1,5,$0FF1"},
    {0x4E, "$0FFE 4E 01 F0    BPC     fx1,6,$0FF1"},
    {0x4F, "$0FFE 4F 01 F0    BPC     fx1,7,$0FF1"},
    {0x50, "$0FFE 50          ...     "},
    {0x51, "$0FFE 51          ...     "},
    {0x52, "$0FFE 52 01 F0    DBNZ    fx1,$0FF1"},
    {0x53, "$0FFE 53 01 F0    DBNZ    PSW,$0FF1"},
    {0x54, "$0FFE 54 01       DBNZ    @R0,$1001"},
    {0x55, "$0FFE 55 01       DBNZ    @R1,$1001"},
    {0x56, "$0FFE 56 01       DBNZ    @R2,$1001"},
    {0x57, "$0FFE 57 01       DBNZ    @R3,$1001"},
    {0x58, "$0FFE 58 01 F0    BPC     PSW,0,$0FF1"},
    {0x59, "$0FFE 59 01 F0    BPC     PSW,1,$0FF1"},
    {0x5A, "$0FFE 5A 01 F0    BPC     PSW,2,$0FF1"},
    {0x5B, "$0FFE 5B 01 F0    BPC     PSW,3,$0FF1"},
    {0x5C, "$0FFE 5C 01 F0    BPC     PSW,4,$0FF1"},
    {0x5D, "$0FFE 5D 01 F0    BPC     PSW,5,$0FF1"},
    {0x5E, "$0FFE 5E 01 F0    BPC     PSW,6,$0FF1"},
    {0x5F, "$0FFE 5F 01 F0    BPC     PSW,7,$0FF1"},
    {0x60, "$0FFE 60 01       PUSH    fx1"},
    {0x61, "$0FFE 61 01       PUSH    PSW"},
    {0x62, "$0FFE 62 01       INC     fx1"},
    {0x63, "$0FFE 63 01       INC     PSW"},
    {0x64, "$0FFE 64          INC     @R0"},
    {0x65, "$0FFE 65          INC     @R1"},
    {0x66, "$0FFE 66          INC     @R2"},
    {0x67, "$0FFE 67          INC     @R3"},
    {0x68, "$0FFE 68 01 F0    BP      fx1,0,$0FF1"},
    {0x69, "$0FFE 69 01 F0    BP      fx1,1,$0FF1"},
    {0x6A, "$0FFE 6A 01 F0    BP      fx1,2,$0FF1"},
    {0x6B, "$0FFE 6B 01 F0    BP      fx1,3,$0FF1"},
    {0x6C, "$0FFE 6C 01 F0    BP      fx1,4,$0FF1"},
    {0x6D, "$0FFE 6D 01 F0    BP      fx1,5,$0FF1"},
    {0x6E, "$0FFE 6E 01 F0    BP      fx1,6,$0FF1"},
    {0x6F, "$0FFE 6F 01 F0    BP      fx1,7,$0FF1"},
    {0x70, "$0FFE 70 01       POP     fx1"},
    {0x71, "$0FFE 71 01       POP     PSW"},
    {0x72, "$0FFE 72 01       DEC     fx1"},
    {0x73, "$0FFE 73 01       DEC     PSW"},
    {0x74, "$0FFE 74          DEC     @R0"},
    {0x75, "$0FFE 75          DEC     @R1"},
    {0x76, "$0FFE 76          DEC     @R2"},
    {0x77, "$0FFE 77          DEC     @R3"},
    {0x78, "$0FFE 78 01 F0    BP      PSW,0,$0FF1"},
    {0x79, "$0FFE 79 01 F0    BP      PSW,1,$0FF1"},
    {0x7A, "$0FFE 7A 01 F0    BP      PSW,2,$0FF1"},
    {0x7B, "$0FFE 7B 01 F0    BP      PSW,3,$0FF1"},
    {0x7C, "$0FFE 7C 01 F0    BP      PSW,4,$0FF1"},
    {0x7D, "$0FFE 7D 01 F0    BP      PSW,5,$0FF1"},
    {0x7E, "$0FFE 7E 01 F0    BP      PSW,6,$0FF1"},
    {0x7F, "$0FFE 7F 01 F0    BP      PSW,7,$0FF1"},
    {0x80, "$0FFE 80 01       BZ      $1001"},
    {0x81, "$0FFE 81 01       ADD     #01H"},
    {0x82, "$0FFE 82 01       ADD     fx1"},
    {0x83, "$0FFE 83 01       ADD     PSW"},
    {0x84, "$0FFE 84          ADD     @R0"},
    {0x85, "$0FFE 85          ADD     @R1"},
    {0x86, "$0FFE 86          ADD     @R2"},
    {0x87, "$0FFE 87          ADD     @R3"},
    {0x88, "$0FFE 88 01 F0    BN      fx1,0,$0FF1"},
    {0x89, "$0FFE 89 01 F0    BN      fx1,1,$0FF1"},
    {0x8A, "$0FFE 8A 01 F0    BN      fx1,2,$0FF1"},
    {0x8B, "$0FFE 8B 01 F0    BN      fx1,3,$0FF1"},
    {0x8C, "$0FFE 8C 01 F0    BN      fx1,4,$0FF1"},
    {0x8D, "$0FFE 8D 01 F0    BN      fx1,5,$0FF1"},
    {0x8E, "$0FFE 8E 01 F0    BN      fx1,6,$0FF1"},
    {0x8F, "$0FFE 8F 01 F0    BN      fx1,7,$0FF1"},
    {0x90, "$0FFE 90 01       BNZ     $1001"},
    {0x91, "$0FFE 91 01       ADDC    #01H"},
    {0x92, "$0FFE 92 01       ADDC    fx1"},
    {0x93, "$0FFE 93 01       ADDC    PSW"},
    {0x94, "$0FFE 94          ADDC    @R0"},
    {0x95, "$0FFE 95          ADDC    @R1"},
    {0x96, "$0FFE 96          ADDC    @R2"},
    {0x97, "$0FFE 97          ADDC    @R3"},
    {0x98, "$0FFE 98 01 F0    BN      PSW,0,$0FF1"},
    {0x99, "$0FFE 99 01 F0    BN      PSW,1,$0FF1"},
    {0x9A, "$0FFE 9A 01 F0    BN      PSW,2,$0FF1"},
    {0x9B, "$0FFE 9B 01 F0    BN      PSW,3,$0FF1"},
    {0x9C, "$0FFE 9C 01 F0    BN      PSW,4,$0FF1"},
    {0x9D, "$0FFE 9D 01 F0    BN      PSW,5,$0FF1"},
    {0x9E, "$0FFE 9E 01 F0    BN      PSW,6,$0FF1"},
    {0x9F, "$0FFE 9F 01 F0    BN      PSW,7,$0FF1"},
    {0xA0, "$0FFE A0          RET     "},
    {0xA1, "$0FFE A1 01       SUB     #01H"},
    {0xA2, "$0FFE A2 01       SUB     fx1"},
    {0xA3, "$0FFE A3 01       SUB     PSW"},
    {0xA4, "$0FFE A4          SUB     @R0"},
    {0xA5, "$0FFE A5          SUB     @R1"},
    {0xA6, "$0FFE A6          SUB     @R2"},
    {0xA7, "$0FFE A7          SUB     @R3"},
    {0xA8, "$0FFE A8 01       NOT1    fx1,0"},
    {0xA9, "$0FFE A9 01       NOT1    fx1,1"},
    {0xAA, "$0FFE AA 01       NOT1    fx1,2"},
    {0xAB, "$0FFE AB 01       NOT1    fx1,3"},
    {0xAC, "$0FFE AC 01       NOT1    fx1,4"},
    {0xAD, "$0FFE AD 01       NOT1    fx1,5"},
    {0xAE, "$0FFE AE 01       NOT1    fx1,6"},
    {0xAF, "$0FFE AF 01       NOT1    fx1,7"},
    {0xB0, "$0FFE B0          RETI    "},
    {0xB1, "$0FFE B1 01       SUBC    #01H"},
    {0xB2, "$0FFE B2 01       SUBC    fx1"},
    {0xB3, "$0FFE B3 01       SUBC    PSW"},
    {0xB4, "$0FFE B4          SUBC    @R0"},
    {0xB5, "$0FFE B5          SUBC    @R1"},
    {0xB6, "$0FFE B6          SUBC    @R2"},
    {0xB7, "$0FFE B7          SUBC    @R3"},
    {0xB8, "$0FFE B8 01       NOT1    PSW,0"},
    {0xB9, "$0FFE B9 01       NOT1    PSW,1"},
    {0xBA, "$0FFE BA 01       NOT1    PSW,2"},
    {0xBB, "$0FFE BB 01       NOT1    PSW,3"},
    {0xBC, "$0FFE BC 01       NOT1    PSW,4"},
    {0xBD, "$0FFE BD 01       NOT1    PSW,5"},
    {0xBE, "$0FFE BE 01       NOT1    PSW,6"},
    {0xBF, "$0FFE BF 01       NOT1    PSW,7"},
    {0xC0, "$0FFE C0          ROR     "},
    {0xC1, "$0FFE C1          LDC     "},
    {0xC2, "$0FFE C2 01       XCH     fx1"},
    {0xC3, "$0FFE C3 01       XCH     PSW"},
    {0xC4, "$0FFE C4          XCH     @R0"},
    {0xC5, "$0FFE C5          XCH     @R1"},
    {0xC6, "$0FFE C6          XCH     @R2"},
    {0xC7, "$0FFE C7          XCH     @R3"},
    {0xC8, "$0FFE C8 01       CLR1    fx1,0"},
    {0xC9, "$0FFE C9 01       CLR1    fx1,1"},
    {0xCA, "$0FFE CA 01       CLR1    fx1,2"},
    {0xCB, "$0FFE CB 01       CLR1    fx1,3"},
    {0xCC, "$0FFE CC 01       CLR1    fx1,4"},
    {0xCD, "$0FFE CD 01       CLR1    fx1,5"},
    {0xCE, "$0FFE CE 01       CLR1    fx1,6"},
    {0xCF, "$0FFE CF 01       CLR1    fx1,7"},
    {0xD0, "$0FFE D0          RORC    "},
    {0xD1, "$0FFE D1 01       OR      #01H"},
    {0xD2, "$0FFE D2 01       OR      fx1"},
    {0xD3, "$0FFE D3 01       OR      PSW"},
    {0xD4, "$0FFE D4          OR      @R0"},
    {0xD5, "$0FFE D5          OR      @R1"},
    {0xD6, "$0FFE D6          OR      @R2"},
    {0xD7, "$0FFE D7          OR      @R3"},
    {0xD8, "$0FFE D8 01       CLR1    PSW,0"},
    {0xD9, "$0FFE D9 01       CLR1    PSW,1"},
    {0xDA, "$0FFE DA 01       CLR1    PSW,2"},
    {0xDB, "$0FFE DB 01       CLR1    PSW,3"},
    {0xDC, "$0FFE DC 01       CLR1    PSW,4"},
    {0xDD, "$0FFE DD 01       CLR1    PSW,5"},
    {0xDE, "$0FFE DE 01       CLR1    PSW,6"},
    {0xDF, "$0FFE DF 01       CLR1    PSW,7"},
    {0xE0, "$0FFE E0          ROL     "},
    {0xE1, "$0FFE E1 01       AND     #01H"},
    {0xE2, "$0FFE E2 01       AND     fx1"},
    {0xE3, "$0FFE E3 01       AND     PSW"},
    {0xE4, "$0FFE E4          AND     @R0"},
    {0xE5, "$0FFE E5          AND     @R1"},
    {0xE6, "$0FFE E6          AND     @R2"},
    {0xE7, "$0FFE E7          AND     @R3"},
    {0xE8, "$0FFE E8 01       SET1    fx1,0"},
    {0xE9, "$0FFE E9 01       SET1    fx1,1"},
    {0xEA, "$0FFE EA 01       SET1    fx1,2"},
    {0xEB, "$0FFE EB 01       SET1    fx1,3"},
    {0xEC, "$0FFE EC 01       SET1    fx1,4"},
    {0xED, "$0FFE ED 01       SET1    fx1,5"},
    {0xEE, "$0FFE EE 01       SET1    fx1,6"},
    {0xEF, "$0FFE EF 01       SET1    fx1,7"},
    {0xF0, "$0FFE F0          ROLC    "},
    {0xF1, "$0FFE F1 01       XOR     #01H"},
    {0xF2, "$0FFE F2 01       XOR     fx1"},
    {0xF3, "$0FFE F3 01       XOR     PSW"},
    {0xF4, "$0FFE F4          XOR     @R0"},
    {0xF5, "$0FFE F5          XOR     @R1"},
    {0xF6, "$0FFE F6          XOR     @R2"},
    {0xF7, "$0FFE F7          XOR     @R3"},
    {0xF8, "$0FFE F8 01       SET1    PSW,0"},
    {0xF9, "$0FFE F9 01       SET1    PSW,1"},
    {0xFA, "$0FFE FA 01       SET1    PSW,2"},
    {0xFB, "$0FFE FB 01       SET1    PSW,3"},
    {0xFC, "$0FFE FC 01       SET1    PSW,4"},
    {0xFD, "$0FFE FD 01       SET1    PSW,5"},
    {0xFE, "$0FFE FE 01       SET1    PSW,6"},
    {0xFF, "$0FFE FF 01       SET1    PSW,7"},
};

TEST(DisassembleNext, EveryOpcode) {
  ASSERT_EQ(std::size(kOpcodeLines), 256u);
  for (int opcode = 0; opcode < 256; ++opcode) {
    const OpcodeLine& expected = kOpcodeLines[opcode];
    ASSERT_EQ(expected.opcode, opcode);
    EXPECT_EQ(First(0x0FFE, {expected.opcode, 0x01, 0xF0}), expected.line);
  }
}

// Passes that only find where instructions start decode without text: for every opcode, whole
// and cut after each of its bytes, they must read the very bytes the listing reads.
TEST(DecodeNext, BytesOnlyReadsWhatTheListingReads) {
  for (int opcode = 0; opcode < 256; ++opcode) {
    const std::vector<std::uint8_t> whole = {static_cast<std::uint8_t>(opcode), 0x01, 0xF0, 0x77};
    for (std::size_t cut = 1; cut <= whole.size(); ++cut) {
      const std::vector<std::uint8_t> code(whole.begin(), whole.begin() + cut);
      CodeReader listed;
      CodeReader bare;
      ASSERT_TRUE(listed.OpenCodeBytes(code));
      ASSERT_TRUE(bare.OpenCodeBytes(code));
      for (;;) {
        const std::optional<Instruction> line = DecodeNext(listed);
        const std::optional<Instruction> bytes = DecodeNext(bare, Listing::kBytesOnly);
        ASSERT_EQ(line.has_value(), bytes.has_value()) << opcode << " cut " << cut;
        if (!line) break;
        EXPECT_EQ(bytes->position, line->position);
        EXPECT_EQ(bytes->address, line->address);
        EXPECT_EQ(bytes->length, line->length) << opcode << " cut " << cut;
        EXPECT_EQ(bytes->bytes, line->bytes);
        EXPECT_TRUE(bytes->text.empty());
        EXPECT_FALSE(line->text.empty());
        ASSERT_EQ(bare.position(), listed.position());
      }
    }
  }
}

}  // namespace
}  // namespace quorvel
