#include "winport/desktop/dialog_view.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <map>

#include "winport/encoding.h"

namespace winport::desktop {
namespace {

std::map<HWND, DialogView*>& Views() {
  static std::map<HWND, DialogView*> views;
  return views;
}

// MulDiv for the non-negative values of dialog units: rounded to the nearest.
int MulDiv(int value, int numerator, int denominator) {
  return (value * numerator + denominator / 2) / denominator;
}

// A static control's text as rich text: "&&" is one '&', the letter after a single '&' is
// underlined (Windows draws the mnemonic so; a QLabel without a buddy would print the '&'),
// blanks and line breaks kept as they are.
QString LabelMarkup(const QString& text) {
  QString markup = QStringLiteral("<div style=\"white-space:pre-wrap\">");
  for (qsizetype i = 0; i < text.size(); ++i) {
    QChar ch = text[i];
    if (ch == u'&' && i + 1 < text.size()) {
      ++i;
      if (text[i] == u'&') {
        markup += QStringLiteral("&amp;");
      } else {
        markup += QStringLiteral("<u>") + QString(text[i]).toHtmlEscaped() + QStringLiteral("</u>");
      }
    } else if (ch != u'\r') {
      markup += QString(ch).toHtmlEscaped();
    }
  }
  return markup + QStringLiteral("</div>");
}

Qt::Alignment StaticAlignment(DWORD style) {
  switch (style & SS_TYPEMASK) {
    case SS_CENTER:
      return Qt::AlignHCenter | Qt::AlignTop;
    case SS_RIGHT:
      return Qt::AlignRight | Qt::AlignTop;
    default:
      return Qt::AlignLeft | Qt::AlignTop;
  }
}

Qt::Alignment EditAlignment(DWORD style) {
  if (style & ES_RIGHT) return Qt::AlignRight | Qt::AlignVCenter;
  if (style & ES_CENTER) return Qt::AlignHCenter | Qt::AlignVCenter;
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// The position in the shown text of a byte offset of the code page 932 text.
int ShownOffset(const std::string& cp932, std::size_t offset) {
  return static_cast<int>(ShownText(cp932.substr(0, offset)).size());
}

QWidget* MakeWidget(const Control& control, QWidget* parent) {
  QWidget* widget = nullptr;
  switch (control.cls) {
    case ControlClass::Static: {
      auto* label = new QLabel(parent);
      if ((control.style & SS_TYPEMASK) == SS_BITMAP) {
        label->setAlignment(Qt::AlignCenter);
      } else {
        label->setTextFormat(Qt::RichText);
        label->setAlignment(StaticAlignment(control.style));
        label->setWordWrap((control.style & SS_TYPEMASK) == SS_LEFT);
      }
      widget = label;
      break;
    }
    case ControlClass::Button:
      if (control.IsGroupBox()) {
        widget = new QGroupBox(parent);
      } else if (control.IsRadioButton()) {
        auto* radio = new QRadioButton(parent);
        radio->setAutoExclusive(false);  // the model checks and clears the group
        widget = radio;
      } else {
        auto* button = new QPushButton(parent);
        button->setAutoDefault(false);
        widget = button;
      }
      break;
    case ControlClass::Edit: {
      auto* edit = new QLineEdit(parent);
      edit->setFrame((control.style & WS_BORDER) != 0);
      edit->setAlignment(EditAlignment(control.style));
      edit->setTextMargins(0, 0, 0, 0);
      edit->setContextMenuPolicy(Qt::NoContextMenu);
      edit->setAcceptDrops(false);
      edit->setDragEnabled(false);
      widget = edit;
      break;
    }
    case ControlClass::Progress: {
      auto* bar = new QProgressBar(parent);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
  }
  // Only the model moves the focus; a click must not give it to the widget under the pointer.
  widget->setFocusPolicy(Qt::NoFocus);
  return widget;
}

}  // namespace

QString ShownText(const std::string& cp932) { return QString::fromStdString(Cp932ToUtf8(cp932)); }

QFont TemplateFont(const QString& face, int pointSize) {
  static const bool substituted = [] {
    // Faces designed with the widths of the Windows faces come first, so that texts fit the
    // rectangles the templates were laid out for.
    const QStringList proportional = {QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
                                      QStringLiteral("Noto Sans CJK JP")};
    const QStringList fixed = {QStringLiteral("IPAGothic"), QStringLiteral("VL Gothic"),
                               QStringLiteral("Noto Sans Mono CJK JP")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), proportional);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), proportional);
    QFont::insertSubstitutions(QStringLiteral("MS UI Gothic"), proportional);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), fixed);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), fixed);
    return true;
  }();
  (void)substituted;
  QFont font(face.isEmpty() ? QStringLiteral("MS UI Gothic") : face);
  font.setPointSize(pointSize > 0 ? pointSize : 9);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

BaseUnits BaseUnitsOf(const QFont& font) {
  QFontMetrics metrics(font);
  int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect ToPixels(const DialogRect& rect, BaseUnits units) {
  return QRect(MulDiv(rect.x, units.x, 4), MulDiv(rect.y, units.y, 8), MulDiv(rect.cx, units.x, 4),
               MulDiv(rect.cy, units.y, 8));
}

DialogView::DialogView(const DialogWindow& dialog) : dialog_(dialog) {
  const DialogTemplate& t = dialog.dialogTemplate();
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (t.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  // A system-modal window (the progress window) stays in front of every other.
  if (t.style & DS_SYSMODAL) flags |= Qt::WindowStaysOnTopHint;
  setWindowFlags(flags);
  setFocusPolicy(Qt::NoFocus);
  // Focused buttons carry their focus frame all the time, as in a Windows dialog.
  setAttribute(Qt::WA_KeyboardFocusChange);
  QFont font = TemplateFont(ShownText(t.font), t.pointSize);
  setFont(font);
  BaseUnits units = BaseUnitsOf(font);
  setFixedSize(ToPixels({0, 0, t.cx, t.cy}, units).size());

  for (const auto& control : dialog.controls()) {
    QWidget* widget = MakeWidget(*control, this);
    widget->setGeometry(ToPixels(control->rect, units));
    items_.emplace_back(control.get(), widget);
  }
  // Group boxes are drawn behind the controls they frame and let clicks through.
  for (const auto& [control, widget] : items_) {
    if (control->IsGroupBox()) widget->lower();
  }
  Views()[dialog.handle()] = this;
  Sync();
}

DialogView::~DialogView() { Views().erase(dialog_.handle()); }

DialogView* DialogView::Find(HWND dialog) {
  auto found = Views().find(dialog);
  return found == Views().end() ? nullptr : found->second;
}

DialogView* DialogView::Of(const QWidget* widget) {
  if (widget == nullptr) return nullptr;
  const QWidget* window = widget->window();
  for (const auto& [handle, view] : Views()) {
    if (view == window) return view;
  }
  return nullptr;
}

const Control* DialogView::ControlAt(const QWidget* widget) const {
  for (; widget != nullptr && widget != this; widget = widget->parentWidget()) {
    for (const auto& [control, shown] : items_) {
      if (shown == widget) return control;
    }
  }
  return nullptr;
}

QWidget* DialogView::WidgetOf(const Control& control) const {
  for (const auto& [shownControl, widget] : items_) {
    if (shownControl == &control) return widget;
  }
  return nullptr;
}

void DialogView::SyncControl(const Control& control, QWidget* widget) {
  widget->setVisible(control.Visible());
  widget->setEnabled(control.Enabled());
  QString tip = ShownText(control.toolTip);
  if (widget->toolTip() != tip) widget->setToolTip(tip);
  QString text = ShownText(control.text);
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    if ((control.style & SS_TYPEMASK) == SS_BITMAP) {
      // The template gives the anchor of a tip no image: it shows the information sign
      // while it carries a tip, so that a person knows where to point.
      if (tip.isEmpty()) {
        label->clear();
      } else if (label->pixmap().isNull()) {
        int side = std::min(label->width(), label->height());
        label->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(side));
      }
    } else {
      QString markup = LabelMarkup(text);
      if (label->text() != markup) label->setText(markup);
    }
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    if (group->title() != text) group->setTitle(text);
  } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
    if (radio->text() != text) radio->setText(text);
    radio->setChecked(control.check == BST_CHECKED);
  } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
    if (button->text() != text) button->setText(text);
    button->setDefault(&control == dialog_.DefaultButton());
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    if (edit->text() != text) edit->setText(text);
    int anchor = ShownOffset(control.text, control.Anchor());
    int caret = ShownOffset(control.text, control.Caret());
    if (anchor == caret) {
      edit->setCursorPosition(caret);
    } else {
      edit->setSelection(anchor, caret - anchor);  // the caret where the model has it
    }
  } else if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
    const int high = std::max(control.low, control.high);
    if (bar->minimum() != control.low || bar->maximum() != high || bar->value() != control.pos) {
      // A bar repaints itself at once when its value moves; held back, the bars are painted
      // in one pass with the rest of the window's changes.
      bar->setUpdatesEnabled(false);
      bar->setRange(control.low, high);
      bar->setValue(control.pos);
      bar->setUpdatesEnabled(true);
    }
  }
}

void DialogView::Sync() {
  QString title = ShownText(dialog_.title);
  if (windowTitle() != title) setWindowTitle(title);
  // The focus first: an edit that loses it drops its selection, which the model keeps.
  const Control* focused = dialog_.Focused();
  QWidget* focus = focused != nullptr ? WidgetOf(*focused) : nullptr;
  if (focus == nullptr) focus = this;
  if (focusWidget() != focus) focus->setFocus(Qt::OtherFocusReason);
  for (const auto& [control, widget] : items_) SyncControl(*control, widget);
}

}  // namespace winport::desktop
