// Shift-JIS descriptions through the C library's iconv; names and hex texts.
#include "card/save_texts.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

namespace quorvel {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// One iconv conversion from code page 932 to UTF-8 for the life of the program (iconv_open
// reads the conversion tables once). Null when the C library has no such conversion.
class Cp932Decoder {
 public:
  Cp932Decoder() : handle_(iconv_open("UTF-8", "CP932")) {
    if (handle_ == kNoHandle) handle_ = iconv_open("UTF-8", "SHIFT_JIS");
  }
  ~Cp932Decoder() {
    if (handle_ != kNoHandle) iconv_close(handle_);
  }
  Cp932Decoder(const Cp932Decoder&) = delete;
  Cp932Decoder& operator=(const Cp932Decoder&) = delete;

  // Decodes the character at the start of `bytes` (one or two bytes) into `out`; returns how
  // many bytes it took, 0 when no character starts there.
  std::size_t DecodeOne(std::span<const std::uint8_t> bytes, std::string& out) {
    if (handle_ == kNoHandle) return 0;
    for (std::size_t length = 1; length <= 2 && length <= bytes.size(); ++length) {
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // a fresh state for each try
      char input[2] = {static_cast<char>(bytes[0]),
                       length == 2 ? static_cast<char>(bytes[1]) : '\0'};
      char output[8];
      char* in = input;
      char* outp = output;
      std::size_t in_left = length;
      std::size_t out_left = sizeof output;
      if (iconv(handle_, &in, &in_left, &outp, &out_left) != static_cast<std::size_t>(-1) &&
          in_left == 0 && outp != output) {
        out.assign(output, outp);
        return length;
      }
      if (errno != EINVAL) return 0;  // not the start of a longer character
    }
    return 0;
  }

 private:
  static inline const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);
  iconv_t handle_;
};

// One per thread: a conversion keeps state between calls.
Cp932Decoder& Decoder() {
  thread_local Cp932Decoder decoder;
  return decoder;
}

// True for the UTF-8 form of a C1 control character (U+0080 to U+009F).
bool IsC1(const std::string& utf8) {
  return utf8.size() == 2 && static_cast<unsigned char>(utf8[0]) == 0xC2 &&
         static_cast<unsigned char>(utf8[1]) < 0xA0;
}

bool HasHeaderText(const SaveRecord& record) {
  return record.header_text.size() == kShortDescriptionSize + kLongDescriptionSize;
}

std::span<const std::uint8_t> Field(const SaveRecord& record, std::size_t offset,
                                    std::size_t size) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(record.header_text.data());
  return {bytes + offset, size};
}

}  // namespace

std::string DecodeShiftJis(std::span<const std::uint8_t> bytes) {
  std::string text;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::uint8_t byte = bytes[i];
    if (byte < 0x80) {
      text += static_cast<char>(byte < 0x1F || byte == 0x7F ? ' ' : byte);
      ++i;
      continue;
    }
    std::string character;
    const std::size_t used = Decoder().DecodeOne(bytes.subspan(i), character);
    if (used == 0) {
      text += kReplacement;
      ++i;
    } else {
      text += IsC1(character) ? std::string(" ") : character;
      i += used;
    }
  }
  return text;
}

std::string TrimPadding(const std::string& text) {
  const std::size_t end = text.find_last_not_of(std::string(" \0", 2));
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

std::string ShownDescription(const SaveRecord& record) {
  if (!HasHeaderText(record)) return record.description;
  return DecodeShiftJis(Field(record, 0, kShortDescriptionSize)) +
         DecodeShiftJis(Field(record, kShortDescriptionSize, kLongDescriptionSize));
}

std::string ShortDescription(const SaveRecord& record) {
  if (!HasHeaderText(record)) return TrimPadding(record.description);
  return TrimPadding(DecodeShiftJis(Field(record, 0, kShortDescriptionSize)));
}

std::string LongDescription(const SaveRecord& record) {
  if (!HasHeaderText(record)) return TrimPadding(record.description);
  return TrimPadding(DecodeShiftJis(Field(record, kShortDescriptionSize, kLongDescriptionSize)));
}

std::string HexBytes(const std::string& bytes) {
  std::string text;
  for (char c : bytes) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(c));
    text += digits;
  }
  return text;
}

}  // namespace quorvel
