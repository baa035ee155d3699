#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The program's two files: 8-bit text in the ANSI code page with CR LF line ends.
// Text the code page cannot hold is written as UTF-8 after a byte-order mark instead,
// so that no character is ever replaced.
namespace AnsiText {

// Name of the 8-bit code page the files are written in.
QByteArray codePageName();

// Every line followed by CR LF.
QByteArray encodeLines(const QStringList &lines);

// Splits at CR LF or a lone LF (a lone CR stays in its line); a final line end does not start an empty line.
// Content starting with the UTF-8 byte-order mark is read as UTF-8.
QStringList decodeLines(const QByteArray &content);

// As decodeLines; `exact` tells whether every byte was a valid character of its encoding.
QStringList decodeLines(const QByteArray &content, bool *exact);

// True when the ANSI code page holds every character of text.
bool fitsCodePage(const QString &text);

} // namespace AnsiText
