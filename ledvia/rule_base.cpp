#include <string>

#include "accounting/ClRuleBase.h"
#include "ledvia/fault_injection.h"
#include "ledvia/session.h"
#include "ledvia/status_codes.h"

int ClRuleBase::AttachSetMgr(ClSetMgr* setMgr) {
  if (int fault = ledvia::FaultFor("ClRuleBase::AttachSetMgr")) return fault;
  return setMgr == nullptr ? ledvia::kBadArgument : ledvia::kOk;
}

int ClRuleBase::SetCurDataID(const char* dataId) {
  if (int fault = ledvia::FaultFor("ClRuleBase::SetCurDataID")) return fault;
  int dataNo = 0;
  // A refused id must not leave the object working on the selected data instead.
  refusedCode_ = ledvia::DataNoForId(dataId, &dataNo);
  dataNo_ = refusedCode_ == ledvia::kOk ? dataNo : 0;
  return refusedCode_;
}

int ClRuleBase::AttachOptLink(ClOptLink* optLink) {
  if (int fault = ledvia::FaultFor("ClRuleBase::AttachOptLink")) return fault;
  return optLink == nullptr ? ledvia::kBadArgument : ledvia::kOk;
}

int ClRuleBase::DataNo(int* dataNo) const {
  if (refusedCode_ != ledvia::kOk) return refusedCode_;
  if (dataNo_ != 0) {
    *dataNo = dataNo_;
    return ledvia::kOk;
  }
  return ledvia::SelectedDataNo(dataNo);
}

void* ClRuleBase::Allocate(std::size_t size, const char* className) noexcept {
  std::string fault = std::string(className) + "::new";
  if (ledvia::FaultFor(fault.c_str()) != 0) return nullptr;
  return ::operator new(size, std::nothrow);
}

void ClRuleBase::Deallocate(void* memory) noexcept { ::operator delete(memory); }
