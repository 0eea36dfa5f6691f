#include "regtext.h"

namespace ovelo {

QString CutAtNull(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.first(nul);
}

bool ReadRegText(const ClassesRoot& root, const RegKey& key, const QString& valueName,
                 QString& result) {
    quint32 type = REG_NONE;
    quint32 size = 0;
    if (root.QueryValue(key, valueName, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    // A buffer of the reported size; what the value does not fill stays blank, and the NUL
    // the value ends with marks where its text ends.
    QByteArray buffer(qsizetype(size), ' ');
    if (root.QueryValue(key, valueName, &type, buffer.data(), &size) != ERROR_SUCCESS)
        return false;
    // The system code page is UTF-8 here.
    result = CutAtNull(QString::fromUtf8(buffer));
    return true;
}

bool WriteRegText(ClassesRoot& root, const RegKey& key, const QString& valueName,
                  const QString& value) {
    QByteArray bytes = value.toUtf8();
    bytes.append('\0'); // the size written is the text's byte length plus one
    return root.SetValue(key, valueName, REG_SZ, bytes) == ERROR_SUCCESS;
}

} // namespace ovelo
