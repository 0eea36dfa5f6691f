// Finding and loading the control library by ProgID, and driving it late bound.
#include "player/controlfactory.h"

#include <QSignalSpy>
#include <QtTest>

class TestPlugin : public QObject {
    Q_OBJECT
  private slots:
    void createsByProgIdFromTheProgramFolder() {
        QWidget host;
        QWidget* control = ovelo::CreateControl("Flv.Velmora", &host, OVELO_PROGRAM_DIR);
        QVERIFY(control);
        QCOMPARE(control->parent(), &host);
        QCOMPARE(control->property("Volume").toInt(), 80);
        QVERIFY(control->setProperty("Volume", 40));
        QCOMPARE(control->property("Volume").toInt(), 40);
        QSignalSpy states(control, SIGNAL(OnReadyStateChange(QString)));
        QVERIFY(QMetaObject::invokeMethod(control, "PlayMovie",
                                          Q_ARG(QString, TEST_MEDIA_DIR "/h264_aac.flv")));
        QTRY_VERIFY_WITH_TIMEOUT(states.count() >= 2, 10000);
        QCOMPARE(states.at(0).at(0).toString(), QString("Play"));
        QVERIFY(QMetaObject::invokeMethod(control, "StopMovie"));
        QCOMPARE(control->property("State").toString(), QString("Stop"));
    }

    void unknownProgIdOrFolderGivesNothing() {
        QWidget host;
        QVERIFY(!ovelo::CreateControl("Flv.Nothing", &host, OVELO_PROGRAM_DIR));
        QVERIFY(!ovelo::CreateControl("Flv.Velmora", &host, QDir::tempPath() + "/no-such-dir"));
    }
};

QTEST_MAIN(TestPlugin)
#include "tst_plugin.moc"
