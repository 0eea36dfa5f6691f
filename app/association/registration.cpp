#include "registration.h"

#include "platform/programfolder.h"

#include <QFileInfo>

namespace ovelo {

namespace {

struct FileType {
    const char* extension;
    const char* className;
    const char* description;
    const char* icon;
    // The command that replaces the class's own has the executable's name in lower case.
    bool lowerCaseCommand;
};

constexpr FileType kFileTypes[] = {
    {".flv", "flvfile", "FLV视频文件", "\\Img\\Flv.ico", true},
    {".f4v", "f4vfile", "F4V视频文件", "\\Img\\F4v.ico", false},
};

constexpr char kFilesIcon[] = "\\files.ico";

// The executable's folder and name, with the file's path as the one argument.
QString OpenCommand(const QString& executable, bool lowerCase) {
    const QFileInfo file(executable);
    const QString name = lowerCase ? file.fileName().toLower() : file.fileName();
    return NativePath(file.path(), name) + QLatin1String(" %1");
}

// Completes a key the class has; a class without it is not given one.
void SetWhereKeyExists(ClassesRoot& root, const QString& keyPath, const QString& text) {
    if (root.hasKey(keyPath))
        root.setValue(keyPath, {}, text);
}

void RegisterOne(ClassesRoot& root, const FileType& type, const QString& programFolder,
                 const QString& executable) {
    const QString extension = QString::fromLatin1(type.extension);
    const QString className = QString::fromLatin1(type.className);
    root.setValue(extension, {}, className);
    root.setValue(className, {}, QString::fromUtf8(type.description));
    root.setValue(className + QLatin1String("\\DefaultIcon"), {},
                  NativePath(programFolder, QString::fromLatin1(type.icon)));
    root.setValue(className + QLatin1String("\\Shell\\Open\\command"), {},
                  OpenCommand(executable, false));

    // The class the extension names now, which is normally the one just written.
    const std::optional<QString> named = root.value(extension);
    if (!named)
        return; // no class to complete: the rest of the pass would write under a wrong name
    SetWhereKeyExists(root, *named + QLatin1String("\\shell\\open\\command"),
                      OpenCommand(executable, type.lowerCaseCommand));
    SetWhereKeyExists(root, *named + QLatin1String("\\DefaultIcon"),
                      NativePath(programFolder, QString::fromLatin1(kFilesIcon)));
}

} // namespace

void RegisterFileTypes(ClassesRoot& root, const QString& programFolder, const QString& executable) {
    for (const FileType& type : kFileTypes)
        RegisterOne(root, type, programFolder, executable);
}

} // namespace ovelo
