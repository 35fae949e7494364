// The named elements of the linkage file's fixed sections (SYSTEM, BASIC, KANPUH, KANPUK): each
// element's name, the Japanese label a person reads it by, and the values the writers may give
// it. The writers write the names from these tables, in their order; a reader of the file walks
// the same tables, so no element name is spelled twice.
#pragma once

#include <span>

// The document's own tags around the sections.
inline constexpr const char* kReportTag = "REPORT";
inline constexpr const char* kDataTag = "DATA";

// The values an element may carry as the writers write them.
enum class ValueRule {
  kText,         // any text (names, versions)
  kInteger,      // a signed decimal integer
  kDate,         // a signed decimal integer, YYYYMMDD when it is a date
  kFlag,         // "1" or "2"
  kFlagOrEmpty,  // "1", "2" or nothing
  kYen,          // whole yen without separators: nothing for zero, never "0"
  kYenOrZero,    // whole yen, zero written "0" or nothing
};

struct SectionElement {
  const char* name;
  const char* label;  // code page 932
  ValueRule rule;
  // For the flags: what "1" and "2" mean, in words; nullptr for other rules.
  const char* one = nullptr;
  const char* two = nullptr;
};

struct SectionTable {
  const char* tag;
  const char* label;  // code page 932
  std::span<const SectionElement> elements;
};
