#include "winport/desktop/standard_boxes.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>

#include "winport/desktop/dialog_view.h"
#include "winport/drive_map.h"
#include "winport/message_box.h"
#include "winport/windows_path.h"

namespace winport::desktop {
namespace {

const char kAnswer[] = "winportAnswer";

// Keeps a Yes/No box open against Esc and the close request: Qt would take them as No.
class NoEscape : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      return true;
    }
    if (event->type() == QEvent::Close) {
      event->ignore();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

QMessageBox::Icon IconOf(UINT style) {
  switch (style & MB_ICONMASK) {
    case MB_ICONSTOP:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxRequest& request, QWidget* owner) {
  auto box = std::make_unique<QMessageBox>(owner);
  box->setWindowTitle(ShownText(request.caption));
  box->setTextFormat(Qt::PlainText);
  box->setText(ShownText(request.text));
  box->setIcon(IconOf(request.style));
  auto add = [&box](const char* text, QMessageBox::ButtonRole role, int answer) {
    QPushButton* button = box->addButton(QString::fromUtf8(text), role);
    button->setProperty(kAnswer, answer);
    return button;
  };
  QPushButton* first = nullptr;
  switch (request.style & MB_TYPEMASK) {
    case MB_YESNO:
      first = add("はい(&Y)", QMessageBox::YesRole, IDYES);
      add("いいえ(&N)", QMessageBox::NoRole, IDNO);
      box->setWindowFlags((box->windowFlags() | Qt::CustomizeWindowHint) &
                          ~Qt::WindowCloseButtonHint);
      box->installEventFilter(new NoEscape(box.get()));
      break;
    case MB_OKCANCEL:
      first = add("OK", QMessageBox::AcceptRole, IDOK);
      box->setEscapeButton(add("キャンセル", QMessageBox::RejectRole, IDCANCEL));
      break;
    default:
      first = add("OK", QMessageBox::AcceptRole, IDOK);
      box->setEscapeButton(first);
      break;
  }
  box->setDefaultButton(first);
  if (owner != nullptr) {
    box->setWindowModality(Qt::WindowModal);
    if (owner->windowFlags() & Qt::WindowStaysOnTopHint) {
      box->setWindowFlags(box->windowFlags() | Qt::WindowStaysOnTopHint);
    }
  } else {
    box->setWindowModality(Qt::ApplicationModal);
  }
  return box;
}

int AnswerOf(const QMessageBox& box) {
  QAbstractButton* clicked = box.clickedButton();
  return clicked != nullptr ? clicked->property(kAnswer).toInt() : 0;
}

QStringList NameFilters(const std::string& cp932Filter) {
  QStringList parts = ShownText(cp932Filter).split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    if (description.isEmpty()) break;  // "||" ends the list
    QString patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    // Qt reads the patterns from the last parentheses; a description that already shows them
    // is kept as it is.
    filters << (description.endsWith(QStringLiteral("(") + patterns + QStringLiteral(")"))
                    ? description
                    : description + QStringLiteral(" (") + patterns + QStringLiteral(")"));
  }
  return filters;
}

std::unique_ptr<QFileDialog> MakeSaveDialog(const SaveFileRequest& request, QWidget* owner) {
  auto dialog = std::make_unique<QFileDialog>(owner, ShownText(request.title));
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setOption(QFileDialog::DontConfirmOverwrite);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
  QStringList filters = NameFilters(request.filter);
  if (!filters.isEmpty()) dialog->setNameFilters(filters);
  if (!request.initialDirectory.empty()) {
    DWORD error = 0;
    std::optional<std::string> folder =
        WindowsPathToLinux(request.initialDirectory.c_str(), &error);
    if (folder && QFileInfo(QString::fromStdString(*folder)).isDir()) {
      dialog->setDirectory(QString::fromStdString(*folder));
    }
  }
  if (!request.fileName.empty() && request.fileName.find_first_of("*?") == std::string::npos) {
    dialog->selectFile(ShownText(request.fileName));
  }
  return dialog;
}

std::optional<std::string> ChosenWindowsPath(const QFileDialog& dialog) {
  QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return CurrentDriveMap().ToWindows(chosen.front().toStdString());
}

}  // namespace winport::desktop
