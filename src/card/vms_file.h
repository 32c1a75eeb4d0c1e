// Single-save file pairs as save archives and the console's browser keep them: a VMS file
// holds the save's blocks in the card's own order, a VMI file of 108 bytes describes it (card
// name, kind, date, copy protection) and names the VMS. Both are read into, and written from,
// the single-save layout of DCI files (entry, then blocks in link order), so that every card
// command takes them alike.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_image.h"

namespace quorvel {

inline constexpr std::size_t kVmiFileSize = 108;
// The VMS resource name in a VMI: the VMS file's name without ".VMS", at most 8 bytes.
inline constexpr std::size_t kVmsResourceSize = 8;
// A VMS of more blocks than this is no save a card can hold.
inline constexpr std::size_t kLargestVmsBlocks = 255;

// What a VMI file says. Texts are the raw field bytes (zero padding kept).
struct VmiInfo {
  std::string description;  // 32 bytes, Shift-JIS or ASCII
  std::string copyright;    // 32 bytes
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int weekday = 0;  // 0 = Sunday ... 6 = Saturday
  std::uint16_t version = 0;
  std::uint16_t file_number = 1;
  std::string resource;  // 8 bytes: the VMS file's base name
  std::string name;      // 12 bytes: the save's name on the card
  bool game = false;
  bool copy_protected = false;
  std::uint32_t file_size = 0;  // the VMS file's size in bytes
};

// Why a VMS/VMI pair was not read or written.
enum class VmsError {
  kNone,
  kVmsMissing,    // the VMS the VMI names is not there
  kVmsSize,       // the VMS is empty, not whole blocks, or larger than any save
  kVmiSize,       // a VMI is 108 bytes
  kVmiChecksum,   // the VMI's checksum does not match its resource name: not a VMI
  kSizeMismatch,  // the VMI gives another size than the VMS has
  kNameMismatch,  // the VMI names another VMS
  kCannotRead,    // a file could not be read
  kCancelled,     // a question about a VMS without its VMI was cancelled
  kKindUnclear,   // game or data could not be told from the VMS, and nobody said which
  kBadName,       // the save name given is empty or longer than 12 bytes
  kResourceName,  // the VMS file's base name is longer than 8 bytes (or empty)
  kCannotWrite,   // a file could not be written
};
std::string_view Describe(VmsError error);

// The VMI checksum: the first four bytes of the resource name ANDed with "SEGA".
std::array<std::uint8_t, 4> VmiChecksum(std::string_view resource);

// Parses a VMI; nothing, with the reason in `error`, when it is not 108 bytes or its checksum
// does not match its resource name.
std::optional<VmiInfo> ParseVmi(std::span<const std::uint8_t> bytes, VmsError& error);
std::array<std::uint8_t, kVmiFileSize> BuildVmi(const VmiInfo& info);

// Where a VMS file's save header seems to be: block 0 (data), block 1 (a game), or unclear.
enum class VmsKind { kData, kGame, kUnclear };
VmsKind RecogniseVmsKind(std::span<const std::uint8_t> vms);

// The save in single-save layout from a VMS and what its VMI says (or what the user said in
// its place): entry from `info`, blocks from the VMS in link order. The VMS must be whole
// blocks (checked by the caller with CheckVmsSize).
std::vector<std::uint8_t> SaveFromVms(const VmiInfo& info, std::span<const std::uint8_t> vms);

// kNone when `vms` is 1 to 255 whole blocks.
VmsError CheckVmsSize(std::size_t bytes);

// The VMS bytes (card order) and the VMI of a save in single-save layout; `resource` is the
// VMS file's base name. The VMI's description is the header's long description.
void VmsFromSave(std::span<const std::uint8_t> save_file, std::string_view resource, VmiInfo& info,
                 std::vector<std::uint8_t>& vms);

// True for a path whose extension is .vms or .vmi (any case).
bool IsVmsPath(const std::filesystem::path& path);
bool IsVmiPath(const std::filesystem::path& path);

// The file beside `path` with the same base name and the other extension of the pair (".VMS"
// for a VMI and the other way round), found whatever the case of its name; `path` with the
// extension swapped (upper case when `path`'s was) when no such file exists.
std::filesystem::path PartnerPath(const std::filesystem::path& path);

// True when the VMI's resource name is the base name of `vms_path` (whatever the case).
bool VmiNamesVms(const VmiInfo& info, const std::filesystem::path& vms_path);

// The file named `resource`.VMS beside the VMI at `vmi_path`, found whatever its case.
std::filesystem::path VmsPathFor(const std::filesystem::path& vmi_path, std::string_view resource);

// A save name made from a VMS file's name: its base name in upper case, bytes other than
// letters, digits and "_-." as '_', at most 12 bytes, padded with zero bytes.
std::string SaveNameFromFile(const std::filesystem::path& path);

// A save name as the user typed it, padded with zero bytes to 12; nothing when it is empty or
// longer than 12 bytes.
std::optional<std::string> PaddedSaveName(const std::string& typed);

// Writes the save (single-save layout) as the pair `vms_path` and the VMI beside it (the same
// base name, ".VMI" or ".vmi" after the VMS's case), the VMS first. The base name is the
// VMI's resource name: at most 8 bytes.
VmsError WriteVmsPair(std::span<const std::uint8_t> save_file,
                      const std::filesystem::path& vms_path);

// The VMI written beside `vms_path`.
std::filesystem::path VmiPathFor(const std::filesystem::path& vms_path);

}  // namespace quorvel
