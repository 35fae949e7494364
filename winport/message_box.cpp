#include "winport/message_box.h"

namespace winport {

int CautiousAnswer(UINT style) {
  switch (style & MB_TYPEMASK) {
    case MB_YESNO:
      return IDNO;
    case MB_OKCANCEL:
      return IDCANCEL;
    default:
      return IDOK;
  }
}

}  // namespace winport

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  winport::MessageBoxRequest request{owner, text != nullptr ? text : "",
                                     caption != nullptr ? caption : "", type};
  return winport::CurrentUiBackend().ShowMessageBox(request);
}
