#include "app/environment_check.h"
#include "resources/strings.h"

#include <string>

#include "accounting/ClAccConnect.h"
#include "winport/cp932.h"
#include "winport/crt.h"
#include "winport/files.h"
#include "winport/message_box.h"
#include "winport/profile.h"

namespace {

constexpr int kRequiredLevel = 2;

const char* MessageFor(int status) {
  switch (status) {
    case -1:
      return "動作環境が不正です。\nES_"
             "APRPACKAGENAMEが正しくインストールされているか確認してください。";
    case 1:
      return "ご利用の連動コンポーネントは、インストールされているES_"
             "APRPACKAGENAMEでは使用できません。"
             "\nES_APRPACKAGENAMEの最新版を入手してインストールしてからご利用ください。";
    default:
      return "ご利用の連動コンポーネントは、インストールされているES_"
             "APRPACKAGENAMEでは使用できません。"
             "\n連動コンポーネントの最新版を入手してインストールしてからご利用ください。";
  }
}

}  // namespace

int EnvironmentStatus() {
  char folder[MAX_PATH + 1] = {};
  DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  if (length == 0 || length > MAX_PATH) return -1;
  std::string path(folder, length);
  // A folder name ending in a double-byte character whose second byte is 0x5C (katakana so)
  // still needs its separator.
  if (!winport::cp932::EndsWithBackslash(path)) path.push_back('\\');
  path += "QuillonDef.ini";

  if (winport::Access(path.c_str(), 0) != 0) return -1;
  char level[16] = {};
  GetPrivateProfileStringA("ProgramLevel", "SY31", "2", level, sizeof level, path.c_str());
  if (level[0] == '\0') return -1;
  int value = winport::Atoi(level);
  if (value == kRequiredLevel) return 0;
  return value < kRequiredLevel ? 1 : 2;
}

int CheckEnvironment(HWND owner, bool showMessages, bool inProgramFolder) {
  int status = inProgramFolder ? EnvironmentStatus() : -1;
  if (status == 0) return 1;
  if (showMessages) {
    ClAccConnect::Inst()->DispMsg(owner, MessageFor(status), kMessageCaption,
                                  MB_OK | MB_ICONEXCLAMATION);
  }
  return 0;
}
