// The conditions dialog "消費税 - 集計条件": shows the open company data, lets the user choose
// the aggregation method, the month range and the output file, and checks them before it
// closes with Execute.
#pragma once

#include <cstdint>
#include <string>

#include "accounting/ClToolTipMgr.h"
#include "ui/conditions.h"
#include "ui/remembered_settings.h"
#include "winport/mfc_dialog.h"

// Dialog results.
constexpr int kConditionsExecute = 1005;
constexpr int kConditionsCancel = 1006;

class ConditionsDialog : public CDialog {
 public:
  // Takes the setup whole; the dialog's parent is the setup's parent window. `remembered`
  // (the record of the setup's user and selection) is read at start; the run writes it after
  // a successful export, so it must outlive the dialog's use.
  ConditionsDialog(const ConditionsSetup& setup, RememberedSettings& remembered);

  // After DoModal returned Execute: the choices.
  ExportConditions Conditions() const;
  // The output path of the remembered settings read at start (empty when there was none).
  const std::string& RememberedPath() const { return rememberedPath_; }
  // The tool-tips of the dialog (installed for general taxation only).
  const ClToolTipMgr& ToolTips() const { return toolTips_; }

 protected:
  BOOL OnInitDialog() override;
  // The standard OK command (Enter while a radio button has the focus) runs the same checks
  // as Execute rather than closing the dialog unchecked.
  void OnOK() override;
  void OnCancel() override;
  BOOL PreTranslateMessage(MSG* message) override;
  void DoDataExchange(CDataExchange* dx) override;

 private:
  void OnJournalMethod();
  void OnSavedMethod();
  void OnBrowse();
  void OnExecute();
  void ShowMonths(std::int16_t start, std::int16_t end);
  // Focus to control `id` with its text selected whole and scrolled into view.
  void FocusAndSelect(int id);
  std::string DefaultOutputPath() const;

  ConditionsSetup setup_;
  RememberedSettings& remembered_;
  // Members exchanged with the controls.
  std::string startMonthText_;
  std::string endMonthText_;
  std::string outputPath_;
  int method_ = kMethodJournal;
  // Dialog state.
  std::int16_t journalStart_ = 0;
  std::int16_t journalEnd_ = 0;
  std::string rememberedPath_;
  bool pathFixed_ = false;
  ClToolTipMgr toolTips_;
};
