// Random edits on the document and on a plain byte vector must always agree, and undoing
// every step must lead back through the same states.
#include <gtest/gtest.h>

#include <random>

#include "hex_test_util.h"
#include "hexedit/hex_document.h"

namespace quorvel {
namespace {

using testing_util::Bytes;
using testing_util::DataOf;
using testing_util::Load;
using testing_util::ScratchDir;
using testing_util::Sequence;

// The trivial twin: the same operations written directly on a vector.
void InsertNibble(Bytes& b, std::size_t index) {
  std::vector<int> nibbles;
  for (const auto byte : b) {
    nibbles.push_back(byte >> 4);
    nibbles.push_back(byte & 15);
  }
  nibbles.insert(nibbles.begin() + static_cast<std::ptrdiff_t>(index), 0);
  nibbles.push_back(0);
  b.assign(nibbles.size() / 2, 0);
  for (std::size_t i = 0; i < b.size(); ++i)
    b[i] = static_cast<std::uint8_t>(nibbles[2 * i] << 4 | nibbles[2 * i + 1]);
}

void DeleteNibble(Bytes& b, std::size_t index) {
  std::vector<int> nibbles;
  for (const auto byte : b) {
    nibbles.push_back(byte >> 4);
    nibbles.push_back(byte & 15);
  }
  nibbles.erase(nibbles.begin() + static_cast<std::ptrdiff_t>(index));
  nibbles.pop_back();
  b.assign(nibbles.size() / 2, 0);
  for (std::size_t i = 0; i < b.size(); ++i)
    b[i] = static_cast<std::uint8_t>(nibbles[2 * i] << 4 | nibbles[2 * i + 1]);
}

class Twin {
 public:
  explicit Twin(std::uint32_t seed) : random_(seed) {}

  std::int64_t Pick(std::int64_t low, std::int64_t high) {  // inclusive
    return std::uniform_int_distribution<std::int64_t>(low, high)(random_);
  }
  Bytes RandomBytes() {
    Bytes bytes(static_cast<std::size_t>(Pick(1, Pick(0, 9) == 0 ? 3000 : 6)));
    for (auto& b : bytes) b = static_cast<std::uint8_t>(Pick(0, 255));
    return bytes;
  }
  void RandomSelection(HexDocument& doc) {
    const std::int64_t a = Pick(0, doc.Size() - 1);
    const std::int64_t b = std::min(doc.Size() - 1, a + Pick(0, 40));
    doc.Select(a, b);
  }

  // Applies one random edit to both; returns whether the document took it.
  bool Step(HexDocument& doc, Bytes& model) {
    const auto size = static_cast<std::int64_t>(model.size());
    const auto at = [](std::int64_t i) { return static_cast<std::ptrdiff_t>(i); };
    switch (Pick(0, 7)) {
      case 0: {
        if (size == 0) return false;
        const std::int64_t p = Pick(0, size - 1);
        const auto v = static_cast<std::uint8_t>(Pick(0, 255));
        if (v == model[p]) return false;
        model[p] = v;
        return doc.ReplaceByte(p, v);
      }
      case 1: {
        const Bytes bytes = RandomBytes();
        const std::int64_t p = Pick(0, size);
        model.insert(model.begin() + at(p), bytes.begin(), bytes.end());
        return doc.InsertBuffer(bytes, p);
      }
      case 2: {
        const Bytes bytes = RandomBytes();
        model.insert(model.end(), bytes.begin(), bytes.end());
        return doc.AppendBuffer(bytes);
      }
      case 3: {
        if (size == 0) return false;
        RandomSelection(doc);
        const auto& s = *doc.GetSelection();
        model.erase(model.begin() + at(s.first), model.begin() + at(s.last + 1));
        return doc.DeleteSelection();
      }
      case 4: {
        if (size == 0) return false;
        RandomSelection(doc);
        const auto& s = *doc.GetSelection();
        const Bytes bytes = RandomBytes();
        model.erase(model.begin() + at(s.first), model.begin() + at(s.last + 1));
        model.insert(model.begin() + at(s.first), bytes.begin(), bytes.end());
        return doc.ReplaceSelection(bytes);
      }
      case 5: {
        const std::int64_t p = Pick(0, size);
        const bool high = p == size || Pick(0, 1) == 0;
        InsertNibble(model, static_cast<std::size_t>(2 * p + (high ? 0 : 1)));
        return doc.InsertNibble(p, high);
      }
      case 6: {
        if (size == 0) return false;
        const std::int64_t p = Pick(0, size - 1);
        const bool high = Pick(0, 1) == 0;
        DeleteNibble(model, static_cast<std::size_t>(2 * p + (high ? 0 : 1)));
        return doc.DeleteNibble(p, high);
      }
      default: {
        if (size == 0) return false;
        const std::int64_t p = Pick(0, size - 1);
        model.erase(model.begin() + at(p));
        return doc.DeleteByte(p);
      }
    }
  }

 private:
  std::mt19937 random_;
};

class TwinTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(TwinTest, RandomEditsAndUndoAgreeWithAVector) {
  ScratchDir dir;
  HexDocument doc;
  Bytes model = Sequence(300, 11);
  Load(doc, dir, model);
  Twin twin(GetParam());
  std::vector<Bytes> history;  // the model before each step the document still can undo
  for (int step = 0; step < 160; ++step) {
    const Bytes before = model;
    if (!twin.Step(doc, model)) {
      model = before;
      continue;
    }
    history.push_back(before);
    if (history.size() > UndoList::kCapacity) history.erase(history.begin());
    ASSERT_EQ(doc.Size(), static_cast<std::int64_t>(model.size())) << "step " << step;
    ASSERT_EQ(DataOf(doc), model) << "step " << step;
    if (twin.Pick(0, 5) == 0) {  // undo now and then in the middle
      ASSERT_TRUE(doc.Undo());
      model = history.back();
      history.pop_back();
      ASSERT_EQ(DataOf(doc), model) << "undo after step " << step;
    }
  }
  while (!history.empty()) {
    ASSERT_TRUE(doc.Undo());
    ASSERT_EQ(DataOf(doc), history.back());
    history.pop_back();
  }
  EXPECT_FALSE(doc.Undo());
}

TEST_P(TwinTest, RandomTypingInBothModesAgreesWithAVector) {
  ScratchDir dir;
  HexDocument doc;
  Bytes model = Sequence(40, 0x40);
  Load(doc, dir, model);
  doc.SetAllowInsertMode(true);
  Twin twin(GetParam());
  for (int step = 0; step < 300; ++step) {
    const Caret caret = doc.GetCaret();
    const auto p = static_cast<std::size_t>(caret.position);
    const bool insert = doc.InsertMode();
    const int action = static_cast<int>(twin.Pick(0, 9));
    if (action == 0) {
      doc.HandleKey(HexKey::kInsert);
    } else if (action == 1) {
      doc.Seek(twin.Pick(0, static_cast<std::int64_t>(model.size()) - 1), 0, true);
      if (twin.Pick(0, 1) == 0) doc.HandleKey(HexKey::kRight);
    } else if (action == 2 && insert && p > 0) {
      doc.HandleKey(HexKey::kBackspace);
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(p) - 1);
    } else if (caret.field == CaretField::kHex) {
      const int digit = static_cast<int>(twin.Pick(0, 15));
      doc.TypeCharacter(U"0123456789abcdef"[digit]);
      if (!insert || caret.nibble == 1) {
        model[p] = static_cast<std::uint8_t>(caret.nibble == 0 ? (model[p] & 0x0F) | digit << 4
                                                               : (model[p] & 0xF0) | digit);
        if (insert && p + 1 == model.size()) model.push_back(0);
      } else {
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(p),
                     static_cast<std::uint8_t>(digit << 4));
      }
    }
    ASSERT_EQ(DataOf(doc), model) << "step " << step;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, TwinTest, ::testing::Values(1u, 2u, 3u, 42u, 2024u));

}  // namespace
}  // namespace quorvel
