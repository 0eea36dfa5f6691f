// Reading the parsing service's answer page: the query that asks for a page's video, the read
// of the answer, and the decoding of its bytes.
#pragma once

#include "platform/webfetch.h"

#include <QByteArrayView>
#include <QString>
#include <chrono>

namespace ovelo {

// A dead or hostile service must neither hang the program for ever nor fill its memory.
inline constexpr std::chrono::seconds kPageFetchTimeout{30};
inline constexpr qint64 kMaxPageBytes = 32 * 1024 * 1024;

// The service's address for the page at `pageAddress`: "parse.php?kw=" with the whole page
// address percent-encoded (every byte of its UTF-8 outside A-Z a-z 0-9 - . _ ~), then
// "&flag=&format=", after `serviceBase` and one "/".
QString ParserQuery(const QString& serviceBase, const QString& pageAddress);

// Starts reading the page at `address` (already escaped): a GET with the one header
// "Content-Type: text/XML", bounded by kPageFetchTimeout and kMaxPageBytes. `window` owns it:
// closing the window ends the read.
WebFetch* FetchPage(const QString& address, QObject* window);

// The page a fetch brought, decoded by bytes2BSTR whatever its status. "" when anything failed:
// no answer, a time-out, a body over kMaxPageBytes.
QString viewSource(const FetchResult& answer);

// Decodes a page the way the finder always has, whatever the page declares: a byte below 0x80
// is that character; a byte at or above 0x80 takes the next byte along, and the pair is one
// character of code page 936, or "?" where the code page has none. A lead byte with nothing
// after it, at the very end, is dropped. Linear in the size of `body`.
QString bytes2BSTR(QByteArrayView body);

} // namespace ovelo
