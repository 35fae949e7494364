// The one reader of fault lists, "Call=code[@after],Call=code[@after]", as the environment
// variables WINPORT_FAIL and LEDVIA_FAIL give them to a started program.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace winport {

struct FaultListItem {
  std::string call;  // the text before '='
  long code = 0;     // as `codeOf` read it
  int after = 0;     // successful calls before the fault, 0 without "@after"
};

// The well-formed items of `text`, in order. `codeOf` reads an item's code text and says
// whether it is one its caller accepts. Each malformed item (no call name, a code `codeOf`
// refuses, an "after" that is not a whole number from 0) is reported on stderr as
// "VARIABLE: ignored malformed item '...'", so that a typo in a test's environment is seen,
// and counted in `*malformed` when given. Empty items are skipped.
std::vector<FaultListItem> ParseFaultList(
    const std::string& text, const char* variable,
    const std::function<bool(const std::string&, long*)>& codeOf, int* malformed = nullptr);

// A decimal whole number filling all of `text` and within 32 bits.
bool ParseFaultNumber(const std::string& text, long* value);

}  // namespace winport
