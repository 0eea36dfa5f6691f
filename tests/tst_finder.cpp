// The finder without its window: the query to the service, the page read and its decoding, the
// link extraction and url.dat.
#include "finder/extraction.h"
#include "finder/pagefetch.h"
#include "platform/codepage.h"
#include "webserver.h"

#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using namespace ovelo;

namespace {

// The page the finder reads at `address`, as its window gets it.
QString ReadPage(const QString& address) {
    QObject window;
    WebFetch* fetch = FetchPage(address, &window);
    QSignalSpy finished(fetch, &WebFetch::finished);
    if (!finished.wait(60000))
        return "<no answer>";
    return viewSource(finished.first().first().value<FetchResult>());
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Steps e to j for one fragment, literally: the whole fragment cleaned, then searched.
QStringList LiteralCandidate(QString f) {
    f.remove(" target=");
    f.remove("\"_blank\"");
    f.remove('"');
    qsizetype end = -1;
    for (qsizetype i = 1; i < f.size() && end < 0; ++i)
        if (f[i] == '>' || f[i] == '\'')
            end = i;
    if (end < 0)
        return {};
    QString c = f.first(end);
    if (c.contains('+') || c.contains('#') || c.contains(' ') || c.contains("MAILTO"))
        return {};
    if (c.startsWith('\''))
        c.remove(0, 1);
    if (!c.contains(':') && (c.startsWith('/') || c.startsWith('\\')))
        c.remove(0, 1);
    return {c};
}

QByteArray Entry(int index, const QByteArray& fragment) {
    return QByteArray(54, '-') + QByteArray::number(index) + "\r\n" + fragment + "\r\n";
}

} // namespace

class TestFinder : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void queryEscapesTheWholeAddress_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("query");
        QTest::newRow("plain") << "http://s.example/"
                               << "http://v.example/p/1.html"
                               << "http://s.example/parse.php?kw=http%3A%2F%2Fv.example%2Fp%2F1."
                                  "html&flag=&format=";
        QTest::newRow("no slash") << "http://s.example:8080/svc"
                                  << "a"
                                  << "http://s.example:8080/svc/parse.php?kw=a&flag=&format=";
        QTest::newRow("query characters")
            << "http://s/"
            << "http://v/p?a=1&b=2#x+y z~-._"
            << "http://s/parse.php?kw=http%3A%2F%2Fv%2Fp%3Fa%3D1%26b%3D2%23x%2By%20z~-._&flag=&"
               "format=";
        QTest::newRow("non-ASCII as UTF-8") << "http://s/"
                                            << "http://v/视频"
                                            << "http://s/parse.php?kw=http%3A%2F%2Fv%2F%E8%A7%86%"
                                               "E9%A2%91&flag=&format=";
    }
    void queryEscapesTheWholeAddress() {
        QFETCH(QString, base);
        QFETCH(QString, page);
        QFETCH(QString, query);
        QCOMPARE(ParserQuery(base, page), query);
    }

    void decodesPairsAsCodePage936_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("ASCII") << QByteArray("abc") << QString("abc");
        QTest::newRow("one pair") << QByteArray("\x41\xB0\xA1\x42") << QString("A啊B");
        QTest::newRow("NUL kept") << QByteArray("a\0b", 3) << QStringView(u"a\0b", 3).toString();
        QTest::newRow("lone lead byte at the end")
            << QByteArray("\xC4\xE3ok\xB0") << QString("你ok");
        QTest::newRow("undefined pair") << QByteArray("A\xFF\xFF"
                                                      "B")
                                        << QString("A?B");
        QTest::newRow("0x80 leads too") << QByteArray("\x80"
                                                      "AB")
                                        << QString("?B");
        // The trail byte is taken whatever it is, a line break included.
        QTest::newRow("low trail byte") << QByteArray("\xB0\nX") << QString("?X");
    }
    void decodesPairsAsCodePage936() {
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        QCOMPARE(bytes2BSTR(body), text);
    }

    // Every pair the code page defines decodes as the settings file's decoder has it.
    void everyDefinedPairMatchesTheCodePage() {
        QByteArray all;
        for (int lead = 0x81; lead <= 0xFE; ++lead)
            for (int trail = 0x40; trail <= 0xFE; ++trail)
                if (trail != 0x7F)
                    all.append(char(lead)).append(char(trail));
        const QString ours = bytes2BSTR(all);
        const QString reference = DecodeCp936(all);
        QCOMPARE(ours.size(), all.size() / 2);
        QCOMPARE(ours, reference);
    }

    void readsThePageWhateverItsStatus() {
        WebServer web;
        web.answer("/parse.php", 404, "<p>\xCE\xB4\xD5\xD2\xB5\xBD</p>\xB0");
        web.route("/huge", [](const QByteArray&) {
            return WebServer::Stall("HTTP/1.1 200 OK\r\nContent-Length: " +
                                    QByteArray::number(kMaxPageBytes + 1) + "\r\n\r\n<a href");
        });
        QCOMPARE(ReadPage(web.base() + "/parse.php?kw=x&flag=&format="), QString("<p>未找到</p>"));
        QVERIFY(web.requests()[0].contains("\r\nContent-Type: text/XML\r\n"));
        QCOMPARE(ReadPage(web.base() + "/huge"), QString());
        QCOMPARE(ReadPage("not an address"), QString());
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const QString refused = QString("http://127.0.0.1:%1/").arg(closed.serverPort());
        closed.close();
        QCOMPARE(ReadPage(refused), QString());
    }

    void inStrNFindsOverlapsFromTheSecondCharacter_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QList<qint32>>("positions");
        QTest::newRow("empty text") << ""
                                    << "href" << QList<qint32>{};
        QTest::newRow("first character") << "href='a'"
                                         << "href" << QList<qint32>{};
        QTest::newRow("second character") << " href"
                                          << "href" << QList<qint32>{2};
        QTest::newRow("several") << "<a href=1><a href=2>"
                                 << "href" << QList<qint32>{4, 14};
        QTest::newRow("overlapping") << "aaaa"
                                     << "aa" << QList<qint32>{2, 3};
        QTest::newRow("case counts") << "<a HREF=x Href=y>"
                                     << "href" << QList<qint32>{};
    }
    void inStrNFindsOverlapsFromTheSecondCharacter() {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(QList<qint32>, positions);
        QList<qint32> found{99};
        QCOMPARE(inStr_n(text, pattern, &found), positions.size());
        QCOMPARE(found, positions);
        QCOMPARE(inStr_n(text, pattern), positions.size());
    }

    void extractsLinks_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("links");
        QTest::newRow("apostrophes")
            << "x href='http://a/b.f4v?k=2'>x" << QStringList{"http://a/b.f4v?k=2"};
        QTest::newRow("blanks round =")
            << "<a href = \"http://a/v.flv?i=1\">" << QStringList{"http://a/v.flv?i=1"};
        QTest::newRow("target blank") << "<a href=\"http://a/v.flv?i=1\" target=\"_blank\">v</a>"
                                      << QStringList{"http://a/v.flv?i=1"};
        QTest::newRow("# and + dropped")
            << "<a href=\"http://a/b.flv?x=1&y=2#top\"><a href=\"http://a/c+d\"><a href=\"ok\">"
            << QStringList{"ok"};
        QTest::newRow("another attribute") << "<a href=\"u\" class=\"c\">" << QStringList{};
        QTest::newRow("MAILTO only in capitals")
            << "<a href=\"MAILTO:a@b\"><a href=\"mailto:a@b\">" << QStringList{"mailto:a@b"};
        QTest::newRow("relative") << "<a href=\"/p/1.html\"><a href='\\q'><a href=\"//cdn/x\">"
                                  << QStringList{"p/1.html", "q", "/cdn/x"};
        QTest::newRow("first character") << "href='http://a/b.flv?k'>" << QStringList{};
        QTest::newRow("no end in reach")
            << "<a href=\"" + QString(400, 'u') + "\">" << QStringList{};
        QTest::newRow("capitals not found") << "<A HREF=\"http://a/v.flv?1\">" << QStringList{};
        QTest::newRow("at the very end") << "<a href" << QStringList{};
    }
    void extractsLinks() {
        QFETCH(QString, page);
        QFETCH(QStringList, links);
        QCOMPARE(FlvUrl_In_Html(page, listFile()), links);
    }

    // Cleaning only the text before the end gives what cleaning the whole fragment gives.
    void extractionAgreesWithTheLiteralSteps() {
        const QString alphabet = "\"'> =target_blnkx:/\\#+";
        QRandomGenerator random(7);
        for (int round = 0; round < 20000; ++round) {
            QString fragment;
            const int length = random.bounded(1, 40);
            for (int i = 0; i < length; ++i)
                fragment += alphabet[random.bounded(alphabet.size())];
            if (random.bounded(4) == 0)
                fragment.insert(random.bounded(fragment.size() + 1), " target=\"_blank\"");
            if (fragment.startsWith(' ') || fragment.startsWith('='))
                continue; // trimmed before the cleaning: another step
            const QStringList expected = LiteralCandidate(fragment);
            // Not the list file: writing a file anew twenty thousand times is slow on some disks.
            QCOMPARE(FlvUrl_In_Html(QString(" href=") + fragment, "/dev/null"), expected);
        }
    }

    void listFileRecordsEveryHref() {
        // Written anew each time.
        FlvUrl_In_Html(u"<a href=\"http://old\">", listFile());
        QVERIFY(FlvUrl_In_Html(u"", listFile()).isEmpty());
        QCOMPARE(ReadAll(listFile()), QByteArray());

        QList<std::pair<qint32, qint32>> progress;
        const QString page = "<a href = \"http://a/v.flv?i=1\" target=\"_blank\">视频</a>\n"
                             "<a href=#top>x</a><a href='";
        FlvUrl_In_Html(page, listFile(), [&progress](qint32 k, qint32 n) {
            progress.append({k, n});
        });
        QCOMPARE(ReadAll(listFile()),
                 Entry(0, "\"http://a/v.flv?i=1\" target=\"_blank\">视频</a>\n<a href=#top>x</a>"
                          "<a href='") +
                     Entry(1, "#top>x</a><a href='") + Entry(2, "'"));
        QCOMPARE(progress, (QList<std::pair<qint32, qint32>>{{0, 3}, {1, 3}, {2, 3}}));
    }

    // Occurrences and links are counted in 16 bits: the extraction ends there, file closed.
    void endsWhereTheCountRunsOut() {
        QString page = " ";
        for (int i = 0; i < 40000; ++i)
            page += i % 2 ? QString("<a href=\"v%1.flv?\">").arg(i) : QString("<a href=x y>");
        const QStringList links = FlvUrl_In_Html(page, listFile());
        QCOMPARE(links.size(), 16384);
        QCOMPARE(links.last(), QString("v32767.flv?"));
        const QByteArray list = ReadAll(listFile());
        QCOMPARE(list.count(QByteArray(54, '-')), 32768);
        QVERIFY(list.contains(QByteArray(54, '-') + "32767\r\n\"v32767.flv?\"><a href=x y>"));
        QVERIFY(!list.contains(QByteArray(54, '-') + "32768"));

        QString linksOnly = " ";
        for (int i = 0; i < 33000; ++i)
            linksOnly += QString("<a href='%1'>").arg(i);
        const QStringList capped = FlvUrl_In_Html(linksOnly, listFile());
        QCOMPARE(capped.size(), 32767);
        QCOMPARE(capped.last(), QString("32766"));
    }

    void lastVideoAddressWins() {
        QCOMPARE(LastVideoAddress({"http://a/1.flv?x", "p.html", "http://a/2.f4v?y", "c.flv"}),
                 QString("http://a/2.f4v?y"));
        QCOMPARE(LastVideoAddress({"a.flv", "b.FLV?x", "c.f4v"}), QString());
        QCOMPARE(LastVideoAddress({}), QString());
    }

  private:
    QString listFile() const { return dir_.filePath("url.dat"); }
    QTemporaryDir dir_;
};

QTEST_MAIN(TestFinder)
#include "tst_finder.moc"
