// Loading the translations and translating the core's texts.
#include "gui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <vector>

#include "app/core_texts.h"
#include "host/translatable.h"

namespace quorvel {

namespace {

std::vector<std::unique_ptr<QTranslator>>& Installed() {
  static std::vector<std::unique_ptr<QTranslator>> installed;
  return installed;
}

bool Install(const QString& name, const QString& folder) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(name, folder)) return false;
  QCoreApplication::installTranslator(translator.get());
  Installed().push_back(std::move(translator));
  return true;
}

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void RemoveTranslations() {
  for (const std::unique_ptr<QTranslator>& translator : Installed()) {
    QCoreApplication::removeTranslator(translator.get());
  }
  Installed().clear();
}

bool InstallTranslations(Language language) {
  RemoveTranslations();
  const QString qt_folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (language == Language::kChinese) {
    // Qt's own dialogs in Traditional Chinese; without that package they stay English.
    Install(QStringLiteral("qtbase_zh_TW"), qt_folder);
    return Install(QStringLiteral("quorvel_zh_TW"), QStringLiteral(":/i18n"));
  }
  return Install(QStringLiteral("quorvel_en"), QStringLiteral(":/i18n"));
}

QString ShownText(std::string_view text) {
  const std::optional<MatchedCoreText> match = MatchCoreText(text);
  if (!match) return FromUtf8(text);
  // The templates are string literals, so their data ends in a zero byte.
  QString shown =
      QCoreApplication::translate(match->text->context.data(), match->text->text.data());
  // A value may itself be a core text (a reason inside a message).
  std::vector<QString> v;
  for (const std::string& value : match->values) v.push_back(ShownText(value));
  switch (v.size()) {
    case 0:
      return shown;
    case 1:
      return shown.arg(v[0]);
    case 2:
      return shown.arg(v[0], v[1]);
    default:
      return shown.arg(v[0], v[1], v[2]);
  }
}

std::string Filled(const QString& text, std::initializer_list<std::string_view> values) {
  return FillText(text.toStdString(), values);
}

}  // namespace quorvel
