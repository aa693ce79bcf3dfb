#include "launch/CommandLine.h"

namespace {

const QChar kQuote = u'"';

QString nameArgument(const QString& playerName) {
    return kQuote + QStringLiteral("-name=") + playerName + kQuote;
}

QString tickedModList(const ModTable& mods, const QList<bool>& ticked) {
    QString list;
    for (int k = 0; k <= mods.Last && k < ticked.size(); ++k) {
        if (!ticked[k])
            continue;
        if (!list.isEmpty())
            list += u';';
        list += mods.Dir[k];
    }
    return list;
}

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

} // namespace

QString singleplayerArgument(const QString& playerName) {
    return u' ' + nameArgument(playerName) + u' ';
}

QString hostArgument(const QString& playerName) {
    return QStringLiteral("-host ") + nameArgument(playerName);
}

QString joinArgument(const QString& host, const QString& port, const QString& pass, bool sockets,
                     const QString& playerName) {
    QString argument = QStringLiteral(" -connect=") + host + QStringLiteral(" -port=") + port;
    if (!pass.isEmpty())
        argument += QStringLiteral(" -password=") + pass;
    argument += sockets ? QStringLiteral(" -sockets ") : QStringLiteral(" -dplay ");
    return argument + u' ' + nameArgument(playerName);
}

QString composeCommandLine(const LauncherSettings& settings, const ModTable& mods,
                           const ServerTable& servers, const QList<bool>& ticked,
                           const QString& argumentText, qint32 ModSelector) {
    QString command = settings.ExecutablePath;
    if (settings.SkipSplash)
        command += QStringLiteral(" -nosplash");
    if (settings.Windowed)
        command += QStringLiteral(" -window");

    QString modList;
    if (ModSelector == TickedMods)
        modList = tickedModList(mods, ticked);
    else if (ModSelector >= 0 && ModSelector < SLOT_COUNT)
        modList = servers.Mods[ModSelector];
    if (modList.endsWith(u';'))
        modList.back() = u' ';
    if (!modList.isEmpty())
        command += QStringLiteral(" -mod=") + modList;

    return command + u' ' + argumentText;
}

QStringList splitArguments(QStringView text) {
    QStringList arguments;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (true) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n)
            break;
        QString argument;
        bool quoted = false;
        while (i < n && (quoted || !isBlank(text[i]))) {
            if (text[i] == u'\\') {
                qsizetype slashes = 0;
                while (i < n && text[i] == u'\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && text[i] == kQuote) {
                    argument += QString(slashes / 2, u'\\');
                    if (slashes % 2 == 1) {
                        argument += kQuote;
                        ++i;
                    }
                } else {
                    argument += QString(slashes, u'\\');
                }
            } else if (text[i] == kQuote) {
                if (quoted && i + 1 < n && text[i + 1] == kQuote) {
                    argument += kQuote;
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument += text[i++];
            }
        }
        arguments << argument;
    }
    return arguments;
}

ProcessCommand splitCommandLine(const QString& commandLine,
                                const std::function<bool(const QString&)>& isFile) {
    if (commandLine.startsWith(kQuote)) {
        const qsizetype close = commandLine.indexOf(kQuote, 1);
        const qsizetype end = close < 0 ? commandLine.size() : close;
        return {commandLine.mid(1, end - 1), splitArguments(QStringView(commandLine).mid(end + 1))};
    }

    auto existing = [&](const QString& candidate) -> std::optional<QString> {
        if (isFile(candidate))
            return candidate;
        if (isFile(candidate + QStringLiteral(".exe")))
            return candidate + QStringLiteral(".exe");
        return std::nullopt;
    };

    qsizetype firstBlank = -1;
    for (qsizetype end = 0; end <= commandLine.size(); ++end) {
        if (end < commandLine.size() && commandLine[end] != u' ')
            continue;
        if (firstBlank < 0)
            firstBlank = end;
        if (end == 0)
            continue;
        if (const auto program = existing(commandLine.left(end)))
            return {*program, splitArguments(QStringView(commandLine).mid(end))};
    }
    return {commandLine.left(firstBlank), splitArguments(QStringView(commandLine).mid(firstBlank))};
}
