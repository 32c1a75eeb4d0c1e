// quorvel-cli convert IN OUT [--force]: writes a file in another format, chosen by OUT's
// name. Whole cards go between a DCM file and a raw card image (.bin, .vmu, .vmd); single
// saves between a DCI file and a VMS/VMI pair (.dci, .vms, .vmi). OUT is never IN, and an
// existing OUT is replaced only with --force.
#include <cctype>
#include <filesystem>

#include "card/dcm_file.h"
#include "card/save_commands.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

// The kinds of file convert knows; OUT's name says which kind to write.
enum class FileKind { kCardImage, kSaveFile, kUnknown };

FileKind KindOfName(const std::filesystem::path& path) {
  if (IsCardImageName(path)) return FileKind::kCardImage;
  if (IsVmsPath(path) || IsVmiPath(path)) return FileKind::kSaveFile;
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".dci") return FileKind::kSaveFile;
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

int ConvertSave(const std::string& in, const std::string& out, const Args& args) {
  const SaveFileBytes read = ReadSaveFile(in, LoneVmsAnswers(args));
  if (read.status != DciImportResult::File::kOk) {
    std::string reason = DescribeRead(read, in);
    if (read.vms_error == VmsError::kKindUnclear) reason += "; give --game or --data";
    return Fail(reason + "; nothing was written");
  }
  const SaveExport result = WriteSaveFile(read.bytes, out);
  if (result.save == DciExportError::kShortChain) {
    return Fail(in + ": not a whole single-save file; nothing was written");
  }
  if (!result.Written()) return Fail(out + " not written: " + Describe(result));
  return kExitOk;
}

int RunConvert(const Args& args) {
  RequirePositional(args, 2);
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  if (KindOfName(out) == FileKind::kUnknown) {
    throw UsageError{
        "convert writes a card image (.dcm, .bin, .vmu, .vmd) or a single-save "
        "file (.dci, .vms, .vmi); " +
        out + " names none of them"};
  }
  std::error_code code;
  if (!std::filesystem::exists(in, code)) return Fail(in + ": no such file");
  if (CardSources::SameSource(in, out)) return Fail(out + " is the file being converted");
  // A VMS/VMI pair is two files: each is checked.
  const std::vector<std::filesystem::path> outputs = KindOfName(out) == FileKind::kSaveFile
                                                         ? ExportedFiles(out)
                                                         : std::vector<std::filesystem::path>{out};
  std::string error;
  for (const std::filesystem::path& file : outputs) {
    if (CardSources::SameSource(in, file.string())) {
      return Fail(file.string() + " is the file being converted");
    }
    if (std::filesystem::exists(std::filesystem::symlink_status(file, code)) &&
        !args.Has("force")) {
      return Fail(file.string() + " already exists; give --force to replace it");
    }
    if (!OutputFree(file.string(), error)) return Fail(error);
  }
  switch (KindOfName(out)) {
    case FileKind::kCardImage:
      return ConvertCard(in, out);
    case FileKind::kSaveFile:
      return ConvertSave(in, out, args);
    case FileKind::kUnknown:
      break;
  }
  return Fail(out + ": no conversion writes this kind of file");
}

const CommandRegistration kRegistration{
    "convert",
    "IN OUT [--force] [--name TEXT] [--game|--data]",
    &RunConvert,
    {{"force", false}, kVmsNameOption, kVmsGameOption, kVmsDataOption},
    {"Writes a card image or a single save in another file format",
     "Writes IN in the format OUT's name asks for. Whole cards go between a DCM file (.dcm) and a "
     "raw card image in the card's own byte order (.bin, .vmu, .vmd), as emulators keep cards; "
     "single saves go between a DCI file (.dci) and a VMS/VMI pair (.vms, .vmi). OUT is never "
     "IN.",
     {{"--force", "replace an existing OUT"}, kVmsNameHelp, kVmsGameHelp, kVmsDataHelp},
     "quorvel-cli convert backup.dcm backup.vmu"}};

}  // namespace
}  // namespace quorvel::cli
