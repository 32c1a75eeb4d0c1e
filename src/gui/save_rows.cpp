// The save's texts and numbers on a pane's row, and the tooltip built from them.
#include "gui/save_rows.h"

#include <QCoreApplication>

#include "card/save_texts.h"

namespace quorvel {

namespace {

QString Translated(const char* text) {
  return QCoreApplication::translate("quorvel::SaveRows", text);
}

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void DescribeSaveRow(QListWidgetItem& item, const SaveRecord& record) {
  item.setData(kSaveNameRole, QString::fromLatin1(record.name));
  item.setData(kShortDescriptionRole, Utf8(ShortDescription(record)));
  item.setData(kLongDescriptionRole, Utf8(LongDescription(record)));
  item.setData(kGameRole, record.header_in_second_block);
  item.setData(kBlocksRole, static_cast<int>(record.size));
  item.setData(kDateRole, QString::fromLatin1(record.date));
  item.setData(kTimeRole, QString::fromLatin1(record.time));
  item.setToolTip(SaveToolTip(item));
}

QString ShownSaveName(const QString& name) {
  qsizetype end = name.size();
  while (end > 0 && (name[end - 1] == QLatin1Char(' ') || name[end - 1] == QChar())) --end;
  return name.left(end);
}

QString DescriptionLines(const QString& short_description, const QString& long_description) {
  if (long_description.isEmpty() || short_description == long_description) {
    return short_description;
  }
  if (short_description.isEmpty()) return long_description;
  return short_description + QLatin1Char('\n') + long_description;
}

QString SaveToolTip(const QListWidgetItem& item) {
  return Translated(
             QT_TRANSLATE_NOOP("quorvel::SaveRows",
                               "單元名稱: %1\n記憶卡說明: %2\n主機說明: %3\n%4 Blocks\n%5   %6"))
      .arg(ShownSaveName(item.data(kSaveNameRole).toString()),
           item.data(kShortDescriptionRole).toString(), item.data(kLongDescriptionRole).toString(),
           QString::number(item.data(kBlocksRole).toInt()), item.data(kDateRole).toString(),
           item.data(kTimeRole).toString());
}

QString SaveKindText(bool game) {
  return game ? Translated(QT_TRANSLATE_NOOP("quorvel::SaveRows", "遊戲"))
              : Translated(QT_TRANSLATE_NOOP("quorvel::SaveRows", "資料"));
}

}  // namespace quorvel
