#include "Service.h"

#include "Pages.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvex::service {

namespace {

using Form = std::vector<std::pair<std::string, std::string>>;

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string decode(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '+') {
            out += ' ';
        } else if (s[i] == '%' && i + 2 < s.size() + 0 && hexValue(s[i + 1]) >= 0 &&
                   hexValue(s[i + 2]) >= 0) {
            out += char(hexValue(s[i + 1]) * 16 + hexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

Form parseForm(const std::string& text) {
    Form form;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t amp = text.find('&', pos);
        if (amp == std::string::npos)
            amp = text.size();
        const std::string item = text.substr(pos, amp - pos);
        if (!item.empty()) {
            const size_t eq = item.find('=');
            form.emplace_back(decode(item.substr(0, eq)), eq == std::string::npos
                                                              ? std::string()
                                                              : decode(item.substr(eq + 1)));
        }
        pos = amp + 1;
    }
    return form;
}

std::string value(const Form& form, const std::string& name) {
    for (const auto& [k, v] : form)
        if (strcasecmp(k.c_str(), name.c_str()) == 0)
            return v;
    return {};
}

bool endsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

const char* textPlain = "text/plain";
const char* textHtml = "text/html; charset=utf-8";

// Finds marker in the body as it arrives; on success everything before it is in before and the
// marker itself is consumed.
bool readUntil(HttpConnection& c, const std::string& marker, std::string& before) {
    for (;;) {
        const char* data = nullptr;
        const size_t n = c.peek(&data);
        if (n == 0)
            return false;
        const void* hit = memmem(data, n, marker.data(), marker.size());
        if (hit) {
            const size_t at = size_t(static_cast<const char*>(hit) - data);
            before.assign(data, at);
            c.consume(at + marker.size());
            return true;
        }
        if (n > (1 << 20) || !c.fillMore())
            return false;
    }
}

std::string partName(const std::string& headers, const char* key) {
    const std::string k = std::string(key) + "=\"";
    const size_t at = headers.find(k);
    if (at == std::string::npos)
        return {};
    const size_t end = headers.find('"', at + k.size());
    return headers.substr(at + k.size(), end - at - k.size());
}

} // namespace

Service::Service(ServiceOptions options) : m_options(std::move(options)) {
    std::filesystem::create_directories(m_options.store + "/partial");
}

bool Service::refuseNext() {
    std::lock_guard lock(m_mutex);
    if (m_faults.refuseConnections <= 0)
        return false;
    --m_faults.refuseConnections;
    return true;
}

std::string Service::partialPath(const std::string& id) const {
    return m_options.store + "/partial/" + id;
}

void Service::record(const std::string& file, const std::string& line) {
    std::ofstream out(m_options.store + '/' + file, std::ios::app);
    out << line << '\n';
}

void Service::serve(int fd) {
    const int one = 1;
    const int buffer = 4 << 20;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    HttpConnection c(fd);
    HttpRequest r;
    while (c.readRequest(r)) {
        if (strcasecmp(r.header("expect").c_str(), "100-continue") == 0 && !c.sendContinue())
            break;
        if (!handle(c, r) || c.dropped() || !r.keepAlive || !c.discardBody())
            break;
    }
}

bool Service::handle(HttpConnection& c, const HttpRequest& r) {
    const std::string& p = r.path;
    if (p == "/GetImageID")
        return imageId(c, r);
    if (p == "/UploadImage")
        return upload(c, r);
    if (p == "/GetImageOffset")
        return imageOffset(c, r);
    if (p == "/_control")
        return control(c, r);
    if (p == "/client/init.jsp")
        return startPage(c, r);
    if (p == "/client/finalize.jsp")
        return finalizePage(c, r);
    if (p == "/client/complete.jsp")
        return completion(c, r);
    if (p.rfind("/client/updatecheck/", 0) == 0)
        return updateCheck(c, r);
    const Form query = parseForm(r.query);
    const int order = std::atoi(value(query, "order").c_str());
    if (p == "/client/progress.jsp")
        return c.send(200, "OK", textHtml, progressPage());
    if (p == "/client/close.jsp")
        return c.send(200, "OK", textHtml, closePage(order));
    if (p == "/client/thanks.jsp")
        return c.send(200, "OK", textHtml, thanksPage(order));
    if (p == "/client/help.html")
        return c.send(200, "OK", textHtml, helpPage());
    if (p == "/client/redirect.jsp") {
        const bool help = value(query, "link") == "website-help-center";
        return c.send(302, "Found", textHtml, {},
                      {std::string("Location: ") + (help ? "/client/help.html" : "/")});
    }
    if (p == "/")
        return c.send(200, "OK", textHtml, indexPage());
    return c.send(404, "Not Found", textPlain, "Not found\n");
}

bool Service::control(HttpConnection& c, const HttpRequest& r) {
    const Form query = parseForm(r.query);
    std::lock_guard lock(m_mutex);
    for (const auto& [k, v] : query) {
        const long long n = std::atoll(v.c_str());
        if (k == "reset")
            m_faults = Faults();
        else if (k == "refuse")
            m_faults.refuseConnections = int(n);
        else if (k == "drop-after")
            m_faults.dropAfter = n;
        else if (k == "incomplete-at")
            m_faults.incompleteAt = n;
        else if (k == "upload-error")
            m_faults.uploadError = int(n);
        else if (k == "upload-error-count")
            m_faults.uploadErrorCount = int(n);
        else if (k == "offset-error")
            m_faults.offsetError = int(n);
        else if (k == "offset-error-count")
            m_faults.offsetErrorCount = int(n);
        else if (k == "imageid-error-count")
            m_faults.imageIdErrorCount = int(n);
        else if (k == "unknown-id-count")
            m_faults.unknownIdCount = int(n);
        else if (k == "throttle")
            m_faults.throttle = n;
    }
    int completed = 0;
    for (const auto& [id, image] : m_images)
        completed += image.complete;
    return c.send(200, "OK", textPlain,
                  "uploads=" + std::to_string(m_uploadRequests) +
                      "\nimages=" + std::to_string(m_images.size()) +
                      "\ncompleted=" + std::to_string(completed) + "\n");
}

bool Service::imageId(HttpConnection& c, const HttpRequest& r) {
    std::string body;
    if (!c.readBody(body))
        return false;
    std::lock_guard lock(m_mutex);
    if (m_faults.imageIdErrorCount > 0) {
        --m_faults.imageIdErrorCount;
        return c.send(200, "OK", textPlain, "ErrCode=3\r\nErrMsg=Service busy\r\n");
    }
    char id[32];
    std::snprintf(id, sizeof id, "K%06d", m_nextImage++);
    m_images[id] = Image();
    return c.send(200, "OK", textPlain,
                  std::string("ImageID=") + id + "\r\nServer=" + r.header("host") + "\r\n");
}

bool Service::imageOffset(HttpConnection& c, const HttpRequest&) {
    std::string body;
    if (!c.readBody(body))
        return false;
    const std::string id = value(parseForm(body), "ImageID");
    std::lock_guard lock(m_mutex);
    if (m_faults.unknownIdCount > 0) {
        --m_faults.unknownIdCount;
        return c.send(200, "OK", textPlain, "Offset=0\r\nErrCode=6\r\nErrMsg=Unknown ImageID\r\n");
    }
    if (m_faults.offsetErrorCount > 0) {
        --m_faults.offsetErrorCount;
        return c.send(200, "OK", textPlain,
                      "ErrCode=" + std::to_string(m_faults.offsetError) +
                          "\r\nErrMsg=Injected\r\n");
    }
    const auto it = m_images.find(id);
    if (it == m_images.end())
        return c.send(200, "OK", textPlain, "Offset=0\r\nErrCode=6\r\nErrMsg=Unknown ImageID\r\n");
    const std::string offset = "Offset=" + std::to_string(it->second.stored) + "\r\n";
    if (it->second.complete)
        return c.send(200, "OK", textPlain, offset + "ErrCode=14\r\nErrMsg=Complete\r\n");
    return c.send(200, "OK", textPlain, offset);
}

bool Service::upload(HttpConnection& c, const HttpRequest& r) {
    Faults faults;
    {
        std::lock_guard lock(m_mutex);
        ++m_uploadRequests;
        faults = m_faults;
        m_faults.dropAfter = -1;
        m_faults.incompleteAt = -1;
        if (m_faults.uploadErrorCount > 0)
            --m_faults.uploadErrorCount;
        else
            faults.uploadError = 0;
    }
    c.setThrottle(faults.throttle);
    const std::string type = r.header("content-type");
    const size_t b = type.find("boundary=");
    if (b == std::string::npos)
        return c.send(400, "Bad Request", textPlain, "Status=Error\r\nErrCode=3\r\n");
    std::string boundary = type.substr(b + 9);
    if (!boundary.empty() && boundary.front() == '"')
        boundary = boundary.substr(1, boundary.find('"', 1) - 1);
    const std::string delimiter = "\r\n--" + boundary;

    std::string skipped;
    if (!readUntil(c, "--" + boundary, skipped))
        return false;

    Form fields;
    std::string reply;
    long long offset = 0;
    long long written = 0;
    std::string id;
    std::string fileName;
    int fd = -1;
    for (;;) {
        std::string after;
        const char* d = nullptr;
        while (c.peek(&d) < 2)
            if (!c.fillMore())
                return false;
        if (d[0] == '-' && d[1] == '-')
            break;
        std::string headers;
        if (!readUntil(c, "\r\n\r\n", headers))
            return false;
        const std::string name = partName(headers, "name");
        if (name != "Image.Data") {
            std::string v;
            if (!readUntil(c, delimiter, v))
                return false;
            fields.emplace_back(name, v);
            continue;
        }

        // The picture: straight from the receive buffer to the file.
        id = value(fields, "ImageID");
        offset = std::atoll(value(fields, "Offset").c_str());
        fileName = partName(headers, "filename");
        {
            std::lock_guard lock(m_mutex);
            Image& image = m_images[id];
            if (id.empty())
                reply = "Status=Error\r\nErrCode=3\r\nErrMsg=No ImageID\r\n";
            else if (image.complete)
                reply = "Status=Error\r\nErrCode=14\r\nErrMsg=Complete\r\n";
            else if (offset > image.stored)
                reply = "Status=Error\r\nErrCode=5\r\nErrMsg=Offset beyond stored data\r\n";
            else if (faults.uploadError)
                reply = "Status=Error\r\nErrCode=" + std::to_string(faults.uploadError) +
                        "\r\nErrMsg=Injected\r\n";
            if (offset == 0 && !id.empty())
                image.fileName = fileName;
        }
        if (reply.empty()) {
            fd = ::open(partialPath(id).c_str(), O_WRONLY | O_CREAT, 0644);
            if (fd < 0 || ::ftruncate(fd, offset) != 0 || ::lseek(fd, offset, SEEK_SET) < 0)
                reply = "Status=Error\r\nErrCode=5\r\nErrMsg=Cannot store\r\n";
        }
        bool checkedJpeg = offset > 0;
        for (;;) {
            const size_t n = c.peek(&d);
            if (n == 0) {
                // The connection ended inside the picture: keep what arrived for a resume.
                if (fd >= 0) {
                    ::close(fd);
                    std::lock_guard lock(m_mutex);
                    m_images[id].stored = offset + written;
                }
                return false;
            }
            if (!checkedJpeg && n < 2 && c.fillMore())
                continue;
            if (!checkedJpeg) {
                checkedJpeg = true;
                if (reply.empty() && !(uint8_t(d[0]) == 0xFF && uint8_t(d[1]) == 0xD8))
                    reply = "Status=Error\r\nErrCode=4\r\nErrMsg=Not a JPEG picture\r\n";
            }
            const void* hit = memmem(d, n, delimiter.data(), delimiter.size());
            size_t take = hit ? size_t(static_cast<const char*>(hit) - d)
                              : (n >= delimiter.size() ? n - delimiter.size() + 1 : 0);
            size_t store = reply.empty() && fd >= 0 ? take : 0;
            if (faults.incompleteAt >= 0)
                store = size_t(
                    std::clamp<long long>(faults.incompleteAt - written, 0, (long long)store));
            bool drop = false;
            if (faults.dropAfter >= 0 && written + (long long)store >= faults.dropAfter) {
                store = size_t(faults.dropAfter - written);
                drop = true;
            }
            for (size_t done = 0; done < store;) {
                const ssize_t w = ::write(fd, d + done, store - done);
                if (w <= 0) {
                    reply = "Status=Error\r\nErrCode=5\r\nErrMsg=Cannot store\r\n";
                    break;
                }
                done += size_t(w);
            }
            written += (long long)store;
            if (drop) {
                ::close(fd);
                {
                    std::lock_guard lock(m_mutex);
                    m_images[id].stored = offset + written;
                }
                c.drop();
                return false;
            }
            if (hit) {
                c.consume(take + 2); // leaves "--boundary" for the next part
                break;
            }
            c.consume(take);
            if (take == 0 && !c.fillMore())
                return false;
        }
        const std::string rest = "--" + boundary;
        std::string none;
        if (!readUntil(c, rest, none))
            return false;
    }
    if (fd >= 0)
        ::close(fd);
    if (!c.discardBody())
        return false;

    if (reply.empty()) {
        const long long raw = std::atoll(value(fields, "Image.Raw.Size").c_str());
        std::lock_guard lock(m_mutex);
        Image& image = m_images[id];
        image.stored = offset + written;
        image.rawSize = raw;
        if (image.stored == raw) {
            image.complete = true;
            std::filesystem::rename(partialPath(id), m_options.store + '/' + id + ".jpg");
            record("manifest.txt", id + '\t' + image.fileName + '\t' + std::to_string(raw));
            reply = "Status=OK\r\nImageID=" + id + "\r\n";
        } else if (image.stored < raw) {
            reply = "Status=Incomplete\r\nErrCode=0\r\nErrMsg=Incomplete upload\r\n";
        } else {
            image.stored = 0;
            reply = "Status=Error\r\nErrCode=5\r\nErrMsg=More data than the picture's size\r\n";
        }
    }
    return c.send(200, "OK", textPlain, reply);
}

bool Service::startPage(HttpConnection& c, const HttpRequest& r) {
    std::string body;
    if (!c.readBody(body))
        return false;
    const Form query = parseForm(r.query);
    const Form form = parseForm(body);
    Session session;
    session.mode = value(query, "path");
    for (const auto& [k, v] : form) {
        if (endsWith(k, "-id")) {
            const std::string prefix = k.substr(0, k.size() - 3);
            session.images.emplace_back(v, prefix);
        }
        session.fields[k] = v;
    }
    int number;
    {
        std::lock_guard lock(m_mutex);
        number = m_nextSession++;
        m_sessions[number] = session;
    }
    record("starts.txt", body);
    return c.send(200, "OK", textHtml, questionPage(number, session.mode, session.images.size()),
                  {"Set-Cookie: KSESSION=" + std::to_string(number) + "; Path=/"});
}

bool Service::finalizePage(HttpConnection& c, const HttpRequest& r) {
    const int number = std::atoi(value(parseForm(r.query), "session").c_str());
    Session session;
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_sessions.find(number);
        if (it == m_sessions.end())
            return c.send(404, "Not Found", textHtml, indexPage());
        session = it->second;
    }
    std::vector<PagePicture> pictures;
    for (const auto& [id, prefix] : session.images)
        pictures.push_back(
            {id, session.fields[prefix + "-title"], session.fields[prefix + "-subject"]});
    return c.send(200, "OK", textHtml, finalizationPage(number, session.mode, pictures));
}

bool Service::completion(HttpConnection& c, const HttpRequest&) {
    std::string body;
    if (!c.readBody(body))
        return false;
    record("completions.txt", body);
    const Form form = parseForm(body);
    return c.send(200, "OK", textHtml,
                  completionPage(std::atoi(value(form, "order").c_str()), value(form, "numimages"),
                                 value(form, "numsuccessful"), value(form, "numfailed")));
}

bool Service::updateCheck(HttpConnection& c, const HttpRequest& r) {
    // /client/updatecheck/<version>/<partner>/<subpartner>/<campaign>
    const std::string rest = r.path.substr(std::strlen("/client/updatecheck/"));
    const std::string version = rest.substr(0, rest.find('/'));
    return c.send(200, "OK", "text/xml",
                  updateCheckDocument(version, m_options.latestVersion, r.header("host")));
}

} // namespace korvex::service
