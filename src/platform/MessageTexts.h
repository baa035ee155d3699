#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

// What the program's messages share: their two titles, the blanks around
// their lines, and the one message said from two places.
namespace MessageTexts {
// Questions, and good news.
inline const QString Title = QStringLiteral("Tardello");
// Every failure told to the user.
inline const QString ErrorTitle = QStringLiteral("Tardello - Erreur");

// Four blanks on each side of a message's text.
inline QString padded(const QString &text)
{
    const QString blanks(4, QLatin1Char(' '));
    return blanks + text + blanks;
}

// A message of several lines, each one padded, separated by CR LF.
inline QString padded(std::initializer_list<QString> lines)
{
    QStringList paddedLines;
    for (const QString &line : lines)
        paddedLines << padded(line);
    return paddedLines.join(QStringLiteral("\r\n"));
}

// All 50 slots of the mail table are taken.
inline const QString TableFull = padded(QStringLiteral("Nombre maximum de mails atteint."));
} // namespace MessageTexts
