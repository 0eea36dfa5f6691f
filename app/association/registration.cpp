#include "registration.h"

#include "platform/programfolder.h"
#include "regtext.h"

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

RegKey CreateKeys(ClassesRoot& root, RegKey key, std::initializer_list<const char*> names) {
    for (const char* name : names)
        root.CreateKey(key, QString::fromLatin1(name), key);
    return key;
}

void RegisterOne(ClassesRoot& root, const FileType& type, const QString& programFolder,
                 const QString& executable) {
    const QString className = QString::fromLatin1(type.className);
    const RegKey extension = CreateKeys(root, ClassesRoot::Root(), {type.extension});
    WriteRegText(root, extension, {}, className);
    const RegKey fileClass = CreateKeys(root, ClassesRoot::Root(), {type.className});
    WriteRegText(root, fileClass, {}, QString::fromUtf8(type.description));
    WriteRegText(root, CreateKeys(root, fileClass, {"DefaultIcon"}), {},
                 NativePath(programFolder, QString::fromLatin1(type.icon)));
    WriteRegText(root, CreateKeys(root, fileClass, {"Shell", "Open", "command"}), {},
                 OpenCommand(executable, false));

    // The class the extension names now, which is normally the one just written.
    RegKey reopened;
    QString named;
    if (root.OpenKey(ClassesRoot::Root(), QString::fromLatin1(type.extension), reopened) !=
            ERROR_SUCCESS ||
        !ReadRegText(root, reopened, {}, named))
        return; // no class to complete: the rest of the pass would write under a wrong name
    RegKey command;
    root.OpenKey(ClassesRoot::Root(), named + QLatin1String("\\shell\\open\\command"), command);
    WriteRegText(root, command, {}, OpenCommand(executable, type.lowerCaseCommand));
    RegKey icon;
    root.OpenKey(ClassesRoot::Root(), named + QLatin1String("\\DefaultIcon"), icon);
    WriteRegText(root, icon, {}, NativePath(programFolder, QString::fromLatin1(kFilesIcon)));
    root.CloseKey(icon);
}

} // namespace

void RegisterFileTypes(ClassesRoot& root, const QString& programFolder, const QString& executable) {
    for (const FileType& type : kFileTypes)
        RegisterOne(root, type, programFolder, executable);
}

} // namespace ovelo
