#pragma once

#include <QString>

// The escapes of a value that must stay on one line of a file: "\" as "\\",
// line feed as "\n", carriage return as "\r". Reading also takes "\=" as "=";
// a backslash before any other character is kept as it stands.
namespace EscapedText {

QString escaped(const QString &text);
QString unescaped(const QString &text);

} // namespace EscapedText
