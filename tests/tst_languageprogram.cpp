// The real program, started from a copy of its folder under an X server, takes its language from
// the translations beside its executable: English where the desktop's locale is English, Chinese
// wherever else. Its main window is found by the title it shows while it plays.
#include "testfiles.h"

#include <QProcess>
#include <QtTest>

namespace {

constexpr int kStartMs = 15000;

QString Xdotool(const QStringList& args) {
    QProcess x;
    x.start("xdotool", args);
    x.waitForFinished(5000);
    return QString::fromUtf8(x.readAllStandardOutput()).trimmed();
}

// The title of a visible window of the process that starts with `start`; "" once the time is up.
// Read as the window's UTF-8 name: the program's older name property is only as good as the
// locales the machine has installed.
QString WindowTitle(qint64 pid, const QString& start) {
    QString title;
    const bool found = QTest::qWaitFor(
        [&] {
            const QString windows = Xdotool(
                {"search", "--all", "--onlyvisible", "--pid", QString::number(pid), "--name", "."});
            for (const QString& window : windows.split('\n', Qt::SkipEmptyParts)) {
                title = Xdotool({"getwindowname", window});
                if (title.startsWith(start))
                    return true;
            }
            return false;
        },
        kStartMs);
    return found ? title : QString();
}

} // namespace

class TestLanguageProgram : public QObject {
    Q_OBJECT
  private slots:
    void titleInTheDesktopsLanguage_data() {
        QTest::addColumn<QStringList>("locale");
        QTest::addColumn<QString>("playing");
        QTest::newRow("en_US") << QStringList{"LANG=en_US.UTF-8"} << "Playing: ";
        QTest::newRow("en_GB") << QStringList{"LANG=en_GB.UTF-8"} << "Playing: ";
        QTest::newRow("LC_MESSAGES English")
            << QStringList{"LANG=C.UTF-8", "LC_MESSAGES=en_US.UTF-8"} << "Playing: ";
        QTest::newRow("C") << QStringList{"LANG=C.UTF-8"} << "正在播放:";
        QTest::newRow("zh_CN") << QStringList{"LANG=zh_CN.UTF-8"} << "正在播放:";
        QTest::newRow("de_DE") << QStringList{"LANG=de_DE.UTF-8"} << "正在播放:";
        QTest::newRow("LANGUAGE prefers Chinese")
            << QStringList{"LANG=en_US.UTF-8", "LANGUAGE=zh_CN:en"} << "正在播放:";
    }
    void titleInTheDesktopsLanguage() {
        QFETCH(QStringList, locale);
        QFETCH(QString, playing);
        QTemporaryDir root;
        CopyProgramFolder(root.filePath("program"));
        QFile::setPermissions(root.filePath("program/ovelo"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = ProgramEnvironment(root);
        for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            env.remove(name);
        for (const QString& setting : locale)
            env.insert(setting.section('=', 0, 0), setting.section('=', 1));
        env.insert("OVELO_VIDEO", "null");
        QProcess ovelo;
        ovelo.setProcessEnvironment(env);
        ovelo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        ovelo.setStandardOutputFile(QProcess::nullDevice());
        ovelo.start(root.filePath("program/ovelo"), {QStringLiteral(TEST_MEDIA_DIR "/long.flv")});
        QVERIFY(ovelo.waitForStarted(kStartMs));
        // In the wrong language no such window comes, and the title found is "".
        const QString title = WindowTitle(ovelo.processId(), "Ovelo 2011 Beta2 - " + playing);
        ovelo.kill();
        ovelo.waitForFinished(kStartMs);
        QCOMPARE(title, "Ovelo 2011 Beta2 - " + playing + TEST_MEDIA_DIR "/long.flv");
    }
};

QTEST_MAIN(TestLanguageProgram)
#include "tst_languageprogram.moc"
