// The product's places on the web. They live in Config.ini's [Net] section, so a moved server
// needs no new program; a missing or empty value falls back to the built-in address.
#pragma once

#include <QString>

namespace ovelo {

QString ProductSite();
// The forum lies under the site.
QString ProductForum();
// The service that finds the video behind a web page.
QString ParserService();
// Where the version file and the installer are downloaded from.
QString UpdateServer();

// The built-in addresses.
inline constexpr char kDefaultSite[] = "https://www.vantorel.com/ovelo";
inline constexpr char kDefaultParser[] = "https://parse.vantorel.com/";
inline constexpr char kDefaultUpdate[] = "https://update.vantorel.com/ovelo";

// `base` and `path` joined with exactly one "/" between them.
QString JoinWebPath(const QString& base, const QString& path);

} // namespace ovelo
