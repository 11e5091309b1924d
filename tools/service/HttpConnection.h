#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace korvex::service {

struct HttpRequest {
    std::string method;
    std::string target; // as sent: origin form or, through a proxy, absolute form
    std::string path;
    std::string query;
    std::map<std::string, std::string> headers; // names in lower case
    long long contentLength = 0;
    bool keepAlive = true;

    std::string header(const std::string& lowerName) const {
        auto it = headers.find(lowerName);
        return it == headers.end() ? std::string() : it->second;
    }
};

// One client connection: reads requests and streams bodies straight from the receive buffer.
class HttpConnection {
public:
    explicit HttpConnection(int fd);
    ~HttpConnection();
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;

    // False when the peer closed or sent garbage.
    bool readRequest(HttpRequest& request);
    // The rest of the body, whole (small form posts only).
    bool readBody(std::string& body, long long limit = 1 << 20);
    // Body bytes not yet consumed.
    long long bodyLeft() const { return m_bodyLeft; }

    // Buffered body bytes available without blocking, after fetching more when none are. Returns
    // a pointer into the receive buffer and its length; 0 at the end of the body or on error.
    size_t peek(const char** data);
    void consume(size_t n);
    // Reads more body bytes into the buffer, keeping the unconsumed ones; false at end or error.
    bool fillMore();
    long long bodyReceived() const { return m_bodyReceived; }

    // Drops whatever is left of the body (reads and discards).
    bool discardBody();
    bool send(int status, const std::string& reason, const std::string& contentType,
              const std::string& body, const std::vector<std::string>& extraHeaders = {});
    bool sendContinue();
    // Closes the connection at once (fault injection).
    void drop();
    bool dropped() const { return m_fd < 0; }

    void setThrottle(long long bytesPerSecond) { m_throttle = bytesPerSecond; }

private:
    bool recvSome(size_t maxBytes);
    size_t buffered() const { return m_end - m_start; }

    int m_fd;
    std::vector<char> m_buf;
    size_t m_start = 0;
    size_t m_end = 0;
    long long m_bodyLeft = 0;     // body bytes not yet received from the socket
    long long m_bodyReceived = 0; // body bytes received so far
    size_t m_bodyBuffered = 0;    // body bytes in the buffer
    long long m_throttle = 0;
};

} // namespace korvex::service
