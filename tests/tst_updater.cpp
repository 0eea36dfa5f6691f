// The updater window against an update server on 127.0.0.1: the check's lines, the download's
// progress and its end, and what is left on disk when a download does not end well.
#include "programfixture.h"
#include "webserver.h"

#include "updater/downloadcontrol.h"
#include "updater/installer.h"
#include "windows/form.h"

#include <QDirIterator>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTcpServer>

using namespace ovelo;
using namespace ovelo::testing;

namespace {

const QString kGetCurrent = ">>正在获取当前版本信息...(OK)";
const QString kGetLatest = ">>正在获取最新版本信息...(OK)";
const QString kNoServer = ">>抱歉,无法连接服务器!";
const QString kAnalysing = ">>正在分析信息...(OK)";
const QString kUpToDate = ">>未发现升级信息!您使用的是最新版本软件!";
const QString kDownloading = ">>开始下载升级程序...";
const QStringList kInstalled = {">>下载完成!", ">>准备安装中..."};
const QStringList kAborted = {"检测被终止!", "下载被终止!"};

QByteArray Head(qint64 length) {
    QByteArray head = "HTTP/1.1 200 OK\r\n";
    if (length >= 0)
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
    return head + "Connection: close\r\n\r\n";
}

// A program folder, an update server and a cache folder of their own.
struct Updater : Program {
    Updater() {
        setIni("Net", "Update", web.base() + "/");
        setIni("Version", "version", "2.1");
        marker = cache.filePath("installer ran");
        installer = "#!/bin/sh\necho ran > '" + marker.toUtf8() + "'\n";
    }

    void serveVersion(const QByteArray& text) { web.answer("/download/Update.txt", 200, text); }
    void serveInstaller(const QByteArray& bytes) { web.answer("/download/Up.exe", 200, bytes); }
    // Shows the window and waits for the check to come to a stop.
    void open() {
        windows.show(WindowId::Updater);
        waitForStop();
    }
    void waitForStop() { QTRY_VERIFY(lines().size() >= 4 && stopped(lines().last())); }
    static bool stopped(const QString& line) {
        return line == kNoServer || line == kUpToDate || line == kInstalled.last() ||
               line == "启动错误!" || line == kDownloading;
    }
    QStringList lines() { return Lines(child<QListWidget>(WindowId::Updater, "List1")); }
    static QStringList Lines(const QListWidget* list) {
        QStringList all;
        for (int i = 0; list && i < list->count(); ++i)
            all << list->item(i)->text();
        return all;
    }
    // Closes the window by `close` and gives the list as it was when the window went.
    template <typename Close> QStringList linesAtClose(Close close) {
        auto* form = qobject_cast<Form*>(windows.loaded(WindowId::Updater));
        auto* list = child<QListWidget>(WindowId::Updater, "List1");
        QStringList atClose;
        QObject::connect(form, &Form::unloaded, list, [&] { atClose = Lines(list); });
        close();
        return atClose;
    }
    QString label(const char* name) { return child<QLabel>(WindowId::Updater, name)->text(); }
    bool buttonsEnabled() {
        return child<QWidget>(WindowId::Updater, "Command1")->isEnabled() &&
               child<QWidget>(WindowId::Updater, "Command2")->isEnabled();
    }
    bool buttonsDisabled() {
        return !child<QWidget>(WindowId::Updater, "Command1")->isEnabled() &&
               !child<QWidget>(WindowId::Updater, "Command2")->isEnabled();
    }
    int requestsFor(const QByteArray& path) {
        int n = 0;
        for (const QByteArray& head : web.requests())
            n += head.startsWith("GET " + path + " ");
        return n;
    }
    // Every file under the cache folder but the installer's marker.
    QStringList cachedFiles() {
        QStringList files;
        QDirIterator it(cache.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.removeAll(marker);
        return files;
    }
    QString savedInstaller() const {
        return cache.filePath(QCoreApplication::applicationName() + "/Up.exe");
    }
    // A started installer runs on its own: whether one was asked for is counted where it
    // starts, and its mark tells of one that ran.
    bool installerStarted() const {
        return InstallerStartsForTesting() > startsBefore || QFile::exists(marker);
    }

    WebServer web;
    QTemporaryDir cache;
    EnvironmentVariable cacheHome{"XDG_CACHE_HOME", cache.path().toUtf8()};
    QString marker;
    QByteArray installer;
    const int startsBefore = InstallerStartsForTesting();
};

QStringList CheckLines(const QString& current, const QString& latest) {
    return {kGetCurrent, ">>当前版本: V" + current, kGetLatest, ">>最新版本: V" + latest,
            kAnalysing};
}

} // namespace

class TestUpdater : public QObject {
    Q_OBJECT
  private slots:
    void equalVersionsStop() {
        Updater u;
        u.serveVersion("2.1");
        u.open();
        QCOMPARE(u.lines(), CheckLines("2.1", "2.1") << kUpToDate);
        QVERIFY(u.buttonsEnabled());
        // 检测 again clears the list and reads the server again; the menu only brings the
        // window forward.
        u.click(WindowId::Updater, "Command1");
        QCOMPARE(u.lines(), CheckLines("2.1", "2.1").mid(0, 3));
        u.waitForStop();
        QCOMPARE(u.lines(), CheckLines("2.1", "2.1") << kUpToDate);
        u.windows.show(WindowId::Updater);
        // 取消 closes after the two abort lines.
        const QStringList atClose = u.linesAtClose([&] { u.click(WindowId::Updater, "Command2"); });
        QCOMPARE(atClose, CheckLines("2.1", "2.1") << kUpToDate << kAborted);
        QVERIFY(!u.windows.loaded(WindowId::Updater));
        QCOMPARE(u.requestsFor("/download/Update.txt"), 2);
        QCOMPARE(u.requestsFor("/download/Up.exe"), 0);
    }

    // A server that takes the question and never answers: the buttons wait with the window, the
    // rest of the program does not, and closing the window withdraws the question.
    void silentServerHoldsTheButtonsUntilTheWindowCloses() {
        Updater u;
        u.web.route("/download/Update.txt", [](const QByteArray&) { return WebServer::Silent(); });
        u.windows.show(WindowId::Updater);
        QTRY_COMPARE(u.web.openConnections(), 1);
        QTRY_COMPARE(u.requestsFor("/download/Update.txt"), 1);
        QCOMPARE(u.lines(), QStringList({kGetCurrent, ">>当前版本: V2.1", kGetLatest}));
        QVERIFY(u.buttonsDisabled());
        QWidget* window = u.windows.loaded(WindowId::Updater);
        QCOMPARE(window->cursor().shape(), Qt::WaitCursor);
        QVERIFY(!QGuiApplication::overrideCursor());
        const QStringList atClose = u.linesAtClose([window] { window->close(); });
        QCOMPARE(atClose, QStringList({kGetCurrent, ">>当前版本: V2.1", kGetLatest}) << kAborted);
        QTRY_COMPARE(u.web.openConnections(), 0);
        QVERIFY(!u.windows.loaded(WindowId::Updater));
        QCOMPARE(u.main.ended, 0);
    }

    void differentVersionsDownloadAndStartTheInstaller_data() {
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QByteArray>("onServer");
        QTest::newRow("line break after it") << "2.1" << QByteArray("2.1\n");
        QTest::newRow("older on the server") << "2.1" << QByteArray("1.0");
        QTest::newRow("other case") << "v2.1" << QByteArray("V2.1");
        QTest::newRow("none installed") << "" << QByteArray("2.1");
    }
    void differentVersionsDownloadAndStartTheInstaller() {
        QFETCH(QString, installed);
        QFETCH(QByteArray, onServer);
        Updater u;
        u.setIni("Version", "version", installed);
        u.serveVersion(onServer);
        u.serveInstaller(u.installer);
        u.open();
        QTRY_COMPARE(u.lines().size(), 8);
        QCOMPARE(u.lines(), CheckLines(installed, QString::fromUtf8(onServer))
                                << kDownloading << kInstalled);
        QCOMPARE(u.main.ended, 1);
        QTRY_VERIFY(QFile::exists(u.marker));
        QCOMPARE(u.label("Label3"), QString("下载文件: Up.exe"));
        QFile saved(u.savedInstaller());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), u.installer);
    }

    void noVersionMeansNoServer_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("empty file") << 200 << QByteArray();
        QTest::newRow("error page") << 404 << QByteArray("<h1>Not Found</h1>");
        QTest::newRow("over 64 KiB") << 200 << QByteArray(64 * 1024 + 1, '2');
    }
    void noVersionMeansNoServer() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        Updater u;
        u.web.answer("/download/Update.txt", status, body);
        u.open();
        QCOMPARE(u.lines(), QStringList({kGetCurrent, ">>当前版本: V2.1", kGetLatest, kNoServer}));
    }

    void unreachableServerGivesFourLinesEachTime() {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        Updater u;
        u.setIni("Net", "Update", QString("http://127.0.0.1:%1").arg(port));
        const QStringList four = {kGetCurrent, ">>当前版本: V2.1", kGetLatest, kNoServer};
        u.open();
        QCOMPARE(u.lines(), four);
        QVERIFY(u.buttonsEnabled());
        QCOMPARE(u.child<QWidget>(WindowId::Updater, "Pb")->parentWidget()->cursor().shape(),
                 Qt::ArrowCursor);
        u.click(WindowId::Updater, "Command1");
        QCOMPARE(u.lines(), four.mid(0, 3));
        QVERIFY(u.buttonsDisabled());
        u.waitForStop();
        QCOMPARE(u.lines(), four);
        QVERIFY(u.buttonsEnabled());
    }

    void progressWhileDownloading_data() {
        QTest::addColumn<qint64>("announced");
        QTest::addColumn<QString>("progress");
        QTest::addColumn<int>("maximum");
        QTest::newRow("length announced") << qint64(10240) << "总体进度: 3kb/10kb" << 10240;
        // No length: the bar is busy.
        QTest::newRow("no length") << qint64(-1) << "总体进度: 3kb/0kb" << 0;
    }
    void progressWhileDownloading() {
        QFETCH(qint64, announced);
        QFETCH(QString, progress);
        QFETCH(int, maximum);
        Updater u;
        u.serveVersion("2.2");
        const QByteArray firstBytes = Head(announced) + QByteArray(3500, 'x');
        u.web.route("/download/Up.exe",
                    [firstBytes](const QByteArray&) { return WebServer::Stall(firstBytes); });
        u.windows.show(WindowId::Updater);
        QTRY_COMPARE(u.label("Label1"), progress);
        QCOMPARE(u.label("Label3"), QString("下载文件: Up.exe"));
        auto* pb = u.child<QProgressBar>(WindowId::Updater, "Pb");
        QCOMPARE(pb->minimum(), 0);
        QCOMPARE(pb->maximum(), maximum);
        if (maximum > 0)
            QCOMPARE(pb->value(), 3500);
        QVERIFY(u.buttonsDisabled());
        QCOMPARE(u.lines().last(), kDownloading);

        // Closed by its close box mid-way: the download ends and leaves nothing behind.
        QWidget* window = u.windows.loaded(WindowId::Updater);
        const QStringList atClose = u.linesAtClose([window] { window->close(); });
        QCOMPARE(atClose, CheckLines("2.1", "2.2") << kDownloading << kAborted);
        QTRY_COMPARE(u.web.openConnections(), 0);
        QCOMPARE(u.cachedFiles(), QStringList());
        QCOMPARE(u.main.ended, 0);
    }

    void failedDownloadLeavesNothing_data() {
        QTest::addColumn<QByteArray>("wire");
        const QByteArray other = "Location: http://localhost:%1/download/Up.exe\r\n";
        QTest::newRow("cut short") << Head(10240) + QByteArray(3500, 'x');
        QTest::newRow("not found") << WebServer::Response(404, "#!/bin/sh\n");
        QTest::newRow("redirect to another host") << WebServer::Response(302, "", other);
        QTest::newRow("redirect to another scheme")
            << WebServer::Response(302, "", "Location: ftp://127.0.0.1/Up.exe\r\n");
    }
    void failedDownloadLeavesNothing() {
        QFETCH(QByteArray, wire);
        Updater u;
        u.serveVersion("2.2");
        wire.replace("%1", QByteArray::number(QUrl(u.web.base()).port()));
        // Whatever arrives is the installer's beginning: run, it would leave its mark.
        const QByteArray answer =
            wire.replace(QByteArray(3500, 'x'), u.installer.leftJustified(3500, '\n'));
        u.web.route("/download/Up.exe", [answer](const QByteArray&) { return answer; });
        u.open();
        QTRY_COMPARE(u.lines().last(), kNoServer);
        QCOMPARE(u.lines().size(), 7);
        QVERIFY(u.buttonsEnabled());
        QCOMPARE(u.requestsFor("/download/Up.exe"), 1);
        QCOMPARE(u.cachedFiles(), QStringList());
        QVERIFY(!u.installerStarted());
        QCOMPARE(u.main.ended, 0);
    }

    void redirectWithinTheServerIsFollowed() {
        Updater u;
        u.serveVersion("2.2");
        u.web.answer("/download/Up.exe", 302, "", "Location: /files/Up-2.2.exe\r\n");
        u.web.answer("/files/Up-2.2.exe", 200, u.installer);
        u.open();
        QTRY_COMPARE(u.lines().last(), kInstalled.last());
        QCOMPARE(u.main.ended, 1);
        QTRY_VERIFY(QFile::exists(u.marker));
    }

    void installerThatCannotStart() {
        Updater u;
        u.serveVersion("2.2");
        u.serveInstaller(QByteArray("MZ\x90\x00 no program here", 20));
        u.open();
        QTRY_COMPARE(u.lines().last(), QString("启动错误!"));
        QCOMPARE(u.lines().mid(5), QStringList({kDownloading}) << kInstalled << "启动错误!");
        QVERIFY(u.buttonsEnabled());
        QCOMPARE(u.main.ended, 0);
    }

    void installerComesOnlyFromTheServerOverHttps() {
        const QUrl server("https://update.example.com/download/Up.exe");
        for (const char* good : {"https://update.example.com/x/y", "https://UPDATE.example.com/x"})
            QVERIFY2(IsTrustedInstallerAddress(QUrl(good), server), good);
        for (const char* bad :
             {"http://update.example.com/Up.exe", "https://evil.example.com/Up.exe",
              "https://a.update.example.com/Up.exe", "ftp://update.example.com/Up.exe"})
            QVERIFY2(!IsTrustedInstallerAddress(QUrl(bad), server), bad);
        // Plain http only on this machine.
        for (const char* local : {"http://127.0.0.1:8000/Up.exe", "http://localhost/Up.exe",
                                  "http://[::1]:8000/Up.exe"})
            QVERIFY2(IsTrustedInstallerAddress(QUrl(local), QUrl(local)), local);
        for (const char* remote : {"http://10.0.0.1/Up.exe", "http://127.0.0.1.example.com/Up.exe"})
            QVERIFY2(!IsTrustedInstallerAddress(QUrl(remote), QUrl(remote)), remote);

        // Refused before anything is asked of the server.
        DownloadControl down;
        QSignalSpy failed(&down, &DownloadControl::DownloadFailed);
        QTemporaryDir folder;
        down.SetSourceUrl("http://192.0.2.1/download/Up.exe");
        down.SetSaveFolder(folder.path());
        down.StartDownload();
        QVERIFY(!down.running());
        QTRY_COMPARE(failed.size(), 1);
    }
};

QTEST_MAIN(TestUpdater)
#include "tst_updater.moc"
