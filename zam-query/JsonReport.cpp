#include "zam-query/JsonReport.h"

#include <array>
#include <charconv>
#include <memory>
#include <string_view>

namespace {

using namespace std::string_view_literals;

char hexDigit(unsigned value) {
    return char(value < 10 ? '0' + value : 'a' + value - 10);
}

// The ASCII characters written as they are: all but the controls, DEL, '"'
// and '\\'.
constexpr std::array<bool, 0x80> printable = [] {
    std::array<bool, 0x80> table{};
    for (unsigned c = 0x20; c < 0x7f; ++c)
        table[c] = c != '"' && c != '\\';
    return table;
}();

// Output text gathered in a block and written when the block fills.
class JsonStream {
public:
    explicit JsonStream(std::FILE* out) : out_(out), block_(new char[capacity_]) {}
    ~JsonStream() { flush(); }
    JsonStream(const JsonStream&) = delete;
    JsonStream& operator=(const JsonStream&) = delete;

    JsonStream& operator<<(std::string_view text) {
        char* at = room(text.size());
        std::copy(text.begin(), text.end(), at);
        used_ += text.size();
        return *this;
    }
    // A literal's length is known where it is written.
    template <size_t N> JsonStream& operator<<(const char (&text)[N]) {
        return *this << std::string_view(text, N - 1);
    }
    JsonStream& boolean(bool value) {
        return *this << (value ? std::string_view("true") : std::string_view("false"));
    }
    // Pointers and truth values are not written by accident as the other.
    JsonStream& operator<<(bool) = delete;
    JsonStream& operator<<(qint64 value) {
        char* at = room(20);
        used_ = size_t(std::to_chars(at, at + 20, value).ptr - block_.get());
        return *this;
    }
    // The text in quotes: '"', '\' and C0 escaped as a JSON writer escapes
    // them, DEL and C1 as \u00XX, a lone surrogate as \uXXXX, the rest UTF-8.
    JsonStream& quoted(QStringView text) { return quoted(text.utf16(), text.size()); }
    JsonStream& quoted(QLatin1StringView text) {
        return quoted(reinterpret_cast<const uchar*>(text.data()), text.size());
    }

private:
    // Unit: char16_t for UTF-16, uchar for Latin-1.
    template <typename Unit> JsonStream& quoted(const Unit* text, qsizetype size);

    static constexpr size_t blockSize = 1 << 16;

    char* room(size_t bytes) {
        if (used_ + bytes > capacity_) {
            flush();
            if (bytes > capacity_) {
                capacity_ = bytes;
                block_.reset(new char[capacity_]);
            }
        }
        return block_.get() + used_;
    }
    void flush() {
        std::fwrite(block_.get(), 1, used_, out_);
        used_ = 0;
    }

    std::FILE* out_;
    size_t capacity_ = blockSize;
    size_t used_ = 0;
    std::unique_ptr<char[]> block_;
};

template <typename Unit> JsonStream& JsonStream::quoted(const Unit* text, qsizetype size) {
    // At most six bytes per unit (\uXXXX), and the two quotes.
    char* const start = room(size_t(size) * 6 + 2);
    char* at = start;
    const auto escaped = [&at](char16_t u) {
        *at++ = '\\';
        *at++ = 'u';
        for (const int shift : {12, 8, 4, 0})
            *at++ = hexDigit(u >> shift & 0xf);
    };
    *at++ = '"';
    const Unit* const end = text + size;
    for (const Unit* p = text; p != end; ++p) {
        const char16_t u = *p;
        if (u < 0x80 && printable[u]) {
            *at++ = char(u);
        } else if (u < 0x80) {
            *at++ = '\\';
            switch (u) {
            case '"':
            case '\\':
                *at++ = char(u);
                break;
            case '\b':
                *at++ = 'b';
                break;
            case '\f':
                *at++ = 'f';
                break;
            case '\n':
                *at++ = 'n';
                break;
            case '\r':
                *at++ = 'r';
                break;
            case '\t':
                *at++ = 't';
                break;
            default: // the other C0 controls and DEL
                --at;
                escaped(u);
            }
        } else if (u < 0xa0) { // C1
            escaped(u);
        } else if (u < 0x800) {
            *at++ = char(0xc0 | u >> 6);
            *at++ = char(0x80 | (u & 0x3f));
        } else if (!QChar::isSurrogate(u)) {
            *at++ = char(0xe0 | u >> 12);
            *at++ = char(0x80 | (u >> 6 & 0x3f));
            *at++ = char(0x80 | (u & 0x3f));
        } else if (QChar::isHighSurrogate(u) && p + 1 != end && QChar::isLowSurrogate(p[1])) {
            const char32_t code = QChar::surrogateToUcs4(u, *++p);
            *at++ = char(0xf0 | code >> 18);
            *at++ = char(0x80 | (code >> 12 & 0x3f));
            *at++ = char(0x80 | (code >> 6 & 0x3f));
            *at++ = char(0x80 | (code & 0x3f));
        } else {
            escaped(u);
        }
    }
    *at++ = '"';
    used_ += size_t(at - start);
    return *this;
}

void writeServer(JsonStream& json, const QueriedServer& server, bool friends) {
    const ServerAnswer& answer = server.answer;
    json << "    {\n        \"answered\": ";
    json.boolean(answer.answered);
    if (friends) {
        json << ",\n        \"friends\": [\n";
        for (qsizetype i = 0; i < server.friends.size(); ++i) {
            json << "            ";
            json.quoted(server.friends[i]) << (i + 1 < server.friends.size() ? ",\n"sv : "\n"sv);
        }
        json << "        ]";
    }
    json << ",\n        \"host\": ";
    json.quoted(server.host) << ",\n        \"mission\": ";
    json.quoted(QStringView(answer.mission).trimmed()) << ",\n        \"name\": ";
    json.quoted(server.name) << ",\n        \"ping\": ";
    if (answer.answered)
        json << qint64(answer.ping.toLongLong());
    else
        json << "null";
    json << ",\n        \"playerList\": [\n";
    const int players = answer.answered ? server.playerCount : 0;
    for (int index = 0; index < players; ++index) {
        json << "            {\n                \"name\": ";
        json.quoted(server.playerNames.view(index)) << ",\n                \"score\": ";
        json.quoted(server.playerScores.view(index))
            << (index + 1 < players ? "\n            },\n"sv : "\n            }\n"sv);
    }
    json << "        ],\n        \"players\": ";
    json.quoted(QStringView(answer.players).trimmed()) << ",\n        \"port\": ";
    json.quoted(server.port) << ",\n        \"sockets\": ";
    json.boolean(server.sockets) << "\n    }";
}

} // namespace

void writeQueryJson(const std::vector<QueriedServer>& servers, bool friends, std::FILE* out) {
    JsonStream json(out);
    json << "[\n";
    for (size_t i = 0; i < servers.size(); ++i) {
        writeServer(json, servers[i], friends);
        json << (i + 1 < servers.size() ? ",\n"sv : "\n"sv);
    }
    json << "]\n";
}
