#include "inilines.h"

#include "platform/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ovelo::ini {

namespace {

const QByteArrayView kUtf8Bom("\xEF\xBB\xBF");
const QByteArrayView kUtf16Bom("\xFF\xFE");

} // namespace

LineReader::LineReader(QByteArrayView bytes)
    : bytes_(bytes), utf16_(bytes.startsWith(kUtf16Bom)),
      start_(utf16_                       ? kUtf16Bom.size()
             : bytes.startsWith(kUtf8Bom) ? kUtf8Bom.size()
                                          : 0),
      at_(start_) {}

// Line breaks are found in the bytes themselves: no byte of a two-byte character of code page
// 936 or of a UTF-8 sequence is a CR or an LF. A lone last byte of a UTF-16 file is no break.
char16_t LineReader::unit(qsizetype at) const {
    if (!utf16_)
        return uchar(bytes_[at]);
    return at + 1 < bytes_.size() ? char16_t(uchar(bytes_[at]) | uchar(bytes_[at + 1]) << 8) : 0;
}

bool LineReader::isBreak(qsizetype at) const {
    const char16_t c = unit(at);
    return c == u'\n' || c == u'\r';
}

bool LineReader::next(LineSpan& line) {
    if (at_ >= bytes_.size())
        return false;
    const qsizetype width = utf16_ ? 2 : 1;
    line.begin = at_;
    while (at_ < bytes_.size() && !isBreak(at_))
        at_ = qMin(at_ + width, bytes_.size());
    line.end = at_;
    if (at_ < bytes_.size()) {
        const bool cr = unit(at_) == u'\r';
        at_ += width;
        if (cr && at_ < bytes_.size() && unit(at_) == u'\n')
            at_ += width;
    }
    line.next = at_;
    return true;
}

QString LineReader::text(const LineSpan& line) const {
    const QByteArrayView raw = bytes_.sliced(line.begin, line.end - line.begin);
    if (utf16_)
        return QStringDecoder(QStringDecoder::Utf16LE)(raw);
    // Valid UTF-8 is taken for UTF-8: everything written here is, while text in code page 936
    // passes only by chance, and only for a character or two.
    if (raw.isValidUtf8())
        return QString::fromUtf8(raw);
    return DecodeCp936(raw);
}

QByteArray LineReader::encode(const QString& text) const {
    if (utf16_)
        return QStringEncoder(QStringEncoder::Utf16LE)(text);
    return text.toUtf8();
}

QByteArray LineReader::encodeAt(const QString& text, qsizetype at) const {
    QByteArray out = encode(text);
    if (utf16_ && (at - start_) % 2 != 0)
        out.prepend('\0');
    return out;
}

bool LineReader::endsOpen() const {
    const qsizetype width = utf16_ ? 2 : 1;
    if (bytes_.size() == start_)
        return false;
    if ((bytes_.size() - start_) % width != 0)
        return true; // a lone byte at the end of a UTF-16 file
    return !isBreak(bytes_.size() - width);
}

} // namespace ovelo::ini
