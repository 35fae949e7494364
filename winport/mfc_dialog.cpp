#include "winport/mfc_dialog.h"

#include <vector>

#include "winport/dialog_manager.h"
#include "winport/dialog_window.h"
#include "winport/ui_backend.h"
#include "winport/window_notices.h"

namespace {

HWND ControlHandle(CDataExchange* dx, int id) { return ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id); }

// A dialog that becomes active with no control focused gives the focus to its first enabled
// tab stop, whatever OnInitDialog returned: Windows' dialog manager does so on activation, so
// that keys typed at once never go nowhere (and Enter never reaches the standard OK command
// unasked). The Tab key's own path, so that an edit reached this way is selected whole.
void FocusFirstTabStopIfNone(winport::DialogWindow& window) {
  if (window.focus != nullptr || window.ended) return;
  MSG tab{window.handle(), WM_KEYDOWN, VK_TAB, 0};
  winport::IsDialogMessageA(window.handle(), &tab);
}

}  // namespace

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
  HWND control = ControlHandle(dx, id);
  if (control == nullptr) return;
  if (dx->m_bSaveAndValidate) {
    CWnd::FromHandle(control)->GetWindowTextA(value);
  } else {
    ::SetWindowTextA(control, value.c_str());
  }
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
  winport::DialogWindow* dialog = dx->m_pDlgWnd->Window();
  if (dialog == nullptr) return;
  const auto& controls = dialog->controls();
  std::size_t first = 0;
  while (first < controls.size() && controls[first]->id != id) ++first;
  if (first == controls.size()) return;
  if (dx->m_bSaveAndValidate) value = -1;
  int index = 0;
  for (std::size_t i = first; i < controls.size(); ++i) {
    const winport::Control& button = *controls[i];
    if (i > first && button.StartsGroup()) break;
    if (!button.IsRadioButton()) continue;
    if (dx->m_bSaveAndValidate) {
      if (button.check == BST_CHECKED) value = index;
    } else {
      ::SendMessageA(button.handle, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ++index;
  }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd == nullptr) control.Attach(ControlHandle(dx, id));
}

void DDV_MaxChars(CDataExchange* dx, int id, int count) {
  if (!dx->m_bSaveAndValidate) ::SendMessageA(ControlHandle(dx, id), EM_LIMITTEXT, count, 0);
}

CDialog::CDialog(const winport::DialogTemplate& dialogTemplate, CWnd* parent)
    : m_pParentWnd(parent), template_(dialogTemplate) {}

CDialog::~CDialog() { DestroyWindow(); }

bool CDialog::MakeWindow(bool modal) {
  if (window_) return false;
  window_ = std::make_unique<winport::DialogWindow>(template_, modal);
  window_->owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
  window_->procedure = [this](UINT message, WPARAM wParam, LPARAM lParam) {
    return Procedure(message, wParam, lParam);
  };
  Attach(window_->handle());
  return true;
}

LRESULT CDialog::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(wParam, lParam);
    case WM_CLOSE:
      // The close command of the system menu is the standard Cancel command.
      return OnCommand(IDCANCEL, 0);
    default:
      return 0;
  }
}

INT_PTR CDialog::DoModal() {
  if (!MakeWindow(true)) return -1;
  winport::DialogWindow& window = *window_;
  winport::UiBackend& ui = winport::CurrentUiBackend();
  OnInitDialog();
  FocusFirstTabStopIfNone(window);
  if (!window.ended) {
    window.style |= WS_VISIBLE;
    winport::NotifyWindow(window, winport::WindowNotice::Shown);
  }
  auto preTranslate = [this](MSG* message) { return PreTranslateMessage(message); };
  while (!window.ended) {
    winport::UiEvent event = ui.NextDialogEvent(window);
    winport::DeliverInput(window, event, preTranslate);
  }
  INT_PTR result = window.result;
  DestroyWindow();
  return result;
}

BOOL CDialog::Create(CWnd* parent) {
  if (parent != nullptr) m_pParentWnd = parent;
  if (!MakeWindow(false)) return FALSE;
  OnInitDialog();
  if (template_.style & WS_VISIBLE) {
    ShowWindow(SW_SHOW);
    FocusFirstTabStopIfNone(*window_);
  }
  return TRUE;
}

void CDialog::EndDialog(int result) {
  if (!window_) return;
  window_->result = result;
  if (window_->modal()) window_->ended = true;
  if (window_->Visible()) ShowWindow(SW_HIDE);
}

BOOL CDialog::DestroyWindow() {
  if (!window_) return FALSE;
  OnDestroy();
  winport::NotifyWindow(*window_, winport::WindowNotice::Destroyed);
  std::vector<HWND> handles{window_->handle()};
  for (const auto& control : window_->controls()) handles.push_back(control->handle);
  Detach();
  window_.reset();
  DeleteTempObjects(handles);
  return TRUE;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  if (!window_) return FALSE;
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* message) {
  (void)message;
  return FALSE;
}

void CDialog::OnCommandId(int id, std::function<void()> handler) {
  handlers_[id] = std::move(handler);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  auto handler = handlers_.find(id);
  if (handler != handlers_.end() && code == static_cast<int>(BN_CLICKED)) {
    handler->second();
    return TRUE;
  }
  if (id == IDOK) {
    OnOK();
    return TRUE;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return TRUE;
  }
  return FALSE;
}
