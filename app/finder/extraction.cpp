#include "finder/extraction.h"

#include "platform/programfolder.h"

#include <QFile>
#include <QLoggingCategory>
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

// url.dat, written through one buffer: a page has tens of thousands of links.
class ListFile {
  public:
    explicit ListFile(const QString& path) : file_(path) {
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            qCWarning(lcExtraction) << "cannot write" << path << file_.errorString();
        buffer_.reserve(kFlushBytes + 4096);
    }
    ~ListFile() { flush(); }
    ListFile(const ListFile&) = delete;
    ListFile& operator=(const ListFile&) = delete;

    void add(qint32 index, QStringView fragment) {
        if (!file_.isOpen())
            return;
        buffer_.append(54, '-');
        buffer_.append(QByteArray::number(index));
        buffer_.append("\r\n");
        buffer_.append(fragment.toUtf8());
        buffer_.append("\r\n");
        if (buffer_.size() >= kFlushBytes)
            flush();
    }

  private:
    void flush() {
        if (file_.isOpen() && !buffer_.isEmpty() && file_.write(buffer_) != buffer_.size())
            qCWarning(lcExtraction) << "cannot write" << file_.fileName() << file_.errorString();
        buffer_.clear();
    }

    QFile file_;
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

// The link a fragment holds, or nothing.
std::optional<QString> Candidate(QStringView fragment) {
    QString f = fragment.toString();
    f.remove(QStringLiteral(" target="));
    f.remove(QStringLiteral("\"_blank\""));
    f.remove(u'"');
    qsizetype end = -1;
    for (qsizetype i = 1; i < f.size() && end < 0; ++i)
        if (f[i] == u'>' || f[i] == u'\'')
            end = i;
    if (end < 0)
        return std::nullopt;
    QString link = f.first(end);
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
    for (qsizetype at = text.indexOf(pattern, 1); at >= 0; at = text.indexOf(pattern, at + 1)) {
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
