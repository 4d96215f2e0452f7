#include <gtest/gtest.h>

#include "model/patch_frame.h"

namespace quillmere::test {

// Copies share their bytes until one of them is edited; the edit then never
// shows through another copy, and a payload nobody else sees is edited in place.
TEST(Payload, CopiesShareBytesUntilEdited) {
  TPayload original{1, 2, 3};
  TPayload copy = original;
  EXPECT_TRUE(copy.SharesBytesWith(original));
  EXPECT_FALSE(original.Unshared());

  copy.Edit()[0] = 9;
  EXPECT_FALSE(copy.SharesBytesWith(original));
  EXPECT_EQ(original, (ByteBuffer{1, 2, 3}));
  EXPECT_EQ(copy, (ByteBuffer{9, 2, 3}));
  EXPECT_TRUE(original.Unshared() && copy.Unshared());

  const std::uint8_t* before = copy.data();
  copy.Edit().push_back(4);
  copy.Edit()[1] = 8;
  EXPECT_EQ(copy, (ByteBuffer{9, 8, 3, 4}));
  EXPECT_EQ(copy.size(), 4u);
  EXPECT_TRUE(copy.data() == before || copy.Unshared());

  // Whole frames and shapes copy their metadata and share their pixels.
  TPatchFrame shape;
  shape.Frames.push_back({.Width = 3, .Pixels = {5, 6, 7}});
  TPatchFrame copied = shape;
  EXPECT_TRUE(copied.Frames[0].Pixels.SharesBytesWith(shape.Frames[0].Pixels));
  copied.Frames[0].Pixels.Edit()[2] = 0;
  EXPECT_EQ(shape.Frames[0].Pixels, (ByteBuffer{5, 6, 7}));
  EXPECT_NE(copied, shape);
}

// Equal bytes are equal whether shared or not; an empty payload holds no
// buffer, reads as empty and can be edited into one.
TEST(Payload, ComparesBytesAndStartsEmpty) {
  const TPayload a{1, 2}, b(ByteBuffer{1, 2}), c{1, 3};
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_FALSE(a.SharesBytesWith(b));

  TPayload empty;
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(empty, TPayload(ByteBuffer{}));
  EXPECT_EQ(empty.begin(), empty.end());
  EXPECT_FALSE(empty.SharesBytesWith(TPayload()));
  empty.Edit().assign({7});
  EXPECT_EQ(empty.at(0), 7);
  empty = ByteBuffer{};
  EXPECT_TRUE(empty.empty() && empty.Unshared());
}

}  // namespace quillmere::test
