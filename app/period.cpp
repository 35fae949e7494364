#include "app/period.h"

#include <memory>

#include "accounting/ClAccPeriod.h"
#include "accounting/ClDataMgr.h"
#include "accounting/ClMsgMgr.h"
#include "accounting/ClSetData.h"

namespace {

constexpr int kSavedFiguresMonthsLine = 8520;
// Recorded when set object 5 itself is missing, so there is no library code to pass on.
constexpr int kNoDataSet = -1;

// The selected data's period calendar, owned by the caller (deleted on every path).
int TakePeriodCalendar(std::unique_ptr<ClAccPeriod>* calendar) {
  auto* dataSet = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
  if (dataSet == nullptr) return kNoDataSet;
  ClAccPeriod* taken = nullptr;
  int code = dataSet->GetAccPeriod(&taken);
  calendar->reset(taken);
  if (code == 0 && taken == nullptr) return kNoDataSet;
  return code;
}

int Record(int code, int line) {
  if (code == 0) return ClMsgMgr::Inst()->SetLastError(0, nullptr, 0);
  return ClMsgMgr::Inst()->SetLastError(code, "ControlATS31", line);
}

}  // namespace

std::int32_t MonthStartDate(std::int16_t month) {
  std::unique_ptr<ClAccPeriod> calendar;
  if (TakePeriodCalendar(&calendar) != 0) return 0;
  int first = 0;
  int last = 0;
  if (calendar->GetPeriodByAMonth(month, &first, &last, 0) != 0) return 0;
  return first;
}

int SavedFiguresMonths(std::int32_t firstDay, std::int32_t lastDay, std::int16_t* firstMonth,
                       std::int16_t* lastMonth) {
  std::unique_ptr<ClAccPeriod> calendar;
  int code = TakePeriodCalendar(&calendar);
  if (code != 0) return Record(code, kSavedFiguresMonthsLine);
  short first = 0;
  short last = 0;
  calendar->GetAMonthByDate(firstDay, &first, 0);
  code = calendar->GetAMonthByDate(lastDay, &last, 0);
  *firstMonth = first;
  *lastMonth = last;
  return Record(code, kSavedFiguresMonthsLine);
}
