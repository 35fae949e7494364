// Tool-tip manager of the common library: attaches tips to controls of a dialog.
#pragma once

#include <string>
#include <vector>

#include "winport/win32_types.h"

struct StTOOLTIPINFO {
  int controlId;
  const char* text;  // code page 932
  int flag;
};

class ClToolTipMgr {
 public:
  ClToolTipMgr() = default;
  virtual ~ClToolTipMgr() = default;

  // Registers `count` tips for controls of `dialog`; the texts are copied. 0 on success.
  int Init(HWND dialog, const StTOOLTIPINFO* entries, int count);

  struct Tip {
    int controlId = 0;
    std::string text;
    int flag = 0;
  };
  HWND Dialog() const { return dialog_; }
  const std::vector<Tip>& Tips() const { return tips_; }

 private:
  HWND dialog_ = nullptr;
  std::vector<Tip> tips_;
};
