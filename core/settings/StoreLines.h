#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <vector>

// Hands out the lines of a store file's text without their line ends. Text
// that is plain ASCII is read from the file's bytes, each line widened into
// one reused buffer when it is handed out, so a large file is never copied
// whole; a line so read stays valid until the next call. Other text is
// decoded by the caller and read in place.
class StoreLines {
public:
    explicit StoreLines(QStringView text) : text_(text) {}
    explicit StoreLines(QByteArrayView ascii) : ascii_(ascii) {}

    bool next(QStringView& line);
    // Hands out the line last handed out once more.
    void unread() { pos_ = previous_; }

private:
    qsizetype size() const { return ascii_.isNull() ? text_.size() : ascii_.size(); }

    QStringView text_;
    QByteArrayView ascii_;
    std::vector<char16_t> widened_;
    qsizetype pos_ = 0;
    qsizetype previous_ = 0;
};

// True when no byte has its high bit set: UTF-8 text that reads the same
// widened byte by byte.
bool isAscii(QByteArrayView bytes);
