#include "codepage.h"

#include <QLoggingCategory>
#include <QSysInfo>
#include <cerrno>
#include <cstring>
#include <iconv.h>

Q_LOGGING_CATEGORY(lcCodePage, "ovelo.codepage", QtWarningMsg)

namespace ovelo {

namespace {

constexpr bool kLittleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
constexpr const char* kUtf16 = kLittleEndian ? "UTF-16LE" : "UTF-16BE";
constexpr const char* kUtf32 = kLittleEndian ? "UTF-32LE" : "UTF-32BE";

bool IsLead(uchar c) {
    return c >= 0x81 && c <= 0xFE;
}
bool IsTrail(uchar c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE);
}

// How many of the bytes iconv refused make up the one "?": a whole pair, but never a
// following byte that cannot be a trail byte, so a line break after a stray lead byte stays.
size_t RefusedLength(const char* in, size_t left) {
    return left >= 2 && IsLead(uchar(in[0])) && IsTrail(uchar(in[1])) ? 2 : 1;
}

// The UTF-16 buffer iconv writes into.
class Utf16Sink {
  public:
    explicit Utf16Sink(qsizetype units) : text_(units, Qt::Uninitialized) { moveTo(0); }
    char** at() { return &at_; }
    size_t* left() { return &left_; }
    void grow() {
        const qsizetype used = units();
        text_.resize(text_.size() * 2 + 16);
        moveTo(used);
    }
    void put(char16_t c) {
        if (left_ < sizeof c)
            grow();
        std::memcpy(at_, &c, sizeof c);
        at_ += sizeof c;
        left_ -= sizeof c;
    }
    QString take() {
        text_.truncate(units());
        return std::move(text_);
    }

  private:
    qsizetype units() const { return (at_ - reinterpret_cast<const char*>(text_.constData())) / 2; }
    void moveTo(qsizetype units) {
        at_ = reinterpret_cast<char*>(text_.data()) + units * 2;
        left_ = size_t(text_.size() - units) * 2;
    }
    QString text_;
    char* at_ = nullptr;
    size_t left_ = 0;
};

// One encoder per thread, opened at its first use: sizes are asked for a character at a time.
class Cp936Encoder {
  public:
    Cp936Encoder() : cd_(iconv_open("GBK", kUtf32)) {
        if (cd_ == iconv_t(-1))
            qCWarning(lcCodePage) << "iconv has no GBK converter";
    }
    ~Cp936Encoder() {
        if (cd_ != iconv_t(-1))
            iconv_close(cd_);
    }
    Cp936Encoder(const Cp936Encoder&) = delete;
    Cp936Encoder& operator=(const Cp936Encoder&) = delete;

    int size(char32_t c) {
        if (cd_ == iconv_t(-1))
            return 0;
        char out[8];
        char* in = reinterpret_cast<char*>(&c);
        char* at = out;
        size_t inLeft = sizeof c, outLeft = sizeof out;
        const bool done = iconv(cd_, &in, &inLeft, &at, &outLeft) != size_t(-1);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // back to the start after a refusal
        return done ? int(at - out) : 0;
    }

  private:
    iconv_t cd_;
};

Cp936PairTable MakePairTable() {
    Cp936PairTable table;
    table.fill(u'?');
    iconv_t cd = iconv_open(kUtf16, "GBK");
    if (cd == iconv_t(-1)) {
        qCWarning(lcCodePage) << "iconv has no GBK converter";
        return table;
    }
    for (size_t code = 0x8000; code <= 0xFFFF; ++code) {
        char pair[2] = {char(code >> 8), char(code & 0xFF)};
        char16_t unit[2];
        char* in = pair;
        char* out = reinterpret_cast<char*>(unit);
        size_t inLeft = sizeof pair, outLeft = sizeof unit;
        // One pair that gives one whole character, or none at all.
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != size_t(-1) && inLeft == 0 &&
            outLeft == sizeof unit - sizeof(char16_t))
            table[code - 0x8000] = unit[0];
        iconv(cd, nullptr, nullptr, nullptr, nullptr); // back to the start after a refusal
    }
    iconv_close(cd);
    return table;
}

} // namespace

const Cp936PairTable& Cp936Pairs() {
    static const Cp936PairTable table = MakePairTable();
    return table;
}

int Cp936Size(char32_t c) {
    if (c < 0x80)
        return 1;
    thread_local Cp936Encoder encoder;
    return encoder.size(c);
}

QString DecodeCp936(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return {};
    iconv_t cd = iconv_open(kUtf16, "GBK");
    if (cd == iconv_t(-1)) {
        qCWarning(lcCodePage) << "iconv has no GBK converter";
        return QString::fromLatin1(bytes);
    }
    // Every character of the code page is one UTF-16 unit from one or two bytes.
    Utf16Sink out(bytes.size());
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    while (inLeft > 0 && iconv(cd, &in, &inLeft, out.at(), out.left()) == size_t(-1)) {
        if (errno == E2BIG) {
            out.grow();
            continue;
        }
        // EILSEQ (an undefined pair) and EINVAL (a lead byte at the end) leave the input
        // where it stopped; Windows writes "?" there and goes on.
        const size_t refused = RefusedLength(in, inLeft);
        out.put(u'?');
        in += refused;
        inLeft -= refused;
    }
    iconv_close(cd);
    return out.take();
}

} // namespace ovelo
