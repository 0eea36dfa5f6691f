#include "updater/updateserver.h"

#include "platform/codepage.h"
#include "settings/webaddresses.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcUpdateServer, "ovelo.updater", QtWarningMsg)

namespace ovelo {

namespace {

QUrl OnServer(const char* path) {
    return QUrl(JoinWebPath(UpdateServer(), QString::fromLatin1(path)));
}

// Written on a server today it is UTF-8 (or plain ASCII); an old one may be in code page 936.
QString DecodeVersionText(const QByteArray& body) {
    if (QByteArrayView(body).isValidUtf8())
        return QString::fromUtf8(body);
    return DecodeCp936(body);
}

} // namespace

QUrl VersionFileUrl() {
    return OnServer(kVersionFilePath);
}

QUrl InstallerUrl() {
    return OnServer(kInstallerPath);
}

WebFetch* FetchLatestVersion(const QUrl& url, QObject* window) {
    return new WebFetch(url, {}, kVersionReadTimeout, kMaxVersionFileBytes, window);
}

QString LatestVersion(const FetchResult& answer) {
    // An error page is no version: taken for one, it would differ from every installed version
    // and start a download.
    if (!answer.ok() || answer.status < 200 || answer.status > 299) {
        qCInfo(lcUpdateServer) << "no version file: status" << answer.status << "failure"
                               << int(answer.failure);
        return {};
    }
    return DecodeVersionText(answer.body);
}

} // namespace ovelo
