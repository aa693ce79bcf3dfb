#include "query/ServerOrder.h"

#include <QCollator>
#include <algorithm>
#include <numeric>
#include <optional>

namespace {

// The number a ping or players text stands for; none for a server that has
// not answered.
std::optional<qint64> numberOf(const QString& text, ServerColumn column) {
    const QString digits = column == PlayersColumn ? text.section(u'/', 0, 0) : text;
    bool ok = false;
    const qint64 value = digits.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

} // namespace

int compareServerText(const QString& a, const QString& b) {
    // Made once per locale: a collator is costly to set up, cheap to use.
    static QCollator collator = [] {
        QCollator made{QLocale(QLocale::English)};
        made.setCaseSensitivity(Qt::CaseInsensitive);
        made.setNumericMode(true);
        return made;
    }();
    // The C locale ("no language") compares code points and has no number
    // mode: English rules stand in for it.
    const QLocale locale =
        QLocale().language() == QLocale::C ? QLocale(QLocale::English) : QLocale();
    if (collator.locale() != locale)
        collator.setLocale(locale); // keeps the case and number settings
    return collator.compare(a, b);
}

QList<int> sortedSlots(const QStringList& texts, ServerColumn column, Qt::SortOrder order) {
    QList<int> slots(texts.size());
    std::iota(slots.begin(), slots.end(), 0);
    const bool descending = order == Qt::DescendingOrder;
    if (column == PingColumn || column == PlayersColumn) {
        QList<std::optional<qint64>> numbers;
        for (const QString& text : texts)
            numbers << numberOf(text, column);
        std::stable_sort(slots.begin(), slots.end(), [&](int a, int b) {
            if (!numbers[a] || !numbers[b])
                return numbers[a].has_value() && !numbers[b].has_value();
            return descending ? *numbers[a] > *numbers[b] : *numbers[a] < *numbers[b];
        });
        return slots;
    }
    std::stable_sort(slots.begin(), slots.end(), [&](int a, int b) {
        const int c = compareServerText(texts[a], texts[b]);
        return descending ? c > 0 : c < 0;
    });
    return slots;
}
