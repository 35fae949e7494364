// Making named calls of the business-core stand-in fail, so that tests can walk every failure
// path of the program against a real company database.
//
// A call named "ClSetShohizei::Get" (class::operation) checks for an injected fault at its
// top and returns the injected code instead of working. Creation of a rule or save object is
// named "ClRuleShiwake::new" and makes new (std::nothrow) return nullptr; ClDataMgr hands out
// no set object when "ClDataMgr::GetSetObject:4" (with the set id) is injected.
//
// Faults come from ledvia::InjectFault in tests, or from the environment variable LEDVIA_FAIL,
// read once on first use: "Name=code[@after],Name=code[@after]", for example
// LEDVIA_FAIL="ClRuleShiwake::MoveNext=1234@2,ClSetShohizei::Get=7".
// The code "throw" makes the call raise std::runtime_error instead, as a library that fails
// in a way its interface does not describe would.
#pragma once

#include <string>

namespace ledvia {

// From now on `call` fails with `code` after `after` further successful calls (0: at once).
// A later injection for the same call replaces the earlier one.
void InjectFault(const std::string& call, int code, int after = 0);
// Removes every injected fault, those of LEDVIA_FAIL included.
void ClearFaults();
// Replaces every injected fault by those of `text`, written as LEDVIA_FAIL is. Returns the
// number of malformed items, which are skipped (and reported on stderr).
int LoadFaults(const std::string& text);
// The code `call` must fail with now, or 0. Counts the call towards `after`.
int FaultFor(const char* call);

}  // namespace ledvia
