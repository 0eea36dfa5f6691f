#include "settings/webaddresses.h"

#include "settings/config.h"

namespace ovelo {

namespace {

QString Configured(IniEntry entry, const char* fallback) {
    const QString value = ReadSetting(entry).trimmed();
    return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}

} // namespace

QString ProductSite() {
    return Configured(ini::Site, kDefaultSite);
}

QString ProductForum() {
    return JoinWebPath(ProductSite(), QStringLiteral("bbs"));
}

QString ParserService() {
    return Configured(ini::Parser, kDefaultParser);
}

QString UpdateServer() {
    return Configured(ini::Update, kDefaultUpdate);
}

QString JoinWebPath(const QString& base, const QString& path) {
    QString head = base;
    while (head.endsWith(QLatin1Char('/')))
        head.chop(1);
    QString tail = path;
    while (tail.startsWith(QLatin1Char('/')))
        tail.remove(0, 1);
    return head + QLatin1Char('/') + tail;
}

} // namespace ovelo
