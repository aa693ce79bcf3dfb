// The command-line splitter. Arguments split from any text, quoted again by
// the platform's rules and split once more, come back unchanged; reading a
// whole command line never loses the program when the text names one.
//
// The first input byte says which prefixes of the command line exist as
// files: a prefix of length n exists when bit (n % 8) of that byte is set.

#include "launch/CommandLine.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

namespace {

// Quotes one argument so that the splitter gives it back as it is.
QString quoted(const QString& argument) {
    if (!argument.isEmpty() && !argument.contains(u' ') && !argument.contains(u'\t') &&
        !argument.contains(u'"'))
        return argument;
    QString out = QStringLiteral("\"");
    qsizetype slashes = 0;
    for (const QChar c : argument) {
        if (c == u'\\') {
            ++slashes;
            continue;
        }
        out += QString(c == u'"' ? 2 * slashes + 1 : slashes, u'\\');
        slashes = 0;
        out += c;
    }
    out += QString(2 * slashes, u'\\');
    return out + u'"';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t existing = data[0];
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const QStringList arguments = splitArguments(text);
    QStringList requoted;
    for (const QString& argument : arguments)
        requoted << quoted(argument);
    if (splitArguments(requoted.join(u' ')) != arguments)
        abort();

    const ProcessCommand command = splitCommandLine(text, [&](const QString& path) {
        return path.size() <= text.size() + 4 && (existing >> (path.size() % 8)) & 1;
    });
    if (!text.isEmpty() && !text.startsWith(u' ') && command.program.isEmpty() &&
        !text.startsWith(u'"'))
        abort();
    return 0;
}
