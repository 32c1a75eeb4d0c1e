// Whole-card image files: blocks 0 to 255, 131,072 bytes, in link order (DCM) or in the card's
// own order (a raw image). Dumping a slot's card to a file, writing a file back onto a card,
// converting between the two orders, and new images from the template.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_image.h"
#include "card/image_order.h"

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
  kCannotWrite,   // the file could not be written
  kUnknownOrder,  // the root block has the format marker but reads as a card's in neither order
  kNotRecorded,   // the journal of card writes could not be written: nothing was written
  kCancelled,     // asked to stop: how the card was left is the request's outcome
};
std::string_view Describe(DcmError error);

// " 檔案 : NAME 的格式並不支援!!!! " when an image of the wrong size is opened; with
// `loading_into_slot` the variant that has a blank before the exclamation marks.
std::string UnsupportedImageMessage(std::string_view name, bool loading_into_slot);
// " 檔案 : PATH 是無效的! " for a template that is too short.
std::string InvalidTemplateMessage(std::string_view path);

// The test every open command makes: the file exists, holds exactly 131,072 bytes and its
// byte order is recognised (see RecogniseOrder), which `order` receives when given.
DcmError CheckImageFile(const std::filesystem::path& path, ImageOrder* order = nullptr);

// Reads the whole-card image at `path` (checked as CheckImageFile does) into `image`, in
// `order` whatever the file's own.
DcmError ReadCardImage(const std::filesystem::path& path, ImageOrder order,
                       std::vector<std::uint8_t>& image);

// Writes the whole card `image`, held in `order`, to `path` in the order its name asks for
// (see OrderForName), through a new file beside it: a failure leaves `path` as it was.
DcmError WriteCardImage(const std::filesystem::path& path, std::vector<std::uint8_t> image,
                        ImageOrder order);

// Writes the card image at `in` to `out` in the order `out`'s name asks for.
DcmError ConvertCardImage(const std::filesystem::path& in, const std::filesystem::path& out);

// Why the image file at `path` (131,072 bytes) does not hold a formatted card, in a few
// English words (see IsFormatted); "" when it does. Writing such a file onto a card needs the
// user's confirmation. "the file cannot be read" when it cannot.
std::string ImageFormatProblem(const std::filesystem::path& path);

// Reads blocks 0 to 255 of the card and writes them to `path`, in the order its name asks
// for. The file is written only when every block was read, through a new file beside it, so
// a failed dump leaves it as it was. A request to stop is answered before each block read
// (kCancelled: no file was written).
DcmError DumpCardToFile(CardImage& card, const std::filesystem::path& path);

// Writes the 256 blocks of the image file at `path` (in either order) onto the card, in
// ascending order (the root block last); stops at the first block that cannot be written. A
// file of the wrong size or of no recognisable order is refused before anything is written.
// A request to stop is answered before the first write (kCancelled, nothing written) and,
// when the journal records the old blocks, after any whole block: the restore's record then
// ends and the old blocks are written back as an undo (outcome kPutBack, or kNotPutBack when
// that failed). Without that record a restore that has begun writing runs to its end.
DcmError RestoreCardFromFile(CardImage& card, const std::filesystem::path& path);

// Writes the first 131,072 bytes of the template at `template_path` to `path`, in the order
// `path`'s name asks for (a new ".vmu" is a raw image an emulator can use).
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
