#pragma once

#include <QByteArray>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace korvex::test {

// A small authenticating HTTP forward proxy on 127.0.0.1: requests without the expected
// Proxy-Authorization get 407, the others are relayed to the host their absolute URL names.
// It counts what it sees, so a test can tell whether a body travelled twice.
class ForwardProxy {
public:
    explicit ForwardProxy(QByteArray expectedAuthorization);
    ~ForwardProxy();

    quint16 port() const { return m_port; }
    std::atomic<int> refused{0}; // requests answered 407
    std::atomic<int> uploads{0}; // "/UploadImage" requests relayed
    std::atomic<int> relayed{0}; // all requests relayed

private:
    void run();
    void serve(int client);

    QByteArray m_expected;
    int m_listener = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::vector<std::thread> m_connections;
    std::mutex m_mutex;
    std::vector<int> m_clients;
};

} // namespace korvex::test
