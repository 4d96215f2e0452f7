#include <gtest/gtest.h>

#include "app/about_box.h"
#include "app/dialog_placement.h"

namespace quillmere::test {
namespace {

TEST(AboutBox, VersionLineQuotesTheReleaseName) {
  EXPECT_EQ(AboutVersionLine("0.1.0", "First Feather"), "Version 0.1.0 \"First Feather\"");
}

// The credits keep their lines whatever the line ends; without a text the
// placeholder stays.
TEST(AboutBox, CreditsKeepTheirLinesOrThePlaceholder) {
  EXPECT_EQ(AboutCreditsText("a\r\n\r\nb\rc\nd\r\n"), "a\n\nb\nc\nd");
  EXPECT_EQ(AboutCreditsText(std::nullopt), "Error loading resource!");
  EXPECT_EQ(AboutCreditsText(""), "Error loading resource!");
}

// The shipped credits have the sections the about box is laid out for, and
// name every library the program links with its licence.
TEST(AboutBox, ShippedCreditsNameTheLibrariesAndTheirLicences) {
  const std::string credits = AboutCreditsText(ShippedCredits());
  std::size_t at = 0;
  for (const char* section : {"--Written by--", "--Testing--", "--This software uses code created by--",
                              "--Other Thanks go to--", "--Contributors--"}) {
    const std::size_t found = credits.find(section, at);
    ASSERT_NE(found, std::string::npos) << section << " missing or out of order";
    at = found;
  }
  for (const char* named : {"Qt 6", "LGPL-3.0", "libpng", "libpng license", "zlib", "zlib license", "giflib",
                            "MIT license", "OpenSSL 3", "Apache License 2.0"}) {
    EXPECT_NE(credits.find(named), std::string::npos) << named;
  }
}

// Half sizes are rounded down before they are subtracted.
TEST(DialogPlacement, CentresOverTheOwner) {
  EXPECT_EQ(CentredOver(41, 86, 620, 480, 234, 253), (TDialogPlace{41 + 310 - 117, 86 + 240 - 126}));
  EXPECT_EQ(CentredOver(0, 0, 7, 7, 4, 4), (TDialogPlace{1, 1}));
  EXPECT_EQ(CentredOver(10, 10, 100, 100, 300, 300), (TDialogPlace{-90, -90}));
}

TEST(DialogPlacement, KeepsAWideDialogOnTheScreen) {
  // The animation editor, wider than the window it is centred over.
  EXPECT_EQ(KeptOnScreen(CentredOver(41, 86, 620, 460, 740, 240), 740, 240, 0, 0, 1024, 768),
            (TDialogPlace{0, 196}));
  EXPECT_EQ(KeptOnScreen({900, 700}, 200, 100, 0, 0, 1024, 768), (TDialogPlace{824, 668}));
  EXPECT_EQ(KeptOnScreen({300, 200}, 200, 100, 0, 0, 1024, 768), (TDialogPlace{300, 200}));
  // A dialog larger than the screen keeps its title bar in reach.
  EXPECT_EQ(KeptOnScreen({-50, -50}, 2000, 1000, 0, 30, 1024, 738), (TDialogPlace{0, 30}));
}

}  // namespace
}  // namespace quillmere::test
