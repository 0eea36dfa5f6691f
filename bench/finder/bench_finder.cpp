// Throughput of the finder's decoding and extraction on generated answer pages: MB/s for
// bytes2BSTR and for FlvUrl_In_Html (url.dat included), and how the time grows with the page.
#include "finder/extraction.h"
#include "finder/pagefetch.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <ctime>
#include <malloc.h>
#include <vector>

using namespace ovelo;

namespace {

constexpr int kRuns = 5;

// Level-one characters of code page 936: leads 0xB0 to 0xD7, trails 0xA1 to 0xFE.
void AppendChinese(QByteArray& page, QRandomGenerator& random, int characters) {
    for (int i = 0; i < characters; ++i) {
        page.append(char(0xB0 + random.bounded(0x28)));
        page.append(char(0xA1 + random.bounded(0x5E)));
    }
}

// `links` blocks of GBK text, ASCII markup and one link each, about `bytes` in all.
QByteArray MakePage(qint64 bytes, int links) {
    QRandomGenerator random(42);
    QByteArray page("<html><head><title>");
    page.reserve(bytes + 4096);
    AppendChinese(page, random, 8);
    page.append("</title></head><body>\r\n");
    const qint64 perLink = bytes / links;
    for (int i = 0; i < links; ++i) {
        const qint64 blockEnd = page.size() + perLink;
        page.append("<div class=\"item\"><p>");
        while (page.size() < blockEnd - 160) {
            AppendChinese(page, random, 20);
            page.append(" some ascii words between, ");
        }
        // Blanks fill the block to its size, so the pages are as large as their names say.
        const QByteArray link = "</p><a href=\"http://cdn.example/v/" + QByteArray::number(i) +
                                ".flv?key=" + QByteArray::number(random.generate()) +
                                "\" target=\"_blank\">\xCA\xD3\xC6\xB5</a></div>\r\n";
        page.append(qMax(qint64(0), blockEnd - page.size() - link.size()), ' ');
        page.append(link);
    }
    page.append("</body></html>\r\n");
    return page;
}

// The processor time of this thread, page faults included: the machine is shared, and the
// wall clock counts the other programs' turns as well.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

template <typename F> double MedianSeconds(F&& work) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const double start = ThreadSeconds();
        work();
        times.push_back(ThreadSeconds() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Figures {
    double decode;  // seconds
    double extract; // seconds
    qsizetype found;
};

Figures Measure(const QByteArray& page, const QString& listFile) {
    QString text;
    Figures f{};
    f.decode = MedianSeconds([&] {
        text = QString();
        text = bytes2BSTR(page);
    });
    QStringList links;
    qint32 steps = 0;
    f.extract = MedianSeconds(
        [&] { links = FlvUrl_In_Html(text, listFile, [&steps](qint32, qint32) { ++steps; }); });
    f.found = links.size();
    return f;
}

double MBps(qsizetype bytes, double seconds) {
    return bytes / 1e6 / seconds;
}

} // namespace

int main(int argc, char** argv) {
    // Every large block fresh from the system, as for the one page of an analysis: otherwise
    // the allocator keeps pages of up to 32 MB from run to run, and smaller pages look faster.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString listFile = dir.filePath("url.dat");
    struct Case {
        const char* name;
        qint64 bytes;
        int links;
    };
    // The pages, and pages whose every link is looked at (under the 16-bit count).
    const Case cases[] = {{"20MB/50k", 20'000'000, 50'000},
                          {"40MB/100k", 40'000'000, 100'000},
                          {"10MB/16k", 10'000'000, 16'000},
                          {"20MB/32k", 20'000'000, 32'000}};
    Figures figures[4];
    out << "MB/s of page bytes per second of processor time, median of " << kRuns << " runs\n";
    out << "page        bytes       links  bytes2BSTR MB/s  FlvUrl_In_Html MB/s  links kept\n";
    for (int i = 0; i < 4; ++i) {
        const QByteArray page = MakePage(cases[i].bytes, cases[i].links);
        figures[i] = Measure(page, listFile);
        out << QString("%1 %2 %3 %4 %5 %6\n")
                   .arg(cases[i].name, -10)
                   .arg(page.size(), 10)
                   .arg(cases[i].links, 7)
                   .arg(MBps(page.size(), figures[i].decode), 15, 'f', 0)
                   .arg(MBps(page.size(), figures[i].extract), 20, 'f', 0)
                   .arg(figures[i].found, 11);
        out.flush();
    }
    out << QString("time ratio 40MB/20MB: bytes2BSTR %1, FlvUrl_In_Html %2\n")
               .arg(figures[1].decode / figures[0].decode, 0, 'f', 2)
               .arg(figures[1].extract / figures[0].extract, 0, 'f', 2);
    out << QString("time ratio 20MB/32k over 10MB/16k: bytes2BSTR %1, FlvUrl_In_Html %2\n")
               .arg(figures[3].decode / figures[2].decode, 0, 'f', 2)
               .arg(figures[3].extract / figures[2].extract, 0, 'f', 2);
    return 0;
}
