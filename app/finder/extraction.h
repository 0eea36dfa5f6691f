// Pulling the links out of the service's answer page, and choosing the video address among
// them. Plain functions: the window only shows their progress and their result.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace ovelo {

// Told of occurrence `index` (from 0) of `count` "href"s, before it is looked at.
using ExtractionProgress = std::function<void(qint32 index, qint32 count)>;

// The number of times `pattern` occurs in `text`, overlapping ones included, found from the
// second character on: an occurrence at the very first character is not counted. With
// `positions`, also their 1-based starts in order. Exact and case-sensitive.
qint32 inStr_n(QStringView text, QStringView pattern, QList<qint32>* positions = nullptr);

// The links of `page`, in page order: for every "href", the address up to the next ">" or
// apostrophe, with quotes, " target=" and "_blank" taken out, and none with "+", "#", a blank
// or "MAILTO" in it; a relative one loses one leading "/" or "\". Writes `listFile` anew
// (url.dat): for every "href", 54 dashes and its index, then its fragment as it was before the
// quotes went, each line ended by CR LF. Ends early, with the links so far, where the index
// or the number of links would pass 32767.
QStringList FlvUrl_In_Html(QStringView page, const QString& listFile,
                           const ExtractionProgress& progress = {});

// The last link that holds ".flv?" or ".f4v?"; "" when none does.
QString LastVideoAddress(const QStringList& candidates);

// url.dat in the program folder.
QString UrlDatPath();

} // namespace ovelo
