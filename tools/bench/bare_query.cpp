// bare_query: the floor of a query sweep. Sends the status query to every
// ADDRESS:PORT (query ports, dotted addresses) listed in a file from one
// socket, taking the replies that are waiting after each send, then waits
// until every server answered once or the timeout passed. Prints the
// servers that answered. No Qt, no parsing of the replies.
//
//   bare_query FILE [TIMEOUT_MS]
#include <arpa/inet.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace {

int64_t nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

uint64_t key(const sockaddr_in& a) {
    return uint64_t(ntohl(a.sin_addr.s_addr)) << 16 | ntohs(a.sin_port);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    FILE* list = std::fopen(argv[1], "r");
    if (!list)
        return 2;
    std::vector<sockaddr_in> servers;
    char address[64];
    unsigned port;
    while (std::fscanf(list, " %63[^:]:%u", address, &port) == 2) {
        sockaddr_in server{};
        server.sin_family = AF_INET;
        server.sin_port = htons(uint16_t(port));
        inet_pton(AF_INET, address, &server.sin_addr);
        servers.push_back(server);
    }
    const int64_t timeoutMs = argc > 2 ? std::atol(argv[2]) : 2000;

    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    const int buffer = 4 << 20;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    std::unordered_set<uint64_t> answered;
    const auto drain = [&] {
        char reply[2048];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        while (recvfrom(fd, reply, sizeof reply, 0, reinterpret_cast<sockaddr*>(&from), &length) >=
               0)
            answered.insert(key(from));
    };
    static const char query[] = "\\info\\\\status\\";
    for (const sockaddr_in& server : servers) {
        sendto(fd, query, 14, 0, reinterpret_cast<const sockaddr*>(&server), sizeof server);
        drain();
    }
    const int64_t end = nowMs() + timeoutMs;
    while (answered.size() < servers.size() && nowMs() < end) {
        pollfd readable{fd, POLLIN, 0};
        poll(&readable, 1, int(end - nowMs()));
        drain();
    }
    std::printf("%zu\n", answered.size());
    return 0;
}
