// The reference service: a plain HTTP server that speaks everything the client relies on (wizard
// pages, result document, transfer requests with resume, update check, site redirects), stores
// the pictures it receives and injects faults on request through "/_control".
#include "Service.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

int usage() {
    std::fputs(
        "usage: korvex-service [--bind ADDRESS] [--port N] --store FOLDER [--latest-version "
        "X.Y.Z]\n"
        "Port 0 (the default) lets the system pick one; the first line printed names it.\n"
        "Received pictures are stored as FOLDER/<ImageID>.jpg and listed in FOLDER/manifest.txt;\n"
        "start and completion posts are kept in starts.txt and completions.txt.\n"
        "GET /_control?KEY=VALUE&... sets faults and prints the counters (uploads, images,\n"
        "completed). Keys: refuse=N (close the next N connections), drop-after=BYTES and\n"
        "drop-count=N (drop uploads after so many picture bytes), incomplete-at=BYTES (keep only\n"
        "so many bytes of the next upload and answer it as incomplete), upload-error=CODE with\n"
        "upload-error-count=N, offset-error=CODE with offset-error-count=N,\n"
        "imageid-error-count=N, unknown-id-count=N (answer code 6 to offset queries),\n"
        "throttle=BYTES_PER_SECOND (0: full speed), reset=1.\n",
        stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string bind = "127.0.0.1";
    int port = 0;
    korvex::service::ServiceOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return usage();
        const std::string next = argv[++i];
        if (arg == "--bind")
            bind = next;
        else if (arg == "--port")
            port = std::atoi(next.c_str());
        else if (arg == "--store")
            options.store = next;
        else if (arg == "--latest-version")
            options.latestVersion = next;
        else
            return usage();
    }
    if (options.store.empty())
        return usage();
    std::signal(SIGPIPE, SIG_IGN);

    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    const int buffer = 4 << 20;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    // Set before listen so that accepted sockets start with a large window.
    setsockopt(listener, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    if (inet_pton(AF_INET, bind.c_str(), &address.sin_addr) != 1 ||
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 64) != 0) {
        std::perror("korvex-service");
        return 1;
    }
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::printf("korvex-service listening on %s:%d\n", bind.c_str(), ntohs(address.sin_port));
    std::fflush(stdout);

    korvex::service::Service service(options);
    for (;;) {
        const int fd = ::accept(listener, nullptr, nullptr);
        if (fd < 0)
            continue;
        if (service.refuseNext()) {
            ::close(fd);
            continue;
        }
        std::thread([&service, fd] { service.serve(fd); }).detach();
    }
}
