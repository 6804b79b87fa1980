#pragma once
// The program's help: the HTML user guide in help/ shown in one help window named "Main",
// and the closing of every help window when the program ends (the main window's shutdown and
// the setup dialog's "APPLY").
#include <QString>

class QTextBrowser;

namespace HelpWindows {

// The guide's first page: help/index.html beside the program (the build tree, a portable
// copy), else the installed guide relative to the program's folder (../share/sweep/help).
// Empty when neither exists.
QString indexPath(const QString& programDir);
QString indexPath();

// Opens the window "Main" on the guide, or raises it when it is open.
QTextBrowser* showMain();
// Closes every help window that is open.
void closeAll();
int openCount();

} // namespace HelpWindows
