#include "app/centre_panel_layout.h"

namespace quillmere {
namespace {

constexpr int kTop = 2;
constexpr int kHeight = 22;
constexpr int kGlyphWidth = 23;
constexpr int kCaptionWidth = 90;

}  // namespace

std::array<TButtonPlace, 6> CentrePanelLayout(int clientWidth) {
  std::array<TButtonPlace, 6> places{};
  auto place = [&](TPanelButton button, int left, int width) {
    places[static_cast<int>(button)] = TButtonPlace{left, kTop, width, kHeight};
  };
  place(TPanelButton::Trash, 2, kGlyphWidth);
  const int moveRight = clientWidth - 2 - kGlyphWidth;
  const int moveLeft = moveRight - kGlyphWidth - 2;
  // Replace stands 3 pixels off Move Left, one more than the other gaps.
  const int replace = moveLeft - kCaptionWidth - 3;
  const int insertAfter = replace - kCaptionWidth - 2;
  const int insertBefore = insertAfter - kCaptionWidth - 2;
  place(TPanelButton::MoveRight, moveRight, kGlyphWidth);
  place(TPanelButton::MoveLeft, moveLeft, kGlyphWidth);
  place(TPanelButton::Replaceit, replace, kCaptionWidth);
  place(TPanelButton::InsertAft, insertAfter, kCaptionWidth);
  place(TPanelButton::InsertFore, insertBefore, kCaptionWidth);
  return places;
}

}  // namespace quillmere
