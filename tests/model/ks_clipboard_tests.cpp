#include "model/ks_clipboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <tuple>

#include "support/message_printing.h"

namespace quillmere {

TEST(KSClipboard, EncodeWritesCountTwiceThenRecordsThatDecodeBack) {
  EXPECT_EQ(EncodeKSClipboardText({}), "KitterSpeak:0:0");
  EXPECT_EQ(EncodeKSClipboardText({{1, 0, 0}, {2, 100, 0}}), "KitterSpeak:2:2, 1:0:0, 2:100:0");
  EXPECT_EQ(EncodeKSClipboardText({{-32768, 32767, -1}}), "KitterSpeak:1:1, -32768:32767:-1");
  std::mt19937 random(20240611);
  const std::int16_t extremes[] = {-32768, 32767, -1, 0, 12, -999};
  auto value = [&] { return random() % 2 ? extremes[random() % 6] : static_cast<std::int16_t>(random()); };
  for (int round = 0; round < 300; ++round) {
    TKSScript steps(random() % 25);
    for (TKSStep& step : steps) step = {value(), value(), value()};
    const TKSDecodeResult decoded = DecodeKSClipboardText(EncodeKSClipboardText(steps));
    ASSERT_EQ(decoded.Steps, steps) << EncodeKSClipboardText(steps);
    ASSERT_FALSE(decoded.Error) << *decoded.Error;
  }
}

TEST(KSClipboard, DecodeHandlesSeparatorsValuesAndErrors) {
  const std::tuple<std::string, TKSScript, std::optional<std::string>> cases[] = {
      {"KitterSpeak:1:1", {}, std::nullopt},
      {"kitterspeak:1:1, 1:0:0", {}, std::nullopt},
      {"KitterSpeak:2:2,1:0:0,2:5:0", {{1, 0, 0}, {2, 5, 0}}, std::nullopt},
      {"KitterSpeak:9:x, 3:0:12, +2:  -7:0", {{3, 0, 12}, {2, -7, 0}}, std::nullopt},
      {"KitterSpeak:1:1, 2:40000:2147483647", {{2, -25536, -1}}, std::nullopt},
      {"KitterSpeak:3:3, 1:0:0, x:1:2, 2:5:0", {{1, 0, 0}}, "''x'' is not a valid integer value"},
      {"KitterSpeak:1:1, 1:2147483648:0", {}, "''2147483648'' is not a valid integer value"},
      // The range of 32 bits reaches one further below zero than above it.
      {"KitterSpeak:1:1, 1:-2147483648:-40000", {{1, 0, 25536}}, std::nullopt},
      {"KitterSpeak:1:1, 1:-2147483649:0", {}, "''-2147483649'' is not a valid integer value"},
      {"KitterSpeak:1, 2", {}, "The clipboard text holds no KitterSpeak steps."},
      // Every "a" could start a record until the space before the far ":"; a scan that looks
      // ahead afresh from each start takes quadratic time here.
      {"KitterSpeak:1:1," + std::string(300000, 'a') + " 1:2:3", {{1, 2, 3}}, std::nullopt},
  };
  for (const auto& [text, steps, error] : cases) {
    const TKSDecodeResult decoded = DecodeKSClipboardText(text);
    EXPECT_EQ(decoded.Steps, steps) << text.substr(0, 50);
    EXPECT_EQ(decoded.Error, error) << text.substr(0, 50);
  }
}

// The record rule as a backtracking matcher tries it: every end of the first
// field in order, then every end of the second.
static std::vector<std::string> ReferenceFields(const std::string& s) {
  std::vector<std::string> out;
  for (std::size_t i = 0, next = 1, n = s.size(); i < n; i = next, next = i + 1)
    for (std::size_t j = i + 1; j < n && s[j - 1] != ',' && s[j - 1] != ' ' && next == i + 1; ++j)
      for (std::size_t k = j + 2; s[j] == ':' && k + 1 < n; ++k)
        if (s[k] == ':' && s[k + 1] != ',') {
          next = std::min(s.find(',', k + 1), n) + 1;
          out.insert(out.end(),
                     {s.substr(i, j - i), s.substr(j + 1, k - j - 1), s.substr(k + 1, next - k - 2)});
          break;
        }
  return out;
}

TEST(KSClipboard, DecodeFindsTheSameRecordsAsTheBacktrackingRule) {
  std::mt19937 random(77);
  for (int round = 0; round < 20000; ++round) {
    std::string text = "KitterSpeak:";
    for (int count = random() % 19; count > 0; --count) text += "12-::, x"[random() % 8];
    const std::vector<std::string> fields = ReferenceFields(text);
    std::optional<std::string> error;
    if (fields.empty()) error = "The clipboard text holds no KitterSpeak steps.";
    std::vector<std::int16_t> values;
    for (std::size_t f = 3; f < fields.size() && !error; ++f) {
      // The alphabet holds no white space but " " and no "+", so strtoll accepts
      // exactly what the decoder should; it saturates on overflow.
      char* end = nullptr;
      const long long full = std::strtoll(fields[f].c_str(), &end, 10);
      const bool valid = end != fields[f].c_str() && *end == '\0' && full >= INT32_MIN && full <= INT32_MAX;
      if (valid) values.push_back(static_cast<std::int16_t>(full));
      if (!valid) error = "''" + fields[f] + "'' is not a valid integer value";
    }
    TKSScript expected;
    for (std::size_t v = 0; v + 2 < values.size(); v += 3)
      expected.push_back({values[v], values[v + 1], values[v + 2]});
    const TKSDecodeResult decoded = DecodeKSClipboardText(text);
    ASSERT_EQ(decoded.Steps, expected) << text;
    ASSERT_EQ(decoded.Error, error) << text;
  }
}

}  // namespace quillmere
