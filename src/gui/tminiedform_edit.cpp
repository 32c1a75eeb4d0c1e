// TMiniEdForm: the edit menu: undo, the clipboard as hex text or plain text, go to, jump and
// find / find next.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <charconv>

#include "gui/tminiedform.h"
#include "hexedit/hex_text.h"
#include "hexedit/translation.h"

namespace quorvel {
namespace {

// A whole text as a number in base; nullopt when it is not one.
std::optional<std::int64_t> ParseNumber(std::string_view text, int base) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// A go-to text: "0x" (any case) or "$" in front means hexadecimal, else decimal; -1 when the
// text is not a number.
std::int64_t ParsePosition(const QString& input) {
  const std::string text = input.trimmed().toStdString();
  std::optional<std::int64_t> value;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    value = ParseNumber(std::string_view(text).substr(2), 16);
  } else if (text.size() > 1 && text[0] == '$') {
    value = ParseNumber(std::string_view(text).substr(1), 16);
  } else {
    value = ParseNumber(text, 10);
  }
  return value.value_or(-1);
}

// A hex search text: lower-cased, everything but hexadecimal digits dropped, a "0" put in
// front of an odd number of digits, each pair one byte.
std::vector<std::uint8_t> HexSearchPattern(const QString& text) {
  std::string digits;
  for (const QChar c : text.toLower()) {
    if (c.unicode() < 128 && HexDigitValue(static_cast<char>(c.unicode())) >= 0) {
      digits += static_cast<char>(c.unicode());
    }
  }
  if (digits.size() % 2 == 1) digits.insert(digits.begin(), '0');
  return HexTextToBytes(digits, false);
}

}  // namespace

QString TMiniEdForm::ClipboardText() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data != nullptr && data->hasText() ? data->text() : QString();
}

void TMiniEdForm::Rckgngig1Click() { HexEditor1->Document().Undo(); }

void TMiniEdForm::Kopieren1Click() {
  const std::string text = HexEditor1->Document().SelectionAsHexText();
  if (!text.empty()) QApplication::clipboard()->setText(QString::fromStdString(text));
}

void TMiniEdForm::Ausschneiden1Click() {
  if (!HexEditor1->Document().GetSelection()) return;
  Kopieren1Click();
  HexEditor1->Document().DeleteSelection();
}

void TMiniEdForm::Einfgen1Click() {
  const std::vector<std::uint8_t> bytes =
      HexTextToBytes(ClipboardText().toStdString(), /*swap_nibbles=*/false);
  if (!bytes.empty()) HexEditor1->Document().Paste(bytes);
}

void TMiniEdForm::PasteText1Click() {
  // The text's characters as the bytes of the ANSI code page (unknown ones as '?').
  std::vector<std::uint8_t> bytes;
  for (const char32_t ch : ClipboardText().toUcs4()) {
    bytes.push_back(EncodeChar(ch, TranslationType::ttAnsi).value_or('?'));
  }
  if (!bytes.empty()) HexEditor1->Document().Paste(bytes);
}

void TMiniEdForm::AppendFF() {
  const std::uint8_t ff = 0xFF;
  HexEditor1->Document().AppendBuffer(std::span(&ff, 1));
}

void TMiniEdForm::Goto1Click() {
  HexDocument& doc = HexEditor1->Document();
  const auto text = InputBox(QStringLiteral("Goto file position..."),
                             QStringLiteral("(prefix \"0x\" or \"$\" means hex)"),
                             QString::number(doc.CaretPosition()));
  if (!text) return;
  const std::int64_t position = ParsePosition(*text);
  if (position < 0 || position >= doc.Size()) {
    messages_.Error("Invalid position");
    return;
  }
  doc.Seek(position, 0, true);
}

void TMiniEdForm::Amount40001Click() {
  const auto text = InputBox(QStringLiteral("Jump amount"), QStringLiteral("Enter new value:"),
                             QString::number(jump_amount_));
  if (!text) return;
  if (const auto value = ParseNumber(text->trimmed().toStdString(), 10)) jump_amount_ = *value;
  UpdateMenus();
}

void TMiniEdForm::Jumpforward1Click() { HexEditor1->Document().Seek(jump_amount_, 1, false); }

void TMiniEdForm::Jumpbackward1Click() { HexEditor1->Document().Seek(-jump_amount_, 1, false); }

void TMiniEdForm::Find1Click() {
  last_found_ = -1;
  has_pattern_ = false;
  search_pattern_.clear();
  const auto text = InputBox(
      QStringLiteral("Find Data"),
      QStringLiteral("\"t..\" ascii, \"T..\" + ignore case, else search hex"), last_search_text_);
  if (!text || text->isEmpty()) return;
  last_search_text_ = *text;
  HexDocument& doc = HexEditor1->Document();
  if (text->startsWith(QLatin1Char('t')) || text->startsWith(QLatin1Char('T'))) {
    ignore_case_ = text->startsWith(QLatin1Char('T'));
    const QString characters = text->mid(1);
    if (characters.isEmpty()) return;
    // A character the translation has no byte for cannot occur: an empty pattern finds nothing.
    const auto ucs4 = characters.toUcs4();
    search_pattern_ = doc.TextPattern(std::u32string(ucs4.begin(), ucs4.end()))
                          .value_or(std::vector<std::uint8_t>{});
    has_pattern_ = true;
  } else {
    ignore_case_ = false;
    search_pattern_ = HexSearchPattern(*text);
    if (search_pattern_.empty()) return;
    has_pattern_ = true;
  }
  SearchFrom(doc.CaretPosition());
}

void TMiniEdForm::FindNext1Click() {
  if (!has_pattern_) {
    Find1Click();
    return;
  }
  HexDocument& doc = HexEditor1->Document();
  // The caret stands on the start of the match it selected: go one byte on.
  if (last_found_ >= 0 && doc.CaretPosition() == last_found_) ++last_found_;
  SearchFrom(last_found_ >= 0 ? last_found_ : doc.CaretPosition());
}

void TMiniEdForm::SearchFrom(std::int64_t first) {
  HexDocument& doc = HexEditor1->Document();
  last_found_ =
      search_pattern_.empty() ? -1 : doc.Find(search_pattern_, ignore_case_, doc.Size() - 1, first);
  if (last_found_ < 0) {
    messages_.Inform(" 資料不存在. ");
    return;
  }
  ShowFound(last_found_);
}

void TMiniEdForm::ShowFound(std::int64_t position) {
  // The match is selected from its last byte back to its first, where the caret stands.
  HexDocument& doc = HexEditor1->Document();
  doc.SetSelStart(position + static_cast<std::int64_t>(search_pattern_.size()) - 1);
  doc.SetSelEnd(position);
}

}  // namespace quorvel
