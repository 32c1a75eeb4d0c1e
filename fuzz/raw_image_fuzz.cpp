// Fuzz target: any bytes as a whole-card image file of unknown byte order, as an image is
// opened: its order recognised from its root block (and its name), then loaded in that order.
// An input shorter than a card is blocks laid onto an empty card kept in the card's own order
// (as the card targets read theirs), so that small inputs reach the root, FAT and directory. The
// order found from the root does not depend on the name; without the format marker the name
// decides. Converted into the other order and back the image is the same; and the image loads
// exactly as its DCM form (the image converted to the link's order) does: the same result, root,
// FAT, listing, save records, check findings and the blocks of every listed save.
#include <algorithm>
#include <array>
#include <bitset>
#include <filesystem>
#include <string>

#include "card/block_io.h"
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

// The empty card's DCM form when its image file is in `order`: converted once, and converted
// back it is the image again.
const Bytes& EmptyDcmForm(ImageOrder order) {
  static const std::array<Bytes, 2> forms = [] {
    std::array<Bytes, 2> made;
    for (const ImageOrder from : {ImageOrder::kCard, ImageOrder::kLink}) {
      Bytes& dcm = made[from == ImageOrder::kCard ? 0 : 1];
      dcm = EmptyRawImage();
      ConvertImageOrder(dcm, from, ImageOrder::kLink);
      Bytes back = dcm;
      ConvertImageOrder(back, ImageOrder::kLink, from);
      Check(back == EmptyRawImage(), "converting the empty image there and back changed it");
    }
    return made;
  }();
  return forms[order == ImageOrder::kCard ? 0 : 1];
}

bool SameRecords(const CardImage& a, const CardImage& b) {
  return std::equal(a.records.begin(), a.records.end(), b.records.begin(),
                    [](const SaveRecord& x, const SaveRecord& y) {
                      return x.entry == y.entry && x.size == y.size && x.date == y.date &&
                             x.time == y.time && x.current_frame == y.current_frame &&
                             x.first_block == y.first_block && x.icon_count == y.icon_count &&
                             x.header_in_second_block == y.header_in_second_block &&
                             x.name == y.name && x.description == y.description &&
                             x.header_text == y.header_text;
                    });
}

// The blocks the chains of the listed saves reach (as far as each save's size), each once.
std::bitset<kCardBlocks> ListedSaveBlocks(const CardImage& card) {
  std::bitset<kCardBlocks> reached;
  for (int k = 0; k < card.listed_count; ++k) {
    const SaveRecord& save = card.records[card.list_order[k]];
    std::uint16_t block = save.first_block;
    for (std::size_t n = 0; n < save.size && block < kCardBlocks; ++n) {
      reached.set(block);
      block = card.fat[block];
    }
  }
  return reached;
}

}  // namespace

std::vector<Bytes> raw_imageFuzzSeeds() {
  const Bytes& empty = EmptyRawImage();
  std::vector<Bytes> seeds;
  // Every seed card in the card's own order (as raw images keep it), as blocks laid onto the
  // empty card in that order, and one in the link's order.
  for (const Bytes& card : SeedCards()) {
    Bytes raw = card;
    ConvertImageOrder(raw, ImageOrder::kLink, ImageOrder::kCard);
    seeds.push_back(ShortCardInput(raw, empty, true));
  }
  seeds.push_back(ShortCardInput(SeedCards()[1], empty, true));
  Bytes root{kRootBlock};
  root.insert(root.end(), empty.end() - kBlockSize, empty.end());
  seeds.push_back(std::move(root));
  return seeds;
}

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(raw_image, quorvel::fuzz::kShortCardMaxLength) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  // The image as the file holds it, laid into the card-order card; opened in the link's order
  // it is copied into the link-order card.
  static MemoryCard file(EmptyRawImage(), ImageOrder::kCard);
  static MemoryCard file_in_link_order(EmptyCardImage(), ImageOrder::kLink);
  ResetFromInput(file, input, EmptyRawImage());
  const Bytes& image = file.bytes();
  const std::span<const std::uint8_t, kBlockSize> root(
      image.data() + std::size_t{kRootBlock} * kBlockSize, kBlockSize);
  static const std::filesystem::path raw_name("card.bin");
  static const std::filesystem::path dcm_name("card.dcm");
  const RecognisedOrder as_raw = RecogniseOrder(root, raw_name);
  const RecognisedOrder as_dcm = RecogniseOrder(root, dcm_name);
  Check(as_raw.found_by == as_dcm.found_by, "the name changed how the order was found");
  if (as_raw.found_by == OrderSource::kRootBlock) {
    Check(as_raw.order == as_dcm.order, "the name changed the order the root block gave");
  } else if (as_raw.found_by == OrderSource::kFileName) {
    Check(as_raw.order == ImageOrder::kCard && as_dcm.order == ImageOrder::kLink,
          "an unformatted card's order is not its name's");
  }
  if (!as_raw.Recognised()) return;
  const ImageOrder order = as_raw.order;

  // The DCM form: the conversion works block by block, so the blocks the input left as the
  // empty card's are those of the empty card's DCM form (converted once, and checked to come
  // back the same), and only the blocks laid are converted here, each there and back.
  MemoryCard& reference = ReusedCard(0);
  reference.Reset(EmptyDcmForm(order));
  const std::bitset<kCardBlocks> laid = LaidBlocks(input);
  for (std::size_t block = 0; block < kCardBlocks; ++block) {
    if (!laid.test(block)) continue;
    const Input as_file = Input(image).subspan(block * kBlockSize, kBlockSize);
    Block converted;
    std::copy(as_file.begin(), as_file.end(), converted.begin());
    ConvertImageOrder(converted, order, ImageOrder::kLink);
    reference.Overwrite(block * kBlockSize, converted);
    ConvertImageOrder(converted, ImageOrder::kLink, order);
    Check(std::equal(converted.begin(), converted.end(), as_file.begin()),
          "converting the image there and back changed it");
  }

  MemoryCard& opened = order == ImageOrder::kCard ? file : file_in_link_order;
  if (&opened != &file) opened.Reset(image);
  CardImage& a = opened.card();
  CardImage& b = reference.card();
  const LoadResult loaded = LoadCard(a);
  Check(loaded == LoadCard(b), "the image and its DCM form load differently");
  Check(a.root == b.root && a.fat == b.fat, "the image and its DCM form differ in root or FAT");
  if (loaded != LoadResult::kLoaded) return;
  Check(a.listed_count == b.listed_count && a.list_order == b.list_order &&
            a.free_blocks == b.free_blocks && SameRecords(a, b),
        "the image and its DCM form list other saves");
  Check(a.system_chain_repaired == b.system_chain_repaired && a.io_error == b.io_error,
        "the image and its DCM form differ in the load's flags");
  // The check reads nothing but the model (root, FAT, flags and records), compared whole
  // above: the same model gives the same findings. The replay, run by CTest, compares their
  // texts. The fuzzer walks the image's card as the check does before every write (every
  // chain, the directory and the lost blocks; only the first fault's text is built): the
  // texts of all findings are card_image's, which checks every card it loads, and the DCM
  // form of an input here is such a card.
#ifdef QUORVEL_LIBFUZZER
  UnsafeStructure(a);
#else
  Check(CheckCard(a) == CheckCard(b), "the image and its DCM form check differently");
#endif
  // The listings and FATs are the same, so the saves' chains reach the same blocks: each is
  // read once from both, however many saves share it.
  const std::bitset<kCardBlocks> reached = ListedSaveBlocks(a);
  for (int block = 0; block < kCardBlocks; ++block) {
    if (!reached.test(block)) continue;
    Block in_image{};
    Block in_dcm{};
    const bool read = ReadBlock(a, static_cast<std::uint8_t>(block), in_image);
    Check(read == ReadBlock(b, static_cast<std::uint8_t>(block), in_dcm) && in_image == in_dcm,
          "a save of the image differs from the same save of its DCM form");
  }
}
