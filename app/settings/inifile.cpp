#include "inifile.h"

#include "platform/codepage.h"
#include "platform/regularfile.h"

#include <QFileInfo>
#include <QList>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStringDecoder>

Q_LOGGING_CATEGORY(lcIni, "ovelo.settings", QtWarningMsg)

namespace ovelo {

namespace {

// What the Windows reader hands back through its buffer of 255 bytes.
constexpr qsizetype kMaxValueBytes = 254;
// Far beyond any settings file; a bigger one is something else and is neither read nor
// rewritten. Every read reads the whole file, so this also bounds the time one read takes.
constexpr qint64 kMaxFileBytes = 32 << 20;

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\v';
}

QStringView TrimBlanks(QStringView s) {
    while (!s.isEmpty() && IsBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && IsBlank(s.back()))
        s.chop(1);
    return s;
}

bool IsQuoted(QStringView s) {
    return s.size() >= 2 && (s.front() == u'"' || s.front() == u'\'') && s.back() == s.front();
}

bool SameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool HasLineBreak(QStringView s) {
    return s.contains(u'\n') || s.contains(u'\r');
}

struct Line {
    QStringView content; // without its line ending
    QStringView ending;  // "\r\n", "\n", "\r", or nothing on a last line
};

QList<Line> SplitLines(QStringView text) {
    QList<Line> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        qsizetype next = end;
        if (next < text.size())
            next += text.sliced(next).startsWith(u"\r\n") ? 2 : 1;
        lines.append({text.sliced(start, end - start), text.sliced(end, next - end)});
        start = next;
    }
    return lines;
}

struct Entry {
    enum Kind { Other, Section, Key } kind = Other;
    QStringView name;
    QStringView value; // a key's text after the "=", blanks and quotes still on
};

Entry Classify(QStringView line) {
    const QStringView s = TrimBlanks(line);
    if (s.startsWith(u';'))
        return {};
    if (s.startsWith(u'[')) {
        const qsizetype close = s.indexOf(u']');
        if (close > 0)
            return {Entry::Section, TrimBlanks(s.sliced(1, close - 1)), {}};
    }
    const qsizetype equals = s.indexOf(u'=');
    if (equals < 0)
        return {};
    return {Entry::Key, TrimBlanks(s.first(equals)), s.sliced(equals + 1)};
}

// Where a key is, or would go, in the lines of a file. Line numbers, -1 for none.
struct Place {
    qsizetype section = -1; // the header of the section's first occurrence
    qsizetype lastKey = -1; // its last key line
    qsizetype key = -1;     // its first line of the key
    QStringView value;
};

Place Find(const QList<Line>& lines, QStringView section, QStringView key) {
    Place place;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Entry entry = Classify(lines[i].content);
        if (entry.kind == Entry::Section) {
            if (place.section >= 0)
                break; // a later copy of the section is never looked at
            if (SameName(entry.name, section))
                place.section = i;
        } else if (entry.kind == Entry::Key && place.section >= 0) {
            place.lastKey = i;
            if (place.key < 0 && SameName(entry.name, key)) {
                place.key = i;
                place.value = entry.value;
            }
        }
    }
    return place;
}

struct Stored {
    bool usable = false; // false: not a regular file, too big or unreadable; left alone
    bool exists = false;
    QByteArray bytes;
};

Stored Load(const QString& fileName) {
    switch (KindOfPath(fileName)) {
    case PathKind::Missing:
        return {true, false, {}};
    case PathKind::Other:
        qCInfo(lcIni) << "not a regular file:" << fileName;
        return {false, true, {}};
    case PathKind::RegularFile:
        break;
    }
    std::optional<QByteArray> bytes = ReadRegularFile(fileName, kMaxFileBytes);
    if (!bytes) {
        qCInfo(lcIni) << "cannot read, or too big:" << fileName;
        return {false, true, {}};
    }
    return {true, true, std::move(*bytes)};
}

struct Text {
    QString text;
    QByteArray mark; // a UTF-8 byte-order mark, kept when the file is rewritten
};

// The system's code page here is UTF-8; a file that is not valid UTF-8 comes from a Windows
// installation and is in its code page, 936, unless it starts with the UTF-16 mark.
Text Decode(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE"))
        return {QStringDecoder(QStringDecoder::Utf16LE)(bytes), {}};
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return {std::move(text), bytes.startsWith(kUtf8Bom) ? kUtf8Bom : QByteArray()};
    return {DecodeCp936(bytes), {}};
}

// What a character takes in the reader's buffer: its bytes in code page 936, the system code
// page the buffer is counted in. One the code page cannot hold stays UTF-8 in the file, and
// counts as those bytes.
int BufferSize(char32_t c) {
    const int size = Cp936Size(c);
    if (size > 0)
        return size;
    return c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// The longest start of `value` that fits in `maxBytes` bytes of the buffer, ending at a whole
// character.
QString CutToBuffer(QStringView value, qsizetype maxBytes) {
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < value.size();) {
        const bool pair =
            value[i].isHighSurrogate() && i + 1 < value.size() && value[i + 1].isLowSurrogate();
        const char32_t c =
            pair ? QChar::surrogateToUcs4(value[i], value[i + 1]) : char32_t(value[i].unicode());
        bytes += BufferSize(c);
        if (bytes > maxBytes)
            return value.first(i).toString();
        i += pair ? 2 : 1;
    }
    return value.toString();
}

// The reader drops blanks at the ends and one pair of quotes; a value that would lose either
// is stored inside a pair of quotes of its own, so it comes back as written.
QString AsStored(const QString& value) {
    const bool blankEnd = !value.isEmpty() && (IsBlank(value.front()) || IsBlank(value.back()));
    if (blankEnd || IsQuoted(value))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

// Names that would come back as something else, or inject lines, are not written.
bool CanWrite(QStringView section, QStringView key, QStringView value) {
    return !section.isEmpty() && !key.isEmpty() && !HasLineBreak(section) && !HasLineBreak(key) &&
           !HasLineBreak(value) && !section.contains(u']') && !key.contains(u'=') &&
           !key.startsWith(u';') && !key.startsWith(u'[');
}

qsizetype OffsetIn(const QString& text, QStringView part) {
    return part.data() - text.constData();
}

QString WithValue(const QString& text, const QString& section, const QString& key,
                  const QString& value) {
    const QList<Line> lines = SplitLines(text);
    const Place place = Find(lines, section, key);
    if (place.key >= 0) {
        // Only the value changes; the name, its case and the blanks before the value stay.
        const Line& line = lines[place.key];
        QStringView old = place.value;
        while (!old.isEmpty() && IsBlank(old.front()))
            old = old.sliced(1);
        const qsizetype from = OffsetIn(text, old);
        const qsizetype to = OffsetIn(text, line.content) + line.content.size();
        return text.first(from) + value + text.sliced(to);
    }
    const QString entry = key + QLatin1Char('=') + value + QLatin1String("\r\n");
    if (place.section >= 0) {
        const Line& after = lines[place.lastKey >= 0 ? place.lastKey : place.section];
        const qsizetype at = OffsetIn(text, after.ending) + after.ending.size();
        const QLatin1String breakBefore(after.ending.isEmpty() ? "\r\n" : "");
        return text.first(at) + breakBefore + entry + text.sliced(at);
    }
    const bool open = !text.isEmpty() && !text.endsWith(u'\n') && !text.endsWith(u'\r');
    return text + QLatin1String(open ? "\r\n[" : "[") + section + QLatin1String("]\r\n") + entry;
}

void Save(const QString& fileName, const QByteArray& bytes) {
    QSaveFile file(fileName);
    // The flush of its own: commit() ignores a buffered write that fails when the disk fills,
    // and would put a cut file in place.
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
        file.commit())
        return;
    qCWarning(lcIni) << "cannot write" << fileName << file.errorString();
}

} // namespace

QString GetFromIni(const QString& section, const QString& key, const QString& fileName) {
    const QStringView sectionName = TrimBlanks(section);
    const QStringView keyName = TrimBlanks(key);
    if (sectionName.isEmpty() || keyName.isEmpty())
        return {};
    const Stored stored = Load(fileName);
    if (!stored.usable)
        return {};
    const QString text = Decode(stored.bytes).text;
    const Place place = Find(SplitLines(text), sectionName, keyName);
    if (place.key < 0)
        return {};
    QStringView value = TrimBlanks(place.value);
    if (IsQuoted(value))
        value = value.sliced(1, value.size() - 2);
    return CutToBuffer(value, kMaxValueBytes);
}

void WriteToIni(const QString& section, const QString& key, const QString& value,
                const QString& fileName) {
    const QString sectionName = TrimBlanks(section).toString();
    const QString keyName = TrimBlanks(key).toString();
    if (!CanWrite(sectionName, keyName, value)) {
        qCWarning(lcIni) << "not written: a line break or an unusable name" << section << key;
        return;
    }
    const Stored stored = Load(fileName);
    // A read-only file stays as it is, as on Windows, though replacing it would be possible.
    if (!stored.usable || (stored.exists && !QFileInfo(fileName).isWritable())) {
        qCWarning(lcIni) << "left alone:" << fileName;
        return;
    }
    const Text old = Decode(stored.bytes);
    const QString text = WithValue(old.text, sectionName, keyName, AsStored(value));
    if (stored.exists && text == old.text)
        return;
    // A file read as code page 936 is written back in UTF-8 as a whole, so it stays one text.
    Save(fileName, old.mark + text.toUtf8());
}

} // namespace ovelo
