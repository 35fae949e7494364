// Element values as the writers write them and as a person reads them: which texts a value
// rule allows, amounts with thousands separators, dates and flags in words. Code page 932.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "report/section_table.h"

namespace viewer {

// Why `value` is not a value the writers could write under `rule`; nullopt when it is.
std::optional<std::string> ValueProblem(ValueRule rule, std::string_view value);

// The whole-yen amount of an amount value; nullopt for an empty value or another rule.
std::optional<std::int64_t> YenOf(ValueRule rule, std::string_view value);
bool IsAmount(ValueRule rule);

// 1234567 -> "1,234,567"; negative amounts keep their sign; `sign` adds "+" to positive ones.
std::string Grouped(std::int64_t yen, bool sign = false);

// The value as shown: amounts grouped, YYYYMMDD dates as "2019/04/01", flags in words
// ("1 原則課税"), everything else as it stands; an empty value stays empty.
std::string ShownValue(const SectionElement* fixed, ValueRule rule, std::string_view value);

// XML's five escapes undone; nullopt when the value holds '&' that starts none of them.
std::optional<std::string> Unescape(std::string_view text);

}  // namespace viewer
