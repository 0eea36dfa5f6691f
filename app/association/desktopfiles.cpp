#include "desktopfiles.h"

#include "mimeapps.h"
#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcDesktop, "ovelo.association.desktop", QtWarningMsg)

namespace ovelo {

namespace {

const QStringList kTypes = {QStringLiteral("video/x-flv"), QStringLiteral("video/x-f4v")};
constexpr char kMimePackage[] = "ovelo-f4v.xml";
// Far above any of the files written here; a bigger one is left alone.
constexpr qint64 kMaxFileBytes = 1 << 20;

QByteArray Resource(const char* name) {
    QFile file(QLatin1String(":/association/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A desktop entry's string value: its escapes are undone before anything else reads it.
QString StringValue(const QString& text) {
    QString out;
    for (const QChar c : text) {
        const qsizetype special = QStringView(u"\\\n\t\r").indexOf(c);
        if (special >= 0)
            out += QLatin1Char('\\');
        out += special >= 0 ? QLatin1Char("\\ntr"[special]) : c;
    }
    return out;
}

enum class Outcome { Same, Written, Failed };

Outcome WriteIfChanged(const QString& path, const QByteArray& bytes) {
    const PathKind kind = KindOfPath(path);
    if (kind == PathKind::Other) {
        qCInfo(lcDesktop) << "not a regular file, left alone:" << path;
        return Outcome::Failed;
    }
    if (kind == PathKind::RegularFile && ReadRegularFile(path, kMaxFileBytes) == bytes)
        return Outcome::Same;
    if (QDir().mkpath(QFileInfo(path).path()) && WriteFileAtomically(path, bytes))
        return Outcome::Written;
    qCInfo(lcDesktop) << "cannot write" << path;
    return Outcome::Failed;
}

// Started on its own and left to itself: the start-up does not wait for an index, and what
// the tool makes of it changes nothing here.
void RunIfPresent(const char* tool, const QString& folder) {
    const QString program = QStandardPaths::findExecutable(QLatin1String(tool));
    if (program.isEmpty()) {
        qCInfo(lcDesktop) << tool << "is not installed";
        return;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments({folder});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!process.startDetached())
        qCInfo(lcDesktop) << tool << "could not be started";
}

// The icon the .flv class names; the program's own icon when it names none.
QString FileClassIcon(const ClassesRoot& root) {
    const QString programIcon = QStringLiteral("ovelo");
    const std::optional<QString> className = root.value(QStringLiteral(".flv"));
    if (!className)
        return programIcon;
    return root.value(*className + QLatin1String("\\DefaultIcon")).value_or(programIcon);
}

void UpdateEntry(const ClassesRoot& root, const QString& executable, const QString& dataHome) {
    const QString folder = dataHome + QLatin1String("/applications");
    const Outcome entry = WriteIfChanged(folder + QLatin1Char('/') + QLatin1String(kDesktopId),
                                         DesktopEntry(executable, FileClassIcon(root)));
    if (entry == Outcome::Written || !QFileInfo::exists(folder + QLatin1String("/mimeinfo.cache")))
        RunIfPresent("update-desktop-database", folder);
}

void UpdateMimeType(const QString& dataHome) {
    const QString folder = dataHome + QLatin1String("/mime");
    const Outcome package = WriteIfChanged(
        folder + QLatin1String("/packages/") + QLatin1String(kMimePackage), Resource(kMimePackage));
    if (package == Outcome::Written || !QFileInfo::exists(folder + QLatin1String("/mime.cache")))
        RunIfPresent("update-mime-database", folder);
}

void UpdateDefaults(const QString& configHome) {
    const QString path = configHome + QLatin1String("/mimeapps.list");
    const PathKind kind = KindOfPath(path);
    std::optional<QByteArray> current =
        kind == PathKind::Missing ? QByteArray() : ReadRegularFile(path, kMaxFileBytes);
    if (!current) {
        qCInfo(lcDesktop) << "cannot read, left alone:" << path;
        return;
    }
    WriteIfChanged(path, WithDefaultApplication(*current, kTypes, QLatin1String(kDesktopId)));
}

} // namespace

QString ExecArgument(const QString& path) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool quote = path.isEmpty() || std::any_of(path.begin(), path.end(),
                                                     [](QChar c) { return reserved.contains(c); });
    QString out;
    for (const QChar c : path) {
        if (quote && QStringView(u"\"`$\\").contains(c))
            out += QLatin1Char('\\');
        if (c == u'%')
            out += QLatin1Char('%'); // a lone one would start a field code
        out += c;
    }
    return quote ? QLatin1Char('"') + out + QLatin1Char('"') : out;
}

QByteArray DesktopEntry(const QString& executable, const QString& icon) {
    // In one pass: a path may itself hold the text of a marker.
    static const QRegularExpression marker(QStringLiteral("@(EXEC|ICON)@"));
    const QString entry = QString::fromUtf8(Resource("ovelo.desktop.in"));
    QString out;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : marker.globalMatch(entry)) {
        out += QStringView(entry).sliced(from, m.capturedStart() - from);
        out += StringValue(m.captured(1) == u"EXEC" ? ExecArgument(executable) : icon);
        from = m.capturedEnd();
    }
    out += QStringView(entry).sliced(from);
    return out.toUtf8();
}

void UpdateDesktop(const ClassesRoot& root, const QString& executable,
                   const DesktopFolders& folders) {
    if (!folders.dataHome.isEmpty()) {
        UpdateEntry(root, executable, folders.dataHome);
        UpdateMimeType(folders.dataHome);
    }
    if (!folders.configHome.isEmpty())
        UpdateDefaults(folders.configHome);
}

} // namespace ovelo
