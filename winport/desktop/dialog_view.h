// One dialog of this process as a Qt window: a widget for each control of the template,
// placed by converting dialog units with the template font's metrics as Windows does, and
// brought up to date from the dialog model on request. The view never changes the model and
// its widgets never act on input themselves (desktop_ui.cpp takes every input first).
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "winport/dialog_window.h"

namespace winport::desktop {

// Code page 932 text as Qt shows it.
QString ShownText(const std::string& cp932);

// The font a template asks for: the Windows Japanese faces ("ＭＳ Ｐゴシック" and kin) stand
// for the metric-compatible faces of the desktop where one is installed.
QFont TemplateFont(const QString& face, int pointSize);

// Dialog base units as Windows takes them from the dialog's font: the average width of the
// 52 Latin letters, rounded, and the font's height, in pixels.
struct BaseUnits {
  int x = 0;
  int y = 0;
};
BaseUnits BaseUnitsOf(const QFont& font);
// A rectangle in dialog units as pixels: x * base x / 4, y * base y / 8, rounded as MulDiv.
QRect ToPixels(const DialogRect& rect, BaseUnits units);

class DialogView : public QWidget {
 public:
  explicit DialogView(const DialogWindow& dialog);
  ~DialogView() override;
  DialogView(const DialogView&) = delete;
  DialogView& operator=(const DialogView&) = delete;

  const DialogWindow& dialog() const { return dialog_; }
  // Shows the model's current state: title, controls' texts, enabled and visible states,
  // checks, edit texts and selections, bar positions, the button Enter presses, tool-tips
  // and the focus.
  void Sync();
  // The control `widget` shows (or is part of); nullptr for the window itself or a widget
  // of another window.
  const Control* ControlAt(const QWidget* widget) const;
  // The widget that shows `control`, or nullptr.
  QWidget* WidgetOf(const Control& control) const;

  // The view of a dialog, or of the window a widget belongs to; nullptr when there is none.
  static DialogView* Find(HWND dialog);
  static DialogView* Of(const QWidget* widget);

 private:
  void SyncControl(const Control& control, QWidget* widget);

  const DialogWindow& dialog_;
  std::vector<std::pair<const Control*, QWidget*>> items_;  // template order
};

}  // namespace winport::desktop
