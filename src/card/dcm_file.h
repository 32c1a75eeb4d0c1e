// Whole-card image files (DCM): blocks 0 to 255 in link order, 131,072 bytes. Dumping a
// slot's card to a file, writing a file back onto a card, and new images from the template.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "card/card_image.h"

namespace quorvel {

inline constexpr std::string_view kImageTemplateFile = "dpnw.dc";
inline constexpr std::string_view kNoIconPictureFile = "NA.bmp";

enum class DcmError {
  kNone,
  kCannotOpen,     // the file cannot be opened or read
  kWrongSize,      // not exactly 131,072 bytes
  kTemplateShort,  // the template holds fewer than 131,072 bytes
  kCardReadFailed,
  kCardWriteFailed,
  kCannotWrite,  // the file could not be written
};
std::string_view Describe(DcmError error);

// " 檔案 : NAME 的格式並不支援!!!! " when an image of the wrong size is opened; with
// `loading_into_slot` the variant that has a blank before the exclamation marks.
std::string UnsupportedImageMessage(std::string_view name, bool loading_into_slot);
// " 檔案 : PATH 是無效的! " for a template that is too short.
std::string InvalidTemplateMessage(std::string_view path);

// The size test every open command makes: the file exists and holds exactly 131,072 bytes.
DcmError CheckImageFile(const std::filesystem::path& path);

// Why the image file at `path` (131,072 bytes) does not hold a formatted card, in a few
// English words (see IsFormatted); "" when it does. Writing such a file onto a card needs the
// user's confirmation. "the file cannot be read" when it cannot.
std::string ImageFormatProblem(const std::filesystem::path& path);

// Reads blocks 0 to 255 of the card and writes them to `path`. The file is written only when
// every block was read, through a new file beside it, so a failed dump leaves it as it was.
DcmError DumpCardToFile(CardImage& card, const std::filesystem::path& path);

// Writes the 256 blocks of the image file at `path` onto the card, in ascending order (the
// root block last); stops at the first block that cannot be written. A file of the wrong
// size is refused before anything is written.
DcmError RestoreCardFromFile(CardImage& card, const std::filesystem::path& path);

// Writes the first 131,072 bytes of the template at `template_path` to `path`.
DcmError CreateImageFromTemplate(const std::filesystem::path& template_path,
                                 const std::filesystem::path& path);

// The data folder of the program whose executable is `executable`: share/quorvel beside the
// folder that holds it (bin/quorvel -> share/quorvel), so an installation that is moved
// elsewhere as a whole still finds its data. The build tree holds the same layout.
std::filesystem::path DataFolderOfProgram(const std::filesystem::path& executable);
// The data folder of the running program; empty when the executable cannot be found.
std::filesystem::path ProgramDataFolder();

// Where the program's own data file `name` is: in the working directory when a copy is there,
// else in the program's data folder; the working directory's path when neither holds it.
std::filesystem::path FindProgramDataFile(const std::filesystem::path& work_dir,
                                          std::string_view name);

}  // namespace quorvel
