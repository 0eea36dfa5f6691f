#include "regularfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ovelo {

namespace {

constexpr int kLeftCopyAgeSeconds = 60;

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Reads to the end, but never keeps more than maxBytes + 1 bytes: the size reported at the
// start says nothing about a file that grows, or one in /proc that reports 0.
std::optional<QByteArray> ReadAtMost(int fd, qint64 sizeHint, qint64 maxBytes) {
    QByteArray bytes(qMin<qint64>(qMax<qint64>(sizeHint + 1, 4096), maxBytes + 1),
                     Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > maxBytes)
                return std::nullopt;
            bytes.resize(qMin<qint64>(qint64(used) * 2, maxBytes + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        used += got;
    }
    bytes.truncate(used);
    return bytes;
}

} // namespace

PathKind KindOfPath(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) == 0)
        return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
    return ::lstat(name.constData(), &info) == 0 ? PathKind::Other : PathKind::Missing;
}

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes) {
    // Opening a device can act on it (a tape rewinds), so look before opening; and open without
    // waiting, in case the path became a FIFO in between, then check what was opened.
    if (KindOfPath(path) != PathKind::RegularFile)
        return std::nullopt;
    const Descriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info;
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > maxBytes)
        return std::nullopt;
    return ReadAtMost(fd.get(), info.st_size, maxBytes);
}

// A writer killed between creating its copy and renaming it over the file leaves the copy
// behind ("Config.ini.a1B2c3"); one old enough belongs to no running writer.
void RemoveLeftCopies(const QString& path) {
    const QFileInfo info(path);
    const QRegularExpression copy(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(info.fileName()) + QLatin1String("\\.[A-Za-z0-9]{6}")));
    const QDateTime old = QDateTime::currentDateTime().addSecs(-kLeftCopyAgeSeconds);
    const QDir dir = info.dir();
    for (const QFileInfo& entry : dir.entryInfoList({info.fileName() + ".??????"},
                                                    QDir::Files | QDir::Hidden | QDir::System)) {
        if (copy.match(entry.fileName()).hasMatch() && !entry.isSymLink() &&
            entry.lastModified() < old)
            QFile::remove(entry.filePath());
    }
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    RemoveLeftCopies(path);
    QSaveFile file(path);
    // flush() before commit(), which ignores a buffered write that failed (a full disk) and
    // would put a cut file in place.
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
           file.commit();
}

} // namespace ovelo
