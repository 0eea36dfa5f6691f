#include "mimeapps.h"

#include <QList>
#include <QSet>
#include <optional>

namespace ovelo {

namespace {

constexpr char kSection[] = "Default Applications";

struct Line {
    QByteArray text;   // without its line break
    QByteArray ending; // "\n", "\r\n", or "" for a last line left open
};

QList<Line> SplitLines(QByteArrayView content) {
    QList<Line> lines;
    for (qsizetype from = 0; from < content.size();) {
        qsizetype end = content.indexOf('\n', from);
        const bool open = end < 0;
        if (open)
            end = content.size();
        qsizetype textEnd = end;
        if (!open && textEnd > from && content[textEnd - 1] == '\r')
            --textEnd;
        lines.append({content.sliced(from, textEnd - from).toByteArray(),
                      content.sliced(textEnd, end - textEnd + (open ? 0 : 1)).toByteArray()});
        from = end + 1;
    }
    return lines;
}

// The group a header line opens, or nothing for another line.
std::optional<QByteArray> GroupName(const QByteArray& text) {
    const QByteArray trimmed = text.trimmed();
    if (trimmed.startsWith('[') && trimmed.endsWith(']'))
        return trimmed.sliced(1, trimmed.size() - 2);
    return std::nullopt;
}

QByteArray KeyName(const QByteArray& text) {
    const QByteArray trimmed = text.trimmed();
    const qsizetype equals = trimmed.indexOf('=');
    if (trimmed.startsWith('#') || equals <= 0)
        return {};
    return trimmed.first(equals).trimmed();
}

QByteArray Entry(const QString& type, const QString& desktopId) {
    return type.toUtf8() + '=' + desktopId.toUtf8() + ';';
}

} // namespace

QByteArray WithDefaultApplication(QByteArrayView content, const QStringList& types,
                                  const QString& desktopId) {
    QList<Line> lines = SplitLines(content);
    QSet<QString> done;
    qsizetype insertAt = -1; // after the last non-blank line of the first such section
    bool inSection = false;
    bool inFirst = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const std::optional<QByteArray> group = GroupName(lines[i].text)) {
            inSection = *group == kSection;
            inFirst = inSection && insertAt < 0;
            if (inFirst)
                insertAt = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        const QString key = QString::fromUtf8(KeyName(lines[i].text));
        if (types.contains(key)) {
            lines[i].text = Entry(key, desktopId);
            done.insert(key);
        }
        if (inFirst && !lines[i].text.trimmed().isEmpty())
            insertAt = i + 1;
    }
    QList<Line> added;
    if (insertAt < 0) {
        added.append({QByteArray("[") + kSection + ']', "\n"});
        insertAt = lines.size();
    }
    for (const QString& type : types)
        if (!done.contains(type))
            added.append({Entry(type, desktopId), "\n"});
    if (!added.isEmpty() && insertAt > 0 && lines[insertAt - 1].ending.isEmpty())
        lines[insertAt - 1].ending = "\n";
    for (qsizetype i = 0; i < added.size(); ++i)
        lines.insert(insertAt + i, added[i]);
    QByteArray out;
    for (const Line& line : std::as_const(lines))
        out += line.text + line.ending;
    return out;
}

} // namespace ovelo
