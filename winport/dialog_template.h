// Dialog templates as the resource compiler leaves them: the dialog's title, font, size and
// style, and its controls in template order (which is also the tab order and decides where a
// label's mnemonic leads). Positions are dialog units. Texts are code page 932.
#pragma once

#include <string>
#include <vector>

#include "winport/win32_types.h"

// Window styles.
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
// Dialog styles.
constexpr DWORD DS_SYSMODAL = 0x0002;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
// Button styles (the low nibble is the kind).
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_GROUPBOX = 0x7;
constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
constexpr DWORD BS_TYPEMASK = 0xF;
// Edit styles.
constexpr DWORD ES_LEFT = 0x0;
constexpr DWORD ES_CENTER = 0x1;
constexpr DWORD ES_RIGHT = 0x2;
constexpr DWORD ES_AUTOHSCROLL = 0x80;
constexpr DWORD ES_NUMBER = 0x2000;
// Static styles.
constexpr DWORD SS_LEFT = 0x0;
constexpr DWORD SS_CENTER = 0x1;
constexpr DWORD SS_RIGHT = 0x2;
constexpr DWORD SS_BITMAP = 0xE;
constexpr DWORD SS_TYPEMASK = 0x1F;
// Progress bar styles.
constexpr DWORD PBS_SMOOTH = 0x1;

namespace winport {

// The window classes of the controls the program's dialogs hold.
enum class ControlClass { Static, Button, Edit, Progress };

struct DialogRect {
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
};

struct ControlTemplate {
  int id = -1;  // -1: no id (IDC_STATIC)
  ControlClass cls = ControlClass::Static;
  DWORD style = 0;  // WS_CHILD and WS_VISIBLE are implied
  std::string text;
  DialogRect rect;
};

struct DialogTemplate {
  int id = 0;
  std::string title;
  std::string font;
  int pointSize = 9;
  short cx = 0;
  short cy = 0;
  DWORD style = 0;
  std::vector<ControlTemplate> controls;  // template order
};

}  // namespace winport
