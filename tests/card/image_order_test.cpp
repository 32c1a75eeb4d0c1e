// Whole-card images in either byte order: recognising a file's order from its root block (or,
// unformatted, from its name), converting between the orders, and dumps and restores through
// files of either order; checked on built cards and on real cards made by other tools.
#include "card/image_order.h"

#include <gtest/gtest.h>

#include "card/block_io.h"
#include "card/card_fixture.h"
#include "card/dcm_file.h"
#include "card/file_system.h"
#include "card/work_files.h"

namespace quorvel {
namespace {

using test::CardBuilder;
using test::ReadFile;
using Bytes = std::vector<std::uint8_t>;

const std::filesystem::path kRealData = QUORVEL_REALDATA_DIR;
const char* const kRealCards[] = {"fuse-vmu/vmu_a.bin", "fuse-vmu/vmu_b.bin",
                                  "fuse-vmu/example_vmu.bin", "dreampotato/ReadFiles_01.vmu"};

Bytes Reordered(Bytes image) {
  ConvertImageOrder(image, ImageOrder::kLink, ImageOrder::kCard);
  return image;
}

RecognisedOrder Recognise(const Bytes& image, const std::string& name) {
  return RecogniseOrder(
      std::span(image).subspan(std::size_t{kRootBlock} * kBlockSize).first<kBlockSize>(), name);
}

TEST(ImageOrderNames, DcmIsLinkOrderAndEveryOtherNameCardOrder) {
  const std::pair<const char*, ImageOrder> cases[] = {{"a.dcm", ImageOrder::kLink},
                                                      {"A.DCM", ImageOrder::kLink},
                                                      {"dir.dcm/a.bin", ImageOrder::kCard},
                                                      {"a.bin", ImageOrder::kCard},
                                                      {"a.vmu", ImageOrder::kCard},
                                                      {"a.VMD", ImageOrder::kCard},
                                                      {"a", ImageOrder::kCard},
                                                      {"a.dcm.bak", ImageOrder::kCard}};
  for (const auto& [name, order] : cases) EXPECT_EQ(OrderForName(name), order) << name;
  EXPECT_TRUE(IsCardImageName("x.Vmu"));
  EXPECT_FALSE(IsCardImageName("x.dci"));
  EXPECT_FALSE(IsCardImageName("dcm"));
}

// A formatted card is recognised by its root whatever its name; an unformatted one (no marker
// in its root) takes its name's order; a root with the marker that reads as a card's in
// neither order is not guessed.
TEST(ImageOrderRecognition, RootDecidesAndTheNameOnlyForUnformattedFiles) {
  const Bytes link = CardBuilder(200).Bytes();
  Bytes odd_root(kImageFileSize, 0);
  std::fill_n(odd_root.begin() + std::size_t{kRootBlock} * kBlockSize, 16, 0x55);
  struct Case {
    const char* what;
    Bytes image;
    const char* name;
    ImageOrder order;
    OrderSource found_by;
  };
  const Case cases[] = {
      {"DCM named .dcm", link, "a.dcm", ImageOrder::kLink, OrderSource::kRootBlock},
      {"DCM named .bin", link, "a.bin", ImageOrder::kLink, OrderSource::kRootBlock},
      {"raw named .vmu", Reordered(link), "a.vmu", ImageOrder::kCard, OrderSource::kRootBlock},
      {"raw named .dcm", Reordered(link), "a.dcm", ImageOrder::kCard, OrderSource::kRootBlock},
      {"241 blocks raw", Reordered(CardBuilder(241).Bytes()), "a.bin", ImageOrder::kCard,
       OrderSource::kRootBlock},
      {"zeros .dcm", Bytes(kImageFileSize, 0), "a.dcm", ImageOrder::kLink, OrderSource::kFileName},
      {"zeros .bin", Bytes(kImageFileSize, 0), "a.bin", ImageOrder::kCard, OrderSource::kFileName},
      {"0xFF .vmd", Bytes(kImageFileSize, 0xFF), "a.vmd", ImageOrder::kCard,
       OrderSource::kFileName},
      {"0xFF .DCM", Bytes(kImageFileSize, 0xFF), "a.DCM", ImageOrder::kLink,
       OrderSource::kFileName},
      {"marker only", odd_root, "a.dcm", ImageOrder::kLink, OrderSource::kNeither},
  };
  for (const Case& c : cases) {
    const RecognisedOrder found = Recognise(c.image, c.name);
    EXPECT_EQ(found.found_by, c.found_by) << c.what;
    if (found.Recognised()) {
      EXPECT_EQ(found.order, c.order) << c.what;
    }
  }
}

class ImageFiles : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& name, const Bytes& bytes) {
    EXPECT_TRUE(ReplaceFileContents(dir / name, bytes));
    return dir / name;
  }
  test::TempDir dir;
};

TEST_F(ImageFiles, CheckGivesTheOrderAndRefusesWhatIsNoCard) {
  const Bytes link = CardBuilder(200).Bytes();
  ImageOrder order = ImageOrder::kLink;
  EXPECT_EQ(CheckImageFile(Write("raw.bin", Reordered(link)), &order), DcmError::kNone);
  EXPECT_EQ(order, ImageOrder::kCard);
  EXPECT_EQ(CheckImageFile(Write("dcm.bin", link), &order), DcmError::kNone);
  EXPECT_EQ(order, ImageOrder::kLink);
  EXPECT_EQ(CheckImageFile(Write("blank.vmu", Bytes(kImageFileSize, 0)), &order), DcmError::kNone);
  EXPECT_EQ(order, ImageOrder::kCard);

  Bytes marker_only(kImageFileSize, 0);
  std::fill_n(marker_only.begin() + std::size_t{kRootBlock} * kBlockSize, 16, 0x55);
  EXPECT_EQ(CheckImageFile(Write("odd.bin", marker_only)), DcmError::kUnknownOrder);
  Bytes image;
  EXPECT_EQ(ReadCardImage(dir / "odd.bin", ImageOrder::kCard, image), DcmError::kUnknownOrder);
  EXPECT_EQ(CheckImageFile(Write("short.vmu", Bytes(kImageFileSize - 512, 0))),
            DcmError::kWrongSize);
}

TEST_F(ImageFiles, ConvertWritesTheOrderOfTheOutputsName) {
  const Bytes link = CardBuilder(241).Bytes();
  Write("card.dcm", link);
  ASSERT_EQ(ConvertCardImage(dir / "card.dcm", dir / "card.vmu"), DcmError::kNone);
  EXPECT_EQ(ReadFile(dir / "card.vmu"), Reordered(link));
  ASSERT_EQ(ConvertCardImage(dir / "card.vmu", dir / "again.dcm"), DcmError::kNone);
  EXPECT_EQ(ReadFile(dir / "again.dcm"), link);
  // A file in the order its output asks for is copied unchanged.
  ASSERT_EQ(ConvertCardImage(dir / "card.dcm", dir / "copy.DCM"), DcmError::kNone);
  EXPECT_EQ(ReadFile(dir / "copy.DCM"), link);
  // An unformatted file goes by its name: zeros stay zeros, a pattern is reordered.
  Bytes pattern(kImageFileSize);
  for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<std::uint8_t>(i);
  Write("pattern.bin", pattern);
  ASSERT_EQ(ConvertCardImage(dir / "pattern.bin", dir / "pattern.dcm"), DcmError::kNone);
  EXPECT_EQ(ReadFile(dir / "pattern.dcm"), Reordered(pattern));
  EXPECT_EQ(ConvertCardImage(dir / "missing.dcm", dir / "x.bin"), DcmError::kCannotOpen);
  // New images from the (DCM) template take their name's order too.
  Write("dpnw.dc", link);
  ASSERT_EQ(CreateImageFromTemplate(dir / "dpnw.dc", dir / "new.vmu"), DcmError::kNone);
  EXPECT_EQ(ReadFile(dir / "new.vmu"), Reordered(link));
  ASSERT_EQ(CreateImageFromTemplate(dir / "dpnw.dc", dir / "new.dcm"), DcmError::kNone);
  EXPECT_EQ(ReadFile(dir / "new.dcm"), link);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.bin"));
}

// Slots behind a scripted link: a dump is written in its file's order and a restore reads a
// file of either order.
TEST_F(ImageFiles, DumpAndRestoreGoThroughFilesOfEitherOrder) {
  test::ScriptedSlots link;
  CardBuilder builder(200);
  builder.AddSave(0, "DATA________", {199, 198});
  link.cards[0] = builder.Bytes();
  link.cards[1] = CardBuilder(241).Bytes();
  CardEnvironment environment = test::SlotsEnvironment(link);
  CardImage slot1(kSourceSlot1, &environment);
  CardImage slot2(kSourceSlot2, &environment);
  ASSERT_EQ(DumpCardToFile(slot1, dir / "backup.bin"), DcmError::kNone);
  EXPECT_EQ(ReadFile(dir / "backup.bin"), Reordered(link.cards[0]));
  ASSERT_EQ(DumpCardToFile(slot1, dir / "backup.dcm"), DcmError::kNone);
  EXPECT_EQ(ReadFile(dir / "backup.dcm"), link.cards[0]);
  ASSERT_EQ(RestoreCardFromFile(slot2, dir / "backup.bin"), DcmError::kNone);
  EXPECT_EQ(link.cards[1], link.cards[0]);
  EXPECT_EQ(ImageFormatProblem(dir / "backup.bin"), "");
  EXPECT_EQ(ImageFormatProblem(Write("blank.bin", Bytes(kImageFileSize, 0))),
            "its root block has no format marker");
}

TEST_F(ImageFiles, RealRawCardsAreRecognisedInBothOrdersAndConvertBackUnchanged) {
  if (!std::filesystem::exists(kRealData)) GTEST_SKIP() << "no real card data";
  for (const char* name : kRealCards) {
    SCOPED_TRACE(name);
    const Bytes raw = ReadFile(kRealData / name);
    ASSERT_EQ(raw.size(), kImageFileSize);
    const Bytes link = Reordered(raw);
    for (const char* as : {"card.dcm", "card.bin"}) {
      EXPECT_EQ(Recognise(raw, as).order, ImageOrder::kCard) << as;
      EXPECT_EQ(Recognise(raw, as).found_by, OrderSource::kRootBlock) << as;
      EXPECT_EQ(Recognise(link, as).order, ImageOrder::kLink) << as;
      EXPECT_EQ(Recognise(link, as).found_by, OrderSource::kRootBlock) << as;
    }
    const auto in = kRealData / name;
    const auto dcm = dir / "card.dcm";
    const auto back = dir / ("back" + in.extension().string());
    ASSERT_EQ(ConvertCardImage(in, dcm), DcmError::kNone);
    EXPECT_EQ(ReadFile(dcm), link);
    ASSERT_EQ(ConvertCardImage(dcm, back), DcmError::kNone);
    EXPECT_EQ(ReadFile(back), raw);
    EXPECT_EQ(ImageFormatProblem(in), "");
  }
}

}  // namespace
}  // namespace quorvel
