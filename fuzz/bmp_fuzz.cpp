// Fuzz target: any bytes as a BMP picture chosen as a card icon. The reader either refuses it
// and leaves the picture as it was, or takes it; a picture taken, written as the program's
// own BMP and read again, is the same picture.
#include "card/bmp_file.h"
#include "demo_cards.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

std::vector<Bytes> bmpFuzzSeeds() {
  std::vector<Bytes> seeds;
  IconImage picture = demo::NoIconPicture();
  const auto encoded = EncodeIconBmp(picture);
  seeds.emplace_back(encoded.begin(), encoded.end());
  // The same picture with RLE8 compression: each row one encoded run per pixel, then the
  // end-of-line mark, and the end-of-bitmap mark at the end.
  Bytes rle(encoded.begin(), encoded.begin() + kIconBmpPixelOffset);
  for (int row = 0; row < kIconSide; ++row) {
    for (int x = 0; x < kIconSide; ++x) {
      rle.push_back(1);
      rle.push_back(picture.Pixels()[static_cast<std::size_t>(row * kIconSide + x)]);
    }
    rle.insert(rle.end(), {0, 0});
  }
  rle.insert(rle.end(), {0, 1});
  rle[30] = 1;  // compression: RLE8
  seeds.push_back(rle);
  return seeds;
}

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(bmp, 4096) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  IconImage image;
  image.bytes.fill(0xA5);
  const IconImage untouched = image;
  if (DecodeIconBmp(input, image) != BmpReadResult::kOk) {
    Check(image.bytes == untouched.bytes, "a refused picture changed the image");
    return;
  }
  const auto written = EncodeIconBmp(image);
  IconImage again;
  Check(DecodeIconBmp(written, again) == BmpReadResult::kOk, "the program's own BMP is refused");
  Check(again.bytes == image.bytes, "a picture written and read again differs");
}
