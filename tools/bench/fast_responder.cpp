// fast_responder: answers every datagram with one fixed reply, from the
// address and port it was sent to, within microseconds. It stands in for
// game servers in benchmarks that compare with other tools or with a floor:
// real servers answer independently and at once, which a responder that is
// slow per datagram would not show. No Qt; one UDP socket per address and
// port, all served by one epoll loop.
//
//   fast_responder --ports FIRST-LAST [--addresses N] [--reply-file F] [--delay MS]
//
// --addresses N binds the ports on N loopback addresses from 127.0.0.1 up
// (127.0.0.1, 127.0.0.2, ... in 127.0.0.0/8). --delay answers MS milliseconds
// after each request; the replies wait in a queue served by a timerfd, so a
// delay never holds up other requests. Prints "ready SOCKETS" once every
// socket is bound, and runs until killed.
#include "ReadFile.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <netinet/in.h>
#include <string>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

const char usage[] =
    "usage: fast_responder --ports FIRST-LAST [--addresses N] [--reply-file F] [--delay MS]\n";

struct Options {
    unsigned firstPort = 0, lastPort = 0;
    unsigned addresses = 1;
    long delayNs = 0;
    std::string reply = "\\gametype\\Coop\\numplayers\\1\\maxplayers\\12\\gstate\\14\\";
};

// A reply that waits for its time.
struct Due {
    int64_t atNs;
    int socket;
    sockaddr_in peer;
};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fast_responder: %s: %s\n", what, errno ? std::strerror(errno) : "");
    std::exit(1);
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) {
            std::fputs(usage, stderr);
            std::exit(2);
        }
        const char* value = argv[++i];
        if (arg == "--ports" &&
            std::sscanf(value, "%u-%u", &options.firstPort, &options.lastPort) == 2)
            continue;
        if (arg == "--addresses" && (options.addresses = unsigned(std::atoi(value))) > 0)
            continue;
        if (arg == "--delay" && std::atol(value) >= 0) {
            options.delayNs = std::atol(value) * 1000000L;
            continue;
        }
        if (arg == "--reply-file") {
            if (auto bytes = readFile(value))
                options.reply = *bytes;
            else
                fail(value);
            continue;
        }
        std::fputs(usage, stderr);
        std::exit(2);
    }
    if (options.firstPort == 0 || options.lastPort < options.firstPort ||
        options.lastPort > 65535 || options.addresses > (1u << 24) - 2) {
        std::fputs(usage, stderr);
        std::exit(2);
    }
    return options;
}

int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Room for one descriptor per socket, up to the hard limit.
void raiseDescriptorLimit(size_t sockets) {
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    if (limit.rlim_cur < sockets + 16) {
        errno = EMFILE;
        fail("too many sockets for the descriptor limit");
    }
}

int boundSocket(uint32_t address, unsigned port) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        fail("socket");
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(address);
    local.sin_port = htons(uint16_t(port));
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) < 0)
        fail("bind");
    return fd;
}

void armFor(int timer, const std::deque<Due>& queue) {
    itimerspec when{};
    if (!queue.empty()) {
        // Absolute time on CLOCK_MONOTONIC; 0 would disarm, so at least 1 ns.
        const int64_t at = queue.front().atNs > 0 ? queue.front().atNs : 1;
        when.it_value.tv_sec = at / 1000000000;
        when.it_value.tv_nsec = at % 1000000000;
    }
    timerfd_settime(timer, TFD_TIMER_ABSTIME, &when, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    const unsigned ports = options.lastPort - options.firstPort + 1;
    raiseDescriptorLimit(size_t(ports) * options.addresses);

    const int poll = epoll_create1(EPOLL_CLOEXEC);
    const int timer = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (poll < 0 || timer < 0)
        fail("epoll");
    epoll_event timerEvent{};
    timerEvent.events = EPOLLIN;
    timerEvent.data.fd = timer;
    epoll_ctl(poll, EPOLL_CTL_ADD, timer, &timerEvent);

    int sockets = 0;
    for (unsigned a = 0; a < options.addresses; ++a)
        for (unsigned port = options.firstPort; port <= options.lastPort; ++port) {
            const int fd = boundSocket(INADDR_LOOPBACK + a, port);
            epoll_event event{};
            event.events = EPOLLIN;
            event.data.fd = fd;
            if (epoll_ctl(poll, EPOLL_CTL_ADD, fd, &event) < 0)
                fail("epoll_ctl");
            ++sockets;
        }
    std::printf("ready %d\n", sockets);
    std::fflush(stdout);

    std::deque<Due> queue; // the delay is fixed, so due times come in order
    std::vector<epoll_event> events(256);
    char request[2048];
    for (;;) {
        const int ready = epoll_wait(poll, events.data(), int(events.size()), -1);
        if (ready < 0 && errno != EINTR)
            fail("epoll_wait");
        for (int i = 0; i < ready; ++i) {
            const int fd = events[size_t(i)].data.fd;
            if (fd == timer) {
                uint64_t expirations;
                (void)!read(timer, &expirations, sizeof expirations);
                const int64_t now = monotonicNs();
                while (!queue.empty() && queue.front().atNs <= now) {
                    const Due& due = queue.front();
                    sendto(due.socket, options.reply.data(), options.reply.size(), 0,
                           reinterpret_cast<const sockaddr*>(&due.peer), sizeof due.peer);
                    queue.pop_front();
                }
                armFor(timer, queue);
                continue;
            }
            const bool wasEmpty = queue.empty();
            for (;;) {
                sockaddr_in peer{};
                socklen_t length = sizeof peer;
                if (recvfrom(fd, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&peer),
                             &length) < 0)
                    break;
                if (options.delayNs == 0)
                    sendto(fd, options.reply.data(), options.reply.size(), 0,
                           reinterpret_cast<const sockaddr*>(&peer), length);
                else
                    queue.push_back({monotonicNs() + options.delayNs, fd, peer});
            }
            if (wasEmpty && !queue.empty())
                armFor(timer, queue);
        }
    }
}
