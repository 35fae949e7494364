// The message box and the save-file dialog of the desktop front end, set up as Windows shows
// them for a request. Made here, run by desktop_ui.cpp.
#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "winport/ui_backend.h"

namespace winport::desktop {

// A box with the request's caption, text (line breaks kept) and icon, and the buttons of its
// style in Windows' order and words ("OK"; "OK", "キャンセル"; "はい(&Y)", "いいえ(&N)"), the
// first one the default. Esc presses Cancel, or OK in a box with OK alone; a Yes/No box
// cannot be left by Esc or by closing its window, as on Windows. Modal to `owner` when there
// is one (and in front of everything when the owner is), to the program otherwise.
std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxRequest& request, QWidget* owner);
// The button the box was left with (IDOK, IDCANCEL, IDYES, IDNO), or 0 when none.
int AnswerOf(const QMessageBox& box);

// The name filters of a framework filter text ("Xml Files (*.xml)|*.xml||": pairs of a
// description and ';'-separated patterns) as Qt writes them ("Xml Files (*.xml)").
QStringList NameFilters(const std::string& cp932Filter);

// The desktop's own save dialog (not the platform's native one, so that every desktop
// behaves alike) with the request's title and filter, opened on its initial Windows folder
// when that exists and with its file name unless the name is only a wildcard pattern. It
// neither adds an extension nor asks before replacing a file: CFileDialog does both.
std::unique_ptr<QFileDialog> MakeSaveDialog(const SaveFileRequest& request, QWidget* owner);
// The chosen file as a Windows path through the drive map; nullopt when no drive holds it.
std::optional<std::string> ChosenWindowsPath(const QFileDialog& dialog);

}  // namespace winport::desktop
