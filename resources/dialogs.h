// The dialog templates shared by all editions.
#pragma once

#include "winport/dialog_template.h"

// The conditions dialog and its controls.
constexpr int IDD_CONDITIONS = 130;
constexpr int IDC_COMPANY_CAPTION = 1000;
constexpr int IDC_PERIOD_CAPTION = 1001;
constexpr int IDC_TAXATION_CAPTION = 1002;
constexpr int IDC_DEDUCTION_CAPTION = 1003;
constexpr int IDC_RANGE_CAPTION = 1004;
constexpr int IDC_EXECUTE = 1005;
constexpr int IDC_CANCEL = 1006;
constexpr int IDC_OUTPUT_GROUP = 1007;
constexpr int IDC_OUTPUT_PATH = 1008;
constexpr int IDC_BROWSE = 1009;
constexpr int IDC_COMPANY = 1010;
constexpr int IDC_PERIOD = 1011;
constexpr int IDC_TAXATION = 1012;
constexpr int IDC_DEDUCTION = 1013;
constexpr int IDC_START_MONTH = 1014;
constexpr int IDC_START_UNIT = 1015;
constexpr int IDC_END_MONTH = 1016;
constexpr int IDC_END_UNIT = 1017;
constexpr int IDC_RANGE_SIGN = 1018;
constexpr int IDC_METHOD_JOURNAL = 1029;
constexpr int IDC_METHOD_GROUP = 1030;
constexpr int IDC_METHOD_SAVED = 1031;
constexpr int IDC_TOOLTIP_ANCHOR = 1032;

// The progress dialog and its bars.
constexpr int IDD_PROGRESS = 131;
constexpr int IDC_OVERALL_BAR = 1019;
constexpr int IDC_ACTIVITY_BAR = 1024;

// The template of dialog resource `id`; an empty template (id 0) when there is none.
const winport::DialogTemplate& LoadDialogTemplate(int id);
