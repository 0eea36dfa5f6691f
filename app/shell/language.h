// The language of the program's texts. They are written in Simplified Chinese; another language
// is a translation, ovelo_<language>.qm, in the translations folder beside the executable. The
// desktop's languages are taken in its order of preference: the first that is Chinese or has a
// translation wins, and where none does (C, POSIX, a language without one) the texts stay Chinese.
#pragma once

#include <QString>
#include <QStringList>

namespace ovelo {

// Beside the executable, not in the program folder: an installation's program folder is the
// user's copy of the data files, and a translation there would outlive the program's updates.
QString TranslationsFolder();

// The language whose translation `folder` holds for the first of `uiLanguages` (BCP 47 names,
// most wanted first) the program can show, as the file names it ("en", "pt_BR"); "" for the
// program's own Chinese texts.
QString ChooseLanguage(const QStringList& uiLanguages, const QString& folder);

// Installs the desktop's language for the program's texts and for Qt's own dialogs, and gives
// the language chosen ("" for Chinese). Needs the application object; the translations live as
// long as it.
QString InstallTranslations(const QString& folder = TranslationsFolder());

} // namespace ovelo
