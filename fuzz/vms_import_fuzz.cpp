// Fuzz target: any bytes as a VMS/VMI pair or a VMS alone, read as a single-save file the way
// an import reads them once the files are in memory, then imported onto an empty card. The
// first input byte chooses: bit 0 a pair (the next 108 bytes are the VMI, the rest the VMS)
// or a VMS alone (the rest; bit 1 is the answer to "game or data?" when the VMS does not tell,
// bit 2 leaves the question unanswered). A refusal names its reason; what is read holds the
// VMS's blocks (written back as a VMS it gives the same bytes) and is a game exactly when the
// VMI or the answer says so; imported, the card checks as a single-save import must
// (CheckImportOntoEmptyCard), refused, the card stores what it stored.
#include <algorithm>

#include "card/file_system.h"
#include "card/save_commands.h"
#include "card/vms_file.h"
#include "card_support.h"
#include "demo_cards.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

namespace {

constexpr std::uint8_t kPair = 0x01;
constexpr std::uint8_t kGameAnswer = 0x02;
constexpr std::uint8_t kNoAnswer = 0x04;

Bytes PairInput(const Bytes& save_file, std::string_view resource) {
  VmiInfo info;
  Bytes vms;
  VmsFromSave(save_file, resource, info, vms);
  Bytes input = {kPair};
  const auto vmi = BuildVmi(info);
  input.insert(input.end(), vmi.begin(), vmi.end());
  input.insert(input.end(), vms.begin(), vms.end());
  return input;
}

}  // namespace

std::vector<Bytes> vms_importFuzzSeeds() {
  std::vector<Bytes> seeds;
  for (const demo::DemoSave& save : demo::DemoSaves(1)) {
    seeds.push_back(PairInput(save.dci, "DEMOSAVE"));
    Bytes alone = {0};
    alone.insert(alone.end(), save.dci.begin() + kDciEntrySize, save.dci.end());
    seeds.push_back(alone);
  }
  for (const char* file : {"fuse-vmu/evo.dci", "fuse-vmu/sa2.dci"}) {
    if (std::optional<Bytes> dci = RealData(file)) seeds.push_back(PairInput(*dci, "REALSAVE"));
  }
  for (const char* game : {"dreampotato/helloworld.vms", "racketball/racketball.vms"}) {
    if (std::optional<Bytes> vms = RealData(game)) {
      Bytes alone = {kGameAnswer};
      alone.insert(alone.end(), vms->begin(), vms->end());
      seeds.push_back(alone);
    }
  }
  return seeds;
}

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(vms_import, 1 + quorvel::kVmiFileSize + 200 * quorvel::kBlockSize) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  if (input.empty()) return;
  const std::uint8_t choice = input[0];
  InputReader reader(input.subspan(1));
  const bool pair = (choice & kPair) != 0;
  const Input vmi = pair ? reader.Take(kVmiFileSize) : Input();
  const Input vms = reader.Rest();

  SaveFileBytes read;
  bool game = false;
  if (pair) {
    read = SaveFileFromPair(vmi, vms, "SAVE.VMI", "SAVE.VMS");
    VmsError error = VmsError::kNone;
    const std::optional<VmiInfo> info = ParseVmi(vmi, error);
    Check(info.has_value() || read.vms_error == error, "a refused VMI gave another reason");
    game = info && info->game;
  } else {
    VmsQuestions questions;
    if ((choice & kNoAnswer) == 0) {
      questions.game = [choice] { return std::optional<bool>((choice & kGameAnswer) != 0); };
    }
    VmiInfo stamped;
    stamped.year = 2026;
    stamped.month = 12;
    stamped.day = 9;
    read = SaveFileFromLoneVms(vms, "SAVE.VMS", stamped, questions);
    const VmsKind kind = RecogniseVmsKind(vms);
    game = kind == VmsKind::kUnclear ? (choice & kGameAnswer) != 0 : kind == VmsKind::kGame;
  }
  if (read.status != DciImportResult::File::kOk) {
    Check(read.vms_error != VmsError::kNone && !read.culprit.empty(),
          "a refused VMS came without its reason");
    return;
  }
  Check(read.bytes.size() == kDciEntrySize + vms.size(), "a read save is not its VMS's blocks");
  DirEntry entry;
  std::copy_n(read.bytes.begin(), kDciEntrySize, entry.begin());
  Check(IsGameEntry(entry) == game, "a read save is a game when its VMS was data, or the reverse");
  VmiInfo written;
  Bytes again;
  VmsFromSave(read.bytes, "SAVE", written, again);
  Check(std::equal(again.begin(), again.end(), vms.begin(), vms.end()),
        "a read save written back as a VMS differs from it");

  MemoryCard& target = ReusedCard(0);
  target.Reset(EmptyCardImage());
  Check(LoadCard(target.card()) == LoadResult::kLoaded, "the empty card does not load");
  const StoreResult stored = ImportSaveCommand(target.card(), read.bytes, FixedAnswers(false));
  CheckImportOntoEmptyCard(target, read.bytes, stored.Stored());
}
