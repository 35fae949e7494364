#include "tools/viewer/value_text.h"

#include <charconv>

namespace viewer {

namespace {

// A signed decimal integer without leading zeros or '+', as std::to_string writes one.
bool IsCanonicalInteger(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 18) return false;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
  }
  if (digits.size() > 1 && digits.front() == '0') return false;
  return !(text.front() == '-' && digits == "0");
}

}  // namespace

bool IsAmount(ValueRule rule) { return rule == ValueRule::kYen || rule == ValueRule::kYenOrZero; }

std::optional<std::string> ValueProblem(ValueRule rule, std::string_view value) {
  switch (rule) {
    case ValueRule::kText:
      return std::nullopt;
    case ValueRule::kInteger:
    case ValueRule::kDate:
      if (IsCanonicalInteger(value)) return std::nullopt;
      return "整数ではありません";
    case ValueRule::kFlag:
      if (value == "1" || value == "2") return std::nullopt;
      return "1 か 2 のはずです";
    case ValueRule::kFlagOrEmpty:
      if (value.empty() || value == "1" || value == "2") return std::nullopt;
      return "1 か 2 か空のはずです";
    case ValueRule::kYen:
      if (value == "0") return "空のはずです（金額 0 は空で書かれます）";
      [[fallthrough]];
    case ValueRule::kYenOrZero:
      if (value.empty() || IsCanonicalInteger(value)) return std::nullopt;
      return "円単位の金額（符号と数字だけ、区切りなし）ではありません";
  }
  return std::nullopt;
}

std::optional<std::int64_t> YenOf(ValueRule rule, std::string_view value) {
  std::int64_t yen = 0;
  if (!IsAmount(rule) || value.empty()) return std::nullopt;
  auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), yen);
  if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
  return yen;
}

std::string Grouped(std::int64_t yen, bool sign) {
  const std::string digits =
      std::to_string(yen < 0 ? -static_cast<std::uint64_t>(yen) : static_cast<std::uint64_t>(yen));
  std::string text = yen < 0 ? "-" : (sign && yen > 0 ? "+" : "");
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

std::string ShownValue(const SectionElement* fixed, ValueRule rule, std::string_view value) {
  if (std::optional<std::int64_t> yen = YenOf(rule, value)) return Grouped(*yen);
  if (rule == ValueRule::kDate && value.size() == 8 && value.front() != '-') {
    return std::string(value.substr(0, 4)) + "/" + std::string(value.substr(4, 2)) + "/" +
           std::string(value.substr(6, 2));
  }
  if (fixed != nullptr && fixed->one != nullptr && (value == "1" || value == "2")) {
    return std::string(value) + " " + (value == "1" ? fixed->one : fixed->two);
  }
  return std::string(value);
}

std::optional<std::string> Unescape(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '&') {
      out += text[i++];
      continue;
    }
    bool known = false;
    for (const auto& [entity, c] : kEntities) {
      if (text.substr(i, entity.size()) == entity) {
        out += c;
        i += entity.size();
        known = true;
        break;
      }
    }
    if (!known) return std::nullopt;
  }
  return out;
}

}  // namespace viewer
