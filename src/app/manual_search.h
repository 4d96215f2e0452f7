#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

// One page of the manual as the search sees it: its file, title and text
// without markup.
struct TManualPage {
  std::string File;
  std::string Title;
  std::string Text;
};

struct TManualHit {
  std::size_t Page = 0;     // index into the pages searched
  std::size_t Count = 0;    // occurrences of the query's words in title and text
  std::size_t FirstAt = 0;  // where the first word first occurs in Text
};

// The pages that hold every word of `query`, letter case ignored, best first:
// pages whose title holds a word before the others, then the pages where the
// words occur most often, then contents order. An empty query finds nothing.
std::vector<TManualHit> SearchManual(const std::vector<TManualPage>& pages, std::string_view query);

// A line of text around `at` for a result list: whole words, at most `width`
// characters of them, whitespace runs folded to one space, and "..." on each
// side where the text goes on.
std::string ManualSnippet(std::string_view text, std::size_t at, std::size_t width);

}  // namespace quillmere
