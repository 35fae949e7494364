#include "tests/support/desktop/desktop_driver.h"

#include <stdlib.h>

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QScreen>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

#include "winport/desktop/dialog_view.h"
#include "winport/dialog_window.h"
#include "winport/encoding.h"
#include "winport/message_box.h"
#include "winport/user_windows.h"
#include "winport/windows_path.h"

// Caches Qt and the libraries below it keep for the life of the process, which
// LeakSanitizer would otherwise report at the end of every test program that drew.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libQt6Core.so\n"
         "leak:libQt6Gui.so\n"
         "leak:libQt6Widgets.so\n"
         "leak:libQt6XcbQpa.so\n"
         "leak:libxcb\n"
         "leak:libX11\n"
         "leak:libdbus-1.so\n"
         "leak:libglib-2.0.so\n";
}

namespace winport::desktop {
namespace {

// Tests draw with Qt's offscreen platform unless they name one (the picture test runs on
// Xvfb with "xcb").
const bool kPlatformChosen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;

Qt::Key QtKey(UINT vk) {
  switch (vk) {
    case VK_TAB:
      return Qt::Key_Tab;
    case VK_RETURN:
      return Qt::Key_Return;
    case VK_ESCAPE:
      return Qt::Key_Escape;
    case VK_BACK:
      return Qt::Key_Backspace;
    case VK_DELETE:
      return Qt::Key_Delete;
    case VK_HOME:
      return Qt::Key_Home;
    case VK_END:
      return Qt::Key_End;
    case VK_LEFT:
      return Qt::Key_Left;
    case VK_RIGHT:
      return Qt::Key_Right;
    case VK_UP:
      return Qt::Key_Up;
    case VK_DOWN:
      return Qt::Key_Down;
    case VK_SPACE:
      return Qt::Key_Space;
    default:
      break;
  }
  if (vk >= 0x70 && vk <= 0x87)
    return static_cast<Qt::Key>(Qt::Key_F1 + static_cast<int>(vk - 0x70));
  return static_cast<Qt::Key>(vk);  // letters and digits: Qt's codes are ASCII
}

// Where a person's key goes: the widget with the focus in the window.
QWidget* KeyTarget(DialogView& view) {
  QWidget* focus = view.focusWidget();
  return focus != nullptr ? focus : &view;
}

void TypeCharacter(DialogView& view, const std::string& cp932) {
  QString text = ShownText(cp932);
  if (text.size() == 1 && text[0].unicode() < 0x7F) {
    QTest::keyClick(KeyTarget(view), static_cast<char>(text[0].unicode()));
  } else {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(KeyTarget(view), &commit);
  }
}

// Where a click puts the caret of a one-line edit before the character at `caret` (bytes of
// the model's text); the widget's middle for anything else.
QPoint PointFor(QWidget* widget, const Control& control, int caret) {
  auto* line = qobject_cast<QLineEdit*>(widget);
  if (line == nullptr || caret < 0) return widget->rect().center();
  const int wanted = static_cast<int>(ShownText(control.text.substr(0, caret)).size());
  const int y = widget->height() / 2;
  for (int x = 0; x < widget->width(); ++x) {
    if (line->cursorPositionAt(QPoint(x, y)) == wanted) return QPoint(x, y);
  }
  return widget->rect().center();
}

// A click as the left button makes it; the second click of a double-click is the press that
// Qt reports as a double-click (its first click is an input of its own).
void ClickControl(DialogView& view, const UiEvent& event) {
  const Control* control = view.dialog().Find(event.controlId);
  QWidget* widget = control != nullptr ? view.WidgetOf(*control) : nullptr;
  if (widget == nullptr) return;
  const QPoint at = PointFor(widget, *control, event.caret);
  if (!event.word) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    return;
  }
  const QPointF local(at);
  const QPointF global(widget->mapToGlobal(at));
  QMouseEvent second(QEvent::MouseButtonDblClick, local, global, Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
  QApplication::sendEvent(widget, &second);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

// Whether the box went after a person's answer; one that stays is closed all the same, so
// that a failing test does not wait for ever.
bool WaitUntilGone(QDialog* box) {
  if (QTest::qWaitFor([box] { return !box->isVisible(); }, 2000)) return true;
  box->reject();
  return false;
}

// A label's text as it reads on the screen.
QString PlainText(const QString& markup) {
  QTextDocument document;
  document.setHtml(markup);
  return document.toPlainText();
}

// A static control's text with its mnemonic marker taken out, as Windows draws it.
QString WithoutMarker(const QString& text) {
  QString shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

// A window's picture with a caption bar above it carrying its title, as the window manager
// would frame it (Xvfb runs none, so a picture of the window alone has no title).
bool SaveFramed(QWidget* window, const std::string& path) {
  QPixmap client = window->grab();
  QFont font = window->font();
  font.setBold(true);
  const int bar = QFontMetrics(font).height() + 8;
  QImage framed(client.width(), client.height() + bar, QImage::Format_RGB32);
  QPainter painter(&framed);
  QLinearGradient caption(0, 0, framed.width(), 0);
  caption.setColorAt(0, QColor(0x0A, 0x24, 0x6A));
  caption.setColorAt(1, QColor(0xA6, 0xCA, 0xF0));
  painter.fillRect(0, 0, framed.width(), bar, caption);
  painter.setPen(Qt::white);
  painter.setFont(font);
  painter.drawText(QRect(6, 0, framed.width() - 12, bar), Qt::AlignVCenter | Qt::AlignLeft,
                   window->windowTitle());
  painter.drawPixmap(0, bar, client);
  painter.end();
  return framed.save(QString::fromStdString(path), "PNG");
}

// Lets every shown window reach the screen and paint before a picture is taken.
void WaitForPaint() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->windowHandle() != nullptr) {
      (void)QTest::qWaitForWindowExposed(window->windowHandle(), 2000);
    }
  }
  QTest::qWait(100);
}

int Offset(const std::string& cp932, std::size_t bytes) {
  return static_cast<int>(ShownText(cp932.substr(0, bytes)).size());
}

}  // namespace

void Perform(const DialogWindow& dialog, const UiEvent& event) {
  DialogView* view = DialogView::Find(dialog.handle());
  if (view == nullptr) return;
  switch (event.kind) {
    case UiEvent::Kind::Key: {
      Qt::KeyboardModifiers modifiers;
      if (event.shift) modifiers |= Qt::ShiftModifier;
      if (event.ctrl) modifiers |= Qt::ControlModifier;
      if (event.alt) modifiers |= Qt::AltModifier;
      // Shift+Tab reaches a Qt program as Backtab.
      Qt::Key key = event.vk == VK_TAB && event.shift ? Qt::Key_Backtab : QtKey(event.vk);
      QTest::keyClick(KeyTarget(*view), key, modifiers);
      break;
    }
    case UiEvent::Kind::Char:
      TypeCharacter(*view, event.text);
      break;
    case UiEvent::Kind::Click:
      ClickControl(*view, event);
      break;
    case UiEvent::Kind::Type: {
      const Control* edit = dialog.Find(event.controlId);
      if (edit == nullptr) return;
      ClickControl(*view, UiEvent::Click(event.controlId));
      QTest::keyClick(KeyTarget(*view), Qt::Key_End);
      for (qsizetype i = ShownText(edit->text).size(); i > 0; --i) {
        QTest::keyClick(KeyTarget(*view), Qt::Key_Backspace);
      }
      QString text = ShownText(event.text);
      for (QChar ch : text) TypeCharacter(*view, Utf8ToCp932(QString(ch).toStdString()));
      break;
    }
    case UiEvent::Kind::Close:
      view->close();
      break;
  }
}

bool AnswerMessageBox(int answer) {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr) return false;
  switch (answer) {
    case IDYES:
      QTest::keyClick(box, Qt::Key_Y);
      break;
    case IDNO:
      QTest::keyClick(box, Qt::Key_N);
      break;
    case IDCANCEL:
      QTest::keyClick(box, Qt::Key_Escape);
      break;
    default:
      QTest::keyClick(box, Qt::Key_Return);
      break;
  }
  return WaitUntilGone(box);
}

bool AnswerSaveFile(const std::optional<std::string>& windowsPath) {
  auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
  if (dialog == nullptr) return false;
  if (!windowsPath) {
    QTest::keyClick(dialog, Qt::Key_Escape);
    return WaitUntilGone(dialog);
  }
  DWORD error = 0;
  std::optional<std::string> linuxPath = WindowsPathToLinux(windowsPath->c_str(), &error);
  auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (!linuxPath || name == nullptr) {
    dialog->reject();
    return false;
  }
  name->setText(QString::fromStdString(*linuxPath));
  QTest::keyClick(name, Qt::Key_Return);
  return WaitUntilGone(dialog);
}

std::string Disagreements(const DialogWindow& dialog) {
  DialogView* view = DialogView::Find(dialog.handle());
  if (view == nullptr) return "no window";
  std::string lines;
  auto differ = [&lines](int id, const char* what, const QString& shown, const QString& model) {
    if (shown == model) return;
    lines += std::to_string(id) + " " + what + ": shown \"" + shown.toStdString() + "\", model \"" +
             model.toStdString() + "\"\n";
  };
  auto number = [](long long value) { return QString::number(value); };
  differ(0, "title", view->windowTitle(), ShownText(dialog.title));
  differ(0, "visible", number(view->isVisible()), number(dialog.Visible()));
  for (const auto& control : dialog.controls()) {
    QWidget* widget = view->WidgetOf(*control);
    const int id = control->id;
    differ(id, "visible", number(widget->isVisibleTo(view)), number(control->Visible()));
    differ(id, "enabled", number(widget->isEnabled()), number(control->Enabled()));
    differ(id, "tool-tip", widget->toolTip(), ShownText(control->toolTip));
    QString text = ShownText(control->text);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      if ((control->style & SS_TYPEMASK) != SS_BITMAP) {
        differ(id, "text", PlainText(label->text()), WithoutMarker(text));
      }
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
      differ(id, "text", group->title(), text);
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
      differ(id, "text", radio->text(), text);
      differ(id, "checked", number(radio->isChecked()), number(control->check == BST_CHECKED));
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
      differ(id, "text", button->text(), text);
      differ(id, "default", number(button->isDefault()),
             number(control.get() == dialog.DefaultButton()));
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      differ(id, "text", edit->text(), text);
      int start = Offset(control->text, control->selStart);
      int end = Offset(control->text, control->selEnd);
      QString shownSelection =
          edit->hasSelectedText() ? number(edit->selectionStart()) + "-" +
                                        number(edit->selectionStart() + edit->selectedText().size())
                                  : QString();
      QString selection = start == end ? QString() : number(start) + "-" + number(end);
      differ(id, "selection", shownSelection + " caret " + number(edit->cursorPosition()),
             selection + " caret " + number(Offset(control->text, control->Caret())));
    } else if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
      differ(id, "bar",
             number(bar->minimum()) + ".." + number(bar->maximum()) + " at " + number(bar->value()),
             number(control->low) + ".." + number(control->high) + " at " + number(control->pos));
    }
  }
  const Control* focused = dialog.Focused();
  QWidget* focus = view->focusWidget() != nullptr ? view->focusWidget() : view;
  const Control* shownFocus = view->ControlAt(focus);
  differ(0, "focus", number(shownFocus != nullptr ? shownFocus->id : 0),
         number(focused != nullptr ? focused->id : 0));
  return lines;
}

std::string ShownToolTip(const DialogWindow& dialog, int id) {
  DialogView* view = DialogView::Find(dialog.handle());
  const Control* control = dialog.Find(id);
  QWidget* widget = view != nullptr && control != nullptr ? view->WidgetOf(*control) : nullptr;
  return widget != nullptr ? Utf8ToCp932(widget->toolTip().toStdString()) : "";
}

std::string HoverForToolTip(const DialogWindow& dialog, int id) {
  DialogView* view = DialogView::Find(dialog.handle());
  const Control* control = dialog.Find(id);
  QWidget* widget = view != nullptr && control != nullptr ? view->WidgetOf(*control) : nullptr;
  if (widget == nullptr) return "";
  QTest::mouseMove(widget, widget->rect().center());
  if (!QTest::qWaitFor([] { return QToolTip::isVisible(); }, 5000)) return "";
  WaitForPaint();
  return Utf8ToCp932(QToolTip::text().toStdString());
}

std::string TextProblems(const DialogWindow& dialog) {
  DialogView* view = DialogView::Find(dialog.handle());
  if (view == nullptr) return "no window";
  view->Sync();
  std::string lines;
  QFontMetrics metrics(view->font());
  auto glyphs = [&](int id, const QString& text) {
    for (QChar ch : text) {
      if (!ch.isSpace() && !metrics.inFont(ch)) {
        lines += std::to_string(id) + ": no glyph for " + QString(ch).toStdString() + " in " +
                 QFontInfo(view->font()).family().toStdString() + "\n";
        return;
      }
    }
  };
  glyphs(0, view->windowTitle());
  for (const auto& control : dialog.controls()) {
    QString text = WithoutMarker(ShownText(control->text));
    glyphs(control->id, text);
    QWidget* widget = view->WidgetOf(*control);
    if (control->cls == ControlClass::Static && !text.contains(u'\n') &&
        metrics.horizontalAdvance(text) > widget->width()) {
      lines += std::to_string(control->id) + ": " + text.toStdString() + " needs " +
               std::to_string(metrics.horizontalAdvance(text)) + " pixels of " +
               std::to_string(widget->width()) + "\n";
    }
  }
  return lines;
}

bool SaveScreenshot(const DialogWindow& dialog, const std::string& path) {
  DialogView* view = DialogView::Find(dialog.handle());
  if (view == nullptr) return false;
  view->Sync();
  WaitForPaint();
  return SaveFramed(view, path);
}

bool SaveScreenScreenshot(const std::string& path) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return false;
  WaitForPaint();
  const QPixmap shot = screen->grabWindow(0);
  // Only the windows: without a window manager nothing clears the rest of a virtual screen,
  // which holds what earlier windows left there.
  QRegion windows;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible()) windows += window->frameGeometry();
  }
  if (windows.isEmpty()) return false;
  constexpr int kMargin = 16;
  const QRect bounds =
      windows.boundingRect().adjusted(-kMargin, -kMargin, kMargin, kMargin) & shot.rect();
  QPixmap picture(bounds.size());
  picture.fill(QColor(0x80, 0x80, 0x80));
  {
    QPainter painter(&picture);
    painter.setClipRegion(windows.translated(-bounds.topLeft()));
    painter.drawPixmap(QPoint(0, 0), shot, bounds);
  }
  return picture.save(QString::fromStdString(path), "PNG");
}

bool SaveBoxScreenshot(const std::string& path) {
  QWidget* box = QApplication::activeModalWidget();
  if (box == nullptr) return false;
  WaitForPaint();
  return SaveFramed(box, path);
}

}  // namespace winport::desktop
