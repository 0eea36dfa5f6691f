// The lines of a settings file, kept as bytes and decoded one at a time: a write replaces or
// adds its own line and copies every other byte as it was, whatever encoding that line is in.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace ovelo::ini {

// Where a line is in the file: its content is the bytes [begin, end), its ending [end, next).
struct LineSpan {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
    bool open() const { return end == next; } // a last line without an ending
};

// Walks the lines of a file. A file with the UTF-16LE mark is UTF-16LE throughout. In any other
// a line that is valid UTF-8 is UTF-8 and one that is not is code page 936, so lines written
// here and lines left from a Windows installation read right side by side. A byte-order mark
// belongs to no line.
class LineReader {
  public:
    explicit LineReader(QByteArrayView bytes);

    bool next(LineSpan& line);
    QString text(const LineSpan& line) const;
    // New text as this file takes it: UTF-16LE in a UTF-16LE file, UTF-8 in any other.
    QByteArray encode(const QString& text) const;
    // `text` to go in at byte `at`: after a lone last byte of a UTF-16 file, a zero byte first
    // completes that character, so the new text stays readable.
    QByteArray encodeAt(const QString& text, qsizetype at) const;
    bool endsOpen() const; // the file's last line has no ending

  private:
    char16_t unit(qsizetype at) const;
    bool isBreak(qsizetype at) const;

    QByteArrayView bytes_;
    bool utf16_ = false;
    qsizetype start_ = 0; // after the mark
    qsizetype at_ = 0;
};

} // namespace ovelo::ini
