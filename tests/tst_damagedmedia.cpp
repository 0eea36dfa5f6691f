// Damaged media through the real control with null outputs: every variant ends in "Stop" or
// "FlvNotFound" within the bound, the process never crashes and its memory stays bounded; one
// name is one medium; unusual files and names reach a state.
#include "mediaplay.h"
#include "testguards.h"
#include "webserver.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing;
using flv::VelmoraControl;

namespace {

QString Media(const char* name) {
    return QStringLiteral(TEST_MEDIA_DIR "/") + name;
}

// Where each FLV tag starts, after the 9-byte header and the first previous-tag size.
QList<qsizetype> FlvTags(const QByteArray& flv) {
    QList<qsizetype> tags;
    for (qsizetype at = 13; at + 11 <= flv.size();) {
        tags << at;
        const auto size =
            qsizetype((uchar(flv[at + 1]) << 16) | (uchar(flv[at + 2]) << 8) | uchar(flv[at + 3]));
        at += 11 + size + 4;
    }
    return tags;
}

void SetTagSize(QByteArray& flv, qsizetype tag, quint32 size) {
    flv[tag + 1] = char(size >> 16), flv[tag + 2] = char(size >> 8), flv[tag + 3] = char(size);
}

void SetTagTime(QByteArray& flv, qsizetype tag, quint32 ms) {
    flv[tag + 4] = char(ms >> 16), flv[tag + 5] = char(ms >> 8), flv[tag + 6] = char(ms);
    flv[tag + 7] = char(ms >> 24);
}

// Truncations, flipped bytes, a zeroed header, and for FLV huge declared tag sizes.
QList<QByteArray> Damaged(const QByteArray& clip, bool flv, QRandomGenerator& random) {
    QList<QByteArray> out;
    for (int i = 0; i < 16; ++i)
        out << clip.first(random.bounded(1, int(clip.size())));
    for (int i = 0; i < 16; ++i) {
        QByteArray bytes = clip;
        for (int n = random.bounded(1, 40); n > 0; --n)
            bytes[random.bounded(int(bytes.size()))] ^= char(random.bounded(1, 256));
        out << bytes;
    }
    QByteArray zeroed = clip;
    zeroed.replace(0, 32, QByteArray(32, '\0'));
    out << zeroed;
    if (flv) {
        const QList<qsizetype> tags = FlvTags(clip);
        for (qsizetype tag : {tags.first(), tags[tags.size() / 2], tags.last()}) {
            QByteArray bytes = clip;
            SetTagSize(bytes, tag, 0xFFFFFF);
            out << bytes;
        }
    }
    return out;
}

QString Place(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    return Write(path, bytes) ? path : QString();
}

} // namespace

class TestDamagedMedia : public QObject {
    Q_OBJECT
  private slots:
    void everyDamagedVariantEnds() {
        QTemporaryDir dir;
        QRandomGenerator random(16);
        QStringList names;
        QStringList notFound;
        for (const char* clip : {"short_sorenson.flv", "short_h264.flv", "short_h264.f4v"}) {
            const QByteArray bytes = Bytes(Media(clip));
            QVERIFY(!bytes.isEmpty());
            const QList<QByteArray> variants =
                Damaged(bytes, QByteArray(clip).endsWith("flv"), random);
            for (qsizetype i = 0; i < variants.size(); ++i)
                names << Place(dir, QString("%1-%2-%3").arg(i).arg(clip, clip + 6), variants[i]);
        }
        notFound << Place(dir, "empty.flv", {});
        notFound << Place(dir, "text.flv", "not a video\n");
        QVERIFY(QDir(dir.path()).mkdir("folder.flv"));
        notFound << dir.filePath("folder.flv");
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo.flv")), 0600) == 0);
        notFound << dir.filePath("fifo.flv");
        names << notFound;
        QVERIFY(names.size() >= 100);
        QVERIFY(!names.contains(QString()));

        const QHash<QString, QString> ended = PlayAll(names);
        for (const QString& name : names)
            QVERIFY2(Ended(ended.value(name)), qPrintable(name + ": " + ended.value(name)));
        for (const QString& name : notFound)
            QCOMPARE(ended.value(name), QString("FlvNotFound"));
        // Four engines side by side use a few hundred MiB; a leak or a huge allocation shows.
        QVERIFY2(PeakMemoryMiB() < 1500, qPrintable(QString::number(PeakMemoryMiB())));
    }

    // A text that names other media is no medium: the engine opens none of what it names.
    void oneNameIsOneMedium() {
        QTemporaryDir dir;
        WebServer web;
        const QByteArray clip = Media("short_h264.flv").toUtf8();
        const QByteArray address = web.url("/clip.flv").toEncoded();
        web.answer("/clip.flv", 200, Bytes(Media("short_h264.flv")));
        QStringList names;
        for (const QByteArray& target : {clip, address}) {
            const QString n = QString::number(names.size());
            names << Place(dir, n + "m3u.flv", "#EXTM3U\n" + target + "\n");
            names << Place(dir, n + "plain.flv", target + "\n");
            names << Place(dir, n + "pls.flv",
                           "[playlist]\nFile1=" + target + "\nNumberOfEntries=1\nVersion=2\n");
            names << Place(dir, n + "edl.flv", "# mpv EDL v0\n" + target + ",0,1\n");
            names << Place(dir, n + "hls.flv",
                           "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n" + target +
                               "\n#EXT-X-ENDLIST\n");
            names << Place(dir, n + "concat.flv", "ffconcat version 1.0\nfile " + target + "\n");
        }
        names << Place(dir, "cue.flv",
                       "FILE \"" + clip +
                           "\" BINARY\n  TRACK 01 AUDIO\n"
                           "    INDEX 01 00:00:00\n");
        QVERIFY(QDir(dir.path()).mkdir("folder.flv"));
        QVERIFY(QFile::copy(Media("short_h264.flv"), dir.filePath("folder.flv/a.flv")));
        names << dir.filePath("folder.flv");
        // Over HTTP, a playlist is no medium either.
        web.answer("/list.flv", 200, "#EXTM3U\n" + address + "\n");
        names << web.url("/list.flv").toString();

        const QHash<QString, QString> ended = PlayAll(names);
        for (const QString& name : names)
            QVERIFY2(ended.value(name) == "FlvNotFound", qPrintable(name + ": " + ended[name]));
        for (const QByteArray& request : web.requests())
            QVERIFY2(!request.contains("/clip.flv"), request.constData());
    }

    void unusualFilesReachAState() {
        QTemporaryDir dir;
        const QByteArray clip = Bytes(Media("short_h264.flv"));
        // A valid head, then 8 GiB of zeros that take no room on the disk.
        const QString sparse = Place(dir, "sparse.flv", clip);
        QVERIFY(::truncate(QFile::encodeName(sparse), qint64(8) << 30) == 0);
        // Damaged timestamps that put the last tags 19 days in.
        QByteArray days = clip;
        const QList<qsizetype> tags = FlvTags(days);
        for (qsizetype i = tags.size() - 3; i < tags.size(); ++i)
            SetTagTime(days, tags[i], 19u * 86400 * 1000);
        const QString far = Place(dir, "days.flv", days);
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo.flv")), 0600) == 0);

        const QHash<QString, QString> ended = PlayAll({sparse, far, dir.filePath("fifo.flv"), "-"});
        // The head plays, or the probe gives up on the zeros; either way it ends.
        QVERIFY2(Ended(ended.value(sparse)), qPrintable(ended.value(sparse)));
        QCOMPARE(ended.value(far), QString("Stop"));
        QCOMPARE(ended.value(dir.filePath("fifo.flv")), QString("FlvNotFound"));
        // "-" is a file like any other name, never standard input; here there is none.
        QCOMPARE(ended.value("-"), QString("FlvNotFound"));
    }

    // Any name a file can have plays when the file exists, "-" included.
    void oddNamesPlay_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("dash") << "-";
        QTest::newRow("carriage return") << "a\rb.flv";
        QTest::newRow("line feed") << "a\nb.flv";
        QTest::newRow("control characters") << "a\x01\x1b[0m\x7f.flv";
        QTest::newRow("U+FFFE") << QString("a") + QChar(0xFFFE) + ".flv";
        QTest::newRow("looks like a protocol") << "edl:";
    }
    void oddNamesPlay() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(QFile::copy(Media("short_h264.flv"), dir.filePath(name)));
        std::optional<ovelo::testing::CurrentFolder> inDir(std::in_place, dir.path());
        QVERIFY(inDir->entered());
        VelmoraControl control;
        QSignalSpy states(&control, &VelmoraControl::OnReadyStateChange);
        control.PlayMovie(name);
        inDir.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!states.isEmpty() && Ended(states.last().at(0).toString()),
                                 kBoundMs);
        QStringList seen;
        for (const auto& args : states)
            seen << args.at(0).toString();
        QCOMPARE(seen, QStringList({"Play", "Play", "Stop"}));
    }
};

QTEST_MAIN(TestDamagedMedia)
#include "tst_damagedmedia.moc"
