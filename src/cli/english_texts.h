// quorvel-cli speaks English: the core's texts, which are the window's Traditional Chinese,
// are put into English before they are printed.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The English of a core text (its template found and filled with the same values), without
// the window's leading and trailing blanks; any other text as it is.
std::string EnglishText(std::string_view text);

// The English template of the core text `text` (a template of CoreTexts()); empty when the
// table has none.
std::string_view EnglishTemplate(std::string_view text);

}  // namespace quorvel
