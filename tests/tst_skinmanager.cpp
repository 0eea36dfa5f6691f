// The skin manager Form4: its list, applying a skin and recording it, adding a skin file.
#include "lookguards.h"
#include "programfixture.h"

#include "skins/skinengine.h"
#include "windows/skinmanager.h"

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>

using namespace ovelo;
using namespace ovelo::testing;

namespace {

struct Manager : Program {
    Manager() {
        QDir(folder.path()).mkdir("Skin");
        for (const char* name : {"Dark.skn", "Blue.skn"})
            QFile::copy(QStringLiteral(OVELO_PROGRAM_DIR "/Skin/") + name, skinPath(name));
        QFile(skinPath("notes.txt")).open(QIODevice::WriteOnly);
        setIni("Skin", "Url", "Skin\\Blue.skn");
        AttachProgramLook();
    }
    LookGuard look;
    QString skinPath(const QString& name) const { return folder.filePath("Skin/" + name); }
    SkinManager* open() {
        auto* form = qobject_cast<SkinManager*>(windows.show(WindowId::SkinManager));
        form->setFileChooser([this](QWidget*) { return chosen; });
        return form;
    }
    QListWidget* list() { return child<QListWidget>(WindowId::SkinManager, "File1"); }
    QStringList names() {
        QStringList all;
        for (int i = 0; i < list()->count(); ++i)
            all << list()->item(i)->text();
        return all;
    }
    QPoint at(const QString& name) {
        return list()->visualItemRect(list()->findItems(name, Qt::MatchExactly).first()).center();
    }
    void press(Qt::MouseButton button, QPoint where) {
        QTest::mousePress(list()->viewport(), button, {}, where);
        QTest::mouseRelease(list()->viewport(), button, {}, where);
    }
    bool applyEnabled() {
        return child<QPushButton>(WindowId::SkinManager, "Command1")->isEnabled();
    }
    // Presses 添加 and answers any box it raises, keeping what the box said. The box is open
    // when the press returns, over the manager.
    void add() {
        click(WindowId::SkinManager, "Command3");
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxText = box->text();
            boxIcon = box->icon();
            boxOverManager = box->parentWidget() == windows.loaded(WindowId::SkinManager);
            box->accept();
        }
    }
    static QByteArray content(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    QString chosen;
    QString boxText;
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    bool boxOverManager = false;
};

} // namespace

class TestSkinManager : public QObject {
    Q_OBJECT
  private slots:
    void opens_as_designed() {
        Manager m;
        QWidget* form = m.open();
        QCOMPARE(form->windowTitle(), QString("皮肤管理器"));
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(
            !(form->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(m.names(), QStringList({"Blue.skn", "Dark.skn"}));
        QVERIFY(!m.applyEnabled());
        for (const char* name : {"Command3", "Command1", "Command2"})
            QVERIFY(m.child<QPushButton>(WindowId::SkinManager, name));
        QCOMPARE(m.child<QPushButton>(WindowId::SkinManager, "Command3")->text(), QString("添加"));
        QCOMPARE(m.child<QPushButton>(WindowId::SkinManager, "Command2")->text(), QString("退出"));
    }

    void presses_enable_apply_and_the_right_one_opens_the_menu() {
        Manager m;
        QWidget* form = m.open();
        m.press(Qt::LeftButton, m.at("Dark.skn"));
        QVERIFY(m.applyEnabled());
        QFocusEvent focus(QEvent::FocusIn);
        QApplication::sendEvent(form, &focus);
        QVERIFY(!m.applyEnabled());

        m.press(Qt::RightButton, m.at("Blue.skn"));
        QVERIFY(m.applyEnabled());
        auto* menu = form->findChild<QMenu*>("mnufile");
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().first()->text(), QString("应用"));
        menu->actions().first()->trigger();
        QCOMPARE(m.ini("Skin", "Url"), QString("Skin\\Blue.skn"));
        QCOMPARE(AttachedSkin(), m.skinPath("Blue.skn"));
        menu->hide();
    }

    void double_click_applies_and_records_it() {
        Manager m;
        m.open();
        const QPoint dark = m.at("Dark.skn");
        QTest::mouseClick(m.list()->viewport(), Qt::LeftButton, {}, dark);
        QTest::mouseDClick(m.list()->viewport(), Qt::LeftButton, {}, dark);
        QCOMPARE(m.ini("Skin", "Url"), QString("Skin\\Dark.skn"));
        QCOMPARE(AttachedSkin(), m.skinPath("Dark.skn"));
        QVERIFY(qApp->styleSheet().contains("Ovelo skin Dark"));
        // The window stays open after applying.
        QVERIFY(m.windows.loaded(WindowId::SkinManager));
    }

    // Without a choice there is nothing to apply: "Skin\" is not recorded over the skin in use.
    void apply_with_nothing_chosen_does_nothing() {
        Manager m;
        m.open();
        m.press(Qt::LeftButton, QPoint(5, m.list()->viewport()->height() - 5));
        QVERIFY(m.applyEnabled());
        QVERIFY(m.list()->selectedItems().isEmpty());
        m.click(WindowId::SkinManager, "Command1");
        QCOMPARE(m.ini("Skin", "Url"), QString("Skin\\Blue.skn"));
        QCOMPARE(AttachedSkin(), QString());
    }

    void add_copies_replacing_and_says_so() {
        Manager m;
        m.open();
        QTemporaryDir elsewhere;
        for (const char* name : {"Dark.skn", "Fresh.skn"}) {
            QFile file(elsewhere.filePath(name));
            file.open(QIODevice::WriteOnly);
            file.write(QByteArray("QLabel { color: #010203; } /* ") + name + " */");
        }
        m.chosen = elsewhere.filePath("Dark.skn");
        m.add();
        QCOMPARE(Manager::content(m.skinPath("Dark.skn")), Manager::content(m.chosen));
        QCOMPARE(m.boxText, QString("添加成功!请重启此窗口!"));
        QCOMPARE(m.boxIcon, QMessageBox::Information);
        QVERIFY(m.boxOverManager);

        m.chosen = elsewhere.filePath("Fresh.skn");
        m.add();
        QCOMPARE(m.names(), QStringList({"Blue.skn", "Dark.skn", "Fresh.skn"}));
    }

    void failed_adds_end_silently_data() {
        QTest::addColumn<QString>("chosen");
        QTest::newRow("cancelled") << QString();
        QTest::newRow("missing file") << QString("/nonexistent/Gone.skn");
    }
    void failed_adds_end_silently() {
        QFETCH(QString, chosen);
        Manager m;
        m.open();
        m.chosen = chosen;
        m.add();
        QCOMPARE(m.boxText, QString());
        QCOMPARE(QDir(m.folder.filePath("Skin")).entryList(QDir::Files).size(), 3);
    }
};

QTEST_MAIN(TestSkinManager)
#include "tst_skinmanager.moc"
