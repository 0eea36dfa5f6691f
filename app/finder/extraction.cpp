#include "finder/extraction.h"

#include "platform/programfolder.h"

#include <QFile>
#include <QLoggingCategory>
#include <QStringEncoder>
#include <limits>
#include <optional>

Q_LOGGING_CATEGORY(lcExtraction, "ovelo.finder", QtWarningMsg)

namespace ovelo {

namespace {

// What follows "href" that is looked at: the "=" and an address of reasonable length.
constexpr qsizetype kSkip = 5;
constexpr qsizetype kFragmentLength = 350;
// Occurrences and links are counted in 16 bits.
constexpr qint32 kMaxIndex = std::numeric_limits<qint16>::max();
constexpr qsizetype kMaxCandidates = std::numeric_limits<qint16>::max();
constexpr qsizetype kFlushBytes = 1 << 20;

// url.dat, written through one buffer that keeps its memory: a page has tens of thousands of
// links.
class ListFile {
  public:
    explicit ListFile(const QString& path) : file_(path), utf8_(QStringEncoder::Utf8) {
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            qCWarning(lcExtraction) << "cannot write" << path << file_.errorString();
    }
    ~ListFile() { flush(); }
    ListFile(const ListFile&) = delete;
    ListFile& operator=(const ListFile&) = delete;

    void add(qint32 index, QStringView fragment) {
        if (!file_.isOpen())
            return;
        if (buffer_.capacity() < kFlushBytes)
            buffer_.reserve(kFlushBytes + kFragmentLength * 4);
        buffer_.append(54, '-');
        buffer_.append(QByteArray::number(index));
        buffer_.append("\r\n");
        const qsizetype used = buffer_.size();
        buffer_.resize(used + utf8_.requiredSpace(fragment.size()));
        char* end = utf8_.appendToBuffer(buffer_.data() + used, fragment);
        buffer_.truncate(end - buffer_.constData());
        buffer_.append("\r\n");
        if (buffer_.size() >= kFlushBytes)
            flush();
    }

  private:
    void flush() {
        if (file_.isOpen() && !buffer_.isEmpty() && file_.write(buffer_) != buffer_.size())
            qCWarning(lcExtraction) << "cannot write" << file_.fileName() << file_.errorString();
        buffer_.truncate(0);
    }

    QFile file_;
    QStringEncoder utf8_;
    QByteArray buffer_;
};

QStringView TrimBlanks(QStringView text) {
    qsizetype at = 0;
    while (at < text.size() && text[at] == u' ')
        ++at;
    return text.sliced(at);
}

// The text after the "href" at 1-based `position`: "href" and one more character skipped, an
// "=" after blanks skipped too.
QStringView Fragment(QStringView page, qint32 position) {
    const qsizetype start = qsizetype(position) - 1 + kSkip;
    if (start >= page.size())
        return {};
    QStringView fragment =
        TrimBlanks(page.sliced(start, qMin(kFragmentLength, page.size() - start)));
    if (fragment.startsWith(u'='))
        fragment = TrimBlanks(fragment.sliced(1));
    return fragment;
}

// The link if it is one to keep, without a leading apostrophe or, when relative, its root.
std::optional<QString> Accepted(QString link) {
    if (link.contains(u'+') || link.contains(u'#') || link.contains(u' ') ||
        link.contains(QLatin1String("MAILTO")))
        return std::nullopt;
    if (link.startsWith(u'\''))
        link.remove(0, 1);
    // Nothing to resolve a relative link against: it is kept as it stands, less its root.
    if (!link.contains(u':') && (link.startsWith(u'/') || link.startsWith(u'\\')))
        link.remove(0, 1);
    return link;
}

bool EndsLink(QChar c) {
    return c == u'>' || c == u'\'';
}

// The fragment without " target=", "\"_blank\"" and double quotes, in that order.
QString WithoutQuoting(QStringView text) {
    QString f = text.toString();
    f.remove(QStringLiteral(" target="));
    f.remove(QStringLiteral("\"_blank\""));
    f.remove(u'"');
    return f;
}

// The link a fragment holds: its text, less the quoting, up to the first ">" or apostrophe
// after its first character. No removal takes out or spans a ">" or an apostrophe, so only the
// text before the end needs the removals, not the whole fragment: a tenth of the work on a
// page of short links.
std::optional<QString> Candidate(QStringView fragment) {
    for (qsizetype end = 0; end < fragment.size(); ++end) {
        if (!EndsLink(fragment[end]))
            continue;
        QString link = WithoutQuoting(fragment.first(end));
        // An end that would be the first character once the quoting is gone does not count.
        if (link.isEmpty())
            continue;
        return Accepted(std::move(link));
    }
    return std::nullopt;
}

// The first `pattern` in `text` from `from` on. A page is megabytes long and the pattern short:
// the search for its first character is the vectorised one, and is several times faster than
// the general string search.
qsizetype Find(QStringView text, QStringView pattern, qsizetype from) {
    const QChar first = pattern.front();
    const QStringView rest = pattern.sliced(1);
    const qsizetype last = text.size() - pattern.size();
    for (qsizetype at = text.indexOf(first, from); at >= 0 && at <= last;
         at = text.indexOf(first, at + 1))
        if (text.sliced(at + 1, rest.size()) == rest)
            return at;
    return -1;
}

QStringList Ended(qint32 at, qint32 count, const QStringList& candidates) {
    qCInfo(lcExtraction) << "the 16-bit count ends the extraction at" << at << "of" << count;
    return candidates;
}

} // namespace

qint32 inStr_n(QStringView text, QStringView pattern, QList<qint32>* positions) {
    if (positions)
        positions->clear();
    if (text.isEmpty() || pattern.isEmpty())
        return 0;
    qint32 count = 0;
    for (qsizetype at = Find(text, pattern, 1); at >= 0; at = Find(text, pattern, at + 1)) {
        if (positions)
            positions->append(qint32(at + 1));
        ++count;
    }
    return count;
}

QStringList FlvUrl_In_Html(QStringView page, const QString& listFile,
                           const ExtractionProgress& progress) {
    ListFile list(listFile);
    QStringList candidates;
    QList<qint32> positions;
    const qint32 count = inStr_n(page, u"href", &positions);
    for (qint32 k = 0; k < count; ++k) {
        if (k > kMaxIndex)
            return Ended(k, count, candidates);
        if (progress)
            progress(k, count);
        const QStringView fragment = Fragment(page, positions[k]);
        list.add(k, fragment);
        std::optional<QString> link = Candidate(fragment);
        if (!link)
            continue;
        if (candidates.size() == kMaxCandidates)
            return Ended(k, count, candidates);
        candidates.append(std::move(*link));
    }
    return candidates;
}

QString LastVideoAddress(const QStringList& candidates) {
    for (auto it = candidates.crbegin(); it != candidates.crend(); ++it)
        if (it->contains(QLatin1String(".flv?")) || it->contains(QLatin1String(".f4v?")))
            return *it;
    return {};
}

QString UrlDatPath() {
    return NativePath(ProgramFolder(), QStringLiteral("url.dat"));
}

} // namespace ovelo
