#include "model/ks_clipboard.h"

#include <cstddef>
#include <cstdint>

namespace quillmere {

namespace {

constexpr std::string_view kPrefix = "KitterSpeak:";

// Finds the first position at or after a query that satisfies a predicate.
// The record scan below only ever asks with non-decreasing positions, so the
// previous answer stays valid until a query passes it; each character is
// therefore looked at once per finder and the whole scan stays linear even on
// text built to make a backtracking matcher blow up.
template <typename Predicate>
class TForwardFinder {
 public:
  TForwardFinder(std::string_view text, Predicate predicate)
      : text_(text), predicate_(predicate) {}

  // The first index >= from that satisfies the predicate, or the text size.
  std::size_t Find(std::size_t from) {
    // A query behind the previous one cannot reuse its answer.
    if (!started_ || from > answer_ || from < query_) {
      started_ = true;
      answer_ = from;
      while (answer_ < text_.size() && !predicate_(text_, answer_)) ++answer_;
    }
    query_ = from;
    return answer_;
  }

 private:
  std::string_view text_;
  Predicate predicate_;
  bool started_ = false;
  std::size_t query_ = 0;
  std::size_t answer_ = 0;
};

struct TRecord {
  std::string_view Fields[3];
};

// Finds records left to right. A record is a first field of characters other
// than "," and space ending at the first ":" after it, a second field of at
// least one character ending at the first ":" that is followed by something
// other than ",", and a third field running to the next "," or the end; that
// "," belongs to the record.
class TRecordScanner {
 public:
  explicit TRecordScanner(std::string_view text)
      : text_(text),
        colon_(text, [](std::string_view s, std::size_t i) { return s[i] == ':'; }),
        separator_(text, [](std::string_view s, std::size_t i) { return s[i] == ',' || s[i] == ' '; }),
        secondEnd_(text,
                   [](std::string_view s, std::size_t i) {
                     return s[i] == ':' && i + 1 < s.size() && s[i + 1] != ',';
                   }),
        comma_(text, [](std::string_view s, std::size_t i) { return s[i] == ','; }) {}

  bool Next(TRecord& record) {
    const std::size_t size = text_.size();
    while (position_ < size) {
      const std::size_t start = position_;
      const std::size_t firstEnd = colon_.Find(start + 1);
      // A later start would only see the same or a later ":", and after it
      // the same or a later end of the second field: once either is missing
      // nothing further can match.
      if (firstEnd >= size) break;
      if (firstEnd + 2 > size) break;
      const std::size_t secondEnd = secondEnd_.Find(firstEnd + 2);
      if (secondEnd >= size) break;
      if (separator_.Find(start) < firstEnd) {
        ++position_;
        continue;
      }
      const std::size_t thirdEnd = comma_.Find(secondEnd + 1);
      record.Fields[0] = text_.substr(start, firstEnd - start);
      record.Fields[1] = text_.substr(firstEnd + 1, secondEnd - firstEnd - 1);
      record.Fields[2] = text_.substr(secondEnd + 1, thirdEnd - secondEnd - 1);
      position_ = thirdEnd < size ? thirdEnd + 1 : size;
      return true;
    }
    position_ = size;
    return false;
  }

 private:
  using TPredicate = bool (*)(std::string_view, std::size_t);

  std::string_view text_;
  std::size_t position_ = 0;
  TForwardFinder<TPredicate> colon_;
  TForwardFinder<TPredicate> separator_;
  TForwardFinder<TPredicate> secondEnd_;
  TForwardFinder<TPredicate> comma_;
};

// Leading spaces, an optional sign and decimal digits, nothing after them; the
// value must fit in 32 bits. It is then cut to its low 16 bits as a typed-in
// value would be.
bool ParseField(std::string_view field, std::int16_t& value) {
  std::size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
    negative = field[i] == '-';
    ++i;
  }
  if (i == field.size()) return false;
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t magnitude = 0;
  for (; i < field.size(); ++i) {
    const char c = field[i];
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return false;
  }
  const std::int64_t full = negative ? -magnitude : magnitude;
  value = static_cast<std::int16_t>(static_cast<std::uint16_t>(full & 0xFFFF));
  return true;
}

}  // namespace

std::string EncodeKSClipboardText(const TKSScript& steps) {
  const std::string count = std::to_string(steps.size());
  std::string text;
  text.reserve(kPrefix.size() + 2 * count.size() + 1 + steps.size() * 12);
  text += kPrefix;
  text += count;
  text += ':';
  text += count;
  for (const TKSStep& step : steps) {
    text += ", ";
    text += std::to_string(step.Command);
    text += ':';
    text += std::to_string(step.Arg1);
    text += ':';
    text += std::to_string(step.Arg2);
  }
  return text;
}

TKSDecodeResult DecodeKSClipboardText(std::string_view text) {
  TKSDecodeResult result;
  if (!text.starts_with(kPrefix)) return result;

  TRecordScanner scanner(text);
  TRecord record;
  // The header's counts are not trusted: the records themselves say how many
  // steps there are.
  if (!scanner.Next(record)) {
    result.Error = "The clipboard text holds no KitterSpeak steps.";
    return result;
  }
  while (scanner.Next(record)) {
    std::int16_t values[3] = {};
    for (int f = 0; f < 3; ++f) {
      if (!ParseField(record.Fields[f], values[f])) {
        result.Error = "''" + std::string(record.Fields[f]) + "'' is not a valid integer value";
        return result;
      }
    }
    result.Steps.push_back(TKSStep{values[0], values[1], values[2]});
  }
  return result;
}

}  // namespace quillmere
