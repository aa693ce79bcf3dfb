#include "settings/ModsText.h"

QString modsText(const ModTable& mods, const QList<bool>& checked) {
    QString text;
    for (int m = 0; m <= mods.Last && m < checked.size(); ++m)
        if (checked[m])
            text += mods.Dir[m] + u';';
    return text;
}

QList<bool> modsNamedIn(const ModTable& mods, const QString& text) {
    QList<bool> named(mods.Last + 1, false);
    QString name;
    for (const QChar c : text) {
        if (c != u';') {
            name += c;
            continue;
        }
        for (int m = 0; m <= mods.Last; ++m)
            if (mods.Dir[m] == name)
                named[m] = true;
        name.clear();
    }
    return named;
}
