// How the platform tells the front end that one of this process's windows changed. A
// progress bar may be stepped, and its window brought to the front, tens of millions of times
// a second, and a front end that draws on its own clock (about 30 times a second, from the
// dialog model) needs only the first change and the first request for the front after each of
// its draws, to know what is due, and one more every notice tick, to look at its clock: the
// others are held back here, at the cost of a comparison, before any call into the front
// end. Every other front end gets every notice.
#pragma once

#include "winport/dialog_window.h"
#include "winport/ui_backend.h"

namespace winport {

inline void NotifyWindow(DialogWindow& dialog, WindowNotice notice) {
  UiBackend& ui = CurrentUiBackend();
  if (ui.DrawsOnItsOwnClock()) {
    unsigned* passedAt = nullptr;
    if (notice == WindowNotice::Changed || notice == WindowNotice::Repaint) {
      passedAt = &dialog.changePassedAt;
    } else if (notice == WindowNotice::BroughtToTop || notice == WindowNotice::Foreground) {
      passedAt = &dialog.frontPassedAt;
    }
    if (passedAt != nullptr) {
      const unsigned epoch = ui.NoticeEpoch();
      if (*passedAt == epoch) return;
      *passedAt = epoch;
    }
  }
  ui.Notify(dialog, notice);
}

}  // namespace winport
