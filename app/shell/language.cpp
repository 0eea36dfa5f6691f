#include "shell/language.h"

#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcLanguage, "ovelo.language", QtWarningMsg)

namespace ovelo {

namespace {

// The language the texts are written in: its speakers, whatever their script or region, read
// them as they are.
constexpr char kSourceLanguage[] = "zh";

QString TranslationFile(const QString& folder, const QString& language) {
    return QDir(folder).filePath(QStringLiteral("ovelo_%1.qm").arg(language));
}

} // namespace

QString TranslationsFolder() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QLatin1String(kTranslationsFolder));
}

QString ChooseLanguage(const QStringList& uiLanguages, const QString& folder) {
    for (const QString& wanted : uiLanguages) {
        // "en-Latn-GB" may be served by ovelo_en_Latn_GB, ovelo_en_Latn or ovelo_en.
        QStringList parts = QString(wanted).replace(QLatin1Char('-'), QLatin1Char('_')).split('_');
        if (parts.first().compare(QLatin1String(kSourceLanguage), Qt::CaseInsensitive) == 0)
            return {};
        for (; !parts.isEmpty(); parts.removeLast()) {
            const QString language = parts.join(QLatin1Char('_'));
            if (QFileInfo::exists(TranslationFile(folder, language)))
                return language;
        }
    }
    return {};
}

QString InstallTranslations(const QString& folder) {
    auto* app = QCoreApplication::instance();
    const QString language = ChooseLanguage(QLocale::system().uiLanguages(), folder);
    if (language.isEmpty())
        return {};
    auto* texts = new QTranslator(app);
    if (!texts->load(TranslationFile(folder, language)) ||
        !QCoreApplication::installTranslator(texts)) {
        qCWarning(lcLanguage) << "cannot load" << TranslationFile(folder, language);
        delete texts;
        return {};
    }
    // Qt's own dialogs (the file dialog, the message boxes' buttons) in the same language, where
    // Qt has it; "pt_BR" falls back to Qt's "pt".
    auto* qtTexts = new QTranslator(app);
    if (qtTexts->load(QStringLiteral("qtbase_") + language,
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTexts);
    else
        delete qtTexts;
    return language;
}

} // namespace ovelo
