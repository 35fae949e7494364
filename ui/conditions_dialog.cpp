#include "ui/conditions_dialog.h"

#include <optional>

#include "accounting/ClFileMgr.h"
#include "aggregate/month_range.h"
#include "resources/dialogs.h"
#include "resources/strings.h"
#include "ui/output_destination.h"
#include "winport/cp932.h"
#include "winport/crt.h"
#include "winport/file_dialog.h"
#include "winport/files.h"
#include "winport/message_box.h"

namespace {

constexpr int kOutputLimit = 255;
constexpr int kMonthLimit = 2;
constexpr std::size_t kPathBuffer = MAX_PATH + 1;

constexpr char kToolTipText[] =
    "連動元製品にて入力・保存した消費税申告書の情報を使用します。\n"
    "仕訳から集計できない以下の金額を連動元製品にて入力済みの場合、\n"
    "こちらを選択することで連動できます。\n\n"
    "・特定課税仕入れ\n"
    "・納税義務の免除を受けない(受ける)こととなった場合における消費税の調整額\n"
    "・課税売上割合変動時調整対象固定資産に係る消費税額の調整額\n"
    "・調整対象固定資産を課税業務用に転用した場合の調整額\n\n"
    "※選択データにて[消費税申告書作成]を起動したことがない場合は選択できません。";

constexpr UINT kError = MB_OK | MB_ICONEXCLAMATION;

std::int16_t MonthOf(const std::string& text) {
  return static_cast<std::int16_t>(winport::Atoi(text.c_str()));
}

bool ModifierHeld() {
  return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

}  // namespace

ConditionsDialog::ConditionsDialog(const ConditionsSetup& setup, RememberedSettings& remembered)
    : CDialog(LoadDialogTemplate(IDD_CONDITIONS), setup.parentWindow),
      setup_(setup),
      remembered_(remembered) {
  OnCommandId(IDC_METHOD_JOURNAL, [this] { OnJournalMethod(); });
  OnCommandId(IDC_METHOD_SAVED, [this] { OnSavedMethod(); });
  OnCommandId(IDC_EXECUTE, [this] { OnExecute(); });
  OnCommandId(IDC_BROWSE, [this] { OnBrowse(); });
  OnCommandId(IDC_CANCEL, [this] { OnCancel(); });
}

ExportConditions ConditionsDialog::Conditions() const {
  ExportConditions conditions;
  conditions.method = method_;
  conditions.startMonth = winport::Atoi(startMonthText_.c_str());
  conditions.endMonth = winport::Atoi(endMonthText_.c_str());
  conditions.outputPath = outputPath_;
  return conditions;
}

void ConditionsDialog::DoDataExchange(CDataExchange* dx) {
  DDX_Text(dx, IDC_COMPANY, setup_.companyName);
  DDX_Text(dx, IDC_PERIOD, setup_.periodText);
  DDX_Text(dx, IDC_TAXATION, setup_.taxationText);
  DDX_Text(dx, IDC_DEDUCTION_CAPTION, setup_.deductionLabel);
  DDX_Text(dx, IDC_DEDUCTION, setup_.deductionValue);
  DDX_Text(dx, IDC_START_MONTH, startMonthText_);
  DDV_MaxChars(dx, IDC_START_MONTH, kMonthLimit);
  DDX_Text(dx, IDC_END_MONTH, endMonthText_);
  DDV_MaxChars(dx, IDC_END_MONTH, kMonthLimit);
  DDX_Text(dx, IDC_OUTPUT_PATH, outputPath_);
  DDX_Radio(dx, IDC_METHOD_JOURNAL, method_);
}

BOOL ConditionsDialog::OnInitDialog() {
  CDialog::OnInitDialog();

  if ((setup_.deductionLabel.empty() && setup_.deductionValue.empty()) || setup_.pastResults) {
    std::string text = setup_.pastResults
                           ? "過去実績データは、連携の対象として使用できません。"
                           : "消費税申告区分が免税のデータは、連携の対象として使用できません。";
    text += "\n\nアプリケーションを終了します。";
    MessageBoxA(text.c_str(), kMessageCaption, kError);
    EndDialog(kConditionsCancel);
  }

  SendDlgItemMessage(IDC_OUTPUT_PATH, EM_LIMITTEXT, kOutputLimit);

  MonthRange period = DefaultMonthRange(setup_.periodStart, setup_.periodEnd);
  std::int16_t start = period.first;
  std::int16_t end = static_cast<std::int16_t>(period.last % 100);
  int method = kMethodJournal;
  std::string path;
  if (std::optional<RememberedRecord> record = remembered_.Read()) {
    rememberedPath_ = record->outputPath;
    path = record->outputPath;
    method = record->method;
    if (method != kMethodSaved) {
      start = record->startMonth;
      end = record->endMonth;
    }
  }
  journalStart_ = start;
  journalEnd_ = end;

  if (!setup_.savedFiguresAvailable) {
    method = kMethodJournal;
    GetDlgItem(IDC_METHOD_JOURNAL)->EnableWindow(FALSE);
    GetDlgItem(IDC_METHOD_SAVED)->EnableWindow(FALSE);
  }

  if (path.empty()) path = DefaultOutputPath();

  if (!setup_.fixedOutputPath.empty()) {
    outputPath_ = setup_.fixedOutputPath;
    GetDlgItem(IDC_BROWSE)->EnableWindow(FALSE);
    GetDlgItem(IDC_OUTPUT_PATH)->EnableWindow(FALSE);
    GetDlgItem(IDC_OUTPUT_GROUP)->SetWindowTextA("出力先");
    pathFixed_ = true;
  } else {
    outputPath_ = path;
    pathFixed_ = false;
  }

  if (method == kMethodSaved) {
    method_ = kMethodSaved;
    ShowMonths(setup_.savedStartMonth, setup_.savedEndMonth);
    UpdateData(FALSE);
    GetDlgItem(IDC_METHOD_SAVED)->SetFocus();
    GetDlgItem(IDC_START_MONTH)->EnableWindow(FALSE);
    GetDlgItem(IDC_END_MONTH)->EnableWindow(FALSE);
  } else {
    // A stored method other than the two known ones counts as journal aggregation.
    method_ = kMethodJournal;
    ShowMonths(journalStart_, journalEnd_);
    UpdateData(FALSE);
    CWnd* journal = GetDlgItem(IDC_METHOD_JOURNAL);
    if (journal->IsWindowEnabled()) journal->SetFocus();
  }

  if (setup_.taxationKind == kGeneral) {
    const StTOOLTIPINFO tips[] = {{IDC_TOOLTIP_ANCHOR, kToolTipText, 1}};
    toolTips_.Init(m_hWnd, tips, 1);
  }

  UpdateData(FALSE);
  return FALSE;  // the focus is set
}

std::string ConditionsDialog::DefaultOutputPath() const {
  std::string folder = ClFileMgr::Inst()->GetAppFolderPath(ClFileMgr::FOLDER_OUTPUT);
  if (folder.empty()) {
    char temp[kPathBuffer] = {};
    DWORD length = GetTempPathA(kPathBuffer, temp);
    if (length < kPathBuffer) folder.assign(temp, length);
    if (!folder.empty() && !winport::cp932::EndsWithBackslash(folder) &&
        folder.size() < static_cast<std::size_t>(MAX_PATH)) {
      folder += '\\';
    }
  }
  std::string path = folder + "*.xml";
  // A folder too long for a path buffer leaves the field empty rather than holding a path no
  // file function can take.
  if (path.size() > static_cast<std::size_t>(MAX_PATH)) path.clear();
  return path;
}

void ConditionsDialog::ShowMonths(std::int16_t start, std::int16_t end) {
  startMonthText_ = std::to_string(start);
  endMonthText_ = std::to_string(end);
}

void ConditionsDialog::OnJournalMethod() {
  UpdateData(TRUE);
  if (method_ != kMethodJournal) return;
  ShowMonths(journalStart_, journalEnd_);
  GetDlgItem(IDC_START_MONTH)->EnableWindow(TRUE);
  GetDlgItem(IDC_END_MONTH)->EnableWindow(TRUE);
  UpdateData(FALSE);
}

void ConditionsDialog::OnSavedMethod() {
  UpdateData(TRUE);
  if (method_ != kMethodSaved) return;
  ShowMonths(setup_.savedStartMonth, setup_.savedEndMonth);
  GetDlgItem(IDC_START_MONTH)->EnableWindow(FALSE);
  GetDlgItem(IDC_END_MONTH)->EnableWindow(FALSE);
  UpdateData(FALSE);
}

void ConditionsDialog::OnBrowse() {
  UpdateData(TRUE);
  std::string folder;
  std::string file;
  std::size_t separator = winport::cp932::FindLastChar(outputPath_, '\\');
  if (separator != std::string::npos) {
    folder = outputPath_.substr(0, separator + 1);
    file = outputPath_.substr(separator + 1);
  } else {
    std::size_t colon = winport::cp932::FindLastChar(outputPath_, ':');
    folder = colon == std::string::npos ? "" : outputPath_.substr(0, colon + 1);
    file = colon == std::string::npos ? outputPath_ : outputPath_.substr(colon + 1);
  }
  // Browse names the file to be written, which usually does not exist yet, so the dialog
  // must not insist on an existing file; the overwrite question comes with Execute.
  CFileDialog browse(FALSE, "XML", file.c_str(),
                     OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST,
                     "Xml Files (*.xml)|*.xml||", this);
  browse.m_ofn.lpstrInitialDir = folder.c_str();
  browse.m_ofn.lpstrTitle = "保存ファイルを指定";
  if (browse.DoModal() == IDOK) {
    outputPath_ = browse.GetPathName();
    GetDlgItem(IDC_OUTPUT_PATH)->SetWindowTextA(outputPath_.c_str());
  }
  GetDlgItem(IDC_EXECUTE)->SetFocus();
}

void ConditionsDialog::FocusAndSelect(int id) {
  CWnd* control = GetDlgItem(id);
  control->SetFocus();
  control->SendMessage(EM_SETSEL, 0, -1);
  control->SendMessage(EM_SCROLLCARET);
}

void ConditionsDialog::OnExecute() {
  UpdateData(TRUE);
  std::int16_t start = MonthOf(startMonthText_);
  std::int16_t end = MonthOf(endMonthText_);
  MonthRange period = DefaultMonthRange(setup_.periodStart, setup_.periodEnd);
  MonthRangeError error = CheckMonthRange(start, end, period);
  if (error != kRangeRight) {
    MessageBoxA("集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。", kMessageCaption,
                kError);
    FocusAndSelect(error == kStartWrong ? IDC_START_MONTH : IDC_END_MONTH);
    return;
  }
  if (CheckOutputDestination(m_hWnd, outputPath_, pathFixed_) == OutputCheckResult::Accept) {
    EndDialog(kConditionsExecute);
  } else {
    FocusAndSelect(IDC_OUTPUT_PATH);
  }
}

void ConditionsDialog::OnOK() { OnExecute(); }

void ConditionsDialog::OnCancel() {
  MessageBoxA("｢消費税｣の集計を中止します。", kMessageCaption, MB_OK | MB_ICONINFORMATION);
  EndDialog(kConditionsCancel);
}

BOOL ConditionsDialog::PreTranslateMessage(MSG* message) {
  if (message->message == WM_KEYDOWN && !ModifierHeld()) {
    const int focus = GetDlgCtrlID(::GetFocus());
    const bool browseEnabled = GetDlgItem(IDC_BROWSE)->IsWindowEnabled();
    if (message->wParam == VK_F12) {
      OnExecute();
      return TRUE;
    }
    if (message->wParam == VK_RETURN) {
      switch (focus) {
        case IDC_START_MONTH:
          FocusAndSelect(IDC_END_MONTH);
          return TRUE;
        case IDC_END_MONTH:
          if (browseEnabled) {
            FocusAndSelect(IDC_OUTPUT_PATH);
          } else {
            GetDlgItem(IDC_EXECUTE)->SetFocus();
          }
          return TRUE;
        case IDC_OUTPUT_PATH:
          GetDlgItem(browseEnabled ? IDC_BROWSE : IDC_EXECUTE)->SetFocus();
          return TRUE;
        case IDC_BROWSE:
          OnBrowse();
          return TRUE;
        case IDC_EXECUTE:
          OnExecute();
          return TRUE;
        default:
          break;
      }
    }
  }
  return CDialog::PreTranslateMessage(message);
}
