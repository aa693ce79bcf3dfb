// The Mods text of a server entry. The input is split at the first zero
// byte: before it, the mod directories (one per line, the first character of
// each line is its tick: odd means ticked); after it, a Mods text as a
// server entry may hold it. Reading any text gives one flag per mod, and
// writing the ticked mods and reading that back names exactly the mods
// that share a directory with a ticked one.

#include "settings/ModsText.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ModTable mods; // large: made once
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype zero = input.indexOf('\0');
    const QList<QByteArray> lines = (zero < 0 ? input : input.first(zero)).split('\n');
    const QString text = zero < 0 ? QString() : QString::fromUtf8(input.mid(zero + 1));

    QList<bool> ticked;
    bool dirsHoldSeparator = false;
    mods.Last = -1;
    for (const QByteArray& line : lines) {
        if (line.isEmpty() || mods.Last + 1 == SLOT_COUNT)
            continue;
        ++mods.Last;
        ticked.append(uchar(line[0]) % 2 == 1);
        mods.Dir[mods.Last] = QString::fromUtf8(line.mid(1));
        dirsHoldSeparator |= mods.Dir[mods.Last].contains(u';');
    }

    if (modsNamedIn(mods, text).size() != mods.Last + 1)
        abort();

    const QString written = modsText(mods, ticked);
    if (!written.isEmpty() && !written.endsWith(u';'))
        abort();
    if (dirsHoldSeparator)
        return 0; // such a directory cannot be told apart in the text
    const QList<bool> named = modsNamedIn(mods, written);
    for (int m = 0; m <= mods.Last; ++m) {
        bool shared = false;
        for (int k = 0; k <= mods.Last; ++k)
            shared |= ticked[k] && mods.Dir[k] == mods.Dir[m];
        if (named[m] != shared)
            abort();
    }
    return 0;
}
