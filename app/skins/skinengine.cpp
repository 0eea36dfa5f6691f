#include "skins/skinengine.h"

#include "platform/regularfile.h"
#include "skins/glass.h"
#include "skins/sheetcheck.h"

#include <QApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QStringDecoder>

Q_LOGGING_CATEGORY(lcSkins, "ovelo.skins", QtWarningMsg)

namespace ovelo {

namespace {

// Far beyond any real skin; a larger file is not one.
constexpr qint64 kMaxSkinBytes = 1 << 20;

QString& AttachedPath() {
    static QString path;
    return path;
}

QString Resource(const char* name) {
    QFile file(QLatin1String(":/look/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcSkins) << "missing resource" << name;
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

// The design's fonts and the pictures' defaults go first, so a skin that names none of its own
// gets the program's back after one that did; the rules that keep the video black go last,
// after anything a skin says.
QString Composed(const QString& look) {
    static const QString defaults =
        Resource("fonts.qss") + QLatin1Char('\n') + Resource("pictures.qss");
    static const QString kept = Resource("kept.qss");
    return defaults + QLatin1Char('\n') + look + QLatin1Char('\n') + kept;
}

std::optional<QString> DecodedUtf8(const QByteArray& bytes) {
    QStringDecoder decode(QStringDecoder::Utf8);
    QString text = decode(bytes);
    if (decode.hasError() || text.contains(QChar(0)))
        return std::nullopt;
    return text;
}

int Apply(const QString& look, const QString& path) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return SkinNoApplication;
    switch (CheckStyleSheet(look)) {
    case SheetVerdict::Empty:
        return SkinEmpty;
    case SheetVerdict::Broken:
        return SkinNotAStyleSheet;
    case SheetVerdict::StyleSheet:
        break;
    }
    app->setStyleSheet(Composed(look));
    AttachedPath() = path;
    return SkinDone;
}

} // namespace

int SkinH_AttachEx(const QString& path, const QString& password) {
    Q_UNUSED(password);
    QString local = path;
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const std::optional<QByteArray> bytes = ReadRegularFile(local, kMaxSkinBytes);
    if (!bytes) {
        qCInfo(lcSkins) << "no skin file at" << local;
        return SkinUnreadable;
    }
    const std::optional<QString> sheet = DecodedUtf8(*bytes);
    const int result = sheet ? Apply(*sheet, local) : int(SkinNotAStyleSheet);
    if (result != SkinDone)
        qCInfo(lcSkins) << "skin refused:" << local << "code" << result;
    return result;
}

int SkinH_SetAero(int flag) {
    return SetGlass(flag != 0) ? SkinDone : SkinNoApplication;
}

int AttachProgramLook() {
    return Apply(ProgramLook(), QString());
}

QString AttachedSkin() {
    return AttachedPath();
}

QString ProgramLook() {
    static const QString look = Resource("program.qss");
    return look;
}

} // namespace ovelo
