// IdentifySave and SaveStillThere: the save a working file belongs to.
#include "card/save_identity.h"

#include "card/file_system.h"

namespace quorvel {

namespace {

bool Matches(const SaveRecord& record, const SaveIdentity& save) {
  return record.size != 0 && record.size == save.size && record.name == save.name &&
         record.first_block == save.first_block;
}

}  // namespace

SaveIdentity IdentifySave(const CardImage& card, std::size_t index) {
  const SaveRecord& record = card.records.at(index);
  return SaveIdentity{index, record.name, record.first_block, record.size};
}

bool SaveStillThere(const CardImage& card, const SaveIdentity& save) {
  if (save.index >= card.records.size() || !Matches(card.records[save.index], save)) {
    return false;
  }
  if (!card.IsSlot()) return true;  // the image file stays open, and only this program writes it
  CardImage fresh(card.source, card.env);
  return LoadCard(fresh) == LoadResult::kLoaded && Matches(fresh.records[save.index], save) &&
         fresh.fat == card.fat;
}

}  // namespace quorvel
