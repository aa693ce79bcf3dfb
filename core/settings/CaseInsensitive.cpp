#include "settings/CaseInsensitive.h"

#include <algorithm>

namespace {

char16_t foldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

} // namespace

int compareCaseInsensitive(QStringView a, QStringView b) {
    const qsizetype common = std::min(a.size(), b.size());
    const char16_t* x = a.utf16();
    const char16_t* y = b.utf16();
    for (qsizetype i = 0; i < common; ++i) {
        if (x[i] == y[i])
            continue;
        if (x[i] >= 0x80 || y[i] >= 0x80) // folding beyond ASCII, surrogate pairs: Qt's
            return a.compare(b, Qt::CaseInsensitive);
        const char16_t p = foldAscii(x[i]), q = foldAscii(y[i]);
        if (p != q)
            return p < q ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
