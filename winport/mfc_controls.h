// The framework's control classes: thin wrappers that send the control's messages
// (user_windows.h) to the window they are bound to (DDX_Control or Attach).
#pragma once

#include "winport/mfc.h"
#include "winport/user_windows.h"

class CEdit : public CWnd {
 public:
  void LimitText(int bytes = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(bytes)); }
  // Selects from `start` to `end` (-1: the end of the text).
  void SetSel(int start, int end) {
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  }
  void ScrollCaret() { SendMessage(EM_SCROLLCARET); }
};

class CButton : public CWnd {
 public:
  int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
  void SetCheck(int state) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class CStatic : public CWnd {};

class CProgressCtrl : public CWnd {
 public:
  void SetRange(short low, short high) {
    SendMessage(PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(low), static_cast<WORD>(high)));
  }
  int SetStep(int step) { return static_cast<int>(SendMessage(PBM_SETSTEP, step)); }
  int SetPos(int pos) { return static_cast<int>(SendMessage(PBM_SETPOS, pos)); }
  int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
  int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
};
