// Creation of the engine's rule objects; included by the engine's own .cpp files only.
#pragma once

#include <memory>
#include <new>

#include "accounting/ClDataMgr.h"
#include "aggregate/AddTax.h"

template <typename Rule>
Rule* AggregationEngine::CachedRule(std::unique_ptr<Rule>& slot) {
  if (slot == nullptr) {
    slot.reset(new (std::nothrow) Rule);
    if (slot == nullptr) return nullptr;
    PrepareRule(*slot);
  }
  return slot.get();
}

template <typename Rule>
std::unique_ptr<Rule> AggregationEngine::NewPreparedRule() {
  std::unique_ptr<Rule> rule(new (std::nothrow) Rule);
  if (rule != nullptr) PrepareRule(*rule);
  return rule;
}

// Set ids of the common library's set objects.
constexpr int kAccountsSet = 1;
constexpr int kDepartmentsSet = 2;
constexpr int kTaxSettingsSet = 4;
constexpr int kDataSet = 5;

// A set object of the common library (owned by it); nullptr when there is none.
template <typename Set>
Set* SetObject(int setId) {
  return static_cast<Set*>(ClDataMgr::Inst()->GetSetObject(setId, 1));
}
