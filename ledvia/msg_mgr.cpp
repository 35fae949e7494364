#include <cstdio>

#include "accounting/ClAccConnect.h"
#include "accounting/ClMsgMgr.h"
#include "winport/message_box.h"

namespace {
constexpr int kEndOfData = 5000;
}

ClMsgMgr* ClMsgMgr::Inst() {
  static ClMsgMgr instance;
  return &instance;
}

int ClMsgMgr::SetLastError(int code, const char* source, int line) {
  last_.code = code;
  last_.source = source != nullptr ? source : "";
  last_.line = line;
  return code;
}

int ClMsgMgr::CheckFatalErrorWithMsg(int code, int /*level*/, int show, HWND owner) {
  if (code == 0 || code == kEndOfData) return 0;
  if (show != 0) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "会計データの処理中にエラーが発生しました。\n\nエラーコード：%d", code);
    const std::string& caption = ClAccConnect::Inst()->title;
    MessageBoxA(owner, text, caption.c_str(), MB_OK | MB_ICONSTOP);
  }
  return 1;
}
