#pragma once

#include <QString>

class QPlainTextEdit;

// The text of a plain text field as typed, with "\n" line ends. Unlike
// toPlainText(), which turns them into blanks, non-breaking spaces are kept.
QString TypedText(const QPlainTextEdit &field);
