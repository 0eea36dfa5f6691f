// The control's side of the player movie: calls out, reports in, fields, persistence.
#include "velmoracontrol.h"

#include "movie/movieengine.h"

#include <QMessageBox>
#include <QSignalSpy>
#include <QtTest>

using namespace flv;

namespace {

class FakeEngine : public MovieEngine {
  public:
    QString Call(const QString& name, const QStringList& args) override {
        calls << name + "(" + args.join(",") + ")";
        lastArgs = args;
        return {};
    }
    void SetBGColor(const QString& rrggbb) override { colors << rrggbb; }
    QWidget* Surface() override { return nullptr; }
    void send(const QString& command, const QString& args) { emit FSCommand(command, args); }
    QStringList calls;
    QStringList lastArgs;
    QStringList colors;
};

QString Req(const QString& name, const QString& inner = {}) {
    return "<invoke name=\"" + name + "\" returntype=\"xml\"><arguments>" + inner +
           "</arguments></invoke>";
}
QString Str(const QString& s) {
    return "<string>" + s + "</string>";
}
// One call as the fake engine records it.
QString C(const QString& name, const QString& args = {}) {
    return name + "(" + args + ")";
}

struct Fixture {
    FakeEngine* engine = nullptr;
    std::unique_ptr<VelmoraControl> control{new VelmoraControl(nullptr, [this](QObject*) {
        engine = new FakeEngine;
        return engine;
    })};
};

} // namespace

class TestBridge : public QObject {
    Q_OBJECT
  private slots:
    void startUpSendsInOrder() {
        Fixture f;
        QCOMPARE(f.engine->calls, QStringList({C("setVolume", "0"), C("SetBufferTime", "0.1"),
                                               C("setVolume", "80")}));
        QCOMPARE(f.engine->colors, QStringList{"000000"});
        QCOMPARE(f.control->State(), QString());
        QCOMPARE(f.control->Volume(), 80);
        QCOMPARE(f.control->TotalTime(), 0);
    }

    void requestText() {
        QCOMPARE(VelmoraControl::BuildRequest("playMovie", {QString("C:\\v\\a.flv")}),
                 QString("<invoke name=\"playMovie\" returntype=\"xml\"><arguments>"
                         "<string>C:\\v\\a.flv</string></arguments></invoke>"));
        QCOMPARE(VelmoraControl::BuildRequest("x", {true, false, 80, 0.1f}),
                 Req("x", "<true/><false/>" + Str("80") + Str("0.1")));
        // Nothing in an argument is escaped.
        const QString odd = "/tmp/a&b<c>'\"d.flv";
        QCOMPARE(VelmoraControl::BuildRequest("playMovie", {odd}), Req("playMovie", Str(odd)));
    }

    void methodsBecomeCalls() {
        Fixture f;
        f.engine->calls.clear();
        f.control->PlayMovie("v.flv");
        f.control->PauseMovie();
        f.control->GotoTime(7);
        f.control->StopMovie();
        QCOMPARE(f.engine->calls, QStringList({C("playMovie", "v.flv"), C("pauseMovie"),
                                               C("seek", "7"), C("StopMovie")}));
        QCOMPARE(f.control->Movie(), QString());
        // The poll started with PlayMovie and survives StopMovie.
        f.engine->calls.clear();
        QTRY_VERIFY(f.engine->calls.contains(C("getinfo")));
        // A path reaches the engine as it is, markup and control characters included.
        const QString odd = QString("/v/a&b<c>") + QChar(0x01) + QChar(0x1B) + "\"d.flv";
        f.control->PlayMovie(odd);
        QCOMPARE(f.engine->lastArgs, QStringList{odd});
        QCOMPARE(f.control->Movie(), odd);
    }

    void volumeAndMute() {
        Fixture f;
        QSignalSpy changed(f.control.get(), &VelmoraControl::propertyChanged);
        const auto sent = [&] { return f.engine->calls.takeLast(); };
        f.control->SetVolume(150);
        QCOMPARE(f.control->Volume(), 100);
        QCOMPARE(sent(), C("setVolume", "100"));
        f.control->SetVolume(-5);
        QCOMPARE(f.control->Volume(), 0);
        QCOMPARE(sent(), C("setVolume", "0"));
        f.control->SetMute(true);
        QCOMPARE(sent(), C("setVolume", "0"));
        f.engine->calls.clear();
        f.control->SetVolume(50);
        QVERIFY(f.engine->calls.isEmpty());
        QCOMPARE(f.control->Volume(), 50);
        f.control->PlayMovie("a.flv");
        QCOMPARE(f.engine->calls, QStringList({C("playMovie", "a.flv"), C("setVolume", "0")}));
        f.control->SetMute(false);
        QCOMPARE(sent(), C("setVolume", "50"));
        QCOMPARE(changed.at(0).at(0).toString(), QString("Volume"));
        QCOMPARE(changed.at(2).at(0).toString(), QString("Mute"));
    }

    void backColorAndBufferTime() {
        QCOMPARE(VelmoraControl::ColorText(0x0000FF00), QString("00FF00"));
        QCOMPARE(VelmoraControl::ColorText(0x00000005), QString("050000"));
        QCOMPARE(VelmoraControl::ColorText(0x000000FF), QString("FF0000"));
        QCOMPARE(VelmoraControl::ColorText(0x00FF8000), QString("0080FF"));
        Fixture f;
        f.control->SetBackColor(0x00FF8000);
        QCOMPARE(f.engine->colors.last(), QString("0080FF"));
        f.control->SetBufferTime(2.5f);
        QCOMPARE(f.engine->calls.last(), C("SetBufferTime", "2.5"));
        f.engine->send("buffertime", "3");
        QCOMPARE(f.control->BufferTime(), 3.0f);
    }

    void reportsRaiseEventsOnChange() {
        Fixture f;
        QSignalSpy states(f.control.get(), &VelmoraControl::OnReadyStateChange);
        QSignalSpy progress(f.control.get(), &VelmoraControl::PlayProgress);
        QSignalSpy bytes(f.control.get(), &VelmoraControl::ButterProgress);
        f.engine->send("State", "Play");
        f.engine->send("State", "Play");
        QCOMPARE(states.count(), 2);
        QCOMPARE(f.control->State(), QString("Play"));
        f.engine->send("bytesloaded", "0");
        QCOMPARE(bytes.count(), 0);
        f.engine->send("bytestotal", "1000");
        f.engine->send("bytesloaded", "500.5");
        QCOMPARE(bytes.count(), 1);
        QCOMPARE(bytes.at(0), QVariantList({1000, 500}));
        f.engine->send("bytesloaded", "500");
        QCOMPARE(bytes.count(), 1);
        f.engine->send("totaltime", "undefined");
        QCOMPARE(f.control->TotalTime(), 0);
        f.engine->send("totaltime", "12.5");
        QCOMPARE(f.control->TotalTime(), 12);
        f.engine->send("totaltime", "13.5");
        QCOMPARE(f.control->TotalTime(), 14);
        f.engine->send("bufferlength", "2");
        f.engine->send("time", "1.25");
        QCOMPARE(progress.count(), 1);
        QCOMPARE(progress.at(0), QVariantList({13.5f, 1.25f, 2.0f}));
        f.engine->send("time", "1.25");
        QCOMPARE(progress.count(), 1);
        f.engine->send("time", "abc");
        QCOMPARE(progress.count(), 2);
        QCOMPARE(f.control->CurrentTime(), 0.0f);
        f.engine->send("time", "1,5"); // a comma is not the C locale's decimal point
        QCOMPARE(f.control->CurrentTime(), 0.0f);
        // Sizes beyond 32 bits saturate; non-finite numbers count as nothing.
        f.engine->send("bytestotal", "1e12");
        QCOMPARE(f.control->TotalBytes(), std::numeric_limits<qint32>::max());
        f.engine->send("bytestotal", "-1e12");
        QCOMPARE(f.control->TotalBytes(), std::numeric_limits<qint32>::min());
        f.engine->send("bytestotal", "inf");
        QCOMPARE(f.control->TotalBytes(), 0);
        f.engine->send("totaltime", "nan");
        QCOMPARE(f.control->TotalTime(), 0);
    }

    void hostPlayingFromItsHandlerDoesNotRecurse() {
        Fixture f;
        int handled = 0;
        // The movie answers playMovie with a report at once, inside the host's call.
        QObject::connect(f.control.get(), &VelmoraControl::PlayProgress, f.control.get(), [&] {
            ++handled;
            f.control->PlayMovie("");
            f.engine->send("State", "Play");
        });
        f.engine->send("time", "3");
        QCOMPARE(handled, 1);
    }

    void persistence() {
        Fixture f;
        f.engine->send("State", "Play");
        f.engine->send("time", "4.5");
        f.control->SetVolume(30);
        MemoryPropertyBag bag;
        f.control->WriteProperties(bag);
        QCOMPARE(bag.values.value("newState").toString(), QString("Play"));
        QVERIFY(!bag.values.contains("State"));
        QCOMPARE(bag.values.size(), 10);
        Fixture restored;
        QSignalSpy progress(restored.control.get(), &VelmoraControl::PlayProgress);
        restored.control->ReadProperties(bag);
        QCOMPARE(restored.control->State(), QString("Stop"));
        QCOMPARE(restored.control->Volume(), 30);
        QCOMPARE(restored.control->CurrentTime(), 4.5f);
        QCOMPARE(restored.engine->calls.last(), C("setVolume", "30"));
        // Restoring leaves the change memory alone: any report now tells the host.
        restored.engine->send("whatever", "1");
        QCOMPARE(progress.count(), 1);
        MemoryPropertyBag loud;
        loud.values.insert("Volume", 150);
        restored.control->ReadProperties(loud);
        QCOMPARE(restored.control->Volume(), 150);
    }

    void designModeRefusesFullScreen() {
        Fixture f;
        QSignalSpy changed(f.control.get(), &VelmoraControl::propertyChanged);
        f.control->SetAmbientUserMode(false);
        f.control->SetFullScreen(true);
        QCOMPARE(f.control->FullScreen(), false);
        QCOMPARE(changed.count(), 0);
        auto* box = f.control->findChild<QMessageBox*>();
        QVERIFY(box);
        QCOMPARE(box->text(), QString("设计时不可用"));
        QCOMPARE(box->windowTitle(), QString("警告"));
        QCOMPARE(box->icon(), QMessageBox::Information);
    }

    void eventsBindByNameAndDispatchIds() {
        Fixture f;
        const QMetaObject* mo = f.control->metaObject();
        const QMetaMethod update = mo->method(mo->indexOfSlot("update()"));
        for (const char* name : EventNames) {
            bool bound = false;
            for (int i = 0; i < mo->methodCount(); ++i)
                if (mo->method(i).methodType() == QMetaMethod::Signal &&
                    mo->method(i).name() == name)
                    bound = bool(
                        QObject::connect(f.control.get(), mo->method(i), f.control.get(), update));
            QVERIFY2(bound, name);
        }
        QVERIFY(QObject::connect(f.control.get(), SIGNAL(OnReadyStateChange(QString)),
                                 f.control.get(), SLOT(update())));
        QVERIFY(QObject::connect(f.control.get(), SIGNAL(ButterProgress(qint32, qint32)),
                                 f.control.get(), SLOT(update())));
        for (const auto& m : DispatchTable) {
            if (m.kind == MemberKind::Method)
                QVERIFY2(mo->indexOfMethod(QByteArray(m.name) + "()") >= 0 ||
                             mo->indexOfMethod(QByteArray(m.name) + "(QString)") >= 0 ||
                             mo->indexOfMethod(QByteArray(m.name) + "(qint32)") >= 0,
                         m.name);
            else
                QVERIFY2(mo->indexOfProperty(m.name) >= 0, m.name);
        }
        f.engine->calls.clear();
        QVERIFY(
            Dispatch(f.control.get(), 0x60030021, DispatchOp::Call, {QString("x.flv")}).isValid());
        QVERIFY(Dispatch(f.control.get(), 0x60030025, DispatchOp::Call, {12}).isValid());
        QCOMPARE(f.engine->calls, QStringList({C("playMovie", "x.flv"), C("seek", "12")}));
        QCOMPARE(Dispatch(f.control.get(), 0x68030005, DispatchOp::Get).toString(),
                 QString("x.flv"));
        QVERIFY(Dispatch(f.control.get(), 0x68030003, DispatchOp::Put, {120}).isValid());
        QCOMPARE(Dispatch(f.control.get(), 0x68030003, DispatchOp::Get).toInt(), 100);
        QVERIFY(!Dispatch(f.control.get(), 0x6803000A, DispatchOp::Put, {1}).isValid());
        QVERIFY(!Dispatch(f.control.get(), 0x12345678, DispatchOp::Get).isValid());
    }
};

QTEST_MAIN(TestBridge)
#include "tst_bridge.moc"
