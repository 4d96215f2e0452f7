#include "export/gif_lzw_fit.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace quillmere {

namespace {

// giflib starts its dictionary over instead of adding a string once the
// next code would reach 4095.
constexpr int kFullAt = 4095;
// Second choices tried per string: beyond them the search follows first
// choices only, so a long run of free pixels costs linear time.
constexpr int kBranchBudget = 64;

// The coder's dictionary: each known string by the code of the string one
// shorter and its last pixel.
class Dictionary {
 public:
  explicit Dictionary(int bits) : bits_(bits), children_(std::size_t{kFullAt + 1} << bits, 0) { Clear(); }

  // 0: no such string (the codes of strings start above the end code).
  int Child(int code, int value) const { return children_[Slot(code, value)]; }
  bool Full() const { return next_ >= kFullAt; }
  void Add(int code, int value) {
    children_[Slot(code, value)] = static_cast<std::uint16_t>(next_++);
    added_.push_back(Slot(code, value));
  }
  void RemoveLast() {
    children_[added_.back()] = 0;
    added_.pop_back();
    --next_;
  }
  void Clear() {
    for (std::size_t slot : added_) children_[slot] = 0;
    added_.clear();
    next_ = (1 << bits_) + 2;  // past the clear and end codes
  }

 private:
  std::size_t Slot(int code, int value) const {
    return (static_cast<std::size_t>(code) << bits_) | static_cast<std::size_t>(value);
  }
  int bits_;
  std::vector<std::uint16_t> children_;
  std::vector<std::size_t> added_;
  int next_ = 0;
};

class Fitter {
 public:
  Fitter(std::vector<std::uint8_t>& pixels, const std::vector<bool>& free, std::uint8_t alternative,
         bool preferAlternative, Dictionary& dictionary)
      : pixels_(pixels),
        free_(free),
        alternative_(alternative),
        preferAlternative_(preferAlternative),
        dictionary_(dictionary) {}

  void Run() {
    dictionary_.Clear();
    int previous = -1;  // the code of the string before
    for (std::size_t at = 0; at < pixels_.size();) {
      if (previous >= 0 && dictionary_.Full()) {
        dictionary_.Clear();
        previous = -1;
      }
      Longest(at, previous);
      std::copy(best_.begin(), best_.end(), pixels_.begin() + static_cast<std::ptrdiff_t>(at));
      if (previous >= 0) dictionary_.Add(previous, best_[0]);
      previous = bestCode_;
      at += best_.size();
    }
  }

 private:
  struct TStep {
    std::array<std::uint8_t, 2> Options{};
    int Count = 0;
    int Taken = 0;
    int Code = 0;
  };

  TStep Options(std::size_t at, int preferred) const {
    TStep step;
    const std::uint8_t own = pixels_[at];
    step.Options[step.Count++] = own;
    if (free_[at] && own != alternative_) step.Options[step.Count++] = alternative_;
    // Among strings of equal length the value before wins, since runs are
    // what the coder likes best, and failing that the chosen side.
    if (step.Count == 2 && (preferred == alternative_ || (preferred != own && preferAlternative_)))
      std::swap(step.Options[0], step.Options[1]);
    return step;
  }

  // The code of the string `parent` continued by option `k` of `step`, or
  // -1 when the dictionary does not know it. Without a parent the string is
  // a single pixel, whose code is the pixel.
  int Follow(const TStep& step, int k, int parent) const {
    const std::uint8_t value = step.Options[static_cast<std::size_t>(k)];
    if (parent < 0) return value;
    const int child = dictionary_.Child(parent, value);
    return child != 0 ? child : -1;
  }

  // The longest string starting at `at` that the dictionary knows, each free
  // pixel on it taking whichever value continues it, into best_ and
  // bestCode_. Before the coder looks for this string it adds the string
  // before (code `previous`) followed by this string's first pixel, which
  // this string may already use; so each first pixel tried adds that entry
  // for as long as it is tried.
  void Longest(std::size_t at, int previous) {
    const bool tentative = previous >= 0;
    const auto take = [&](TStep& step, int k, int parent) {
      if (tentative && parent < 0) {
        if (step.Taken != k || step.Code < 0) {
          if (step.Code >= 0) dictionary_.RemoveLast();
          dictionary_.Add(previous, step.Options[static_cast<std::size_t>(k)]);
        }
      }
      step.Taken = k;
      step.Code = Follow(step, k, parent);
    };
    best_.clear();
    int budget = kBranchBudget;
    path_.clear();
    path_.push_back(Options(at, at > 0 ? pixels_[at - 1] : -1));
    path_.back().Code = -1;
    take(path_.back(), 0, -1);
    while (!path_.empty()) {
      const std::size_t next = at + path_.size();
      if (next < pixels_.size()) {
        const TStep& last = path_.back();
        TStep step = Options(next, last.Options[static_cast<std::size_t>(last.Taken)]);
        int k = 0;
        while (k < step.Count && Follow(step, k, last.Code) < 0) ++k;
        if (k < step.Count) {
          take(step, k, last.Code);
          path_.push_back(step);
          continue;
        }
      }
      if (path_.size() > best_.size()) {
        best_.clear();
        for (const TStep& step : path_) best_.push_back(step.Options[static_cast<std::size_t>(step.Taken)]);
        bestCode_ = path_.back().Code;
      }
      // Back to the deepest step with an untried choice the dictionary knows.
      while (!path_.empty()) {
        TStep& step = path_.back();
        const int parent = path_.size() > 1 ? path_[path_.size() - 2].Code : -1;
        int k = step.Taken + 1;
        while (budget > 0 && k < step.Count && Follow(step, k, parent) < 0) ++k;
        if (budget > 0 && k < step.Count) {
          --budget;
          take(step, k, parent);
          break;
        }
        if (path_.size() == 1 && tentative) dictionary_.RemoveLast();
        path_.pop_back();
      }
    }
  }

  std::vector<std::uint8_t>& pixels_;
  const std::vector<bool>& free_;
  std::uint8_t alternative_;
  bool preferAlternative_;
  Dictionary& dictionary_;
  std::vector<TStep> path_;
  std::vector<std::uint8_t> best_;
  int bestCode_ = 0;
};

}  // namespace

struct LzwPixelFitter::TState {
  explicit TState(int bits) : Dictionary(bits) {}
  quillmere::Dictionary Dictionary;
};

LzwPixelFitter::LzwPixelFitter(int bits)
    : bits_(std::clamp(bits, 2, 8)), state_(std::make_unique<TState>(bits_)) {}

LzwPixelFitter::~LzwPixelFitter() = default;

void LzwPixelFitter::Fit(std::vector<std::uint8_t>& pixels, const std::vector<bool>& free,
                         std::uint8_t alternative, bool preferAlternative) {
  if (free.size() != pixels.size()) throw std::invalid_argument("LzwPixelFitter needs a mark per pixel");
  const int mask = (1 << bits_) - 1;
  for (std::uint8_t& pixel : pixels) pixel = static_cast<std::uint8_t>(pixel & mask);
  Fitter(pixels, free, static_cast<std::uint8_t>(alternative & mask), preferAlternative, state_->Dictionary)
      .Run();
}

}  // namespace quillmere
