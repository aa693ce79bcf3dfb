#include "query/StatusTokenizer.h"

#include "settings/IntegerConversion.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

enum class Key { None, Player, Score, Gametype, Numplayers, Maxplayers, Gstate, Final };

// Compared as plain bytes, inline: this runs for every token of every reply.
Key keyOf(QLatin1StringView token) {
    const std::string_view text(token.data(), size_t(token.size()));
    if (text.starts_with("player_"))
        return Key::Player;
    if (text.starts_with("score"))
        return Key::Score;
    if (text == "gametype")
        return Key::Gametype;
    if (text == "numplayers")
        return Key::Numplayers;
    if (text == "maxplayers")
        return Key::Maxplayers;
    if (text == "gstate")
        return Key::Gstate;
    if (text == "final")
        return Key::Final;
    return Key::None;
}

// Converts a maxplayers value without a heap allocation for the usual short
// values: they are widened into a stack buffer that a raw-data QString wraps.
qint32 convertMaxPlayers(QLatin1StringView value) {
    std::array<char16_t, 32> wide;
    if (value.size() > qsizetype(wide.size()))
        return parseInteger(QString(value));
    for (qsizetype i = 0; i < value.size(); ++i)
        wide[i] = char16_t(uchar(value[i].toLatin1()));
    const QString text =
        QString::fromRawData(reinterpret_cast<const QChar*>(wide.data()), value.size());
    qint32 result = 0;
    if (!tryParseInteger(text, result))
        return parseInteger(QString(value)); // throws with a copy that outlives the buffer
    return result;
}

void deliver(Key key, QLatin1StringView value, StatusReader& reader) {
    switch (key) {
    case Key::None:
    case Key::Final:
        break;
    case Key::Player:
        reader.onPlayer(value);
        break;
    case Key::Score:
        reader.onScore(value);
        break;
    case Key::Gametype:
        reader.onGametype(value);
        break;
    case Key::Numplayers:
        reader.onNumplayers(value);
        break;
    case Key::Maxplayers:
        reader.onMaxplayers(convertMaxPlayers(value));
        break;
    case Key::Gstate:
        reader.onGstate(value);
        break;
    }
}

} // namespace

void StatusTokenizer::tokenize(QByteArrayView datagram, StatusReader& reader) {
    const qsizetype zero = datagram.indexOf('\0');
    const QByteArrayView text = zero < 0 ? datagram : datagram.first(zero);

    if (text.isEmpty())
        return; // no bytes: memchr must not see a null pointer
    Key pending = Key::None;
    const char* tokenStart = text.data();
    const char* const end = text.data() + text.size();
    // memchr finds each backslash many bytes at a time.
    while (const auto* slash =
               static_cast<const char*>(std::memchr(tokenStart, '\\', size_t(end - tokenStart)))) {
        const QLatin1StringView token(tokenStart, slash - tokenStart);
        deliver(pending, token, reader);
        pending = keyOf(token);
        if (pending == Key::Final)
            reader.onFinal();
        tokenStart = slash + 1;
    }
}
