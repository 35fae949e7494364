// The framework's dialog: a window made from a template, shown modally (DoModal runs its own
// loop over the UI backend's input) or modelessly (Create), with data exchange between
// controls and members, and command handlers by control id.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "winport/dialog_template.h"
#include "winport/message_box.h"
#include "winport/mfc.h"
#include "winport/user_windows.h"

namespace winport {
class DialogWindow;
}

class CDialog;

// Direction and target of one data exchange.
class CDataExchange {
 public:
  CDataExchange(CDialog* dialog, BOOL saveAndValidate)
      : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
  BOOL m_bSaveAndValidate;  // TRUE: controls to members
  CDialog* m_pDlgWnd;
};

// Exchanges of one control with one member.
void DDX_Text(CDataExchange* dx, int id, std::string& value);
// The radio group that starts at `id`: the index of its checked button (-1 when none) read,
// or the button at `value` checked and the others cleared.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// Binds `control` to the control `id` on the first exchange.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// Limits the edit `id` to `count` bytes when controls are filled.
void DDV_MaxChars(CDataExchange* dx, int id, int count);

class CDialog : public CWnd {
 public:
  // `dialogTemplate` is copied; `parent` may be nullptr.
  CDialog(const winport::DialogTemplate& dialogTemplate, CWnd* parent = nullptr);
  ~CDialog() override;

  // Creates the window from the template, runs OnInitDialog, shows the window (its first
  // enabled tab stop focused when OnInitDialog left no control focused) and hands the
  // backend's input to it until EndDialog; then destroys the window. The result is
  // EndDialog's, or -1 when the window could not be made.
  virtual INT_PTR DoModal();
  // Creates the window modelessly (visible only when the template says WS_VISIBLE) and runs
  // OnInitDialog; a visible one gets the focus as with DoModal. TRUE on success.
  BOOL Create(CWnd* parent = nullptr);
  // Ends a modal dialog with `result` (hiding its window); a modeless one is only hidden.
  void EndDialog(int result);
  // Destroys the window (OnDestroy first). The object stays.
  BOOL DestroyWindow();

  // Reads the controls into the members (TRUE) or fills the controls from them (FALSE).
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  // The window's state, for the front ends and tests; nullptr while there is no window.
  winport::DialogWindow* Window() const { return window_.get(); }
  CWnd* m_pParentWnd = nullptr;

 protected:
  // Fills the controls from the members; TRUE asks the framework to focus the first tab stop.
  // FALSE says the focus is set; if it is not, the first enabled tab stop gets it all the
  // same, as Windows gives it on activation.
  virtual BOOL OnInitDialog();
  // IDOK: read the controls and end with IDOK. IDCANCEL (Esc, the close command): end with
  // IDCANCEL.
  virtual void OnOK();
  virtual void OnCancel();
  // Sees every input message before the standard handling; TRUE when it took the message.
  virtual BOOL PreTranslateMessage(MSG* message);
  virtual void DoDataExchange(CDataExchange* dx) { (void)dx; }
  // The window is being destroyed.
  virtual void OnDestroy() {}
  // Button clicks of control `id` call `handler` (the message map's ON_BN_CLICKED entries).
  void OnCommandId(int id, std::function<void()> handler);
  // Command dispatch: the handler of the id, else IDOK to OnOK and IDCANCEL to OnCancel.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

 private:
  bool MakeWindow(bool modal);
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam);

  winport::DialogTemplate template_;
  std::unique_ptr<winport::DialogWindow> window_;
  std::map<int, std::function<void()>> handlers_;
};
