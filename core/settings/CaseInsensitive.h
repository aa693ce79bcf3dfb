#pragma once

#include <QStringView>

// Compares two names as Qt::CaseInsensitive does (by case-folded UTF-16
// units), with the same sign: negative, 0 or positive. Names that differ
// only in ASCII characters are compared here, many times faster than Qt's
// full case folding; a difference in any other character is left to Qt.
int compareCaseInsensitive(QStringView a, QStringView b);

// Whether two names are the same but for case, as compareCaseInsensitive
// tells; names whose ASCII first letters differ are told apart at once.
inline bool equalCaseInsensitive(QStringView a, QStringView b) {
    if (a.size() != b.size())
        return false;
    if (a.isEmpty())
        return true;
    const char16_t x = a.front().unicode(), y = b.front().unicode();
    if (x < 0x80 && y < 0x80 && (x | 0x20) != (y | 0x20))
        return false;
    return compareCaseInsensitive(a, b) == 0;
}

// Orders key and value names case-insensitively; lookups take views, so
// finding a name allocates nothing.
struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(QStringView a, QStringView b) const { return compareCaseInsensitive(a, b) < 0; }
};
