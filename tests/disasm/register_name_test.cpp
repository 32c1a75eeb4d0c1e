// Names of the LC86K's direct addresses.
#include "disasm/register_name.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(RegisterName, NamesEverySpecialFunctionRegister) {
  const std::pair<int, const char*> kNamed[] = {
      {0x000, "fx0"},   {0x100, "ACC"},   {0x101, "PSW"},    {0x102, "B"},      {0x103, "C"},
      {0x104, "TRL"},   {0x105, "TRH"},   {0x106, "SP"},     {0x107, "PCON"},   {0x108, "IE"},
      {0x109, "IP"},    {0x10D, "EXT"},   {0x10E, "OCR"},    {0x110, "T0CNT"},  {0x111, "T0PRR"},
      {0x112, "T0L"},   {0x113, "T0LR"},  {0x114, "T0H"},    {0x115, "T0HR"},   {0x118, "T1CNT"},
      {0x120, "MCR"},   {0x122, "STAD"},  {0x123, "CNR"},    {0x124, "TDR"},    {0x125, "XBNK"},
      {0x127, "VCCR"},  {0x130, "SCON0"}, {0x131, "SBUF0"},  {0x132, "SBR"},    {0x134, "SCON1"},
      {0x135, "SBUF1"}, {0x144, "P1"},    {0x145, "P1DDR"},  {0x146, "P1FCR"},  {0x14C, "P3"},
      {0x14D, "P3DDR"}, {0x14E, "P3INT"}, {0x15C, "P7"},     {0x15D, "I01CR"},  {0x15E, "I23CR"},
      {0x15F, "ISL"},   {0x163, "VSEL"},  {0x164, "VRMAD1"}, {0x165, "VRMAD2"}, {0x166, "VTRBF"},
      {0x17F, "BTCR"},
  };
  for (const auto& [address, name] : kNamed) {
    EXPECT_EQ(RegisterName(address), name) << std::hex << address;
  }
}

// Timer 1's reload and compare registers carry the chip's own names, not timer 0's.
TEST(RegisterName, TimerOneRegistersHaveTheirOwnNames) {
  EXPECT_EQ(RegisterName(0x11A), "T1LC");
  EXPECT_EQ(RegisterName(0x11B), "T1LR");
  EXPECT_EQ(RegisterName(0x11C), "T1HC");
  EXPECT_EQ(RegisterName(0x11D), "T1HR");
}

TEST(RegisterName, OtherAddressesAreFxWithoutLeadingZeros) {
  EXPECT_EQ(RegisterName(0x00A), "fxA");
  EXPECT_EQ(RegisterName(0x10A), "fxA");
  EXPECT_EQ(RegisterName(0x001), "fx1");
  EXPECT_EQ(RegisterName(0x050), "fx50");
  EXPECT_EQ(RegisterName(0x1F0), "fxF0");
  EXPECT_EQ(RegisterName(0x0FF), "fxFF");
  EXPECT_EQ(RegisterName(0x1FF), "fxFF");
  EXPECT_EQ(RegisterName(0x119), "fx19");
  EXPECT_EQ(RegisterName(0x11E), "fx1E");
}

}  // namespace
}  // namespace quorvel
