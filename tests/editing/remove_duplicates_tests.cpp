#include <openssl/evp.h>

#include <cstdio>

#include "editing/remove_duplicates.h"
#include "support/frames.h"
#include "support/message_printing.h"

namespace quillmere::test {

static TPatchSubFrame F(std::string_view pixels) { return Frame(1, 1, 1, {pixels.begin(), pixels.end()}); }

// Each row lists shapes and the original positions of the survivors, which
// ReplacementIndex (never compared) carries through the scan.
TEST(RemoveDuplicates, KeepsTheFirstOfEachGroupInOrder) {
  const TPatchFrame p = Shape({F("pic")});
  TPatchFrame furre = p, object = p, flags = p;
  furre.Frames[0].FurrePosY = 0, object.Frames[0].ShapePosX = 0, flags.Flags = 0x100;
  const TPatchFrame a = Shape({F("P")}, {{1, 0, 0}}), b = Shape({F("P")}, {{1, 1, 0}});
  std::vector<TPatchFrame> eleven;
  for (int i = 0; i < 11; ++i) eleven.push_back(Shape({F(std::to_string(i == 5 || i == 9 ? 2 : i))}));
  const std::tuple<std::vector<TPatchFrame>, TDedupeOptions, std::vector<int>> cases[] = {
      {eleven, {}, {0, 1, 2, 3, 4, 6, 7, 8, 10}},
      // Neither the frames' sizes, encodings and opacities take part nor how
      // the bytes are split into frames.
      {{Shape({Frame(2, 8, 1, Bytes(16, 'q'))}), Shape({Frame(4, 4, 1, Bytes(16, 'q'), 1, 0)})}, {}, {0}},
      {{Shape({F("ab"), F("c")}), Shape({F("abc")})}, {}, {0}},
      {{Shape({}), p, Shape({}), Shape({F("")})}, {}, {0, 1}},
      // Each option compares the fields its caption names, and only those.
      {{p, furre, object, flags}, {.FurrePosition = true}, {0, 1}},
      {{p, furre, object, flags}, {.ObjectPosition = true}, {0, 2}},
      {{p, furre, object, flags}, {.Flags = true}, {0, 3}},
      // The third meets the first before the second; their scripts differ, so
      // it stays without a look at the second. The fourth repeats the first.
      {{a, b, b, a}, {.KitterSpeak = true}, {0, 1, 2}},
      {{a, b, b, a}, {}, {0}}};
  for (const auto& [shapes, options, expected] : cases) {
    TShapeList list = shapes;
    for (std::size_t i = 0; i < list.size(); ++i) list[i].ReplacementIndex = std::int16_t(i);
    EXPECT_EQ(RemoveDuplicateShapes(list, options), int(shapes.size() - expected.size()))
        << ::testing::PrintToString(expected);
    std::vector<int> survivors;
    for (const auto& shape : list) survivors.push_back(shape.ReplacementIndex);
    EXPECT_EQ(survivors, expected);
  }
  EXPECT_EQ(DuplicateRemovalMessage(120, 117),
            (TMessage{"Duplicate Removal", "Before: 120\nAfter: 117\nRemoved 3 objects.",
                      TMsgIcon::Information, TMsgButtons::Ok}));
}

static std::string IndependentSha1(const Bytes& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  char hex[41] = {};
  EVP_Digest(bytes.data(), bytes.size(), digest, nullptr, EVP_sha1(), nullptr);
  for (int i = 0; i < 20; ++i) std::snprintf(hex + 2 * i, 3, "%02x", digest[i]);
  return hex;
}

// Every frame made by Frame() has ShapePos (3, -4) and FurrePos (5, -6).
TEST(DedupeDigest, IsTheSha1OfTheWholeByteSequence) {
  const TPatchFrame shape{0xA51F, -1, {F("ab"), F(""), F("xyz")}, {{1, -2, 300}, {-1, 0, 7}}};
  TFrameComparator all, plain;
  all.Prepare(shape, {true, true, true, true});
  plain.Prepare(shape, {});
  ByteBuilder bytes = ByteBuilder().U16(0xA51F);
  for (const char* pixels : {"ab", "", "xyz"}) bytes.Text(pixels).I16(5).I16(-6).I16(3).I16(-4);
  EXPECT_EQ(all.PictureDigest(), IndependentSha1(bytes));
  EXPECT_EQ(all.ScriptDigest(), IndependentSha1(ByteBuilder().I16(1).I16(-2).I16(300).I16(-1).I16(0).I16(7)));
  EXPECT_EQ(plain.PictureDigest(), IndependentSha1(ByteBuilder().Text("abxyz")));
}

}  // namespace quillmere::test
