#include <gtest/gtest.h>

#include <numeric>
#include <ranges>
#include <set>
#include <string>
#include <vector>

#include "export/colour_remap.h"
#include "export/corva_ini.h"
#include "interface/platform_error.h"

namespace quillmere::embedded {
extern const std::string_view colour_map;
}  // namespace quillmere::embedded

namespace quillmere {
namespace {

// Colours 0.. of a slot recolour indices First..Last; colour 0 is Zero.
// clang-format off
struct TSlot { const char* Section; int Colours, First, Last; const char* Zero; };
constexpr TSlot kSlots[] = {{"Fur", 25, 199, 206, "FUR CAT GRAY"},
    {"Markings", 25, 136, 143, "MARKS CAT GRAY"}, {"Hair", 45, 128, 135, "HAIR BLOOD RED"},
    {"Eyes", 30, 50, 50, "EYES MAHOGANY"}, {"Badge", 40, 11, 11, "BADGE BLOOD RED"},
    {"Vest", 30, 72, 79, "VEST RED"}, {"Bracers", 30, 80, 87, "BRACER RED"}, {"Cape", 30, 32, 39, "CAPE RED"},
    {"Boots", 30, 16, 23, "BOOTS RED"}, {"Trousers", 30, 224, 231, "TROUSERS RED"}};
// clang-format on

TEST(ColourMap, ShippedMapHoldsTheSlotsAndTheSectionsTheyName) {
  const std::string_view text = embedded::colour_map;
  const TCorvaINIv2 map(text);
  std::set<std::string> named;
  for (const TSlot& slot : kSlots) {
    std::vector<std::string> colours;
    map.ReadSection(slot.Section, colours);
    EXPECT_TRUE(std::ssize(colours) == slot.Colours && map.ReadString(slot.Section, "0", "") == slot.Zero);
    // Every colour names its own section, which covers the slot's sources
    // (all found, none more) with targets 1 to 255: 0 is the transparent key.
    for (int colour = 0; colour < slot.Colours; ++colour) {
      const std::string name = map.ReadString(slot.Section, std::to_string(colour), "");
      std::vector<std::string> sources;
      map.ReadSection(name, sources);
      EXPECT_TRUE(named.insert(name).second && std::ssize(sources) == slot.Last - slot.First + 1) << name;
      for (int s = slot.First; s <= slot.Last; ++s)
        EXPECT_LT(map.ReadInteger(name, std::to_string(s), 0) - 1u, 255u) << name << " " << s;
    }
  }
  EXPECT_EQ(map.ReadString("Hair", "1", ""), "HAIR COURAGE RED");
  // 10 + 315 headers and no other "[", each after an empty line; CR LF
  // throughout; two comment lines first.
  auto count = [&](std::string_view s) { return std::ranges::distance(text | std::views::split(s)) - 1; };
  EXPECT_TRUE(count("[") == 325 && count("\r\n\r\n[") == 325 && count("\n") == count("\r\n"));
  EXPECT_TRUE(text.starts_with(';') && text.substr(text.find("\r\n") + 2).starts_with(';'));
}

TEST(CorvaIni, LooksUpIgnoringCaseWithoutTrimmingWithinSectionBounds) {
  // Mixed line ends; sections cut by the next "[" line and by an empty line.
  const TCorvaINIv2 ini(
      "[Alpha]\r\nName=one\nname=two\r\n Pad = 3 \r\nEmpty=\rA=b=c\r\n[beta]\r\nx=1\r\n\r\nafter=blank");
  // clang-format off
  const char* cases[][3] = {{"alpha", "NAME", "one"}, {"Alpha", " Pad ", " 3 "}, {"Alpha", "Pad", "-"},
      {"Alpha", "Empty", ""}, {"Alpha", "A", "b=c"}, {"Alpha", "x", "-"}, {"BETA", "X", "1"},
      {"beta", "after", "-"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(ini.ReadString(c[0], c[1], "-"), c[2]) << c[0] << "/" << c[1];
  std::vector<std::string> names{"kept"};
  ini.ReadSection("ALPHA", names);
  ini.ReadSection("None", names);
  EXPECT_EQ(names, (std::vector<std::string>{"kept", "Name", "name", " Pad ", "Empty", "A"}));
  EXPECT_EQ(ini.ReadInteger("Beta", "x", 7) + ini.ReadInteger("Beta", "after", 7), 8);
  EXPECT_EQ(ParseDecimalInteger("-3") * ParseDecimalInteger("+4"), -12);
  for (const char* bad : {" 5", "5 ", "", "+-1", "0x10", "2147483648"})
    EXPECT_THROW(ParseDecimalInteger(bad), PlatformError) << bad;
  try {
    ini.ReadInteger("Alpha", "Name", 0);
    ADD_FAILURE() << "no error for a text";
  } catch (const PlatformError& error) {
    EXPECT_STREQ(error.what(), "''one'' is not a valid integer value");
  }
}

TEST(ColourRemap, EachCodeCharacterPicksItsSlotsColourOrColourZero) {
  const TCorvaINIv2 map(embedded::colour_map);
  auto remapped = [](TPicture picture, std::string_view code) {
    RemapBitmap(picture, code);
    return picture;
  };
  TPicture identity(256, 1, TPictureDepth::Indexed8), colour(86, 1, TPictureDepth::Rgb24);
  std::iota(identity.Pixels.begin(), identity.Pixels.end(), 0);  // every palette index once
  std::iota(colour.Pixels.begin(), colour.Pixels.end(), 0);
  EXPECT_TRUE(remapped(identity, "") == identity && remapped(colour, "t$$$$$$$$$$") == colour);
  const TPicture zero = remapped(identity, "t");
  // Hair "~" is colour 91 of 45, '"' colour -1; characters after the tenth are ignored.
  for (const char* code : {"x123", "T$$", "t#", "t##~", "t##\"", "t##########$"})
    EXPECT_EQ(remapped(identity, code), zero) << code;
  // Bracer 82 becomes 11, the badge's source, and stays 11: each pixel is looked up once.
  const int quoted[][2] = {{128, 12}, {129, 13}, {130, 14}, {80, 10}, {81, 10}, {82, 11}, {83, 12}, {50, 23}};
  for (auto [s, t] : quoted) EXPECT_EQ(zero.Pixels[s], t) << s;
  for (int s = 199; s <= 206; ++s) EXPECT_EQ(zero.Pixels[s], s);
  EXPECT_TRUE(zero.Pixels[11] == map.ReadInteger("BADGE BLOOD RED", "11", -1) && zero.Pixels[0] == 0);
  // A different colour in each slot, hair "$", shows each character reaching its own slot.
  const std::string code = "t%&$'()*+,-";
  TPicture expected = zero;
  for (std::size_t p = 0; p < std::size(kSlots); ++p) {
    const std::string name = map.ReadString(kSlots[p].Section, std::to_string(code[p + 1] - 35), "");
    for (int s = kSlots[p].First; s <= kSlots[p].Last; ++s)
      expected.Pixels[s] = map.ReadInteger(name, std::to_string(s), -1);
  }
  EXPECT_EQ(remapped(identity, code), expected);
}

}  // namespace
}  // namespace quillmere
