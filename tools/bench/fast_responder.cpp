// fast_responder: stands in for game servers in benchmarks, answering every
// request with one fixed reply within microseconds, from the very address and
// port it was sent to. Real servers answer independently and at once, which a
// responder that is slow per datagram would not show. No Qt; one UDP socket
// per port, bound to every address, so 256 ports serve 256 addresses of
// 127.0.0.0/8 each (65,536 servers) on a few hundred descriptors. Requests
// from or to anywhere but loopback are ignored.
//
//   fast_responder --ports FIRST-LAST [--reply-file F] [--delay MS]
//
// --delay answers MS milliseconds after each request; the replies wait in a
// queue served by a timerfd, so a delay never holds up other requests. Prints
// "ready PORTS" once every port is bound, and runs until killed or until the
// process that started it ends (a benchmark that dies must not leave its
// responder holding the ports, and the benchmark lock it inherited).
#include "ReadFile.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <netinet/in.h>
#include <string>
#include <sys/epoll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

namespace {

const char usage[] = "usage: fast_responder --ports FIRST-LAST [--reply-file F] [--delay MS]\n";

struct Options {
    unsigned firstPort = 0, lastPort = 0;
    int64_t delayNs = 0;
    std::string reply = "\\gametype\\Coop\\numplayers\\1\\maxplayers\\12\\gstate\\14\\";
};

// A request to answer: on which socket, to whom, from which local address.
struct Request {
    int64_t dueNs;
    int socket;
    sockaddr_in peer;
    in_addr local;
};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fast_responder: %s: %s\n", what, errno ? std::strerror(errno) : "");
    std::exit(1);
}

[[noreturn]] void usageError() {
    std::fputs(usage, stderr);
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc)
            usageError();
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--ports") {
            if (std::sscanf(value, "%u-%u", &options.firstPort, &options.lastPort) != 2)
                usageError();
        } else if (option == "--delay" && std::atol(value) >= 0) {
            options.delayNs = std::atol(value) * int64_t(1000000);
        } else if (option == "--reply-file") {
            if (auto bytes = readFile(value))
                options.reply = *bytes;
            else
                fail(value);
        } else {
            usageError();
        }
    }
    if (options.firstPort == 0 || options.lastPort < options.firstPort || options.lastPort > 65535)
        usageError();
    return options;
}

int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

bool isLoopback(in_addr address) {
    return (ntohl(address.s_addr) >> 24) == 127;
}

// A socket on port of every address that tells each request's local address.
int listenOn(unsigned port) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int on = 1, buffer = 4 << 20;
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(uint16_t(port));
    if (fd < 0 || setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) < 0 ||
        bind(fd, reinterpret_cast<sockaddr*>(&any), sizeof any) < 0)
        fail("bind");
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    return fd;
}

// Sends the reply to the request's peer with the request's local address as
// its source.
void answer(const Request& r, const std::string& reply) {
    iovec data{const_cast<char*>(reply.data()), reply.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr message{};
    message.msg_name = const_cast<sockaddr_in*>(&r.peer);
    message.msg_namelen = sizeof r.peer;
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = IPPROTO_IP;
    header->cmsg_type = IP_PKTINFO;
    header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    info.ipi_spec_dst = r.local;
    std::memcpy(CMSG_DATA(header), &info, sizeof info);
    sendmsg(r.socket, &message, 0);
}

// Takes every request waiting on fd: answers it now, or queues it.
void takeRequests(int fd, const Options& options, std::deque<Request>& queue) {
    for (;;) {
        char request[2048];
        iovec data{request, sizeof request};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
        Request r{0, fd, {}, {}};
        msghdr message{};
        message.msg_name = &r.peer;
        message.msg_namelen = sizeof r.peer;
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        if (recvmsg(fd, &message, 0) < 0)
            return;
        for (cmsghdr* h = CMSG_FIRSTHDR(&message); h; h = CMSG_NXTHDR(&message, h))
            if (h->cmsg_level == IPPROTO_IP && h->cmsg_type == IP_PKTINFO)
                r.local = reinterpret_cast<in_pktinfo*>(CMSG_DATA(h))->ipi_addr;
        if (!isLoopback(r.local) || !isLoopback(r.peer.sin_addr))
            continue;
        if (options.delayNs == 0) {
            answer(r, options.reply);
        } else {
            r.dueNs = monotonicNs() + options.delayNs;
            queue.push_back(r);
        }
    }
}

// Arms the timer for the first queued reply, or disarms it.
void armFor(int timer, const std::deque<Request>& queue) {
    itimerspec when{};
    if (!queue.empty()) {
        // Absolute time on CLOCK_MONOTONIC; 0 would disarm, so at least 1 ns.
        const int64_t at = queue.front().dueNs > 0 ? queue.front().dueNs : 1;
        when.it_value.tv_sec = at / 1000000000;
        when.it_value.tv_nsec = at % 1000000000;
    }
    timerfd_settime(timer, TFD_TIMER_ABSTIME, &when, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    if (prctl(PR_SET_PDEATHSIG, SIGTERM) < 0)
        fail("prctl");
    const int poll = epoll_create1(EPOLL_CLOEXEC);
    const int timer = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (poll < 0 || timer < 0)
        fail("epoll");
    const auto watch = [poll](int fd) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        if (epoll_ctl(poll, EPOLL_CTL_ADD, fd, &event) < 0)
            fail("epoll_ctl");
    };
    watch(timer);
    for (unsigned port = options.firstPort; port <= options.lastPort; ++port)
        watch(listenOn(port));
    std::printf("ready %u\n", options.lastPort - options.firstPort + 1);
    std::fflush(stdout);

    std::deque<Request> queue; // one delay for all, so due times come in order
    epoll_event events[256];
    for (;;) {
        const int ready = epoll_wait(poll, events, 256, -1);
        if (ready < 0 && errno != EINTR)
            fail("epoll_wait");
        const bool wasEmpty = queue.empty();
        for (int i = 0; i < ready; ++i) {
            if (events[i].data.fd != timer) {
                takeRequests(events[i].data.fd, options, queue);
                continue;
            }
            uint64_t expirations;
            (void)!read(timer, &expirations, sizeof expirations);
            for (const int64_t now = monotonicNs(); !queue.empty() && queue.front().dueNs <= now;) {
                answer(queue.front(), options.reply);
                queue.pop_front();
            }
            armFor(timer, queue);
        }
        if (wasEmpty && !queue.empty())
            armFor(timer, queue);
    }
}
