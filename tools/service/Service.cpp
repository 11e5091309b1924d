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
        else if (k == "drop-count")
            m_faults.dropCount = int(n);
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
    for (const auto& [id, img] : m_images)
        completed += img->complete ? 1 : 0; // a racy read is fine for a test counter
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
    m_images[id] = std::make_shared<Image>();
    return c.send(200, "OK", textPlain,
                  std::string("ImageID=") + id + "\r\nServer=" + r.header("host") + "\r\n");
}

bool Service::imageOffset(HttpConnection& c, const HttpRequest&) {
    std::string body;
    if (!c.readBody(body))
        return false;
    const std::string id = value(parseForm(body), "ImageID");
    const std::string unknown = "Offset=0\r\nErrCode=6\r\nErrMsg=Unknown ImageID\r\n";
    std::shared_ptr<Image> img;
    {
        std::lock_guard lock(m_mutex);
        if (m_faults.unknownIdCount > 0) {
            --m_faults.unknownIdCount;
            return c.send(200, "OK", textPlain, unknown);
        }
        if (m_faults.offsetErrorCount > 0) {
            --m_faults.offsetErrorCount;
            return c.send(200, "OK", textPlain,
                          "ErrCode=" + std::to_string(m_faults.offsetError) +
                              "\r\nErrMsg=Injected\r\n");
        }
        const auto it = m_images.find(id);
        if (it == m_images.end())
            return c.send(200, "OK", textPlain, unknown);
        img = it->second;
    }
    std::string reply;
    {
        std::lock_guard lock(img->write);
        reply = "Offset=" + std::to_string(img->stored) + "\r\n";
        if (img->complete)
            reply += "ErrCode=14\r\nErrMsg=Complete\r\n";
    }
    return c.send(200, "OK", textPlain, reply);
}

std::shared_ptr<Service::Image> Service::image(const std::string& id) {
    std::lock_guard lock(m_mutex);
    std::shared_ptr<Image>& slot = m_images[id];
    if (!slot)
        slot = std::make_shared<Image>();
    return slot;
}

bool Service::upload(HttpConnection& c, const HttpRequest& r) {
    Faults faults;
    {
        std::lock_guard lock(m_mutex);
        ++m_uploadRequests;
        faults = m_faults;
        if (--m_faults.dropCount <= 0) {
            m_faults.dropAfter = -1;
            m_faults.dropCount = 1;
        }
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
    bool pictureSeen = false;
    for (;;) {
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
        if (name == "Image.Data" && !pictureSeen) {
            pictureSeen = true;
            if (faults.uploadError)
                reply = "Status=Error\r\nErrCode=" + std::to_string(faults.uploadError) +
                        "\r\nErrMsg=Injected\r\n";
            if (!receivePicture(c, delimiter, faults, value(fields, "ImageID"),
                                std::atoll(value(fields, "Offset").c_str()),
                                partName(headers, "filename"),
                                std::atoll(value(fields, "Image.Raw.Size").c_str()), reply))
                return false;
            if (!readUntil(c, "--" + boundary, skipped))
                return false;
            continue;
        }
        std::string v;
        if (!readUntil(c, delimiter, v))
            return false;
        fields.emplace_back(name, v);
    }
    if (!c.discardBody())
        return false;
    if (!pictureSeen)
        reply = "Status=Error\r\nErrCode=3\r\nErrMsg=No picture\r\n";
    return c.send(200, "OK", textPlain, reply);
}

bool Service::receivePicture(HttpConnection& c, const std::string& delimiter, const Faults& faults,
                             const std::string& id, long long offset, const std::string& fileName,
                             long long rawSize, std::string& reply) {
    const auto fail = [&reply](const char* text) {
        if (reply.empty())
            reply = text;
    };
    std::shared_ptr<Image> img;
    int generation = 0;
    int fd = -1;
    if (id.empty()) {
        fail("Status=Error\r\nErrCode=3\r\nErrMsg=No ImageID\r\n");
    } else {
        img = image(id);
        std::lock_guard lock(img->write);
        if (img->complete)
            fail("Status=Error\r\nErrCode=14\r\nErrMsg=Complete\r\n");
        else if (offset > img->stored)
            fail("Status=Error\r\nErrCode=5\r\nErrMsg=Offset beyond stored data\r\n");
        if (reply.empty()) {
            generation = ++img->generation;
            fd = ::open(partialPath(id).c_str(), O_WRONLY | O_CREAT, 0644);
            if (fd < 0 || ::ftruncate(fd, offset) != 0 || ::lseek(fd, offset, SEEK_SET) < 0)
                fail("Status=Error\r\nErrCode=5\r\nErrMsg=Cannot store\r\n");
            img->stored = offset;
            if (offset == 0)
                img->fileName = fileName;
        }
    }
    struct Closer {
        int fd;
        ~Closer() {
            if (fd >= 0)
                ::close(fd);
        }
    } closer{fd};

    long long written = 0;
    bool checkedJpeg = offset > 0;
    for (;;) {
        const char* d = nullptr;
        const size_t n = c.peek(&d);
        if (n == 0)
            return false; // gone inside the picture: what arrived stays for a resume
        if (!checkedJpeg && n < 2 && c.fillMore())
            continue;
        if (!checkedJpeg) {
            checkedJpeg = true;
            if (!(uint8_t(d[0]) == 0xFF && uint8_t(d[1]) == 0xD8))
                fail("Status=Error\r\nErrCode=4\r\nErrMsg=Not a JPEG picture\r\n");
        }
        const void* hit = memmem(d, n, delimiter.data(), delimiter.size());
        const size_t take = hit ? size_t(static_cast<const char*>(hit) - d)
                                : (n >= delimiter.size() ? n - delimiter.size() + 1 : 0);
        long long keep = reply.empty() ? (long long)take : 0;
        if (faults.incompleteAt >= 0)
            keep = std::clamp(faults.incompleteAt - written, 0LL, keep);
        bool drop = false;
        if (faults.dropAfter >= 0 && written + keep >= faults.dropAfter) {
            keep = std::max(0LL, faults.dropAfter - written);
            drop = true;
        }
        if (keep > 0) {
            // Straight from the receive buffer to the file, under the image's lock.
            std::lock_guard lock(img->write);
            if (img->generation != generation) {
                c.drop(); // a newer upload took over
                return false;
            }
            for (long long done = 0; done < keep;) {
                const ssize_t w = ::write(fd, d + done, size_t(keep - done));
                if (w <= 0) {
                    fail("Status=Error\r\nErrCode=5\r\nErrMsg=Cannot store\r\n");
                    break;
                }
                done += w;
                written += w;
            }
            img->stored = offset + written;
        }
        if (drop) {
            c.drop();
            return false;
        }
        if (hit) {
            c.consume(take + 2); // leaves "--boundary" for the caller
            break;
        }
        c.consume(take);
        if (take == 0 && !c.fillMore())
            return false;
    }
    if (!reply.empty())
        return true;

    std::lock_guard lock(img->write);
    if (img->generation != generation)
        return true;
    if (img->stored == rawSize) {
        img->complete = true;
        std::filesystem::rename(partialPath(id), m_options.store + '/' + id + ".jpg");
        {
            std::lock_guard recordLock(m_mutex);
            record("manifest.txt", id + '\t' + img->fileName + '\t' + std::to_string(rawSize));
        }
        reply = "Status=OK\r\nImageID=" + id + "\r\n";
    } else if (img->stored < rawSize) {
        reply = "Status=Incomplete\r\nErrCode=0\r\nErrMsg=Incomplete upload\r\n";
    } else {
        img->stored = 0;
        reply = "Status=Error\r\nErrCode=5\r\nErrMsg=More data than the picture's size\r\n";
    }
    return true;
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
