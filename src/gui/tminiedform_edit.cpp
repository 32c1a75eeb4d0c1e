// TMiniEdForm: the edit menu: undo, the clipboard as hex text or plain text, go to, jump and
// find / find next.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <limits>

#include "gui/tminiedform.h"
#include "hexedit/editor_texts.h"
#include "hexedit/hex_text.h"
#include "hexedit/translation.h"

namespace quorvel {

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
  const auto text = InputBox(tr("Goto file position..."), tr("(prefix \"0x\" or \"$\" means hex)"),
                             QString::number(doc.CaretPosition()));
  if (!text) return;
  const std::int64_t position = ParseNumberText(text->toStdString()).value_or(-1);
  if (position < 0 || position >= doc.Size()) {
    messages_.Error(tr("Invalid position").toStdString());
    return;
  }
  doc.Seek(position, 0, true);
}

void TMiniEdForm::Amount40001Click() {
  const auto text =
      InputBox(tr("Jump amount"), tr("Enter new value:"), QString::number(jump_amount_));
  if (!text) return;
  if (const auto value = ParseNumberText(text->toStdString())) jump_amount_ = *value;
  UpdateMenus();
}

void TMiniEdForm::Jumpforward1Click() { HexEditor1->Document().Seek(jump_amount_, 1, false); }

void TMiniEdForm::Jumpbackward1Click() {
  // The lowest amount has no positive twin; the caret stops at the data's ends either way.
  const std::int64_t back = jump_amount_ == std::numeric_limits<std::int64_t>::min()
                                ? std::numeric_limits<std::int64_t>::max()
                                : -jump_amount_;
  HexEditor1->Document().Seek(back, 1, false);
}

void TMiniEdForm::Find1Click() {
  search_.Reset();
  const std::u32string& last = search_.LastText();
  const auto text =
      InputBox(tr("Find Data"), tr("\"t..\" ascii, \"T..\" + ignore case, else search hex"),
               QString::fromUcs4(last.data(), static_cast<qsizetype>(last.size())));
  if (!text || text->isEmpty()) return;
  const auto ucs4 = text->toUcs4();
  ReportSearch(search_.Find(HexEditor1->Document(), std::u32string(ucs4.begin(), ucs4.end())));
}

void TMiniEdForm::FindNext1Click() {
  const FindSession::Result result = search_.FindNext(HexEditor1->Document());
  if (result == FindSession::Result::kNoPattern) {
    Find1Click();
    return;
  }
  ReportSearch(result);
}

void TMiniEdForm::ReportSearch(FindSession::Result result) {
  if (result == FindSession::Result::kNotFound) messages_.Inform(tr(" 資料不存在. ").toStdString());
}

}  // namespace quorvel
