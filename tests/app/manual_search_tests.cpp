#include <gtest/gtest.h>

#include "app/manual_search.h"

namespace quillmere::test {
namespace {

std::vector<std::string> Found(const std::vector<TManualPage>& pages, std::string_view query) {
  std::vector<std::string> files;
  for (const TManualHit& hit : SearchManual(pages, query)) files.push_back(pages[hit.Page].File);
  return files;
}

const std::vector<TManualPage> kPages = {
    {"index.html", "Quillmere manual", "Open a file. Save it. Open another."},
    {"gif.html", "Animated GIFs", "Export a GIF of a shape. The gif plays its script."},
    {"script.html", "The script editor", "Each step of a script; a GIF export plays it. Delay 100 ms."},
    {"types.html", "File types", "FOX holds every frame and the KitterSpeak script."},
};

TEST(ManualSearch, FindsPagesHoldingEveryWordIgnoringCase) {
  EXPECT_EQ(Found(kPages, "kitterspeak"), (std::vector<std::string>{"types.html"}));
  EXPECT_EQ(Found(kPages, "SCRIPT gif"), (std::vector<std::string>{"gif.html", "script.html"}));
  EXPECT_EQ(Found(kPages, "script   fox"), (std::vector<std::string>{"types.html"}));
  EXPECT_TRUE(Found(kPages, "gif fox").empty());
  EXPECT_TRUE(Found(kPages, "").empty());
  EXPECT_TRUE(Found(kPages, "  \t").empty());
}

TEST(ManualSearch, TitleHitsComeFirstThenTheMostOccurrencesThenContentsOrder) {
  // "script" is in script.html's title; types.html and gif.html hold it once
  // each in their text and keep their contents order.
  EXPECT_EQ(Found(kPages, "script"), (std::vector<std::string>{"script.html", "gif.html", "types.html"}));
  // A page titled after the word outranks one that only repeats it.
  const std::vector<TManualPage> repeated = {{"exports.html", "Exports", "colour colour colour"},
                                             {"codes.html", "Colour codes", "a colour"}};
  EXPECT_EQ(Found(repeated, "colour"), (std::vector<std::string>{"codes.html", "exports.html"}));
  // "open" is in no title: index.html holds it twice, the others never.
  EXPECT_EQ(Found(kPages, "open"), (std::vector<std::string>{"index.html"}));
  // "gif" is in gif.html's title and three times in it; script.html's single
  // text hit comes after.
  const std::vector<TManualHit> hits = SearchManual(kPages, "gif");
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].Page, 1u);
  EXPECT_EQ(hits[0].Count, 3u);
}

TEST(ManualSearch, FirstAtIsWhereTheFirstWordFirstOccursInTheText) {
  const std::vector<TManualHit> hits = SearchManual(kPages, "delay step");
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(kPages[2].Text.substr(hits[0].FirstAt, 5), "Delay");
  // A word found only in the title leaves the text's start.
  EXPECT_EQ(SearchManual(kPages, "manual").at(0).FirstAt, 0u);
}

TEST(ManualSearch, SnippetsFoldWhitespaceAndMarkWhatIsCut) {
  const std::string text = "one   two\n\nthree four five six seven";
  EXPECT_EQ(ManualSnippet(text, 0, 100), "one two three four five six seven");
  EXPECT_EQ(ManualSnippet(text, 0, 13), "one two three...");
  EXPECT_EQ(ManualSnippet(text, 0, 12), "one two...");
  // The line starts a third of its width before the hit, at a word's start.
  EXPECT_EQ(ManualSnippet(text, text.find("six"), 12), "...five six...");
  EXPECT_EQ(ManualSnippet(text, text.find("four"), 30), "...two three four five six seven");
  EXPECT_EQ(ManualSnippet(text, 1000, 12), "...seven");
}

}  // namespace
}  // namespace quillmere::test
