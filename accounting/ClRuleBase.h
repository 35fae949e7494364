// Common base of the business core's rule objects (cursors and summations) and of the save
// object. The program creates them with new (std::nothrow), prepares them with AttachSetMgr,
// SetCurDataID and AttachOptLink in that order, and deletes them when done.
#pragma once

#include <cstddef>
#include <new>

#include "accounting/ClOptLink.h"
#include "accounting/ClSetMgr.h"

class ClRuleBase {
 public:
  ClRuleBase() = default;
  ClRuleBase(const ClRuleBase&) = delete;
  ClRuleBase& operator=(const ClRuleBase&) = delete;
  virtual ~ClRuleBase() = default;

  int AttachSetMgr(ClSetMgr* setMgr);
  // The company data to work on (StDATAINFO offset 0). Unknown ids are refused with a
  // failure code, and the object then refuses to work with the same code; without any call
  // the selected data is used.
  int SetCurDataID(const char* dataId);
  int AttachOptLink(ClOptLink* optLink);

 protected:
  // Memory for a rule object of class `className`; nullptr when creation is made to fail
  // (fault "ClName::new", see the ledvia README) or memory is short.
  static void* Allocate(std::size_t size, const char* className) noexcept;
  static void Deallocate(void* memory) noexcept;
  // The data number the rule works on; 0 and a failure code when there is none.
  int DataNo(int* dataNo) const;

 private:
  int dataNo_ = 0;
  int refusedCode_ = 0;
};

// Gives a rule class the allocation functions through which creation can be made to fail.
#define LEDVIA_RULE_ALLOCATION(ClassName)                                       \
 public:                                                                        \
  static void* operator new(std::size_t size, const std::nothrow_t&) noexcept { \
    return Allocate(size, #ClassName);                                          \
  }                                                                             \
  static void* operator new(std::size_t size) {                                 \
    void* memory = Allocate(size, #ClassName);                                  \
    if (memory == nullptr) throw std::bad_alloc();                              \
    return memory;                                                              \
  }                                                                             \
  static void operator delete(void* memory) noexcept { Deallocate(memory); }    \
  static void operator delete(void* memory, const std::nothrow_t&) noexcept { Deallocate(memory); }
