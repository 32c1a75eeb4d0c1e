// The window's language: the program's translations (built from translations/*.ts and kept
// in the program's resources) and Qt's own for its dialogs and buttons, and the translation of
// the core's texts where the window shows them.
#pragma once

#include <QString>
#include <initializer_list>
#include <string>
#include <string_view>

#include "app/language.h"

namespace quorvel {

// Makes the application speak `language` from now on, replacing what an earlier call
// installed. Chinese is the window's own language: the program's Chinese translation only
// covers the few texts of the hex editor that are written in English, and Qt's dialogs use
// Qt's Traditional Chinese translation (when the system has it). False when the program's own
// translation could not be loaded.
bool InstallTranslations(Language language);
// Back to the texts as the sources have them (Chinese), without Qt's translation.
void RemoveTranslations();

// A text of the core (card layer, code pages) as the window shows it: translated by the
// template it was filled from, with the same values; any other text as it is.
QString ShownText(std::string_view text);

// A translated text with its "%1", "%2" ... filled with `values` in one pass, in UTF-8 for the
// message seam: Filled(tr(" 檔案 %1 沒有圖示. "), {name}).
std::string Filled(const QString& text, std::initializer_list<std::string_view> values = {});

}  // namespace quorvel
