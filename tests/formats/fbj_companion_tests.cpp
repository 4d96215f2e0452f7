#include <gtest/gtest.h>

#include <array>

#include "formats/fbj_companion.h"
#include "formats/fsh_format.h"
#include "interface/messages.h"
#include "interface/scripted_user_interface.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

using namespace test;
using TFBJData = std::vector<std::array<int, 3>>;  // flags, furre X, furre Y of each shape

TPatchFrame Shape(std::uint16_t flags, std::int16_t x, std::int16_t y, std::int16_t replacement = -1) {
  return {flags, replacement, {{1, 1, 0, 0, x, y, kFormatIndexed, 255, kEncodingRaw, {0x11}}}, {}};
}

// Two 1 x 1 shapes in an FSH file, or in an FS2 file one for each replacement
// index given, are read with the FBJ beside them.
TEST(FBJRead, SignatureVersionAndRecordsDecideFlags) {
  const Bytes two = {0x1C, 0x03, 0xFE, 0x01};
  // Records of every length, with flag bytes either side of where the furre
  // bytes a skipped record holds change (7/8, 23/24).
  const Bytes eight = {0x08, 0x61, 0x07, 0x1C, 3, 0xFE, 0x18, 0x61, 0x62, 0x0A, 7, 0x17, 0x62, 0x10, 0x64, 1};
  const TFBJData none = {{0, 0, 0}, {0, 0, 0}}, used = {{0x1C, 3, -2}, {1, 0, 0}};
  const TMessage newer = MakeMessage(TMsgId::FBJNewer), bad = MakeMessage(TMsgId::FBJUnrecognised);
  // clang-format off
  struct { const char* Head; Bytes Records; std::vector<int> FS2; TMsgAnswer Answer; TFBJData Want;
           std::vector<TMessage> Shown = {}; } const cases[] = {
      {"FO01", two, {}, TMsgAnswer::Yes, used},
      {"FO00", two, {}, TMsgAnswer::Yes, none},
      {"FO02", two, {}, TMsgAnswer::Yes, used, {newer}},
      {"FO02", two, {}, TMsgAnswer::No, none, {newer}},
      {"FX01", two, {}, TMsgAnswer::Yes, none, {bad}},
      {"FOx1", two, {}, TMsgAnswer::Yes, none, {bad}},
      {"FO1x", two, {}, TMsgAnswer::Yes, none, {bad}},
      // The flag byte is signed; its furre bits still decide what follows.
      {"FO01", {0x80, 0x88, 0x7F}, {}, TMsgAnswer::Yes, {{0xFF80, 0, 0}, {0xFF88, 127, 0}}},
      // Records missing at the end, or cut short, read as 0.
      {"FO01", {0x05}, {}, TMsgAnswer::Yes, {{5, 0, 0}, {0, 0, 0}}},
      {"FO01", {0x01, 0x18, 0x09}, {}, TMsgAnswer::Yes, {{1, 0, 0}, {0x18, 9, 0}}},
      // FS2: the replacement index picks the record; -1 lies beyond any FBJ.
      {"FO01", eight, {3, 5}, TMsgAnswer::Yes, {{0x1C, 3, -2}, {0x0A, 7, 0}}},
      {"FO01", eight, {7, -1}, TMsgAnswer::Yes, {{0x10, 0, 0x64}, {0, 0, 0}}},
      // An index not above the records already consumed takes the next one.
      {"FO01", eight, {3, 3, 1}, TMsgAnswer::Yes, {{0x1C, 3, -2}, {0x18, 0x61, 0x62}, {0x0A, 7, 0}}},
      // A skipped record's length follows its furre bits also above 31.
      {"FO01", {0x88, 0x05, 0x01}, {2}, TMsgAnswer::Yes, {{1, 0, 0}}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    TempDir dir;
    const std::string file = dir.File(c.FS2.empty() ? "obj.fsh" : "obj.fs2");
    TShapeList shapes(c.FS2.empty() ? 2 : 0, Shape(0, 0, 0));
    for (int index : c.FS2) shapes.push_back(Shape(0, 0, 0, static_cast<std::int16_t>(index)));
    ScriptedUserInterface ui({c.Answer});
    ASSERT_TRUE(SaveFSHFile(file, shapes, ui, TSaveOptions{false}));
    WriteFile(dir.File("obj.fbj"), ByteBuilder().Text(c.Head).U32(0).Raw(c.Records));
    EXPECT_TRUE(LoadFSHFile(file, shapes, ui, !c.FS2.empty()).Whole());
    TFBJData data;
    for (const auto& s : shapes) data.push_back({s.Flags, s.Frames[0].FurrePosX, s.Frames[0].FurrePosY});
    EXPECT_EQ(data, c.Want);
    EXPECT_EQ(MessagesOf(ui), c.Shown);
  }
}

}  // namespace
}  // namespace quillmere
