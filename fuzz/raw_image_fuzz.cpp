// Fuzz target: any bytes as a whole-card image file of unknown byte order, as an image is
// opened: its order recognised from its root block (and its name), then loaded in that order.
// An input shorter than a card replaces the top of an empty card kept in the card's own order,
// so that small inputs reach the root, FAT and directory. The order found from the root does
// not depend on the name; without the format marker the name decides. Converted into the
// other order and back the image is the same; and the image loads exactly as its DCM form
// (the image converted to the link's order) does: the same result, root, FAT, listing, save
// records, check findings and the blocks of every listed save.
#include <algorithm>
#include <string>

#include "card/card_check.h"
#include "card/file_system.h"
#include "card/image_order.h"
#include "card_support.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {
namespace {

// The empty card in the card's own order.
const Bytes& EmptyRawImage() {
  static const Bytes image = [] {
    Bytes raw = EmptyCardImage();
    ConvertImageOrder(raw, ImageOrder::kLink, ImageOrder::kCard);
    return raw;
  }();
  return image;
}

Bytes FileImage(Input input) {
  if (input.size() >= kImageFileSize) return Bytes(input.begin(), input.begin() + kImageFileSize);
  Bytes image = EmptyRawImage();
  std::copy(input.begin(), input.end(), image.end() - static_cast<std::ptrdiff_t>(input.size()));
  return image;
}

bool SameRecords(const CardImage& a, const CardImage& b) {
  return std::equal(a.records.begin(), a.records.end(), b.records.begin(),
                    [](const SaveRecord& x, const SaveRecord& y) {
                      return x.entry == y.entry && x.size == y.size &&
                             x.first_block == y.first_block && x.icon_count == y.icon_count &&
                             x.header_in_second_block == y.header_in_second_block &&
                             x.name == y.name && x.description == y.description &&
                             x.header_text == y.header_text;
                    });
}

}  // namespace

std::vector<Bytes> raw_imageFuzzSeeds() {
  std::vector<Bytes> seeds;
  // Every seed card in the card's own order (as raw images keep it) and as it is.
  for (const Bytes& card : SeedCards()) {
    Bytes raw = card;
    ConvertImageOrder(raw, ImageOrder::kLink, ImageOrder::kCard);
    seeds.push_back(raw);
  }
  seeds.push_back(SeedCards()[1]);
  const Bytes& empty = EmptyRawImage();
  seeds.emplace_back(empty.end() - kBlockSize, empty.end());
  return seeds;
}

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(raw_image, quorvel::kImageFileSize) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  static Bytes image;
  image = FileImage(input);
  const std::span<const std::uint8_t, kBlockSize> root(
      image.data() + std::size_t{kRootBlock} * kBlockSize, kBlockSize);
  const RecognisedOrder as_raw = RecogniseOrder(root, "card.bin");
  const RecognisedOrder as_dcm = RecogniseOrder(root, "card.dcm");
  Check(as_raw.found_by == as_dcm.found_by, "the name changed how the order was found");
  if (as_raw.found_by == OrderSource::kRootBlock) {
    Check(as_raw.order == as_dcm.order, "the name changed the order the root block gave");
  } else if (as_raw.found_by == OrderSource::kFileName) {
    Check(as_raw.order == ImageOrder::kCard && as_dcm.order == ImageOrder::kLink,
          "an unformatted card's order is not its name's");
  }
  if (!as_raw.Recognised()) return;
  const ImageOrder order = as_raw.order;

  static Bytes dcm;
  dcm = image;
  ConvertImageOrder(dcm, order, ImageOrder::kLink);
  static Bytes back;
  back = dcm;
  ConvertImageOrder(back, ImageOrder::kLink, order);
  Check(back == image, "converting the image there and back changed it");

  static MemoryCard file(EmptyRawImage(), ImageOrder::kCard);
  static MemoryCard file_in_link_order(EmptyCardImage(), ImageOrder::kLink);
  MemoryCard& opened = order == ImageOrder::kCard ? file : file_in_link_order;
  opened.Reset(image);
  MemoryCard& reference = ReusedCard(0);
  reference.Reset(dcm);
  CardImage& a = opened.card();
  CardImage& b = reference.card();
  const LoadResult loaded = LoadCard(a);
  Check(loaded == LoadCard(b), "the image and its DCM form load differently");
  Check(a.root == b.root && a.fat == b.fat, "the image and its DCM form differ in root or FAT");
  if (loaded != LoadResult::kLoaded) return;
  Check(a.listed_count == b.listed_count && a.list_order == b.list_order &&
            a.free_blocks == b.free_blocks && SameRecords(a, b),
        "the image and its DCM form list other saves");
  Check(CheckCard(a) == CheckCard(b), "the image and its DCM form check differently");
  for (int k = 0; k < a.listed_count; ++k) {
    Check(SaveBlocks(a, a.list_order[k]) == SaveBlocks(b, b.list_order[k]),
          "a save of the image differs from the same save of its DCM form");
  }
}
