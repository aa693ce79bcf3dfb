// loopback_responder: stands in for any number of game servers on loopback.
// One UDP socket per port, bound to every address, answers each request to
// any address of 127.0.0.0/8 from that very address, so 256 ports serve
// 256 addresses each (65,536 servers) on a few hundred descriptors. Requests
// from or to anywhere else are ignored. No Qt; one epoll loop answers within
// microseconds, or after a fixed delay without holding up other requests.
//
//   loopback_responder --ports FIRST-LAST [--reply-file F] [--delay MS]
//
// Prints "ready" once every port is bound, and runs until killed.
#include "ReadFile.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <netinet/in.h>
#include <string>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

namespace {

struct Pending {
    int64_t dueNs;
    int fd;
    sockaddr_in peer;
    in_addr local;
};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "loopback_responder: %s: %s\n", what, std::strerror(errno));
    std::exit(1);
}

int64_t nowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

bool isLoopback(in_addr address) {
    return (ntohl(address.s_addr) >> 24) == 127;
}

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

// Sends the reply to peer with local as its source address.
void answer(const Pending& p, const std::string& reply) {
    iovec data{const_cast<char*>(reply.data()), reply.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr message{};
    message.msg_name = const_cast<sockaddr_in*>(&p.peer);
    message.msg_namelen = sizeof p.peer;
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = IPPROTO_IP;
    header->cmsg_type = IP_PKTINFO;
    header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    info.ipi_spec_dst = p.local;
    std::memcpy(CMSG_DATA(header), &info, sizeof info);
    sendmsg(p.fd, &message, 0);
}

// Takes every request waiting on fd: answers it now, or queues it.
void takeRequests(int fd, int64_t delayNs, const std::string& reply, std::deque<Pending>& queue) {
    for (;;) {
        char request[2048];
        iovec data{request, sizeof request};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
        Pending p{0, fd, {}, {}};
        msghdr message{};
        message.msg_name = &p.peer;
        message.msg_namelen = sizeof p.peer;
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        if (recvmsg(fd, &message, 0) < 0)
            return;
        for (cmsghdr* h = CMSG_FIRSTHDR(&message); h; h = CMSG_NXTHDR(&message, h))
            if (h->cmsg_level == IPPROTO_IP && h->cmsg_type == IP_PKTINFO)
                p.local = reinterpret_cast<in_pktinfo*>(CMSG_DATA(h))->ipi_addr;
        if (!isLoopback(p.local) || !isLoopback(p.peer.sin_addr))
            continue;
        if (delayNs == 0) {
            answer(p, reply);
        } else {
            p.dueNs = nowNs() + delayNs;
            queue.push_back(p);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    unsigned first = 0, last = 0;
    int64_t delayNs = 0;
    std::string reply = "\\gametype\\Coop\\numplayers\\1\\maxplayers\\12\\";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--ports")
            std::sscanf(argv[i + 1], "%u-%u", &first, &last);
        else if (option == "--delay")
            delayNs = std::atol(argv[i + 1]) * 1000000L;
        else if (option == "--reply-file") {
            if (auto bytes = readFile(argv[i + 1]))
                reply = *bytes;
            else
                fail(argv[i + 1]);
        }
    }
    if (first == 0 || last < first || last > 65535) {
        std::fputs("usage: loopback_responder --ports FIRST-LAST [--reply-file F] [--delay MS]\n",
                   stderr);
        return 2;
    }
    const int poll = epoll_create1(EPOLL_CLOEXEC);
    for (unsigned port = first; port <= last; ++port) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = listenOn(port);
        if (epoll_ctl(poll, EPOLL_CTL_ADD, event.data.fd, &event) < 0)
            fail("epoll_ctl");
    }
    std::printf("ready\n");
    std::fflush(stdout);

    std::deque<Pending> queue; // one delay for all, so due times come in order
    epoll_event events[256];
    for (;;) {
        int timeoutMs = -1;
        if (!queue.empty())
            timeoutMs =
                int(std::max<int64_t>(0, (queue.front().dueNs - nowNs() + 999999) / 1000000));
        const int ready = epoll_wait(poll, events, 256, timeoutMs);
        for (int i = 0; i < ready; ++i)
            takeRequests(events[i].data.fd, delayNs, reply, queue);
        for (const int64_t now = nowNs(); !queue.empty() && queue.front().dueNs <= now;) {
            answer(queue.front(), reply);
            queue.pop_front();
        }
    }
}
