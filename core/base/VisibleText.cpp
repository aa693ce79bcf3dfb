#include "base/VisibleText.h"

#include <algorithm>

namespace {

bool isControl(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

} // namespace

QString withVisibleControls(const QString& text) {
    if (std::none_of(text.begin(), text.end(), isControl))
        return text;
    return withVisibleControls(QStringView(text));
}

QString withVisibleControls(QStringView text) {
    if (std::none_of(text.begin(), text.end(), isControl))
        return text.toString();
    QString visible;
    visible.reserve(text.size() + 16);
    for (const QChar c : text) {
        if (!isControl(c)) {
            visible.append(c);
            continue;
        }
        switch (c.unicode()) {
        case u'\t':
            visible.append(u"\\t");
            break;
        case u'\n':
            visible.append(u"\\n");
            break;
        case u'\r':
            visible.append(u"\\r");
            break;
        default:
            visible.append(u"\\x").append(QString::number(c.unicode(), 16).rightJustified(2, u'0'));
        }
    }
    return visible;
}
