#include "resources/dialogs.h"

namespace {

using winport::ControlClass;
using winport::ControlTemplate;
using winport::DialogTemplate;

constexpr int kNoId = -1;
// The styles the resource compiler gives each kind of statement.
constexpr DWORD kLabel = SS_LEFT | WS_GROUP;
constexpr DWORD kRightLabel = SS_RIGHT | WS_GROUP;
constexpr DWORD kCentredLabel = SS_CENTER | WS_GROUP;
constexpr DWORD kGroupBox = BS_GROUPBOX;
constexpr DWORD kMonthEdit = ES_NUMBER | ES_RIGHT | WS_BORDER | WS_TABSTOP;
constexpr DWORD kPushButton = BS_PUSHBUTTON | WS_TABSTOP;

ControlTemplate Static(int id, DWORD style, const char* text, short x, short y, short cx,
                       short cy) {
  return {id, ControlClass::Static, style, text, {x, y, cx, cy}};
}

ControlTemplate Button(int id, DWORD style, const char* text, short x, short y, short cx,
                       short cy) {
  return {id, ControlClass::Button, style, text, {x, y, cx, cy}};
}

ControlTemplate Edit(int id, DWORD style, short x, short y, short cx, short cy) {
  return {id, ControlClass::Edit, style, "", {x, y, cx, cy}};
}

DialogTemplate Conditions() {
  DialogTemplate t;
  t.id = IDD_CONDITIONS;
  t.title = "消費税 - 集計条件";
  t.font = "ＭＳ Ｐゴシック";
  t.pointSize = 9;
  t.cx = 255;
  t.cy = 228;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  t.controls = {
      Static(IDC_COMPANY_CAPTION, kLabel, "事業所名", 7, 7, 56, 12),
      Static(IDC_COMPANY, kLabel, "", 79, 7, 169, 12),
      Static(IDC_PERIOD_CAPTION, kLabel, "会計期間", 7, 27, 56, 12),
      Static(IDC_PERIOD, kLabel, "", 79, 27, 169, 12),
      Static(IDC_TAXATION_CAPTION, kLabel, "消費税申告区分", 7, 47, 56, 12),
      Static(IDC_TAXATION, kLabel, "", 79, 47, 169, 12),
      Static(IDC_DEDUCTION_CAPTION, kLabel, "課税仕入控除○○", 7, 67, 56, 12),
      Static(IDC_DEDUCTION, kLabel, "", 79, 67, 169, 12),
      Static(IDC_RANGE_CAPTION, kLabel, "集計期間", 7, 141, 56, 12),
      Static(IDC_START_UNIT, kLabel, "月度(&S)", 99, 141, 25, 12),
      Edit(IDC_START_MONTH, kMonthEdit, 79, 141, 18, 12),
      Static(IDC_RANGE_SIGN, kCentredLabel, "～", 124, 141, 12, 12),
      Static(IDC_END_UNIT, kLabel, "月度(&E)", 157, 141, 25, 12),
      Edit(IDC_END_MONTH, kMonthEdit, 137, 141, 18, 12),
      Button(IDC_OUTPUT_GROUP, kGroupBox, "出力先(&O)", 5, 164, 241, 35),
      Edit(IDC_OUTPUT_PATH, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 9, 179, 171, 12),
      Button(IDC_BROWSE, kPushButton, "参照(&D)...", 185, 178, 57, 14),
      Button(IDC_EXECUTE, kPushButton | WS_GROUP, "実行(F12)", 127, 205, 57, 14),
      Button(IDC_CANCEL, kPushButton | WS_GROUP, "キャンセル(Esc)", 189, 205, 57, 14),
      Static(kNoId, kRightLabel, "：", 65, 7, 9, 12),
      Static(kNoId, kRightLabel, "：", 65, 27, 9, 12),
      Static(kNoId, kRightLabel, "：", 65, 47, 9, 12),
      Static(kNoId, kRightLabel, "：", 65, 67, 9, 12),
      Static(kNoId, kRightLabel, "：", 65, 141, 9, 12),
      Button(IDC_METHOD_GROUP, kGroupBox, "集計方法", 5, 88, 241, 45),
      Button(IDC_METHOD_JOURNAL, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP,
             "集計期間を指定して仕訳を集計する(&N)", 13, 100, 136, 10),
      Button(IDC_METHOD_SAVED, BS_AUTORADIOBUTTON | WS_TABSTOP,
             "連動元製品の[消費税申告書作成]で入力した値を使用する(&P)", 13, 115, 193, 10),
      Static(IDC_TOOLTIP_ANCHOR, SS_BITMAP, "", 210, 114, 11, 11),
  };
  return t;
}

DialogTemplate Progress() {
  DialogTemplate t;
  t.id = IDD_PROGRESS;
  t.title = "集計中";
  t.font = "ＭＳ Ｐゴシック";
  t.pointSize = 9;
  t.cx = 221;
  t.cy = 44;
  // System-modal (always in front); no system menu, so the user cannot close it.
  t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SYSMODAL | DS_SETFONT;
  t.controls = {
      {IDC_OVERALL_BAR, ControlClass::Progress, PBS_SMOOTH | WS_BORDER, "", {5, 6, 211, 22}},
      {IDC_ACTIVITY_BAR, ControlClass::Progress, WS_BORDER, "", {5, 29, 211, 10}},
  };
  return t;
}

}  // namespace

const winport::DialogTemplate& LoadDialogTemplate(int id) {
  static const DialogTemplate conditions = Conditions();
  static const DialogTemplate progress = Progress();
  static const DialogTemplate none;
  switch (id) {
    case IDD_CONDITIONS:
      return conditions;
    case IDD_PROGRESS:
      return progress;
    default:
      return none;
  }
}
