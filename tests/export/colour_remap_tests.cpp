#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/platform_error.h"
#include "export/colour_remap.h"
#include "export/corva_ini.h"

namespace quillmere::embedded {
extern const std::string_view colour_map;
}  // namespace quillmere::embedded

namespace quillmere {
namespace {

// clang-format off
struct TSlot { const char* Section; int Colours, First, Last; };  // colours 0.. recolour indices First..Last
constexpr TSlot kSlots[] = {{"Fur", 25, 199, 206}, {"Markings", 25, 136, 143}, {"Hair", 45, 128, 135},
    {"Eyes", 30, 50, 50}, {"Badge", 40, 11, 11}, {"Vest", 30, 72, 79}, {"Bracers", 30, 80, 87},
    {"Cape", 30, 32, 39}, {"Boots", 30, 16, 23}, {"Trousers", 30, 224, 231}};
// clang-format on

std::size_t Count(std::string_view text, std::string_view what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != text.npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(ColourMap, ShippedMapHoldsTheSlotsAndTheSectionsTheyName) {
  const std::string_view text = embedded::colour_map;
  const TCorvaINIv2 map(text);
  std::set<std::string> named;
  for (const TSlot& slot : kSlots) {
    std::vector<std::string> keys, sources;
    map.ReadSection(slot.Section, keys);
    ASSERT_EQ(keys.size(), static_cast<std::size_t>(slot.Colours)) << slot.Section;
    for (int colour = 0; colour < slot.Colours; ++colour) {
      const std::string name = map.ReadString(slot.Section, std::to_string(colour), "");
      EXPECT_TRUE(keys[colour] == std::to_string(colour) && named.insert(name).second) << name;
      sources.clear();
      map.ReadSection(name, sources);
      ASSERT_EQ(sources.size(), static_cast<std::size_t>(slot.Last - slot.First + 1)) << name;
      for (int s = slot.First; s <= slot.Last; ++s) {
        const int target = map.ReadInteger(name, std::to_string(s), -1);  // never 0, the transparent key
        EXPECT_TRUE(sources[s - slot.First] == std::to_string(s) && target > 0 && target < 256) << name << s;
      }
    }
  }
  EXPECT_EQ(named.size(), 315u);
  // Every header after an empty line, and none that no slot names.
  EXPECT_TRUE(Count(text, "\n[") == 325 && Count(text, "\r\n\r\n[") == 325);
  EXPECT_EQ(Count(text, "\n"), Count(text, "\r\n"));
  EXPECT_TRUE(text.starts_with(';') && text.substr(text.find("\r\n") + 2).starts_with(';'));
  // clang-format off
  const char* fixed[][3] = {{"Fur", "0", "FUR CAT GRAY"}, {"Markings", "0", "MARKS CAT GRAY"},
      {"Hair", "0", "HAIR BLOOD RED"}, {"Eyes", "0", "EYES MAHOGANY"}, {"Badge", "0", "BADGE BLOOD RED"},
      {"Vest", "0", "VEST RED"}, {"Bracers", "0", "BRACER RED"}, {"Cape", "0", "CAPE RED"},
      {"Boots", "0", "BOOTS RED"}, {"Trousers", "0", "TROUSERS RED"}, {"Hair", "1", "HAIR COURAGE RED"},
      {"HAIR BLOOD RED", "128", "12"}, {"HAIR BLOOD RED", "129", "13"}, {"HAIR BLOOD RED", "130", "14"},
      {"BRACER RED", "80", "10"}, {"BRACER RED", "81", "10"}, {"BRACER RED", "82", "11"},
      {"BRACER RED", "83", "12"}, {"EYES MAHOGANY", "50", "23"}};
  // clang-format on
  for (const auto& f : fixed) EXPECT_EQ(map.ReadString(f[0], f[1], ""), f[2]) << f[0] << " " << f[1];
  for (int s = 199; s <= 206; ++s) EXPECT_EQ(map.ReadInteger("FUR CAT GRAY", std::to_string(s), -1), s);
}

TEST(CorvaIni, LooksUpIgnoringCaseWithoutTrimmingWithinSectionBounds) {
  // Mixed line ends; a stray entry before any section; an entry after an empty
  // line; a section cut by the next "[" line; a repeated header.
  const TCorvaINIv2 ini(
      "; c\r\nkey=out\r\n[Alpha]\r\nName=one\nname=two\r\n Pad = 3 "
      "\r\nEmpty=\r\nNoEquals\rA=b=c\r\n[beta]\r\n"
      "x=1\r\n\r\nafter=blank\r\n[Gamma]\r\ny=2\r\n[Gamma]\r\ny=3\r\nz=9\r\n[ Spaced ]\r\ns=5");
  // clang-format off
  const char* cases[][3] = {{"alpha", "NAME", "one"}, {"Alpha", " Pad ", " 3 "}, {"Alpha", "Pad", "-"},
      {"Alpha", "Empty", ""}, {"Alpha", "NoEquals", "-"}, {"Alpha", "A", "b=c"}, {"Alpha", "x", "-"},
      {"BETA", "X", "1"}, {"beta", "after", "-"}, {"", "key", "-"}, {"Gamma", "y", "2"}, {"Gamma", "z", "-"},
      {" spaced ", "s", "5"}, {"Spaced", "s", "-"}, {"None", "x", "-"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(ini.ReadString(c[0], c[1], "-"), c[2]) << c[0] << "/" << c[1];
  std::vector<std::string> names{"kept"};
  ini.ReadSection("ALPHA", names);
  ini.ReadSection("None", names);
  EXPECT_EQ(names, (std::vector<std::string>{"kept", "Name", "name", " Pad ", "Empty", "A"}));
  EXPECT_EQ(ini.ReadInteger("Beta", "x", 7) + ini.ReadInteger("Beta", "after", 7), 8);
  EXPECT_EQ(ParseDecimalInteger("-3") * ParseDecimalInteger("+4"), -12);
  for (const char* bad : {" 5", "5 ", "", "+-1", "0x10", "2147483648"}) {
    EXPECT_THROW(ParseDecimalInteger(bad), PlatformError) << bad;
  }
  try {
    ini.ReadInteger("Alpha", "Name", 0);
    ADD_FAILURE() << "no error for a text";
  } catch (const PlatformError& error) {
    EXPECT_STREQ(error.what(), "''one'' is not a valid integer value");
  }
}

TPicture Remapped(std::string_view code) {
  TPicture picture(256, 1, TPictureDepth::Indexed8);  // every palette index once
  for (int i = 0; i < 256; ++i) picture.Pixels[i] = static_cast<std::uint8_t>(i);
  RemapBitmap(picture, code);
  return picture;
}

TEST(ColourRemap, EachCodeCharacterPicksItsSlotsColourOrColourZero) {
  const TCorvaINIv2 map(embedded::colour_map);
  const TPicture zero = Remapped("t");
  EXPECT_EQ(BuildRemapTable("t").size(), 8u * 8 + 2);  // each source once
  for (const char* code : {"x123", "t#", "T$$", "t##~", "t##\"", "t##\xff", "t##########$"}) {
    EXPECT_EQ(Remapped(code), zero) << code;
  }
  // Quoted colour-0 targets; bracer 82 becomes 11, the badge's source, and stays 11.
  for (auto [s, t] :
       {std::pair{128, 12}, {131, 15}, {80, 10}, {82, 11}, {50, 23}, {199, 199}, {1, 1}, {0, 0}}) {
    EXPECT_EQ(zero.Pixels[s], t) << s;
  }
  EXPECT_EQ(zero.Pixels[11], map.ReadInteger("BADGE BLOOD RED", "11", -1));
  for (std::size_t p = 0; p < std::size(kSlots); ++p) {  // colour 1 ("$") in one slot at a time
    const std::string one = map.ReadString(kSlots[p].Section, "1", "");
    TPicture expected = zero;
    for (int s = kSlots[p].First; s <= kSlots[p].Last; ++s) {
      expected.Pixels[s] = static_cast<std::uint8_t>(map.ReadInteger(one, std::to_string(s), -1));
    }
    ASSERT_NE(expected, zero) << one;  // else a misplaced position could pass
    EXPECT_EQ(Remapped("t" + std::string(p, '#') + "$"), expected) << one;
  }
  EXPECT_EQ(Remapped("").Pixels[128], 128);
  TPicture colour(2, 1, TPictureDepth::Rgb24);
  colour.Pixels = {128, 199, 80, 11, 50, 72};
  RemapBitmap(colour, "t$$$$$$$$$$");
  EXPECT_EQ(colour.Pixels, (std::vector<std::uint8_t>{128, 199, 80, 11, 50, 72}));
}

}  // namespace
}  // namespace quillmere
