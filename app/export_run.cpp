// The export run: from the company data the user has open to the finished linkage file.
#include <cstdio>
#include <cstring>
#include <optional>

#include "accounting/ClDataMgr.h"
#include "accounting/ClMsgMgr.h"
#include "accounting/ClSetData.h"
#include "accounting/ClSetShohizei.h"
#include "accounting/ClSysUser.h"
#include "accounting/StDATAINFO.h"
#include "accounting/StSaveTaxInfo.h"
#include "aggregate/run_month_find.h"
#include "app/ExportApp.h"
#include "app/conditions_texts.h"
#include "app/period.h"
#include "app/run_messages.h"
#include "app/saved_figures.h"
#include "app/tax_settings.h"
#include "report/report_document.h"
#include "resources/strings.h"
#include "ui/conditions_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/remembered_settings.h"
#include "winport/message_box.h"
#include "winport/user_windows.h"

namespace {

// The first day from which the sixth business type exists.
constexpr std::int32_t kSixthTypeFirstDay = 20150401;

struct SelectedData {
  std::string userId;
  int first = 0;
  int second = 0;
  std::optional<StDATAINFO> record;  // nullopt when no data record has the selection's number
};

// The current user, the user's two selection numbers and the data record the second one names.
SelectedData FindSelectedData(ClSetData* dataSet) {
  SelectedData selected;
  if (ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject()) {
    char userId[kUserIdMax + 1] = {};
    user->GetCurUserID(userId);
    selected.userId = userId;
    user->GetSelectedNo(userId, &selected.first, &selected.second);
  }
  if (dataSet == nullptr) return selected;
  SETCURSOR cursor{};
  dataSet->GetDatCursor(&cursor);
  dataSet->ReadyDat(cursor, 0);
  StDATAINFO record;
  std::memset(&record, 0, sizeof record);
  while (dataSet->WalkDat(&record, cursor) == 0) {
    if (record.dataNo == selected.second) {
      selected.record = record;
      break;
    }
  }
  dataSet->ReleaseDatCursor(cursor);
  return selected;
}

int ShowRunMessage(HWND owner, const char* text, UINT style) {
  return MessageBoxA(owner, text, kMessageCaption, style);
}

// After a failed stage or check, before anything was written: the message library's own
// message for the code of the call that failed, or ours when there is no such code.
void ShowAggregationFailure(int code, HWND owner) {
  if (code != 0 && ClMsgMgr::Inst()->CheckFatalErrorWithMsg(code, -1, 1, owner) != 0) return;
  ShowRunMessage(owner, kAggregationFailedMessage, MB_OK | MB_ICONEXCLAMATION);
}

const char* FailedSectionQuestion(ReportSection section) {
  switch (section) {
    case ReportSection::kSystem:
      return kSystemFailedQuestion;
    case ReportSection::kBasic:
      return kBasicFailedQuestion;
    case ReportSection::kData:
      break;
  }
  return kDataFailedQuestion;
}

}  // namespace

bool ExportApp::ReadRunTaxSettings(const StDATAINFO& data, HWND owner) {
  std::optional<StSHOHIZEIINFO> read = ReadTaxSettings(taxSettingsSet, data.dataId);
  // All-zero settings would read as exempt data, or empty every figure that depends on them.
  if (!read) {
    ShowRunMessage(owner, kTaxSettingsUnreadableMessage, MB_OK | MB_ICONEXCLAMATION);
    resultCode = kResultFailed;
    return false;
  }
  taxSettings = *read;
  roundingMode = taxSettings.roundingMode;
  return true;
}

bool ExportApp::RunExport() {
  if (dataSet == nullptr) dataSet = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
  if (taxSettingsSet == nullptr) {
    taxSettingsSet = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1));
  }
  SelectedData selected = FindSelectedData(dataSet);
  // Going on with an all-zero record would export a file that belongs to no company.
  if (!selected.record) {
    ShowRunMessage(callerWindow, kNoSelectedDataMessage, MB_OK | MB_ICONEXCLAMATION);
    resultCode = kResultFailed;
    return false;
  }
  const StDATAINFO& data = *selected.record;

  savedFigures = std::make_unique<unsigned char[]>(kSavedFiguresBufferSize);
  const bool savedUsable = PrepareSavedFigures(savedFigures.get(), data) == 1;

  ConditionsSetup setup;
  setup.parentWindow = parentWindow;
  if (launchedByCaller == 1) setup.fixedOutputPath = fixedOutputPath;
  setup.userId = selected.userId;
  setup.selectionFirst = selected.first;
  setup.selectionSecond = selected.second;
  setup.periodStart = data.periodStart;
  setup.periodEnd = data.periodEnd;
  SavedFiguresMonths(StSaveTaxInfo::Int32(savedFigures.get(), StSaveTaxInfo::kTaxablePeriodStart),
                     StSaveTaxInfo::Int32(savedFigures.get(), StSaveTaxInfo::kTaxablePeriodEnd),
                     &setup.savedStartMonth, &setup.savedEndMonth);
  setup.pastResults = data.dataKind == kDataKindPastResults;
  setup.savedFiguresAvailable = savedUsable;
  if (!ReadRunTaxSettings(data, callerWindow)) return false;
  const StSHOHIZEIINFO& settings = taxSettings;
  FillConditionsTexts(setup, data, settings);
  taxationKind = settings.taxationKind;
  if (settings.taxationKind == 1) mainBusinessType = settings.mainBusinessType;
  setup.taxationKind = taxationKind;

  RememberedSettings remembered(setup.userId, setup.selectionFirst, setup.selectionSecond,
                                edition_.settingsFileName);
  ConditionsDialog dialog(setup, remembered);
  if (dialog.DoModal() == kConditionsCancel) {
    resultCode = kResultStopped;
    return false;
  }
  const ExportConditions conditions = dialog.Conditions();

  ProgressDialog progress;
  progress.Create();
  const bool finished = conditions.method == kMethodSaved
                            ? WriteFromSavedFigures(data, conditions, progress)
                            : AggregateAndWrite(data, conditions, progress);
  if (!finished) return false;

  remembered.Write(static_cast<std::int16_t>(conditions.startMonth),
                   static_cast<std::int16_t>(conditions.endMonth),
                   launchedByCaller == 1 ? nullptr : conditions.outputPath.c_str(),
                   conditions.method);
  totals.Release();
  savedFigures.reset();
  ShowRunMessage(progress.GetSafeHwnd(), kCompletionMessage, MB_OK | MB_ICONINFORMATION);
  return true;
}

bool ExportApp::WriteFromSavedFigures(const StDATAINFO& data, const ExportConditions& conditions,
                                      ProgressDialog& progress) {
  ReportContext context = MakeReportContext(data, progress.GetSafeHwnd());
  Win32FileOutput file;
  ReportOutcome outcome = WriteReportFromSavedFigures(file, conditions.outputPath.c_str(), context);
  if (outcome == ReportOutcome::kAbandoned) savedFigures.reset();
  return FinishReport(outcome, progress.GetSafeHwnd());
}

bool ExportApp::AggregateAndWrite(const StDATAINFO& data, const ExportConditions& conditions,
                                  ProgressDialog& progress) {
  const HWND owner = progress.GetSafeHwnd();
  const int rateCount = taxSettingsSet != nullptr ? taxSettingsSet->GetTaxRateCount() : -1;
  if (rateCount < 0) {
    ShowAggregationFailure(taxSettingsSet != nullptr ? rateCount : 0, owner);
    resultCode = kResultFailed;
    return false;
  }
  totals.Allocate(static_cast<std::int16_t>(rateCount));
  AggregationEngine& engine = progress.engine();
  engine.SetTaxationKind(taxationKind);
  engine.SetMainBusinessType(mainBusinessType);
  engine.monthFind() =
      BuildRunMonthFind(DefaultMonthRange(data.periodStart, data.periodEnd), conditions.startMonth,
                        conditions.endMonth, data.interimClosing == 1);
  if (!ReadRunTaxSettings(data, owner)) return false;
  const StSHOHIZEIINFO settings = taxSettings;

  int sixthTypeEntries = 0;
  int code = engine.CountSixthBusinessTypeEntries(&sixthTypeEntries);
  if (ClMsgMgr::Inst()->CheckFatalErrorWithMsg(code, -1, 1, nullptr) != 0) {
    resultCode = kResultFailed;
    return false;
  }
  const std::int32_t startDate = MonthStartDate(static_cast<std::int16_t>(conditions.startMonth));
  if (sixthTypeEntries > 0 && settings.taxationKind == 1) {
    if (startDate < kSixthTypeFirstDay) {
      char text[1024];
      std::snprintf(text, sizeof text, kSixthTypeMessage, edition_.programName);
      ShowRunMessage(owner, text, MB_OK | MB_ICONEXCLAMATION);
      resultCode = kResultStopped;
      return false;
    }
  } else if (settings.taxationKind > 1) {
    const int imports = engine.HasImportCategoryEntries();
    if (imports == kCheckFailed) {
      ShowAggregationFailure(engine.failureCode(), owner);
      resultCode = kResultFailed;
      return false;
    }
    if (imports == 1) ShowRunMessage(owner, kImportCategoryMessage, MB_OK | MB_ICONINFORMATION);
  }

  progress.ShowWindow(SW_SHOW);
  // Kept through the writing of the file; every way out of this function ends it.
  CWaitCursor wait;
  progress.ResetOverall();
  // A stage that failed leaves its figures short: a file written from them would be imported
  // as complete, so the run stops before the file is opened.
  const auto stop = [&] {
    progress.ShowWindow(SW_HIDE);
    ShowAggregationFailure(engine.failureCode(), owner);
    resultCode = kResultFailed;
    return false;
  };
  progress.Advance(0, 250);
  if (!engine.SumTaxByRate(totals)) return stop();
  progress.Advance(250, 500);
  if (!engine.SumSpecialAccounts(totals, settings)) return stop();
  progress.Advance(500, 750);
  if (!engine.SumCorporateStatement(totals, data, settings)) return stop();
  if (!engine.SumSoleProprietorStatement(totals, data, settings)) return stop();
  progress.Advance(750, 1000);
  progress.Finish();

  ReportContext context = MakeReportContext(data, owner);
  Win32FileOutput file;
  return FinishReport(WriteReportFromTotals(file, conditions.outputPath.c_str(), context), owner);
}

bool ExportApp::FinishReport(ReportOutcome outcome, HWND owner) {
  switch (outcome) {
    case ReportOutcome::kComplete:
      return true;
    case ReportOutcome::kAbandoned:
      resultCode = kResultFailed;
      return false;
    case ReportOutcome::kUnfinished:
      // Nothing is left to go on with, but nobody may take the file for a whole one (the
      // closing tag was lost, or the file could not be put on the disk).
      ShowRunMessage(owner, kClosingFailedMessage, MB_OK | MB_ICONEXCLAMATION);
      break;
    case ReportOutcome::kCompleteWithFailure:
      break;
  }
  // A file finished past a failed section, or without its closing tag, is still incomplete.
  resultCode = kResultFailed;
  return true;
}

ReportContext ExportApp::MakeReportContext(const StDATAINFO& data, HWND owner) const {
  ReportContext context;
  context.functionId = functionId;
  context.programName = edition_.programName;
  context.connectedProgramVersion = LoadResourceString(IDS_VERSION);
  context.data = data;
  context.settings = taxSettings;
  context.taxationKind = taxationKind;
  context.roundingMode = roundingMode;
  context.totals = totals.SlotCount() > 0 ? &totals : nullptr;
  context.savedFigures = savedFigures.get();
  context.goOnAfterFailure = [owner](ReportSection section) {
    return ShowRunMessage(owner, FailedSectionQuestion(section), MB_YESNO | MB_ICONEXCLAMATION) ==
           IDYES;
  };
  context.outOfMemory = [owner] {
    ShowRunMessage(owner, kOutOfMemoryMessage, MB_OK | MB_ICONEXCLAMATION);
  };
  return context;
}
