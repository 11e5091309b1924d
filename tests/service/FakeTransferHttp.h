#pragma once

#include "service/TransferHttp.h"

#include <QFile>
#include <QMap>
#include <QUrl>
#include <deque>
#include <functional>

namespace korvex::test {

// Scripted replies per request path, for the faults a real server cannot give on demand in the
// middle of a state machine. Every request is recorded with its fields and the bytes of its file.
class FakeTransferHttp : public TransferHttp {
public:
    struct Step {
        QByteArray body;
        bool transportFailure = false;
        std::function<void()> sideEffect; // runs while the request is "on the wire"
    };
    struct Request {
        QString path;
        QList<FormField> fields;
        QByteArray fileData;

        QString field(const QString& name) const {
            for (const FormField& f : fields)
                if (f.name == name)
                    return f.value;
            return {};
        }
        int count(const QString& name) const {
            int n = 0;
            for (const FormField& f : fields)
                n += f.name == name;
            return n;
        }
    };

    void script(const QString& path, std::initializer_list<Step> steps) {
        for (const Step& s : steps)
            m_script[path].push_back(s);
    }
    // The answer once a path's script is used up.
    void otherwise(const QString& path, Step step) { m_default[path] = std::move(step); }

    Reply postForm(const QString& url, const QList<FormField>& fields) override {
        return answer(url, fields, {});
    }
    Reply postMultipart(const QString& url, const QList<FormField>& fields,
                        const FilePart& file) override {
        QFile f(file.path);
        if (!f.open(QIODevice::ReadOnly))
            throw TransferFileError("Cannot open file");
        return answer(url, fields, f.readAll());
    }
    void abort() override {}
    void setObserver(TransferObserver*) override {}

    QList<Request> requests;
    QStringList paths() const {
        QStringList out;
        for (const Request& r : requests)
            out << r.path;
        return out;
    }
    int countOf(const QString& path) const { return int(paths().count(path)); }

private:
    Reply answer(const QString& url, const QList<FormField>& fields, const QByteArray& data) {
        const QString path = QUrl(url).path().mid(1);
        requests.append({path, fields, data});
        Step step;
        auto& queue = m_script[path];
        if (!queue.empty()) {
            step = queue.front();
            queue.pop_front();
        } else {
            step = m_default.value(path);
        }
        if (step.sideEffect)
            step.sideEffect();
        if (step.transportFailure)
            return {false, {}, QStringLiteral("Connection closed")};
        return {true, step.body, {}};
    }

    QMap<QString, std::deque<Step>> m_script;
    QMap<QString, Step> m_default;
};

} // namespace korvex::test
