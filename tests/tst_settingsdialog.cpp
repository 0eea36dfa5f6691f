// The settings dialog: what it shows of Config.ini, what it writes back, its pages and the volume.
#include "programfixture.h"

#include "windows/settingsdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QSlider>
#include <QTabWidget>

using namespace ovelo;
using namespace ovelo::testing;

namespace {

struct Settings : Program {
    SettingsDialog* open() {
        auto* dialog = qobject_cast<SettingsDialog*>(windows.show(WindowId::Settings));
        return dialog;
    }
    template <typename T> T* get(const char* name) { return child<T>(WindowId::Settings, name); }
    // Presses 确定 and answers the box it raises, keeping what the box said. The dialog is
    // still there while the box shows, over it.
    void confirm() {
        click(WindowId::Settings, "Command2");
        QMessageBox* box = nullptr;
        QTRY_VERIFY((box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())));
        boxSaid = {box->windowTitle(), box->text()};
        boxIcon = box->icon();
        boxOverDialog = box->parentWidget() == windows.loaded(WindowId::Settings) &&
                        box->windowModality() == Qt::WindowModal;
        box->accept();
    }
    QStringList fast() const {
        return {ini("Fast", "Key"), ini("Fast", "LaoBanKey"), ini("Fast", "Play"),
                ini("Fast", "Stop"), ini("Fast", "LaoBan")};
    }
    bool shown(const char* name) {
        QWidget* w = get<QWidget>(name);
        return w->isVisibleTo(windows.loaded(WindowId::Settings));
    }

    QStringList boxSaid;
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    bool boxOverDialog = false;
};

} // namespace

class TestSettingsDialog : public QObject {
    Q_OBJECT
  private slots:
    void dialogAsDesigned() {
        Settings s;
        QWidget* dialog = s.open();
        QCOMPARE(dialog->objectName(), QString("Form6"));
        QCOMPARE(dialog->windowTitle(), QString("全局设置"));
        QVERIFY(!(dialog->windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        for (const char* info : {"Check2", "Check3", "Check4"}) {
            QVERIFY(s.get<QCheckBox>(info)->isChecked());
            QVERIFY(!s.get<QCheckBox>(info)->isEnabled());
        }
        QCOMPARE(s.get<QTabWidget>("t1")->count(), 3);
        QCOMPARE(s.get<QSlider>("S1")->maximum(), 100);
    }

    void untouchedConfirmWritesWhatWasStored_data() {
        QTest::addColumn<QString>("switches");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("on, first items")
            << "on" << QStringList{"32", "83", "76"} << QStringList{"空格键", "S键", "L键"}
            << QStringList{"32", "83", "76"};
        QTest::newRow("off, second items")
            << "off" << QStringList{"80", "84", "66"} << QStringList{"P键", "T键", "B键"}
            << QStringList{"80", "84", "66"};
        // Anything else is the other item: the codes come back as the six valid ones.
        QTest::newRow("hand-edited")
            << "On" << QStringList{"abc", "", "999"} << QStringList{"P键", "S键", "L键"}
            << QStringList{"80", "83", "76"};
    }
    void untouchedConfirmWritesWhatWasStored() {
        QFETCH(QString, switches);
        QFETCH(QStringList, codes);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, written);
        Settings s;
        s.setIni("Config", "AutoSave", switches);
        s.setIni("Fast", "Key", switches);
        s.setIni("Fast", "LaoBanKey", switches);
        s.setIni("Fast", "Play", codes[0]);
        s.setIni("Fast", "Stop", codes[1]);
        s.setIni("Fast", "LaoBan", codes[2]);
        s.main.player.SetVolume(64);
        s.open();
        QCOMPARE(s.get<QComboBox>("Combo1")->currentText(), shown[0]);
        QCOMPARE(s.get<QComboBox>("Combo3")->currentText(), shown[1]);
        QCOMPARE(s.get<QComboBox>("Combo2")->currentText(), shown[2]);
        QCOMPARE(s.get<QSlider>("S1")->value(), 64);
        s.confirm();
        const QString stored = switches == "On" ? "off" : switches;
        QCOMPARE(s.ini("Config", "AutoSave"), stored);
        QCOMPARE(s.ini("Config", "Sound"), QString("64"));
        QCOMPARE(s.fast(), (QStringList{stored, stored} + written));
        QCOMPARE(s.boxSaid, (QStringList{"设置", SettingsDialog::kDoneText}));
        QCOMPARE(s.boxIcon, QMessageBox::Information);
        QVERIFY(s.boxOverDialog);
        QVERIFY(!s.windows.loaded(WindowId::Settings));
    }

    void typedKeysAreSavedByTheMapping() {
        Settings s;
        s.open();
        s.get<QComboBox>("Combo1")->setEditText("空格");
        s.get<QComboBox>("Combo3")->setEditText("T键");
        s.get<QComboBox>("Combo2")->setCurrentIndex(0);
        s.get<QCheckBox>("Check1")->setChecked(true);
        s.get<QCheckBox>("Check6")->setChecked(false);
        s.confirm();
        QCOMPARE(s.fast(), (QStringList{"off", "off", "80", "84", "76"}));
        QCOMPARE(s.ini("Config", "AutoSave"), QString("on"));
    }

    void cancelWritesNothingButKeepsTheVolume() {
        Settings s;
        s.setIni("Config", "Sound", "70");
        s.open();
        s.get<QSlider>("S1")->setSliderPosition(30);
        QCOMPARE(s.main.player.Volume(), 30);
        const QByteArray before = [&] {
            QFile f(s.folder.filePath("Config.ini"));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        s.click(WindowId::Settings, "Command1");
        QVERIFY(!s.windows.loaded(WindowId::Settings));
        QFile after(s.folder.filePath("Config.ini"));
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
        QCOMPARE(s.main.player.Volume(), 30);
    }

    void shortcutSwitchEnablesTheKeys() {
        // The boxes follow the switch on the dialog's timer: a short one, for the test to wait
        // little. The program's own ticks once a second.
        Hook fastSwitch(&SettingsDialog::SetSwitchFollowForTesting, std::chrono::milliseconds(20));
        QCOMPARE(fastSwitch.previous().count(), 1000);
        Settings s;
        s.setIni("Fast", "Key", "on");
        s.setIni("Fast", "LaoBanKey", "off");
        s.open();
        const char* controls[] = {"Check6", "Combo1", "Combo3", "Combo2"};
        s.get<QCheckBox>("Check5")->setChecked(false);
        for (const char* name : controls)
            QTRY_VERIFY(!s.get<QWidget>(name)->isEnabled());
        s.get<QCheckBox>("Check5")->setChecked(true);
        // The boss key's box follows the shortcut switch even with the boss key off.
        for (const char* name : controls)
            QTRY_VERIFY(s.get<QWidget>(name)->isEnabled());
        QVERIFY(!s.get<QCheckBox>("Check6")->isChecked());
    }

    void oneTabOnePage() {
        // The volume page's controls follow their frame on the dialog's timer: a short one, for
        // the test to wait little. The program's own ticks ten times a second.
        Hook fastPages(&SettingsDialog::SetPageFollowForTesting, std::chrono::milliseconds(20));
        QCOMPARE(fastPages.previous().count(), 100);
        Settings s;
        s.open();
        auto* tabs = s.get<QTabWidget>("t1");
        QVERIFY(s.shown("Check1") && !s.shown("S1") && !s.shown("Combo1"));
        tabs->setCurrentIndex(1);
        QTRY_VERIFY(s.shown("S1") && s.shown("Check4"));
        QVERIFY(!s.shown("Frame1") && !s.shown("Check1") && !s.shown("Combo2"));
        tabs->setCurrentIndex(2);
        QVERIFY(s.shown("Frame3") && s.shown("Combo1") && s.shown("Frame5"));
        QTRY_VERIFY(!s.shown("S1"));
        tabs->setCurrentIndex(0);
        s.windows.window<SettingsDialog>(WindowId::Settings)->followShortcutPage();
        QVERIFY(s.shown("Check1") && !s.shown("Combo1") && !s.shown("Check5"));
    }

    // Made hidden long before it is opened, the dialog has nothing to follow: its timers wait
    // for it to show, and keep their intervals while it does.
    void timersRunOnlyWhileItShows() {
        Settings s;
        SettingsDialog* hidden = s.windows.window<SettingsDialog>(WindowId::Settings);
        const auto timer = [hidden](const char* name) {
            return hidden->findChild<QTimer*>(QLatin1String(name));
        };
        QVERIFY(!timer("Timer1")->isActive() && !timer("Timer2")->isActive());
        QCOMPARE(s.open(), hidden);
        QVERIFY(timer("Timer1")->isActive() && timer("Timer2")->isActive());
        QCOMPARE(timer("Timer1")->interval(), 100);
        QCOMPARE(timer("Timer2")->interval(), 1000);
        hidden->hide();
        QVERIFY(!timer("Timer1")->isActive() && !timer("Timer2")->isActive());
    }

    void valuesAreThoseOfWhenItWasMade() {
        Settings s;
        s.setIni("Config", "AutoSave", "on");
        SettingsDialog* hidden = s.windows.window<SettingsDialog>(WindowId::Settings);
        QVERIFY(!hidden->isVisible());
        s.setIni("Config", "AutoSave", "off");
        QCOMPARE(s.open(), hidden);
        QVERIFY(s.get<QCheckBox>("Check1")->isChecked());
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
