// What the fuzz targets share: the input as text, and a Qt application some of them need.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace fuzz {

inline QByteArray Bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline QString Text(const uint8_t* data, size_t size) {
    return QString::fromUtf8(Bytes(data, size));
}

// The first line of the input and the rest: two texts out of one input.
inline std::pair<QString, QString> TwoTexts(const uint8_t* data, size_t size) {
    const QString all = Text(data, size);
    const qsizetype cut = all.indexOf(QLatin1Char('\n'));
    return cut < 0 ? std::pair{all, QString()} : std::pair{all.first(cut), all.sliced(cut + 1)};
}

// One application for the whole run, drawing nowhere.
inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

} // namespace fuzz
