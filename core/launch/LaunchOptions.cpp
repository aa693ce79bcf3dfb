#include "launch/LaunchOptions.h"

#include "base/LauncherError.h"

#include <QCoreApplication>
#include <algorithm>
#include <optional>
#include <utility>

namespace {

const QString kCommand = QStringLiteral("%command%");

// One word, and how much of its start came from unquoted, unescaped text:
// only there can a NAME= make it an assignment.
struct Word {
    QString text;
    qsizetype plainPrefix = 0;
};

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

QString tr(const char* text) {
    return QCoreApplication::translate("LaunchOptions", text);
}

[[noreturn]] void fail(const QString& what, const QString& text) {
    throw LauncherError(tr("The launch options \"%1\" %2.").arg(text, what));
}

QList<Word> shellWords(const QString& text) {
    static const QString needsShell = QStringLiteral("|&;<>()$`");
    static const QString escapedInDoubleQuotes = QStringLiteral("$`\"\\");
    QList<Word> words;
    std::optional<Word> word; // the word being read
    bool plain = true;        // no quote or backslash in it yet
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = text[i++];
        if (isBlank(c)) {
            if (word)
                words << *std::exchange(word, std::nullopt);
            continue;
        }
        if (!word) {
            word.emplace();
            plain = true;
        }
        if (c == u'\'') {
            const qsizetype close = text.indexOf(u'\'', i);
            if (close < 0)
                fail(tr("have a ' without its closing '"), text);
            word->text += QStringView(text).mid(i, close - i);
            i = close + 1;
            plain = false;
        } else if (c == u'"') {
            for (; i < n && text[i] != u'"'; ++i) {
                if (text[i] == u'\\' && i + 1 < n && escapedInDoubleQuotes.contains(text[i + 1]))
                    ++i;
                word->text += text[i];
            }
            if (i++ >= n)
                fail(tr("have a \" without its closing \""), text);
            plain = false;
        } else if (c == u'\\') {
            word->text += i < n ? text[i++] : c;
            plain = false;
        } else if (needsShell.contains(c)) {
            fail(tr("use %1, which needs a shell; the launcher starts the game "
                    "without one (quote it to pass it on as it is)")
                     .arg(c),
                 text);
        } else {
            word->text += c;
            if (plain)
                word->plainPrefix = word->text.size();
        }
    }
    if (word)
        words << *word;
    return words;
}

// NAME=..., the name letters, digits and '_' not starting with a digit, and
// all of it up to the '=' plain text.
bool isAssignment(const Word& word) {
    const qsizetype equals = word.text.indexOf(u'=');
    if (equals <= 0 || equals >= word.plainPrefix || word.text.front().isDigit())
        return false;
    const auto nameChar = [](QChar c) {
        return c == u'_' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') ||
               (c >= u'a' && c <= u'z');
    };
    return std::all_of(word.text.begin(), word.text.begin() + equals, nameChar);
}

} // namespace

LaunchOptions parseLaunchOptions(const QString& text) {
    const QList<Word> words = shellWords(text);
    LaunchOptions options;
    qsizetype command = -1;
    for (qsizetype k = 0; k < words.size(); ++k) {
        if (words[k].text != kCommand)
            continue;
        if (command >= 0)
            fail(tr("hold %command% more than once"), text);
        command = k;
    }
    if (command < 0 && !words.isEmpty()) {
        for (const Word& word : words)
            options.appended << word.text;
        return options;
    }
    qsizetype k = 0;
    for (; k < command && isAssignment(words[k]); ++k)
        options.environment << words[k].text;
    for (; k < command; ++k)
        options.wrapper << words[k].text;
    for (k = command + 1; k < words.size(); ++k)
        options.appended << words[k].text;
    return options;
}
