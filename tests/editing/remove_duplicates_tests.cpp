#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <string>
#include <vector>

#include "editing/remove_duplicates.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

TPatchSubFrame Frame(std::string bytes, int width = 1, int height = 1) {
  TPatchSubFrame frame{std::uint16_t(height), std::uint16_t(width), 0, 0, 0, 0, kFormatIndexed, 255, 0, {}};
  frame.Pixels.assign(bytes.begin(), bytes.end());
  return frame;
}

TPatchFrame Shape(std::vector<TPatchSubFrame> frames, TKSScript script = {}) {
  return {0, -1, std::move(frames), std::move(script)};
}

TPatchFrame With(TPatchFrame shape, void (*change)(TPatchFrame&)) {
  change(shape);
  return shape;
}

// Each row lists shapes and the original positions of the survivors, which
// ReplacementIndex (never compared) carries through the scan.
TEST(RemoveDuplicates, KeepsTheFirstOfEachGroupInOrder) {
  const TPatchFrame p = Shape({Frame("pic")});
  const TPatchFrame furre = With(p, [](TPatchFrame& s) { s.Frames[0].FurrePosY = -1; });
  const TPatchFrame object = With(p, [](TPatchFrame& s) { s.Frames[0].ShapePosX = 1; });
  const TPatchFrame flags = With(p, [](TPatchFrame& s) { s.Flags = 0x100; });
  const TPatchFrame png = With(p, [](TPatchFrame& s) { s.Frames[0].Encoding = 1, s.Frames[0].Opacity = 0; });
  const TKSScript one{{1, 0, 0}}, two{{1, 1, 0}};
  std::vector<TPatchFrame> eleven;
  for (int i = 0; i < 11; ++i) eleven.push_back(Shape({Frame(std::to_string(i == 5 || i == 9 ? 2 : i))}));
  const struct {
    std::vector<TPatchFrame> Shapes;
    TDedupeOptions Options;
    std::vector<int> Survivors;
  } cases[] = {
      {eleven, {}, {0, 1, 2, 3, 4, 6, 7, 8, 10}},
      {{Shape({Frame(std::string(16, 'q'), 2, 8)}), Shape({Frame(std::string(16, 'q'), 4, 4)})}, {}, {0}},
      {{Shape({Frame("ab"), Frame("c")}), Shape({Frame("abc")})}, {}, {0}},
      {{Shape({Frame("abc")}), Shape({Frame("abc"), Frame("")}), Shape({Frame("ab")})}, {}, {0, 2}},
      {{Shape({}), p, Shape({}), Shape({Frame("")})}, {}, {0, 1}},
      {{p, png}, {true, true, true, true}, {0}},
      // Each option compares the fields its caption names, and only those.
      {{p, furre, object, flags}, {}, {0}},
      {{p, furre, object, flags}, {false, true, false, false}, {0, 1}},
      {{p, furre, object, flags}, {false, false, true, false}, {0, 2}},
      {{p, flags, furre}, {true, false, false, false}, {0, 1}},
      // C meets A first; their scripts differ, so C stays without a look at B.
      {{Shape({Frame("P")}, one), Shape({Frame("P")}, two), Shape({Frame("P")}, two)},
       {.KitterSpeak = true},
       {0, 1, 2}},
      {{Shape({Frame("P")}, one), Shape({Frame("P")}, two), Shape({Frame("P")}, one)},
       {.KitterSpeak = true},
       {0, 1}},
      {{Shape({Frame("P")}, one), Shape({Frame("P")}, two)}, {}, {0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    TShapeList list = c.Shapes;
    for (std::size_t i = 0; i < list.size(); ++i) list[i].ReplacementIndex = std::int16_t(i);
    EXPECT_EQ(RemoveDuplicateShapes(list, c.Options), int(c.Shapes.size() - c.Survivors.size()));
    std::vector<int> survivors;
    for (const auto& shape : list) survivors.push_back(shape.ReplacementIndex);
    EXPECT_EQ(survivors, c.Survivors);
  }
}

std::string IndependentSha1(const test::Bytes& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha1(), nullptr);
  std::string hex;
  for (unsigned int i = 0; i < length; ++i)
    hex += "0123456789abcdef"[digest[i] >> 4], hex += "0123456789abcdef"[digest[i] & 15];
  return hex;
}

TEST(DedupeDigest, IsTheSha1OfTheWholeByteSequence) {
  TPatchFrame shape = Shape({Frame("ab"), Frame(""), Frame("xyz")}, {{1, -2, 300}, {-1, 0, 7}});
  shape.Flags = 0xA51F;
  shape.Frames[0] = {0, 0, 5, -32768, -2, 0x1234, 1, 255, 0, shape.Frames[0].Pixels};
  shape.Frames[2].FurrePosX = 1, shape.Frames[2].ShapePosY = 2;
  TFrameComparator all, plain, empty;
  all.Prepare(shape, {true, true, true, true});
  plain.Prepare(shape, {});
  empty.Prepare(TPatchFrame{}, {});
  // clang-format off
  EXPECT_EQ(all.PictureDigest(), IndependentSha1(test::ByteBuilder().U16(0xA51F)
      .Text("ab").I16(-2).I16(0x1234).I16(5).I16(-32768)
      .I16(0).I16(0).I16(0).I16(0)
      .Text("xyz").I16(1).I16(0).I16(0).I16(2)));
  // clang-format on
  EXPECT_EQ(all.ScriptDigest(),
            IndependentSha1(test::ByteBuilder().I16(1).I16(-2).I16(300).I16(-1).I16(0).I16(7)));
  EXPECT_EQ(plain.PictureDigest(), IndependentSha1(test::ByteBuilder().Text("abxyz")));
  EXPECT_EQ(plain.ScriptDigest(), all.ScriptDigest());
  EXPECT_EQ(empty.PictureDigest(), IndependentSha1({}));
  EXPECT_EQ(empty.ScriptDigest(), IndependentSha1({}));
}

TEST(RemoveDuplicates, MessageReportsTheCountsOnThreeLines) {
  EXPECT_EQ(DuplicateRemovalMessage(120, 117),
            (TMessage{"Duplicate Removal", "Before: 120\nAfter: 117\nRemoved 3 objects.",
                      TMsgIcon::Information, TMsgButtons::Ok}));
}

}  // namespace
}  // namespace quillmere
