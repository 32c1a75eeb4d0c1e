// Names of the LC86K's 9-bit direct addresses, as the listing shows them.
#pragma once

#include <string>

namespace quorvel {

// The name of a direct address (0x000 to 0x1FF; higher bits are ignored): the special
// function register's name where it has one, otherwise "fx" and the low eight bits in
// upper-case hex without leading zeros ("fxA" for 0x00A and 0x10A).
std::string RegisterName(int address);

}  // namespace quorvel
