#include "ForwardProxy.h"

#include <QList>
#include <QUrl>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvex::test {

namespace {

bool sendAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

// Reads one message head (through the blank line) into head; extra body bytes stay in buffer.
bool readHead(int fd, QByteArray& buffer, QByteArray& head) {
    for (;;) {
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end >= 0) {
            head = buffer.left(end + 4);
            buffer.remove(0, end + 4);
            return true;
        }
        char chunk[65536];
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0)
            return false;
        buffer.append(chunk, n);
    }
}

QByteArray headerValue(const QByteArray& head, const QByteArray& name) {
    for (const QByteArray& line : head.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

// Relays length bytes of body from one socket to the other, starting with what is buffered.
bool relayBody(int from, int to, QByteArray& buffer, qint64 length) {
    const qint64 first = std::min<qint64>(length, buffer.size());
    if (!sendAll(to, buffer.constData(), size_t(first)))
        return false;
    buffer.remove(0, first);
    length -= first;
    std::vector<char> chunk(1 << 20);
    while (length > 0) {
        const ssize_t n =
            ::recv(from, chunk.data(), size_t(std::min<qint64>(length, qint64(chunk.size()))), 0);
        if (n <= 0 || !sendAll(to, chunk.data(), size_t(n)))
            return false;
        length -= n;
    }
    return true;
}

} // namespace

ForwardProxy::ForwardProxy(QByteArray expectedAuthorization)
    : m_expected(std::move(expectedAuthorization)) {
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(m_listener, 16);
    socklen_t len = sizeof a;
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&a), &len);
    m_port = ntohs(a.sin_port);
    m_thread = std::thread([this] { run(); });
}

ForwardProxy::~ForwardProxy() {
    m_stop = true;
    ::shutdown(m_listener, SHUT_RDWR);
    ::close(m_listener);
    m_thread.join();
    {
        std::lock_guard lock(m_mutex);
        for (const int fd : m_clients)
            ::shutdown(fd, SHUT_RDWR);
    }
    for (std::thread& t : m_connections)
        t.join();
}

void ForwardProxy::run() {
    while (!m_stop) {
        pollfd p{m_listener, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0)
            continue;
        std::lock_guard lock(m_mutex);
        m_clients.push_back(client);
        m_connections.emplace_back([this, client] { serve(client); });
    }
}

void ForwardProxy::serve(int client) {
    QByteArray buffer;
    QByteArray head;
    int upstream = -1;
    while (!m_stop && readHead(client, buffer, head)) {
        const qint64 length = headerValue(head, "Content-Length").toLongLong();
        if (headerValue(head, "Proxy-Authorization") != m_expected) {
            ++refused;
            static const char denied[] =
                "HTTP/1.1 407 Proxy Authentication Required\r\n"
                "Proxy-Authenticate: Basic realm=\"test\"\r\nContent-Length: 0\r\n\r\n";
            if (!sendAll(client, denied, sizeof denied - 1))
                break;
            // Drain the refused body so the connection can carry the retry.
            std::vector<char> chunk(1 << 16);
            qint64 left = length - std::min<qint64>(length, buffer.size());
            buffer.remove(0, std::min<qint64>(length, buffer.size()));
            while (left > 0) {
                const ssize_t n =
                    ::recv(client, chunk.data(), size_t(std::min<qint64>(left, 65536)), 0);
                if (n <= 0)
                    break;
                left -= n;
            }
            continue;
        }
        const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
        if (requestLine.size() < 3)
            break;
        const QUrl target(QString::fromLatin1(requestLine[1]));
        if (target.path() == QStringLiteral("/UploadImage"))
            ++uploads;
        ++relayed;
        if (upstream < 0) {
            upstream = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_port = htons(quint16(target.port(80)));
            inet_pton(AF_INET, target.host().toLatin1().constData(), &a.sin_addr);
            if (::connect(upstream, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
                break;
        }
        // Origin form towards the server, proxy headers removed.
        QByteArray out = requestLine[0] + ' ' +
                         target.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority) + ' ' +
                         requestLine[2] + "\r\n";
        for (const QByteArray& line : head.mid(head.indexOf("\r\n") + 2).split('\n')) {
            const QByteArray trimmed = line.trimmed();
            if (trimmed.isEmpty() || trimmed.toLower().startsWith("proxy-"))
                continue;
            out += trimmed + "\r\n";
        }
        out += "\r\n";
        if (!sendAll(upstream, out.constData(), size_t(out.size())) ||
            !relayBody(client, upstream, buffer, length))
            break;
        QByteArray upstreamBuffer;
        QByteArray responseHead;
        if (!readHead(upstream, upstreamBuffer, responseHead) ||
            !sendAll(client, responseHead.constData(), size_t(responseHead.size())) ||
            !relayBody(upstream, client, upstreamBuffer,
                       headerValue(responseHead, "Content-Length").toLongLong()))
            break;
    }
    if (upstream >= 0)
        ::close(upstream);
    ::close(client);
}

} // namespace korvex::test
