#include "TransferHttp.h"

#include <QUrl>

namespace korvex {

QByteArray FormBody(const QList<FormField>& fields) {
    QByteArray body;
    for (const FormField& f : fields) {
        if (!body.isEmpty())
            body += '&';
        body += f.name.toUtf8() + '=' + QUrl::toPercentEncoding(f.value);
    }
    return body;
}

} // namespace korvex
