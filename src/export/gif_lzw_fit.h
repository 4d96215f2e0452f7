#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace quillmere {

// Settles the pixels of one GIF image that may take either of two values
// (their own colour, or the transparent index where the screen already shows
// that colour) so that GIF's LZW coder finds long strings: it follows the
// coder's own dictionary and at each string gives the free pixels whichever
// values make the longest string the dictionary already knows.
//
// The coder itself only ever sees the settled pixels, so this is a choice
// between equally correct images and can never change what is shown.
class LzwPixelFitter {
 public:
  // `bits`: the colour table's (the coder starts at at least 2).
  explicit LzwPixelFitter(int bits);
  ~LzwPixelFitter();
  LzwPixelFitter(const LzwPixelFitter&) = delete;
  LzwPixelFitter& operator=(const LzwPixelFitter&) = delete;

  // `pixels` holds every pixel's own value; `free[i]` marks those that may
  // become `alternative` instead. Between strings of equal length a free
  // pixel takes the value before it, else `alternative` when
  // `preferAlternative`, else its own.
  void Fit(std::vector<std::uint8_t>& pixels, const std::vector<bool>& free, std::uint8_t alternative,
           bool preferAlternative);

 private:
  struct TState;
  int bits_;
  std::unique_ptr<TState> state_;  // the dictionary, kept from image to image
};

}  // namespace quillmere
