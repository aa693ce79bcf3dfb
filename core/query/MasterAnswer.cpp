#include "query/MasterAnswer.h"

#include <array>
#include <numeric>
#include <utility>

namespace {

using Permutation = std::array<quint8, 256>;

// The key schedule: the identity permutation stirred by the key's bytes, the
// key repeated as often as it takes.
Permutation keyedPermutation(QByteArrayView key) {
    Permutation s;
    std::iota(s.begin(), s.end(), quint8(0));
    quint8 j = 0;
    for (int i = 0; i < 256; ++i) {
        j = quint8(j + s[i] + quint8(key[i % key.size()]));
        std::swap(s[i], s[j]);
    }
    return s;
}

// The scramble: unlike a plain stream cipher the first index also advances
// by each plain byte, so every byte depends on those before it.
QByteArray scrambled(QByteArrayView challenge, Permutation s) {
    QByteArray out(challenge.size(), Qt::Uninitialized);
    quint8 x = 0;
    quint8 y = 0;
    for (qsizetype n = 0; n < challenge.size(); ++n) {
        const auto plain = quint8(challenge[n]);
        x = quint8(x + plain + 1);
        y = quint8(y + s[x]);
        std::swap(s[x], s[y]);
        out[n] = char(plain ^ s[quint8(s[x] + s[y])]);
    }
    return out;
}

QByteArray sixBitLetters(const QByteArray& bytes) {
    static constexpr char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray text;
    text.reserve((bytes.size() * 4 + 2) / 3);
    for (qsizetype n = 0; n < bytes.size(); n += 3) {
        const qsizetype count = std::min<qsizetype>(3, bytes.size() - n);
        quint32 group = 0;
        for (qsizetype k = 0; k < 3; ++k)
            group = group << 8 | (k < count ? quint8(bytes[n + k]) : 0u);
        for (qsizetype letter = 0; letter <= count; ++letter)
            text += alphabet[(group >> (18 - 6 * letter)) & 63];
    }
    return text;
}

} // namespace

QByteArray masterChallengeAnswer(QByteArrayView challenge, QByteArrayView key) {
    if (key.isEmpty())
        return {};
    return sixBitLetters(scrambled(challenge, keyedPermutation(key)));
}
