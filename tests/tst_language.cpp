// The program in the desktop's language. CTest runs it under English and under Chinese and C
// locales, at normal and at double density: the language chosen is the one the locale asks for,
// every window, menu, message and dialog speaks it (no Chinese is left under English), and every
// text shows whole in its label, button, box or panel.
#include "mainwindowfixture.h"
#include "webserver.h"

#include "layout/layout.h"
#include "mainwindow/opendialog.h"
#include "shell/language.h"
#include "updater/updaterwindow.h"
#include "windows/settingsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>

using namespace ovelo;
using namespace ovelo::testing;

namespace {

const QString kTranslations = QStringLiteral(OVELO_PROGRAM_DIR "/translations");

// Han characters, and the punctuation set in Chinese.
const QString kChinese = QStringLiteral("[\\p{Han}\\x{3000}-\\x{303F}\\x{FF00}-\\x{FFEF}]");

// The part of a widget its window shows: each parent up to the window cuts it.
QRect ShownRect(const QWidget* widget) {
    QRect shown = widget->rect();
    for (const QWidget* w = widget; !w->isWindow() && w->parentWidget(); w = w->parentWidget()) {
        const QWidget* parent = w->parentWidget();
        shown &= QRect(widget->mapFrom(parent, QPoint(0, 0)), parent->size());
    }
    return shown;
}

QString Where(const QWidget* widget) {
    return widget->window()->objectName() + "/" + widget->objectName();
}

// What a person reads in a window, and what of it is missing or does not fit.
struct Reading {
    QStringList texts;
    QStringList faults;

    void read(const QString& where, const QString& text) {
        if (!text.isEmpty())
            texts << where + ": " + text;
    }
    void fault(const QString& where, const QString& text, int needs, int has) {
        faults << QString("%1: \"%2\" needs %3 px, has %4").arg(where, text).arg(needs).arg(has);
    }

    void label(const QLabel* label) {
        const QString text = label->text();
        read(Where(label), text);
        const QRect shown = ShownRect(label) & label->contentsRect();
        if (text.isEmpty() || shown.isEmpty())
            return;
        const QFontMetrics metrics = label->fontMetrics();
        // Qt's own indent for a framed label without one set.
        int indent = label->indent();
        if (indent < 0)
            indent = label->frameWidth() > 0 ? metrics.horizontalAdvance(QLatin1Char('x')) / 2 : 0;
        const int room = shown.width() - 2 * label->margin() - indent;
        if (label->wordWrap()) {
            const int height = shown.height() - 2 * label->margin();
            const QRect needs = metrics.boundingRect(
                QRect(0, 0, room, 1 << 20), int(label->alignment()) | Qt::TextWordWrap, text);
            if (needs.height() > height || needs.width() > room)
                fault(Where(label) + " (lines)", text, needs.height(), height);
        } else if (const int needs = metrics.horizontalAdvance(text); needs > room) {
            fault(Where(label), text, needs, room);
        }
    }

    void button(const QAbstractButton* button, const QWidget* window) {
        const QString text = button->text();
        read(Where(button), text);
        read(Where(button) + " tip", button->toolTip());
        if (text.isEmpty()) {
            if (button->toolTip().isEmpty() && button->isVisibleTo(window))
                faults << Where(button) + " says nothing";
            return;
        }
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = text;
        const bool check = qobject_cast<const QCheckBox*>(button);
        const QRect contents = button->style()->subElementRect(
            check ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, button);
        const int room = (contents & ShownRect(button)).width();
        if (const int needs = button->fontMetrics().horizontalAdvance(text); needs > room)
            fault(Where(button), text, needs, room);
    }

    void frame(const QGroupBox* box) {
        const QString title = box->title();
        read(Where(box), title);
        if (title.isEmpty())
            return;
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = title;
        option.lineWidth = 1;
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect caption = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, box);
        const int needs = box->fontMetrics().horizontalAdvance(title);
        const QRect shown = ShownRect(box);
        if (!shown.contains(caption) || caption.width() < needs)
            fault(Where(box), title, needs, (caption & shown).width());
    }

    void combo(const QComboBox* combo) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        option.subControls = QStyle::SC_All;
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxEditField, combo);
        // A line edit keeps two pixels free on either side of its text.
        const int room = (field & ShownRect(combo)).width() - 4;
        for (int i = 0; i < combo->count(); ++i) {
            const QString item = combo->itemText(i);
            read(Where(combo), item);
            if (const int needs = combo->fontMetrics().horizontalAdvance(item); needs > room)
                fault(Where(combo), item, needs, room);
        }
    }

    void tabs(const QTabWidget* tabs) {
        for (int i = 0; i < tabs->count(); ++i)
            read(Where(tabs), tabs->tabText(i));
        if (const int needs = tabs->tabBar()->sizeHint().width(); needs > tabs->width())
            fault(Where(tabs), "tabs", needs, tabs->width());
    }

    // Menus size to their items: these only have to say something.
    void menu(const QMenu* menu, const QString& where) {
        read(where, menu->title());
        for (const QAction* action : menu->actions())
            this->action(action, where);
    }
    void action(const QAction* action, const QString& where) {
        if (action->isSeparator())
            return;
        if (action->text().isEmpty())
            faults << where + "/" + action->objectName() + " says nothing";
        read(where + "/" + action->objectName(), action->text());
    }

    // Everything the window and its controls show, as it is shown now.
    void window(QWidget* window) {
        window->ensurePolished();
        if (window->windowTitle().isEmpty())
            faults << window->objectName() + " has no title";
        read(window->objectName() + " title", window->windowTitle());
        for (const QAction* action : window->actions())
            this->action(action, window->objectName());
        for (QWidget* w : window->findChildren<QWidget*>()) {
            w->ensurePolished();
            if (w->window() != window) {
                continue;
            } else if (auto* l = qobject_cast<QLabel*>(w)) {
                label(l);
            } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                button(b, window);
                continue;
            } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
                frame(g);
            } else if (auto* c = qobject_cast<QComboBox*>(w)) {
                combo(c);
            } else if (auto* t = qobject_cast<QTabWidget*>(w)) {
                tabs(t);
            } else if (auto* list = qobject_cast<QListWidget*>(w)) {
                for (int i = 0; i < list->count(); ++i)
                    read(Where(list), list->item(i)->text());
            } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
                read(Where(edit), edit->toPlainText());
            }
            read(Where(w) + " tip", w->toolTip());
        }
        for (const QMenu* m : window->findChildren<QMenu*>())
            menu(m, window->objectName() + "/" + m->objectName());
    }

    void messageBox(const QMessageBox* box) {
        read("box title", box->windowTitle());
        read("box", box->text());
        for (const QAbstractButton* b : box->buttons())
            read("box button", b->text());
    }
};

QByteArray Ini(const QString& server) {
    return "[Config]\r\nTitle=Ovelo 2011 Beta2\r\nSound=35\r\nAutoSave=off\r\n"
           "[Fast]\r\nKey=on\r\nLaoBanKey=on\r\nPlay=32\r\nStop=83\r\nLaoBan=76\r\n"
           "[Version]\r\nversion=1.2.0.2250\r\n[Net]\r\nUpdate=" +
           server.toUtf8() + "/\r\nParser=" + server.toUtf8() + "/\r\n";
}

// The message box a window opened; null when none opens.
QMessageBox* OpenedBox(QWidget* window) {
    QMessageBox* box = nullptr;
    const bool opened =
        QTest::qWaitFor([&] { return (box = window->findChild<QMessageBox*>()) != nullptr; });
    return opened ? box : nullptr;
}

void AnswerBox(QWidget* window) {
    QMessageBox* box = OpenedBox(window);
    QVERIFY(box);
    box->done(QMessageBox::Ok);
}

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT
  private:
    bool english_ = false;
    Reading reading_;

    // With OVELO_PICTURES set to a folder, every window looked at is also kept there as a
    // picture, so a person can see what no width check catches (clipped glyphs, odd wrapping).
    void keepPicture(QWidget* window) {
        const QString folder = qEnvironmentVariable("OVELO_PICTURES");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        const QString name =
            QString("%1-%2-%3.png")
                .arg(english_ ? "en" : "zh", QTest::currentTestFunction(),
                     window->objectName().isEmpty() ? QString("box") : window->objectName());
        window->grab().save(QDir(folder).filePath(name));
    }

    // Looks at a window as it shows now; its faults are the test's.
    void look(QWidget* window) {
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        reading_.window(window);
        keepPicture(window);
    }
    void lookAtBox(QWidget* owner) {
        QMessageBox* box = OpenedBox(owner);
        QVERIFY(box);
        reading_.messageBox(box);
        keepPicture(box);
        box->done(QMessageBox::Ok);
    }

  private slots:
    void initTestCase() {
        // The locale CTest gives this run: English ones show English, every other Chinese.
        english_ = qEnvironmentVariable("LANG").startsWith("en");
        QCOMPARE(InstallTranslations(kTranslations), english_ ? QString("en") : QString());
    }

    void cleanup() {
        Reading read = std::exchange(reading_, {});
        read.faults.removeDuplicates();
        read.texts.removeDuplicates();
        QVERIFY2(read.faults.isEmpty(), qPrintable(read.faults.join('\n')));
        if (english_) {
            const QStringList chinese = read.texts.filter(QRegularExpression(kChinese));
            QVERIFY2(chinese.isEmpty(), qPrintable(chinese.join('\n')));
        }
    }

    void theFirstLanguageTheProgramHasIsChosen_data() {
        QTest::addColumn<QStringList>("wanted");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("en_US") << QStringList{"en-US", "en-Latn-US", "en"} << "en";
        QTest::newRow("en_GB names no plain en") << QStringList{"en-GB", "en-Latn-GB"} << "en";
        QTest::newRow("C") << QStringList{"C"} << "";
        QTest::newRow("nothing") << QStringList{} << "";
        QTest::newRow("zh_CN") << QStringList{"zh-CN", "zh-Hans-CN", "zh"} << "";
        QTest::newRow("zh_TW") << QStringList{"zh-TW", "zh-Hant-TW"} << "";
        QTest::newRow("German only") << QStringList{"de-DE", "de-Latn-DE", "de"} << "";
        QTest::newRow("LANGUAGE=zh_CN:en") << QStringList{"zh-CN", "zh", "en", "en-US"} << "";
        QTest::newRow("LANGUAGE=fr:en") << QStringList{"fr", "fr-FR", "en", "en-US"} << "en";
        QTest::newRow("a new language") << QStringList{"fr-FR", "fr", "en"} << "fr";
    }
    void theFirstLanguageTheProgramHasIsChosen() {
        QFETCH(QStringList, wanted);
        QFETCH(QString, chosen);
        // A new language is one more file: French, made here of the English one.
        QTemporaryDir folder;
        QVERIFY(QFile::copy(kTranslations + "/ovelo_en.qm", folder.filePath("ovelo_en.qm")));
        if (QString(QTest::currentDataTag()) == "a new language")
            QVERIFY(QFile::copy(kTranslations + "/ovelo_en.qm", folder.filePath("ovelo_fr.qm")));
        QCOMPARE(ChooseLanguage(wanted, folder.path()), chosen);
    }

    void mainWindowInEveryState() {
        WebServer web;
        Window w(Ini(web.base()), "/v/movie.flv");
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        const QString playing = english_ ? "Ovelo 2011 Beta2 - Playing: /v/movie.flv"
                                         : "Ovelo 2011 Beta2 - 正在播放:/v/movie.flv";
        QCOMPARE(w.window->windowTitle(), playing);
        QStringList menus;
        for (const QAction* menu : w.window->menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, english_ ? QStringList({"File", "Playback", "Settings", "Help"})
                                 : QStringList({"文件", "操作", "设置", "帮助"}));
        // The clock and the date come with the first status tick.
        QTRY_VERIFY(!w.panel(3).isEmpty());
        for (const char* state : {"Play", "Pause", "Empty", "Stop", "FlvNotFound"}) {
            w.report("State", state);
            look(w.window.get());
        }
        QTRY_VERIFY(w.find<QSlider>("Sl2")->toolTip().contains("35"));
        reading_.read("volume tip", w.find<QSlider>("Sl2")->toolTip());
        // The tray's menu, which pops up off the bar.
        reading_.menu(w.window->trayMenu(), "tray");
        // 读取保存进度 with saving turned off: the refusal.
        w.find<QAction>("dq")->trigger();
        lookAtBox(w.window.get());
    }

    void idleScreen() {
        Window w(Ini("http://127.0.0.1:9"));
        QTRY_VERIFY(!w.panel(3).isEmpty());
        look(w.window.get());
    }

    void secondaryWindows() {
        WebServer web;
        web.answer("/download/Update.txt", 200, "1.2.0.2250");
        Window w(Ini(web.base()));
        for (WindowId id :
             {WindowId::Address, WindowId::SkinManager, WindowId::About, WindowId::AboutFlv,
              WindowId::AboutF4v, WindowId::Analysis, WindowId::Finder, WindowId::FullScreenHint})
            look(w.windows.window(id));
        auto* updater = w.windows.show(WindowId::Updater);
        auto* steps = updater->findChild<QListWidget*>("List1");
        QTRY_COMPARE(steps->count(), 6);
        look(updater);
        // The progress of a download of a few hundred megabytes.
        auto* progress = updater->findChild<QLabel*>("Label1");
        progress->setText(UpdaterWindow::tr("总体进度: %1kb/%2kb").arg("204800", "409600"));
        reading_.label(progress);
    }

    void settingsOnEveryPage() {
        Window w(Ini("http://127.0.0.1:9"));
        auto* settings = w.windows.show(WindowId::Settings);
        auto* tabs = settings->findChild<QTabWidget*>("t1");
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            look(settings);
        }
        settings->findChild<QPushButton*>("Command2")->click();
        lookAtBox(settings);
    }

    // The items are shown in the program's language; the codes written are the same in every
    // one, so that a Config.ini written under one language reads the same under another.
    void keyCodesAreTheSameInEveryLanguage() {
        Window w(Ini("http://127.0.0.1:9"));
        auto* settings = w.windows.show(WindowId::Settings);
        for (const char* name : {"Combo1", "Combo2", "Combo3"}) {
            auto* combo = settings->findChild<QComboBox*>(name);
            combo->setEditText(combo->itemText(1));
        }
        settings->findChild<QPushButton*>("Command2")->click();
        AnswerBox(settings);
        QCOMPARE(w.ini("Fast", "Play"), QString("80"));
        QCOMPARE(w.ini("Fast", "LaoBan"), QString("66"));
        QCOMPARE(w.ini("Fast", "Stop"), QString("84"));
        // The dialog made anew shows what was written, and writes it again as it was.
        const QPointer<QWidget> closed = settings;
        QTRY_VERIFY(closed.isNull());
        settings = w.windows.show(WindowId::Settings);
        QCOMPARE(settings->findChild<QComboBox*>("Combo1")->currentText(),
                 english_ ? QString("P key") : QString("P键"));
        settings->findChild<QComboBox*>("Combo3")->setEditText(
            settings->findChild<QComboBox*>("Combo3")->itemText(0));
        settings->findChild<QPushButton*>("Command2")->click();
        AnswerBox(settings);
        QCOMPARE(w.ini("Fast", "Play"), QString("80"));
        QCOMPARE(w.ini("Fast", "Stop"), QString("83"));
    }

    void finderFoundAndCopied() {
        WebServer web;
        web.answer("/parse.php", 200, "<a href=\"http://cdn.example/a.flv?key=1\">1</a>");
        Window w(Ini(web.base()));
        auto* dialog = w.windows.show(WindowId::Analysis);
        dialog->findChild<QPushButton*>("Command1")->click();
        QTRY_VERIFY(w.windows.loaded(WindowId::Finder) &&
                    w.windows.loaded(WindowId::Finder)->isVisible());
        QWidget* finder = w.windows.loaded(WindowId::Finder);
        QVERIFY(finder->findChild<QPushButton*>("Command2")->isEnabled());
        look(finder);
        finder->findChild<QPushButton*>("Command2")->click();
        lookAtBox(finder);
    }

    void skinsAddedFromTheFileDialog() {
        Window w(Ini("http://127.0.0.1:9"));
        auto* manager = w.windows.show(WindowId::SkinManager);
        manager->findChild<QPushButton*>("Command3")->click();
        QFileDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = manager->findChild<QFileDialog*>()) != nullptr);
        reading_.read("skin file dialog", dialog->nameFilters().join(' '));
        dialog->reject();
    }

    // Panels keep the design's widths while their texts fit. One that starts within the bar
    // shows its whole text, with the room taken from the first panel's, which keeps its own.
    void statusPanelsShowTheirWholeText() {
        QWidget window;
        auto* panels = new StatusPanels({5292, 3175, 3175, 8820}, &window);
        const auto pixels = [panels](int twips) {
            return int(std::lround(twips / TwipsPerPixelX(panels)));
        };
        panels->setGeometry(0, 0, pixels(9915), 25);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        panels->setPanelText(1, "Ovelo 2011 Beta2");
        panels->setPanelText(2, "Time: 1:02:03 PM");
        panels->setPanelText(3, "Date: 12/9/26");
        const QList<int> design = {pixels(5292), pixels(3175), pixels(3175), pixels(8820)};
        const auto widths = [panels] {
            QList<int> widths;
            for (int i = 1; i <= 4; ++i)
                widths << panels->panel(i)->width();
            return widths;
        };
        QCOMPARE(widths(), design);
        panels->setPanelText(3, "Date: Wednesday, 9 December 2026");
        QLabel* date = panels->panel(3);
        QVERIFY(panels->width() - date->x() >= date->sizeHint().width());
        QCOMPARE(panels->panel(2)->width(), design[1]);
        QVERIFY(panels->panel(1)->width() < design[0]);
        QVERIFY(panels->panel(1)->width() >= panels->panel(1)->sizeHint().width());
        panels->setPanelText(3, "Date: 12/9/26");
        QCOMPARE(widths(), design);
    }

    // An installation's program folder is the user's copy of the data files; the translations
    // are read beside the executable, so that they change with it.
    void translationsStayBesideTheExecutable() {
        QTemporaryDir user;
        CopyShippedData(OVELO_PROGRAM_DIR, user.path());
        QVERIFY(QFileInfo::exists(user.filePath("Config.ini")));
        QVERIFY(!QFileInfo::exists(user.filePath("translations")));
    }

    void openDialog() {
        std::unique_ptr<QFileDialog> dialog(CreateOpenDialog(nullptr));
        reading_.read("open dialog", dialog->windowTitle());
        reading_.read("open dialog", dialog->nameFilters().join(' '));
        QCOMPARE(dialog->nameFilters().value(3).endsWith(" (*)"), true);
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
