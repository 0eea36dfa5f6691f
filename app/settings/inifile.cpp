#include "inifile.h"

#include "inilines.h"
#include "platform/codepage.h"
#include "platform/regularfile.h"

#include <QFileInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcIni, "ovelo.settings", QtWarningMsg)

namespace ovelo {

namespace {

using ini::LineReader;
using ini::LineSpan;

// What the Windows reader hands back through its buffer of 255 bytes.
constexpr qsizetype kMaxValueBytes = 254;
// Far beyond any settings file; a bigger one is something else and is neither read nor
// rewritten. Every read reads the whole file, so this also bounds the time one read takes.
constexpr qint64 kMaxFileBytes = 32 << 20;

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

// Where a key is, or would go, in a file.
struct Place {
    bool hasSection = false;
    LineSpan after; // the section's header or its last key line: a new key goes after it
    bool hasKey = false;
    LineSpan keyLine;      // the first line of the key
    QString keyText;       // that line's text
    qsizetype valueAt = 0; // where the value starts in keyText, after the blanks behind "="
};

qsizetype ValueStart(const QString& text, QStringView value) {
    while (!value.isEmpty() && IsBlank(value.front()))
        value = value.sliced(1);
    return value.data() - text.constData();
}

Place Find(LineReader lines, QStringView section, QStringView key) {
    Place place;
    for (LineSpan line; lines.next(line);) {
        QString text = lines.text(line);
        const Entry entry = Classify(text);
        if (entry.kind == Entry::Section) {
            if (place.hasSection)
                break; // a later copy of the section is never looked at
            place.hasSection = SameName(entry.name, section);
            place.after = line;
        } else if (entry.kind == Entry::Key && place.hasSection) {
            place.after = line;
            if (!place.hasKey && SameName(entry.name, key)) {
                place.hasKey = true;
                place.keyLine = line;
                place.valueAt = ValueStart(text, entry.value);
                place.keyText = std::move(text);
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

Stored LoadStored(const QString& fileName) {
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

QByteArray Spliced(QByteArrayView bytes, qsizetype from, qsizetype to, const QByteArray& part) {
    QByteArray out;
    out.reserve(bytes.size() - (to - from) + part.size());
    return out.append(bytes.first(from)).append(part).append(bytes.sliced(to));
}

// The file with the one line that changes: the key's line (in its new encoding, the name, its
// case and the blanks before the value kept), or a line for a new key or section.
QByteArray WithValue(QByteArrayView bytes, const QString& section, const QString& key,
                     const QString& value) {
    const LineReader lines(bytes);
    const Place place = Find(lines, section, key);
    if (place.hasKey) {
        const QString line = place.keyText.first(place.valueAt) + value;
        return Spliced(bytes, place.keyLine.begin, place.keyLine.end, lines.encode(line));
    }
    const QString entry = key + QLatin1Char('=') + value + QLatin1String("\r\n");
    if (place.hasSection) {
        const QLatin1String breakBefore(place.after.open() ? "\r\n" : "");
        const qsizetype at = place.after.next;
        return Spliced(bytes, at, at, lines.encodeAt(breakBefore + entry, at));
    }
    const QLatin1String open(lines.endsOpen() ? "\r\n[" : "[");
    const QString text = open + section + QLatin1String("]\r\n") + entry;
    return Spliced(bytes, bytes.size(), bytes.size(), lines.encodeAt(text, bytes.size()));
}

void Save(const QString& fileName, const QByteArray& bytes) {
    if (!WriteFileAtomically(fileName, bytes))
        qCWarning(lcIni) << "cannot write" << fileName;
}

} // namespace

QString GetFromIni(const QString& section, const QString& key, const QString& fileName) {
    const QStringView sectionName = TrimBlanks(section);
    const QStringView keyName = TrimBlanks(key);
    if (sectionName.isEmpty() || keyName.isEmpty())
        return {};
    const Stored stored = LoadStored(fileName);
    if (!stored.usable)
        return {};
    const Place place = Find(LineReader(stored.bytes), sectionName, keyName);
    if (!place.hasKey)
        return {};
    QStringView value = TrimBlanks(QStringView(place.keyText).sliced(place.valueAt));
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
    const Stored stored = LoadStored(fileName);
    // A read-only file stays as it is, as on Windows, though replacing it would be possible.
    if (!stored.usable || (stored.exists && !QFileInfo(fileName).isWritable())) {
        qCWarning(lcIni) << "left alone:" << fileName;
        return;
    }
    const QByteArray bytes = WithValue(stored.bytes, sectionName, keyName, AsStored(value));
    if (!stored.exists || bytes != stored.bytes)
        Save(fileName, bytes);
}

} // namespace ovelo
