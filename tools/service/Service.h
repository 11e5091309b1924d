#pragma once

#include "HttpConnection.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace korvex::service {

// Faults a test asks for through "/_control"; each one-shot fault applies to the next matching
// request(s) and then clears itself.
struct Faults {
    int refuseConnections = 0;   // close this many new connections at once
    long long dropAfter = -1;    // drop uploads after this many picture bytes...
    int dropCount = 1;           // ...this many times in a row
    long long incompleteAt = -1; // keep only this many picture bytes of the next upload
    int uploadError = 0;         // answer the next uploads with this code
    int uploadErrorCount = 0;
    int offsetError = 0; // answer the next offset queries with this code
    int offsetErrorCount = 0;
    int imageIdErrorCount = 0; // refuse the next image-ID requests
    int unknownIdCount = 0;    // answer code 6 to the next offset queries
    long long throttle = 0;    // bytes per second while receiving bodies (0: full speed)
};

struct ServiceOptions {
    std::string store;         // folder for received pictures and records
    std::string latestVersion; // the version the update check offers
};

class Service {
public:
    explicit Service(ServiceOptions options);

    // Serves one connection until it closes.
    void serve(int fd);
    // True when a refuse fault swallows this connection.
    bool refuseNext();

private:
    // One picture being received. A newer upload of the same image supersedes an older one
    // still draining its connection, so two writers never mix their bytes.
    struct Image {
        std::mutex write; // guards everything below
        long long stored = 0;
        int generation = 0;
        std::atomic<bool> complete = false;
        std::string fileName;
    };
    struct Session {
        std::vector<std::pair<std::string, std::string>> images; // id, title
        std::map<std::string, std::string> fields;
        std::string mode;
    };

    bool handle(HttpConnection& c, const HttpRequest& r);
    bool control(HttpConnection& c, const HttpRequest& r);
    bool imageId(HttpConnection& c, const HttpRequest& r);
    bool imageOffset(HttpConnection& c, const HttpRequest& r);
    bool upload(HttpConnection& c, const HttpRequest& r);
    bool startPage(HttpConnection& c, const HttpRequest& r);
    bool finalizePage(HttpConnection& c, const HttpRequest& r);
    bool completion(HttpConnection& c, const HttpRequest& r);
    bool updateCheck(HttpConnection& c, const HttpRequest& r);

    std::string partialPath(const std::string& id) const;
    void record(const std::string& file, const std::string& line);

    ServiceOptions m_options;
    std::mutex m_mutex;
    Faults m_faults;
    std::shared_ptr<Image> image(const std::string& id);
    // Streams the picture part into the image's file; false when the connection is gone.
    bool receivePicture(HttpConnection& c, const std::string& delimiter, const Faults& faults,
                        const std::string& id, long long offset, const std::string& fileName,
                        long long rawSize, std::string& reply);

    std::map<std::string, std::shared_ptr<Image>> m_images;
    std::map<int, Session> m_sessions;
    int m_nextImage = 1;
    int m_nextSession = 1;
    int m_uploadRequests = 0;
};

} // namespace korvex::service
