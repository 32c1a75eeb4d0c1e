// quorvel-cli convert IN OUT [--force]: writes a file in another format, chosen by OUT's
// name. Whole cards go between a DCM file and a raw card image (.bin, .vmu, .vmd). OUT is never
// IN, and an existing OUT is replaced only with --force.
#include <filesystem>

#include "card/dcm_file.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

// The kinds of file convert knows; OUT's name says which kind to write.
enum class FileKind { kCardImage, kUnknown };

FileKind KindOfName(const std::filesystem::path& path) {
  if (IsCardImageName(path)) return FileKind::kCardImage;
  return FileKind::kUnknown;
}

int ConvertCard(const std::string& in, const std::string& out) {
  const DcmError result = ConvertCardImage(in, out);
  switch (result) {
    case DcmError::kNone:
      return kExitOk;
    case DcmError::kCannotWrite:
      return Fail(out + ": " + std::string(Describe(result)) + "; nothing was changed");
    default:
      return Fail(in + ": " + std::string(Describe(result)) + "; nothing was written");
  }
}

int RunConvert(const Args& args) {
  RequirePositional(args, 2);
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  if (KindOfName(out) == FileKind::kUnknown) {
    throw UsageError{"convert writes a card image (.dcm, .bin, .vmu, .vmd); " + out +
                     " names none of them"};
  }
  std::error_code code;
  if (!std::filesystem::exists(in, code)) return Fail(in + ": no such file");
  if (CardSources::SameSource(in, out)) return Fail(out + " is the file being converted");
  if (std::filesystem::exists(std::filesystem::symlink_status(out, code)) && !args.Has("force")) {
    return Fail(out + " already exists; give --force to replace it");
  }
  std::string error;
  if (!OutputFree(out, error)) return Fail(error);
  switch (KindOfName(out)) {
    case FileKind::kCardImage:
      return ConvertCard(in, out);
    case FileKind::kUnknown:
      break;
  }
  return Fail(out + ": no conversion writes this kind of file");
}

const CommandRegistration kRegistration{
    "convert", "IN OUT [--force]", &RunConvert, {{"force", false}}};

}  // namespace
}  // namespace quorvel::cli
