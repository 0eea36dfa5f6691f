#include "finder/pagefetch.h"

#include "platform/codepage.h"
#include "settings/webaddresses.h"

#include <QUrl>

namespace ovelo {

QString ParserQuery(const QString& serviceBase, const QString& pageAddress) {
    // Escaped whole: "&", "=", "?", "#", "+" or a blank left as they are would cut the value
    // short or change it on the service's side.
    const QByteArray key = QUrl::toPercentEncoding(pageAddress);
    return JoinWebPath(serviceBase, QStringLiteral("parse.php?kw=") + QString::fromLatin1(key) +
                                        QStringLiteral("&flag=&format="));
}

WebFetch* FetchPage(const QString& address, QObject* window) {
    return new WebFetch(QUrl(address), {{"Content-Type", "text/XML"}}, kPageFetchTimeout,
                        kMaxPageBytes, window);
}

QString viewSource(const FetchResult& answer) {
    return answer.ok() ? bytes2BSTR(answer.body) : QString();
}

QString bytes2BSTR(QByteArrayView body) {
    const Cp936PairTable& pairs = Cp936Pairs();
    QString text(body.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const uchar*>(body.data());
    const qsizetype n = body.size();
    char16_t* at = out;
    for (qsizetype i = 0; i < n;) {
        const uchar b = in[i];
        if (b < 0x80) {
            *at++ = b;
            ++i;
        } else if (i + 1 < n) {
            *at++ = pairs[size_t(b - 0x80) << 8 | in[i + 1]];
            i += 2;
        } else {
            // A lone lead byte at the end: the page before it is still whole.
            break;
        }
    }
    text.truncate(at - out);
    return text;
}

} // namespace ovelo
