#include "model/ks_clipboard.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace quillmere {
namespace {

TEST(KSClipboard, EncodeWritesCountTwiceAndOneRecordPerStep) {
  EXPECT_EQ(EncodeKSClipboardText({}), "KitterSpeak:0:0");
  EXPECT_EQ(EncodeKSClipboardText({{1, 0, 0}, {2, 100, 0}}), "KitterSpeak:2:2, 1:0:0, 2:100:0");
  EXPECT_EQ(EncodeKSClipboardText({{-32768, 32767, -1}}), "KitterSpeak:1:1, -32768:32767:-1");
}

TEST(KSClipboard, RandomScriptsSurviveEncodeAndDecode) {
  std::mt19937 random(20240611);
  const std::int16_t extremes[] = {-32768, 32767, -1, 0, 12, 1000, -999};
  std::uniform_int_distribution<int> any(-32768, 32767);
  std::uniform_int_distribution<int> length(0, 24);
  std::uniform_int_distribution<int> pick(0, 9);
  auto value = [&] {
    const int choice = pick(random);
    return choice < 7 ? extremes[choice] : static_cast<std::int16_t>(any(random));
  };
  for (int round = 0; round < 300; ++round) {
    TKSScript steps(static_cast<std::size_t>(length(random)));
    for (TKSStep& step : steps) step = {value(), value(), value()};
    const std::string text = EncodeKSClipboardText(steps);
    const TKSDecodeResult decoded = DecodeKSClipboardText(text);
    ASSERT_EQ(decoded.Steps, steps) << text;
    ASSERT_FALSE(decoded.Error.has_value()) << text;
  }
}

TEST(KSClipboard, DecodeHandlesSeparatorsValuesAndErrors) {
  struct Case {
    const char* Text;
    TKSScript Steps;
    std::optional<std::string> Error;
  };
  const std::string noSteps = "The clipboard text holds no KitterSpeak steps.";
  const Case cases[] = {
      {"KitterSpeak:1:1", {}, std::nullopt},
      {"kitterspeak:1:1, 1:0:0", {}, std::nullopt},
      {" KitterSpeak:1:1, 1:0:0", {}, std::nullopt},
      {"", {}, std::nullopt},
      {"KitterSpeak:2:2, 1:0:0, 2:5:0", {{1, 0, 0}, {2, 5, 0}}, std::nullopt},
      {"KitterSpeak:2:2,1:0:0,2:5:0", {{1, 0, 0}, {2, 5, 0}}, std::nullopt},
      {"KitterSpeak:2:2,  ,1:0:0, , 2:5:0", {{1, 0, 0}, {2, 5, 0}}, std::nullopt},
      {"KitterSpeak:9:x, 3:0:12", {{3, 0, 12}}, std::nullopt},
      {"KitterSpeak:1:1, 2:40000:0", {{2, -25536, 0}}, std::nullopt},
      {"KitterSpeak:1:1, +2:  -7:-2147483648", {{2, -7, 0}}, std::nullopt},
      {"KitterSpeak:1:1, 2:2147483647:65535", {{2, -1, -1}}, std::nullopt},
      {"KitterSpeak:3:3, 1:0:0, x:1:2, 2:5:0", {{1, 0, 0}}, "''x'' is not a valid integer value"},
      {"KitterSpeak:1:1, 1:0:0 ", {}, "''0 '' is not a valid integer value"},
      {"KitterSpeak:1:1, 1:2147483648:0", {}, "''2147483648'' is not a valid integer value"},
      {"KitterSpeak:1:1, 1:-:0", {}, "''-'' is not a valid integer value"},
      {"KitterSpeak:1:1, 1:2,3:4", {}, "''2,3'' is not a valid integer value"},
      {"KitterSpeak:1:1, 1:5:,2:6:7", {}, "''5:,2'' is not a valid integer value"},
      {"KitterSpeak:", {}, noSteps},
      {"KitterSpeak::", {}, noSteps},
      {"KitterSpeak:1, 2", {}, noSteps},
  };
  for (const Case& c : cases) {
    const TKSDecodeResult decoded = DecodeKSClipboardText(c.Text);
    EXPECT_EQ(decoded.Steps, c.Steps) << c.Text;
    EXPECT_EQ(decoded.Error, c.Error) << c.Text;
  }
}

// The record rule written the way a backtracking matcher tries it: every end
// of the first field in order, then every end of the second.
std::vector<std::string> ReferenceFields(const std::string& text) {
  std::vector<std::string> fields;
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    bool matched = false;
    for (std::size_t j = i + 1; j < n && !matched; ++j) {
      if (text[j - 1] == ',' || text[j - 1] == ' ') break;
      if (text[j] != ':') continue;
      for (std::size_t k = j + 2; k + 1 < n; ++k) {
        if (text[k] != ':' || text[k + 1] == ',') continue;
        std::size_t end = text.find(',', k + 1);
        if (end == std::string::npos) end = n;
        fields.push_back(text.substr(i, j - i));
        fields.push_back(text.substr(j + 1, k - j - 1));
        fields.push_back(text.substr(k + 1, end - k - 1));
        i = end < n ? end + 1 : n;
        matched = true;
        break;
      }
    }
    if (!matched) ++i;
  }
  return fields;
}

TEST(KSClipboard, DecodeFindsTheSameRecordsAsTheBacktrackingRule) {
  std::mt19937 random(77);
  const char alphabet[] = {'1', '2', '-', ':', ':', ',', ' ', 'x'};
  std::uniform_int_distribution<int> letter(0, sizeof alphabet - 1);
  std::uniform_int_distribution<int> length(0, 18);
  for (int round = 0; round < 20000; ++round) {
    std::string text = "KitterSpeak:";
    for (int count = length(random); count > 0; --count) text += alphabet[letter(random)];

    const std::vector<std::string> fields = ReferenceFields(text);
    TKSScript expected;
    std::optional<std::string> error;
    if (fields.empty()) error = "The clipboard text holds no KitterSpeak steps.";
    for (std::size_t f = 3; f < fields.size() && !error; f += 3) {
      std::int16_t values[3] = {};
      for (int part = 0; part < 3 && !error; ++part) {
        const std::string& field = fields[f + part];
        // The alphabet holds no other white space and no "+", so strtoll accepts
        // exactly what the decoder should; it saturates on overflow.
        char* end = nullptr;
        const long long full = std::strtoll(field.c_str(), &end, 10);
        const bool valid = end == field.c_str() + field.size() &&
                           full >= INT32_MIN && full <= INT32_MAX;
        if (!valid) error = "''" + field + "'' is not a valid integer value";
        else values[part] = static_cast<std::int16_t>(full);
      }
      if (!error) expected.push_back({values[0], values[1], values[2]});
    }
    const TKSDecodeResult decoded = DecodeKSClipboardText(text);
    ASSERT_EQ(decoded.Steps, expected) << text;
    ASSERT_EQ(decoded.Error, error) << text;
  }
}

TEST(KSClipboard, LongHostileTextDecodesWithoutBlowingUp) {
  const std::string header = "KitterSpeak:1:1,";
  struct Case {
    std::string Text;
    std::size_t Steps;
    bool Error;
  };
  auto repeat = [](const std::string& piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
  };
  const Case cases[] = {
      {"KitterSpeak:" + std::string(300000, ':'), 0, false},
      {header + std::string(300000, ':'), 0, true},
      {header + repeat("a:", 150000), 0, true},
      {header + repeat("a:,", 100000), 0, false},
      {header + repeat("a ", 150000) + "1:2:3", 1, false},
      {header + repeat(",", 300000), 0, false},
      {header + repeat("1:2:3,", 50000), 50000, false},
  };
  for (const Case& c : cases) {
    const TKSDecodeResult decoded = DecodeKSClipboardText(c.Text);
    EXPECT_EQ(decoded.Steps.size(), c.Steps) << c.Text.substr(0, 40);
    EXPECT_EQ(decoded.Error.has_value(), c.Error) << c.Text.substr(0, 40);
  }
}

}  // namespace
}  // namespace quillmere
