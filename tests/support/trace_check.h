// Test helper for port traces: parses the trace lines and checks that every transaction has
// the handshake, then three data writes and one status read per bit, and ends the select.
#pragma once

#include <cstdint>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace quorvel::testing {

struct TraceLine {
  char kind;
  unsigned port;
  unsigned value;
};

struct TraceSummary {
  std::string error;  // empty when the trace has the expected shape
  int transactions = 0;
  int bytes = 0;
};

// Checks `text` for the base port `base`: lines exactly "W 0378 01", a leading release of
// the select line, then whole transactions only.
inline TraceSummary CheckTrace(const std::string& text, unsigned base) {
  static const std::regex kLine("([WR]) ([0-9A-F]{4}) ([0-9A-F]{2})");
  TraceSummary summary;
  std::vector<TraceLine> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::smatch match;
    if (!std::regex_match(line, match, kLine)) {
      summary.error = "bad line '" + line + "'";
      return summary;
    }
    lines.push_back({match[1].str()[0], static_cast<unsigned>(std::stoul(match[2], nullptr, 16)),
                     static_cast<unsigned>(std::stoul(match[3], nullptr, 16))});
  }
  const unsigned data = base, status = base + 1, control = base + 2;
  auto is = [&](std::size_t i, char kind, unsigned port) {
    return i < lines.size() && lines[i].kind == kind && lines[i].port == port;
  };
  auto fail = [&](std::size_t i, const std::string& what) {
    summary.error = "line " + std::to_string(i + 1) + ": expected " + what;
    return summary;
  };
  std::size_t i = 0;
  if (!is(i, 'W', control) || lines[i].value != 0) return fail(i, "the idle control line");
  ++i;
  while (i < lines.size()) {
    if (!is(i, 'W', data) || lines[i].value != 0x01) return fail(i, "clock high before select");
    ++i;
    while (is(i, 'R', status)) ++i;
    if (!is(i, 'W', control) || lines[i].value != 0x01) return fail(i, "the select");
    ++i;
    if (!is(i, 'R', status)) return fail(i, "a phase-2 poll");
    while (is(i, 'R', status)) ++i;
    int bits = 0;
    while (is(i, 'W', data)) {
      if (!is(i + 1, 'W', data) || !is(i + 2, 'W', data) || !is(i + 3, 'R', status)) {
        return fail(i, "three data writes and a status read");
      }
      i += 4;
      ++bits;
    }
    if (bits % 8 != 0) return fail(i, "whole bytes");
    if (!is(i, 'W', control) || lines[i].value != 0x00) return fail(i, "the select released");
    ++i;
    ++summary.transactions;
    summary.bytes += bits / 8;
  }
  return summary;
}

}  // namespace quorvel::testing
