// The dialog script reader: an arbitrary script drives a small dialog (edits, a digits-only
// edit, a radio group, buttons that ask a question and a save-file name) to its end.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "winport/dialog_window.h"
#include "winport/file_dialog.h"
#include "winport/message_box.h"
#include "winport/mfc_dialog.h"
#include "winport/script/script_ui.h"

namespace {

using winport::ControlClass;

class Form : public CDialog {
 public:
  Form() : CDialog(Template()) {
    OnCommandId(30, [this] {
      UpdateData(TRUE);
      if (MessageBoxA("sure?", "c", MB_YESNO | MB_ICONQUESTION) == IDYES) EndDialog(30);
    });
    OnCommandId(32, [this] {
      CFileDialog save(FALSE, "xml", "out.xml", OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                       "XML (*.xml)|*.xml||", this);
      if (save.DoModal() == IDOK) path = save.GetPathName();
    });
  }
  std::string text, digits, path;
  int choice = 0;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, 11, text);
    DDX_Text(dx, 12, digits);
    DDX_Radio(dx, 20, choice);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SendDlgItemMessage(12, EM_LIMITTEXT, 4, 0);
    return TRUE;
  }

 private:
  static winport::DialogTemplate Template() {
    winport::DialogTemplate t;
    t.controls = {
        {10, ControlClass::Static, 0, "&Name", {}},
        {11, ControlClass::Edit, WS_TABSTOP, "", {}},
        {12, ControlClass::Edit, WS_TABSTOP | ES_NUMBER, "", {}},
        {20, ControlClass::Button, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "&One", {}},
        {21, ControlClass::Button, BS_AUTORADIOBUTTON, "&Two", {}},
        {30, ControlClass::Button, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, "&Go", {}},
        {31, ControlClass::Button, BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, "X", {}},
        {32, ControlClass::Button, BS_PUSHBUTTON | WS_TABSTOP, "&Save", {}},
        {IDCANCEL, ControlClass::Button, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", {}},
    };
    return t;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzsupport::Root();
  std::string script(reinterpret_cast<const char*>(data), size);
  std::FILE* in = size > 0 ? fmemopen(script.data(), script.size(), "r") : nullptr;
  std::FILE* sink = std::fopen("/dev/null", "w");
  {
    winport::ScriptUiBackend backend(in, sink, sink, "fuzz.script");
    winport::ScopedUiBackend scope(backend);
    Form form;
    INT_PTR result = form.DoModal();
    fuzzsupport::Require(result == 30 || result == IDCANCEL);
    fuzzsupport::Require(form.digits.find_first_not_of("0123456789") == std::string::npos);
    fuzzsupport::Require(form.digits.size() <= 4);
  }
  if (in != nullptr) std::fclose(in);
  std::fclose(sink);
  return 0;
}
