#include "StoreRecords.h"

#include "DateText.h"

#include <array>

namespace StoreRecords {

namespace {
const QString escapeKey = QStringLiteral("Echappement");
const QString bodyStart = QStringLiteral("DebutContenu=");
const QString bodyEnd = QStringLiteral("=FinContenu");
const QString lineBreak = QStringLiteral("\r\n");

// Does the body, cut at its CR LF breaks, hold a lone line feed or an end-marker line?
bool bodyNeedsEscape(const QString &body)
{
    for (qsizetype at = body.indexOf(QLatin1Char('\n')); at >= 0; at = body.indexOf(QLatin1Char('\n'), at + 1)) {
        if (at == 0 || body.at(at - 1) != QLatin1Char('\r'))
            return true;
    }
    if (body == bodyEnd || body.startsWith(bodyEnd + lineBreak) || body.endsWith(lineBreak + bodyEnd))
        return true;
    return body.contains(lineBreak + bodyEnd + lineBreak);
}

bool needsEscape(const MailItem &mail)
{
    for (const QString *field : {&mail.Titre, &mail.Dest, &mail.CC, &mail.BCC, &mail.Attach}) {
        if (field->contains(QLatin1Char('\n')))
            return true;
    }
    return bodyNeedsEscape(mail.Contenu);
}

QString escaped(const QString &text)
{
    QString result;
    result.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            result += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            result += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            result += QLatin1String("\\r");
        else
            result += c;
    }
    return result;
}

QString unescaped(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            result += c;
            continue;
        }
        const QChar next = text.at(++i);
        if (next == QLatin1Char('n'))
            result += QLatin1Char('\n');
        else if (next == QLatin1Char('r'))
            result += QLatin1Char('\r');
        else if (next == QLatin1Char('\\') || next == QLatin1Char('='))
            result += next;
        else
            result += c, result += next;  // not an escape: kept as it stands
    }
    return result;
}

enum Field { Titre, Dest, CC, BCC, Attach, Date, FieldCount };

int fieldOf(const QString &key)
{
    static const std::array<QString, FieldCount> keys{QStringLiteral("Titre"), QStringLiteral("Dest"),
                                                      QStringLiteral("CC"),    QStringLiteral("BCC"),
                                                      QStringLiteral("Attach"), QStringLiteral("Date")};
    for (int field = 0; field < FieldCount; ++field) {
        if (key == keys[field])
            return field;
    }
    return -1;
}
} // namespace

QStringList recordLines(const MailItem &mail)
{
    QStringList lines;
    if (!needsEscape(mail)) {
        // The body's own CR LF breaks already separate its lines.
        lines << QStringLiteral("Titre=") + mail.Titre << QStringLiteral("Dest=") + mail.Dest
              << QStringLiteral("CC=") + mail.CC << QStringLiteral("BCC=") + mail.BCC
              << QStringLiteral("Date=") + mail.Date.dateTimeText() << QStringLiteral("Attach=") + mail.Attach
              << bodyStart << mail.Contenu << bodyEnd;
        return lines;
    }
    lines << escapeKey + QStringLiteral("=1") << QStringLiteral("Titre=") + escaped(mail.Titre)
          << QStringLiteral("Dest=") + escaped(mail.Dest) << QStringLiteral("CC=") + escaped(mail.CC)
          << QStringLiteral("BCC=") + escaped(mail.BCC) << QStringLiteral("Date=") + mail.Date.dateTimeText()
          << QStringLiteral("Attach=") + escaped(mail.Attach) << bodyStart;
    for (const QString &line : mail.Contenu.split(lineBreak)) {
        const QString text = escaped(line);
        lines << (text.startsWith(QLatin1Char('=')) ? QLatin1Char('\\') + text : text);
    }
    lines << bodyEnd;
    return lines;
}

Loaded readRecords(const QStringList &lines, int maxRecords, int currentYear)
{
    Loaded loaded;
    const qsizetype count = lines.size();
    qsizetype i = 0;
    while (i < count) {
        if (loaded.mails.size() >= maxRecords) {
            for (; i < count; ++i)
                loaded.whole = loaded.whole && lines[i].trimmed().isEmpty();
            break;
        }
        std::array<std::optional<QString>, FieldCount> values;
        bool escapedRecord = false;
        bool headerOdd = false;
        bool anyText = false;
        bool bodyFound = false;
        for (; i < count; ++i) {
            const QString &line = lines[i];
            if (line == bodyStart) {
                bodyFound = true;
                ++i;
                break;
            }
            anyText = anyText || !line.trimmed().isEmpty();
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            const QString key = equals < 0 ? line : line.left(equals);
            const QString value = equals < 0 ? QString() : line.mid(equals + 1);
            const int field = fieldOf(key);
            if (field >= 0) {
                headerOdd = headerOdd || values[field].has_value();
                values[field] = value;
            } else if (key == escapeKey && value == QStringLiteral("1")) {
                escapedRecord = true;
            } else {
                headerOdd = true;
            }
        }
        if (!bodyFound && !anyText)
            break;  // blank lines after the last record: nothing is lost
        QStringList body;
        bool bodyClosed = false;
        for (; bodyFound && i < count; ++i) {
            if (lines[i] == bodyEnd) {
                bodyClosed = true;
                ++i;
                break;
            }
            body << (escapedRecord ? unescaped(lines[i]) : lines[i]);
        }

        MailItem mail;
        mail.InUse = true;
        auto text = [&](Field field) {
            const QString value = values[field].value_or(QString());
            return escapedRecord ? unescaped(value) : value;
        };
        mail.Titre = text(Titre);
        mail.Dest = text(Dest);
        mail.CC = text(CC);
        mail.BCC = text(BCC);
        mail.Attach = text(Attach);
        mail.Contenu = body.join(lineBreak);
        bool dateRead = true;
        if (values[Date]) {
            const auto moment = DateText::readDateTime(*values[Date], currentYear);
            dateRead = moment.has_value();
            mail.Date = moment ? SendMoment::fromDateTime(*moment) : SendMoment();
        }
        loaded.whole = loaded.whole && bodyClosed && !headerOdd && dateRead;
        loaded.mails.append(mail);
    }
    return loaded;
}

} // namespace StoreRecords
