#include "app/manual_search.h"

#include <algorithm>
#include <cctype>

namespace quillmere {
namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string> Words(std::string_view query) {
  std::vector<std::string> words;
  std::string word;
  for (char c : query) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (!word.empty()) words.push_back(Lower(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(Lower(word));
  return words;
}

std::size_t Occurrences(const std::string& haystack, const std::string& needle) {
  std::size_t count = 0;
  for (std::size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}

}  // namespace

std::vector<TManualHit> SearchManual(const std::vector<TManualPage>& pages, std::string_view query) {
  const std::vector<std::string> words = Words(query);
  if (words.empty()) return {};
  struct TRanked {
    TManualHit Hit;
    bool InTitle;
  };
  std::vector<TRanked> ranked;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const std::string title = Lower(pages[i].Title);
    const std::string text = Lower(pages[i].Text);
    TRanked entry{{i, 0, text.find(words.front())}, false};
    bool all = true;
    for (const std::string& word : words) {
      const std::size_t inTitle = Occurrences(title, word);
      const std::size_t inText = Occurrences(text, word);
      if (inTitle + inText == 0) {
        all = false;
        break;
      }
      entry.InTitle = entry.InTitle || inTitle > 0;
      entry.Hit.Count += inTitle + inText;
    }
    if (!all) continue;
    if (entry.Hit.FirstAt == std::string::npos) entry.Hit.FirstAt = 0;
    ranked.push_back(entry);
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const TRanked& a, const TRanked& b) {
    if (a.InTitle != b.InTitle) return a.InTitle;
    return a.Hit.Count > b.Hit.Count;
  });
  std::vector<TManualHit> hits;
  for (const TRanked& entry : ranked) hits.push_back(entry.Hit);
  return hits;
}

std::string ManualSnippet(std::string_view text, std::size_t at, std::size_t width) {
  const auto space = [&](std::size_t i) { return std::isspace(static_cast<unsigned char>(text[i])) != 0; };
  at = std::min(at, text.size());
  // A third of the line before the hit, widened back to the start of a word.
  std::size_t begin = at > width / 3 ? at - width / 3 : 0;
  while (begin > 0 && !space(begin - 1)) --begin;
  std::string line;
  std::size_t i = begin;
  while (i < text.size()) {
    while (i < text.size() && space(i)) ++i;
    std::size_t end = i;
    while (end < text.size() && !space(end)) ++end;
    if (end == i) break;
    const std::size_t added = (line.empty() ? 0 : 1) + (end - i);
    if (line.size() + added > width) break;
    if (!line.empty()) line += ' ';
    line.append(text.substr(i, end - i));
    i = end;
  }
  while (i < text.size() && space(i)) ++i;
  return (begin > 0 ? "..." : "") + line + (i < text.size() ? "..." : "");
}

}  // namespace quillmere
