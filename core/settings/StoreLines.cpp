#include "settings/StoreLines.h"

#include <QtGlobal>
#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Copies ASCII bytes into UTF-16 units, eight at a time where the processor can.
void widen(const char* from, qsizetype count, char16_t* to) {
    qsizetype i = 0;
#if defined(__SSE2__)
    for (; i + 8 <= count; i += 8) {
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(from + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i),
                         _mm_unpacklo_epi8(bytes, _mm_setzero_si128()));
    }
#endif
    for (; i < count; ++i)
        to[i] = char16_t(from[i]);
}

} // namespace

bool StoreLines::next(QStringView& line) {
    if (pos_ >= size())
        return false;
    previous_ = pos_;
    qsizetype end = size();
    if (ascii_.isNull()) {
        const char16_t* begin = text_.utf16();
        end = std::find(begin + pos_, begin + end, u'\n') - begin;
        line = text_.sliced(pos_, end - pos_);
    } else {
        const char* begin = ascii_.data();
        if (const void* found = std::memchr(begin + pos_, '\n', size_t(end - pos_)))
            end = static_cast<const char*>(found) - begin;
        const qsizetype length = end - pos_;
        if (widened_.size() < size_t(length))
            widened_.resize(size_t(length));
        widen(begin + pos_, length, widened_.data());
        line = QStringView(widened_.data(), length);
    }
    if (line.endsWith(u'\r'))
        line.chop(1);
    pos_ = end + 1;
    return true;
}

bool isAscii(QByteArrayView bytes) {
    // Eight bytes a word: the high bits of all of them, gathered.
    const char* data = bytes.data();
    quint64 seen = 0;
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, sizeof word);
        seen |= word;
    }
    for (; i < bytes.size(); ++i)
        seen |= quint8(data[i]);
    return (seen & 0x8080808080808080ULL) == 0;
}
