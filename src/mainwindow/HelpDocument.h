#pragma once

#include <QString>

class QObject;

// The help document Tardello.pdf, which "Aide" opens, and what the user is told
// when it cannot be shown.
namespace HelpDocument {
// Opens the document with the desktop's viewer. When the file is missing or no
// application opens it, a message box says where it is and what to install;
// nothing is said once `owner` is gone.
void open(const QString &path, const QString &programDir, QObject *owner);

QString missingText(const QString &path);
QString noViewerText(const QString &path);
} // namespace HelpDocument
