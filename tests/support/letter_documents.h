#pragma once

// Documents written as letters, for tests that move shapes and frames about.
#include <cctype>
#include <sstream>
#include <string>

#include "documents/document.h"

namespace quillmere::test {

// Shapes separated by spaces, one letter per frame ("." for a shape without
// frames). Upper case marks a shape that replaces a game object, so a copy
// (which replaces nothing) shows in lower case and a moved shape keeps its
// capitals.
inline TDocument LetterDocument(const std::string& text) {
  TDocument document;
  std::istringstream words(text);
  for (std::string word; words >> word;) {
    TPatchFrame& shape = document.Shapes.emplace_back();
    if (std::isupper(static_cast<unsigned char>(word[0]))) shape.ReplacementIndex = 7;
    for (char letter : word) {
      const auto lower = static_cast<std::uint8_t>(std::tolower(static_cast<unsigned char>(letter)));
      if (letter != '.') shape.Frames.push_back({.Height = 1, .Width = 1, .Pixels = {lower}});
    }
  }
  return document;
}

inline std::string Letters(const TDocument& document) {
  std::string text;
  for (const TPatchFrame& shape : document.Shapes) {
    text += std::string(text.empty() ? "" : " ") + (shape.Frames.empty() ? "." : "");
    for (const TPatchSubFrame& frame : shape.Frames)
      text += char(shape.ReplacementIndex == -1 ? frame.Pixels.at(0) : std::toupper(frame.Pixels.at(0)));
  }
  return text;
}

}  // namespace quillmere::test
