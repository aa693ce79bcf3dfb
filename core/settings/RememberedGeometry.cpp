#include "settings/RememberedGeometry.h"

#include "base/LauncherError.h"
#include "settings/IntegerConversion.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QCoreApplication>
#include <optional>

namespace {

struct GeometryValue {
    const char* name;
    QList<int> RememberedGeometry::*field;
    int count; // 0: one number or more
};

const GeometryValue kValues[] = {
    {"browser", &RememberedGeometry::browser, 4},
    {"browserSplitter", &RememberedGeometry::browserSplitter, 0},
    {"browserColumns", &RememberedGeometry::browserColumns, 0},
    {"browserSort", &RememberedGeometry::browserSort, 2},
    {"watcher", &RememberedGeometry::watcher, 2},
};

std::optional<QList<int>> numbersOf(const QString& text, int count) {
    QList<int> numbers;
    for (const QString& part : text.split(u',')) {
        qint32 number = 0;
        if (!tryParseInteger(part, number))
            return std::nullopt;
        numbers << number;
    }
    if (count > 0 && numbers.size() != count)
        return std::nullopt;
    return numbers;
}

QString textOf(const QList<int>& numbers) {
    QStringList parts;
    for (int number : numbers)
        parts << QString::number(number);
    return parts.join(u',');
}

QString unreadable(const QString& name, const QString& reason) {
    return QCoreApplication::translate("RememberedGeometry",
                                       "The remembered window place \"%1\" could not be read "
                                       "(%2); the window opens at its usual place.")
        .arg(name, reason);
}

} // namespace

void loadGeometry(SettingsStore& store, RememberedGeometry& geometry, QStringList& notices) {
    geometry = {};
    if (!store.openKey(StoreKeys::Geometry, false))
        return;
    for (const GeometryValue& value : kValues) {
        const QString name = QString::fromLatin1(value.name);
        QString text;
        try {
            text = store.readString(name);
        } catch (const LauncherError& error) {
            notices << unreadable(name, error.message());
            continue;
        }
        if (text.isEmpty())
            continue;
        if (const std::optional<QList<int>> numbers = numbersOf(text, value.count))
            geometry.*value.field = *numbers;
        else
            notices << unreadable(name,
                                  QStringLiteral("'%1' is not the numbers of a place").arg(text));
    }
}

void saveGeometry(SettingsStore& store, const RememberedGeometry& geometry,
                  const RememberedGeometry* stored) {
    bool opened = false;
    for (const GeometryValue& value : kValues) {
        const QList<int>& numbers = geometry.*value.field;
        if (numbers.isEmpty() || (stored && numbers == stored->*value.field))
            continue;
        if (!opened)
            opened = store.openKey(StoreKeys::Geometry, true);
        store.writeString(QString::fromLatin1(value.name), textOf(numbers));
    }
    if (opened)
        store.closeKey();
}

bool frameIsOnScreens(const QRect& frame, const QList<QRect>& screens) {
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), std::min(frame.height(), 20)));
    for (const QRect& screen : screens) {
        const QRect shared = titleBar.intersected(screen);
        if (shared.width() >= std::min(frame.width(), 40) &&
            shared.height() >= std::min(titleBar.height(), 10))
            return true;
    }
    return false;
}
