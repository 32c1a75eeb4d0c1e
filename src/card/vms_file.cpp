// Reading and writing VMS/VMI pairs through the single-save layout.
#include "card/vms_file.h"

#include <algorithm>
#include <cctype>

#include "card/block_io.h"
#include "card/file_system.h"
#include "card/save_texts.h"
#include "card/work_files.h"

namespace quorvel {
namespace {

// VMI fields.
constexpr std::size_t kVmiChecksum = 0x00;
constexpr std::size_t kVmiDescription = 0x04;
constexpr std::size_t kVmiCopyright = 0x24;
constexpr std::size_t kVmiTextSize = 32;
constexpr std::size_t kVmiYear = 0x44;
constexpr std::size_t kVmiMonth = 0x46;
constexpr std::size_t kVmiVersion = 0x4C;
constexpr std::size_t kVmiFileNumber = 0x4E;
constexpr std::size_t kVmiResource = 0x50;
constexpr std::size_t kVmiName = 0x58;
constexpr std::size_t kVmiMode = 0x64;
constexpr std::size_t kVmiFileSizeField = 0x68;
constexpr std::uint16_t kModeCopyProtected = 1 << 0;
constexpr std::uint16_t kModeGame = 1 << 1;

// Directory entry: the copy-protection byte of a protected save (0x00 and 0x80 copyable).
constexpr std::uint8_t kProtectedByte = 0xFF;

// Save header fields used to tell a header from code or data.
constexpr std::size_t kHeaderEyecatchType = 0x44;
constexpr std::size_t kHeaderLongDescription = 0x10;

std::uint16_t Le16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

void PutLe(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::string Text(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t size) {
  return std::string(bytes.begin() + at, bytes.begin() + at + size);
}

void PutText(std::span<std::uint8_t> bytes, std::size_t at, std::size_t size,
             std::string_view text) {
  for (std::size_t i = 0; i < size; ++i) {
    bytes[at + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
  }
}

std::uint8_t ToBcd(int value) { return static_cast<std::uint8_t>((value / 10) << 4 | value % 10); }
int FromBcd(std::uint8_t bcd) { return (bcd >> 4) * 10 + (bcd & 0x0F); }

// A save header as the console writes it: few icons, a known eyecatch type.
bool LooksLikeHeader(std::span<const std::uint8_t> block) {
  return Le16(block, kHeaderIconCount) <= 63 && Le16(block, kHeaderEyecatchType) <= 3;
}

// No control byte in the description fields (zero padding allowed).
bool PlainDescription(std::span<const std::uint8_t> block) {
  return std::none_of(block.begin(), block.begin() + kHeaderDescriptionSize,
                      [](std::uint8_t b) { return b != 0 && (b < 0x20 || b == 0x7F); });
}

bool HasExtension(const std::filesystem::path& path, std::string_view lower) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return extension == lower;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The file in `folder` named `name` whatever its case; `folder`/`name` when there is none.
std::filesystem::path FindIgnoringCase(const std::filesystem::path& folder,
                                       const std::string& name) {
  const std::filesystem::path exact = folder / name;
  std::error_code code;
  if (std::filesystem::exists(exact, code)) return exact;
  for (const auto& item : std::filesystem::directory_iterator(
           folder.empty() ? std::filesystem::path(".") : folder, code)) {
    if (SameIgnoringCase(item.path().filename().string(), name))
      return folder / item.path().filename();
  }
  return exact;
}

bool UpperCaseExtension(const std::filesystem::path& path) {
  const std::string extension = path.extension().string();
  return std::any_of(extension.begin(), extension.end(),
                     [](unsigned char c) { return std::isupper(c); });
}

}  // namespace

std::string_view Describe(VmsError error) {
  switch (error) {
    case VmsError::kNone:
      return "done";
    case VmsError::kVmsMissing:
      return "the VMS file it names is not there";
    case VmsError::kVmsSize:
      return "a VMS file holds 1 to 255 whole blocks of 512 bytes";
    case VmsError::kVmiSize:
      return "a VMI file is 108 bytes";
    case VmsError::kVmiChecksum:
      return "not a VMI file (its checksum does not match its VMS name)";
    case VmsError::kSizeMismatch:
      return "the VMI gives another size than its VMS file has";
    case VmsError::kNameMismatch:
      return "the VMI names another VMS file";
    case VmsError::kCannotRead:
      return "the file cannot be read";
    case VmsError::kCancelled:
      return "cancelled";
    case VmsError::kKindUnclear:
      return "the VMS file does not tell whether it is a game or data";
    case VmsError::kBadName:
      return "a save name has 1 to 12 characters";
    case VmsError::kResourceName:
      return "a VMS file's name has 1 to 8 characters before .VMS";
    case VmsError::kCannotWrite:
      return "the file could not be written";
  }
  return "";
}

std::array<std::uint8_t, 4> VmiChecksum(std::string_view resource) {
  static constexpr char kSega[] = "SEGA";
  std::array<std::uint8_t, 4> sum{};
  for (std::size_t i = 0; i < sum.size(); ++i) {
    const auto byte = i < resource.size() ? static_cast<std::uint8_t>(resource[i]) : 0;
    sum[i] = static_cast<std::uint8_t>(byte & kSega[i]);
  }
  return sum;
}

std::optional<VmiInfo> ParseVmi(std::span<const std::uint8_t> bytes, VmsError& error) {
  if (bytes.size() != kVmiFileSize) {
    error = VmsError::kVmiSize;
    return std::nullopt;
  }
  VmiInfo info;
  info.resource = Text(bytes, kVmiResource, kVmsResourceSize);
  const auto sum = VmiChecksum(info.resource);
  if (!std::equal(sum.begin(), sum.end(), bytes.begin() + kVmiChecksum)) {
    error = VmsError::kVmiChecksum;
    return std::nullopt;
  }
  info.description = Text(bytes, kVmiDescription, kVmiTextSize);
  info.copyright = Text(bytes, kVmiCopyright, kVmiTextSize);
  info.year = Le16(bytes, kVmiYear);
  info.month = bytes[kVmiMonth];
  info.day = bytes[kVmiMonth + 1];
  info.hour = bytes[kVmiMonth + 2];
  info.minute = bytes[kVmiMonth + 3];
  info.second = bytes[kVmiMonth + 4];
  info.weekday = bytes[kVmiMonth + 5];
  info.version = Le16(bytes, kVmiVersion);
  info.file_number = Le16(bytes, kVmiFileNumber);
  info.name = Text(bytes, kVmiName, kEntryNameSize);
  const std::uint16_t mode = Le16(bytes, kVmiMode);
  info.game = (mode & kModeGame) != 0;
  info.copy_protected = (mode & kModeCopyProtected) != 0;
  info.file_size = static_cast<std::uint32_t>(Le16(bytes, kVmiFileSizeField) |
                                              Le16(bytes, kVmiFileSizeField + 2) << 16);
  error = VmsError::kNone;
  return info;
}

std::array<std::uint8_t, kVmiFileSize> BuildVmi(const VmiInfo& info) {
  std::array<std::uint8_t, kVmiFileSize> bytes{};
  const auto sum = VmiChecksum(info.resource);
  std::copy(sum.begin(), sum.end(), bytes.begin() + kVmiChecksum);
  PutText(bytes, kVmiDescription, kVmiTextSize, info.description);
  PutText(bytes, kVmiCopyright, kVmiTextSize, info.copyright);
  PutLe(bytes, kVmiYear, static_cast<std::uint32_t>(info.year), 2);
  const int stamp[] = {info.month, info.day, info.hour, info.minute, info.second, info.weekday};
  for (std::size_t i = 0; i < 6; ++i) bytes[kVmiMonth + i] = static_cast<std::uint8_t>(stamp[i]);
  PutLe(bytes, kVmiVersion, info.version, 2);
  PutLe(bytes, kVmiFileNumber, info.file_number, 2);
  PutText(bytes, kVmiResource, kVmsResourceSize, info.resource);
  PutText(bytes, kVmiName, kEntryNameSize, info.name);
  PutLe(bytes, kVmiMode,
        (info.game ? kModeGame : 0) | (info.copy_protected ? kModeCopyProtected : 0), 2);
  PutLe(bytes, kVmiFileSizeField, info.file_size, 4);
  return bytes;
}

VmsKind RecogniseVmsKind(std::span<const std::uint8_t> vms) {
  if (vms.size() < 2 * kBlockSize) return VmsKind::kData;  // a game has code before its header
  const auto first = vms.first(kBlockSize);
  const auto second = vms.subspan(kBlockSize, kBlockSize);
  const bool header0 = LooksLikeHeader(first);
  const bool header1 = LooksLikeHeader(second);
  if (header0 != header1) return header0 ? VmsKind::kData : VmsKind::kGame;
  if (header0) {
    // Both could be headers: a game's code shows as control bytes where a header has text.
    const bool plain0 = PlainDescription(first);
    const bool plain1 = PlainDescription(second);
    if (plain0 != plain1) return plain0 ? VmsKind::kData : VmsKind::kGame;
  }
  return VmsKind::kUnclear;
}

VmsError CheckVmsSize(std::size_t bytes) {
  if (bytes == 0 || bytes % kBlockSize != 0 || bytes / kBlockSize > kLargestVmsBlocks) {
    return VmsError::kVmsSize;
  }
  return VmsError::kNone;
}

std::vector<std::uint8_t> SaveFromVms(const VmiInfo& info, std::span<const std::uint8_t> vms) {
  const std::size_t blocks = vms.size() / kBlockSize;
  std::vector<std::uint8_t> save(kDirEntrySize, 0);
  save[kEntryType] = info.game ? kGameType : kDataType;
  save[kEntryCopyProtect] = info.copy_protected ? kProtectedByte : 0x00;
  PutText(save, kEntryName, kEntryNameSize, info.name);
  const int card_weekday = info.weekday >= 0 && info.weekday <= 6 ? (info.weekday + 6) % 7 : 0;
  const int stamp[] = {info.year / 100, info.year % 100, info.month,  info.day,
                       info.hour,       info.minute,     info.second, card_weekday};
  for (std::size_t i = 0; i < 8; ++i) save[kEntryTimeStamp + i] = ToBcd(stamp[i] % 100);
  save[kEntrySize] = static_cast<std::uint8_t>(blocks);
  save[kEntryHeaderOffset] = info.game ? 1 : 0;
  for (std::size_t k = 0; k < blocks; ++k) {
    Block block;
    std::copy_n(vms.begin() + k * kBlockSize, kBlockSize, block.begin());
    ReverseGroups(block);
    save.insert(save.end(), block.begin(), block.end());
  }
  return save;
}

void VmsFromSave(std::span<const std::uint8_t> save_file, std::string_view resource, VmiInfo& info,
                 std::vector<std::uint8_t>& vms) {
  DirEntry entry;
  std::copy_n(save_file.begin(), kDirEntrySize, entry.begin());
  const std::size_t blocks = entry[kEntrySize];
  vms.clear();
  for (std::size_t k = 0; k < blocks; ++k) {
    Block block;
    std::copy_n(save_file.begin() + kDirEntrySize + k * kBlockSize, kBlockSize, block.begin());
    ReverseGroups(block);
    vms.insert(vms.end(), block.begin(), block.end());
  }
  info = VmiInfo{};
  info.game = IsGameEntry(entry);
  const std::size_t header = info.game ? 1 : 0;
  if (header < blocks) {
    info.description = std::string(vms.begin() + header * kBlockSize + kHeaderLongDescription,
                                   vms.begin() + header * kBlockSize + kHeaderDescriptionSize);
  }
  const std::uint8_t* stamp = entry.data() + kEntryTimeStamp;
  info.year = FromBcd(stamp[0]) * 100 + FromBcd(stamp[1]);
  info.month = FromBcd(stamp[2]);
  info.day = FromBcd(stamp[3]);
  info.hour = FromBcd(stamp[4]);
  info.minute = FromBcd(stamp[5]);
  info.second = FromBcd(stamp[6]);
  info.weekday = stamp[7] <= 6 ? (stamp[7] + 1) % 7 : 0;
  info.resource = std::string(resource);
  info.name = std::string(entry.begin() + kEntryName, entry.begin() + kEntryName + kEntryNameSize);
  info.copy_protected = entry[kEntryCopyProtect] != 0x00 && entry[kEntryCopyProtect] != 0x80;
  info.file_size = static_cast<std::uint32_t>(vms.size());
}

bool IsVmsPath(const std::filesystem::path& path) { return HasExtension(path, ".vms"); }
bool IsVmiPath(const std::filesystem::path& path) { return HasExtension(path, ".vmi"); }

std::filesystem::path PartnerPath(const std::filesystem::path& path) {
  const bool upper = UpperCaseExtension(path);
  const std::string other = IsVmiPath(path) ? (upper ? ".VMS" : ".vms") : (upper ? ".VMI" : ".vmi");
  return FindIgnoringCase(path.parent_path(), path.stem().string() + other);
}

bool VmiNamesVms(const VmiInfo& info, const std::filesystem::path& vms_path) {
  return SameIgnoringCase(TrimPadding(info.resource), vms_path.stem().string());
}

std::filesystem::path VmsPathFor(const std::filesystem::path& vmi_path, std::string_view resource) {
  const std::string base = TrimPadding(std::string(resource));
  return FindIgnoringCase(vmi_path.parent_path(),
                          base + (UpperCaseExtension(vmi_path) ? ".VMS" : ".vms"));
}

std::filesystem::path VmiPathFor(const std::filesystem::path& vms_path) {
  std::filesystem::path vmi = vms_path;
  vmi.replace_extension(UpperCaseExtension(vms_path) ? ".VMI" : ".vmi");
  return vmi;
}

std::string SaveNameFromFile(const std::filesystem::path& path) {
  std::string name = path.stem().string();
  for (char& c : name) {
    const auto byte = static_cast<unsigned char>(c);
    c = std::isalnum(byte) || c == '_' || c == '-' || c == '.'
            ? static_cast<char>(std::toupper(byte))
            : '_';
  }
  if (name.size() > kEntryNameSize) name.resize(kEntryNameSize);
  name.resize(kEntryNameSize, '\0');
  return name;
}

std::optional<std::string> PaddedSaveName(const std::string& typed) {
  if (typed.empty() || typed.size() > kEntryNameSize) return std::nullopt;
  std::string name = typed;
  name.resize(kEntryNameSize, '\0');
  return name;
}

VmsError WriteVmsPair(std::span<const std::uint8_t> save_file,
                      const std::filesystem::path& vms_path) {
  const std::string resource = vms_path.stem().string();
  if (resource.empty() || resource.size() > kVmsResourceSize) return VmsError::kResourceName;
  VmiInfo info;
  std::vector<std::uint8_t> vms;
  VmsFromSave(save_file, resource, info, vms);
  const auto vmi = BuildVmi(info);
  if (!ReplaceFileContents(vms_path, vms)) return VmsError::kCannotWrite;
  if (!ReplaceFileContents(VmiPathFor(vms_path), vmi)) return VmsError::kCannotWrite;
  return VmsError::kNone;
}

}  // namespace quorvel
