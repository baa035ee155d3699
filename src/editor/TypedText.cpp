#include "TypedText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

QString TypedText(const QPlainTextEdit &field)
{
    QString text = field.document()->toRawText();
    for (QChar &c : text) {
        const char16_t unit = c.unicode();
        if (unit == QChar::ParagraphSeparator || unit == QChar::LineSeparator || unit == 0xFDD0 || unit == 0xFDD1)
            c = u'\n';
    }
    return text;
}
