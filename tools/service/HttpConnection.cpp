#include "HttpConnection.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace korvex::service {

namespace {
constexpr size_t BufferSize = 4 << 20;
constexpr size_t MaxHeader = 64 << 10;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t");
    const size_t b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}
} // namespace

HttpConnection::HttpConnection(int fd) : m_fd(fd), m_buf(BufferSize) {}

HttpConnection::~HttpConnection() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void HttpConnection::drop() {
    if (m_fd < 0)
        return;
    ::shutdown(m_fd, SHUT_RDWR);
    ::close(m_fd);
    m_fd = -1;
}

bool HttpConnection::recvSome(size_t maxBytes) {
    if (m_fd < 0)
        return false;
    if (m_start == m_end) {
        m_start = m_end = 0;
    } else if (m_buf.size() - m_end < std::min(maxBytes, m_buf.size() / 2)) {
        std::memmove(m_buf.data(), m_buf.data() + m_start, buffered());
        m_end -= m_start;
        m_start = 0;
    }
    const size_t room = std::min(maxBytes, m_buf.size() - m_end);
    if (room == 0)
        return false;
    ssize_t n;
    do {
        n = ::recv(m_fd, m_buf.data() + m_end, room, 0);
    } while (n < 0 && errno == EINTR);
    if (n <= 0)
        return false;
    m_end += size_t(n);
    if (m_throttle > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(n * 1'000'000LL / m_throttle));
    return true;
}

bool HttpConnection::readRequest(HttpRequest& r) {
    r = HttpRequest();
    size_t headerEnd;
    for (;;) {
        const char* begin = m_buf.data() + m_start;
        const void* hit = memmem(begin, buffered(), "\r\n\r\n", 4);
        if (hit) {
            headerEnd = size_t(static_cast<const char*>(hit) - begin);
            break;
        }
        if (buffered() > MaxHeader || !recvSome(MaxHeader))
            return false;
    }
    const std::string head(m_buf.data() + m_start, headerEnd);
    m_start += headerEnd + 4;

    size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    const size_t sp1 = requestLine.find(' ');
    const size_t sp2 = requestLine.rfind(' ');
    if (sp1 == std::string::npos || sp2 == sp1)
        return false;
    r.method = requestLine.substr(0, sp1);
    r.target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
    const std::string version = requestLine.substr(sp2 + 1);
    std::string path = r.target;
    if (path.rfind("http://", 0) == 0) {
        const size_t slash = path.find('/', 7);
        path = slash == std::string::npos ? "/" : path.substr(slash);
    }
    const size_t q = path.find('?');
    r.path = path.substr(0, q);
    r.query = q == std::string::npos ? std::string() : path.substr(q + 1);

    while (lineEnd != std::string::npos) {
        const size_t next = head.find("\r\n", lineEnd + 2);
        const std::string line = head.substr(
            lineEnd + 2, next == std::string::npos ? std::string::npos : next - lineEnd - 2);
        const size_t colon = line.find(':');
        if (colon != std::string::npos)
            r.headers[lower(line.substr(0, colon))] = trim(line.substr(colon + 1));
        lineEnd = next;
    }
    r.contentLength = std::atoll(r.header("content-length").c_str());
    const std::string connection = lower(r.header("connection"));
    r.keepAlive = version == "HTTP/1.1" ? connection != "close" : connection == "keep-alive";

    m_bodyReceived = std::min<long long>(r.contentLength, (long long)buffered());
    m_bodyBuffered = size_t(m_bodyReceived);
    m_bodyLeft = r.contentLength - m_bodyReceived;
    return true;
}

size_t HttpConnection::peek(const char** data) {
    if (m_bodyBuffered == 0 && !fillMore())
        return 0;
    *data = m_buf.data() + m_start;
    return m_bodyBuffered;
}

void HttpConnection::consume(size_t n) {
    n = std::min(n, m_bodyBuffered);
    m_start += n;
    m_bodyBuffered -= n;
}

bool HttpConnection::fillMore() {
    if (m_bodyLeft <= 0)
        return false;
    const size_t before = buffered();
    if (!recvSome(size_t(std::min<long long>(m_bodyLeft, (long long)m_buf.size()))))
        return false;
    const size_t got = buffered() - before;
    m_bodyLeft -= (long long)got;
    m_bodyReceived += (long long)got;
    m_bodyBuffered += got;
    return true;
}

bool HttpConnection::readBody(std::string& body, long long limit) {
    body.clear();
    for (;;) {
        const char* data;
        const size_t n = peek(&data);
        if (n == 0)
            return m_bodyLeft == 0;
        if ((long long)(body.size() + n) > limit)
            return false;
        body.append(data, n);
        consume(n);
    }
}

bool HttpConnection::discardBody() {
    const char* data;
    while (size_t n = peek(&data))
        consume(n);
    return m_bodyLeft == 0;
}

bool HttpConnection::sendContinue() {
    static const char text[] = "HTTP/1.1 100 Continue\r\n\r\n";
    return m_fd >= 0 &&
           ::send(m_fd, text, sizeof text - 1, MSG_NOSIGNAL) == ssize_t(sizeof text - 1);
}

bool HttpConnection::send(int status, const std::string& reason, const std::string& contentType,
                          const std::string& body, const std::vector<std::string>& extraHeaders) {
    if (m_fd < 0)
        return false;
    std::string out = "HTTP/1.1 " + std::to_string(status) + ' ' + reason + "\r\n";
    out += "Content-Type: " + contentType + "\r\n";
    out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    for (const std::string& h : extraHeaders)
        out += h + "\r\n";
    out += "\r\n";
    out += body;
    size_t sent = 0;
    while (sent < out.size()) {
        const ssize_t n = ::send(m_fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += size_t(n);
    }
    return true;
}

} // namespace korvex::service
