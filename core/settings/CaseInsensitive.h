#pragma once

#include <QStringView>

// Compares two names as Qt::CaseInsensitive does (by case-folded UTF-16
// units), with the same sign: negative, 0 or positive. Names that differ
// only in ASCII characters are compared here, many times faster than Qt's
// full case folding; a difference in any other character is left to Qt.
int compareCaseInsensitive(QStringView a, QStringView b);

// Orders key and value names case-insensitively; lookups take views, so
// finding a name allocates nothing.
struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(QStringView a, QStringView b) const { return compareCaseInsensitive(a, b) < 0; }
};
