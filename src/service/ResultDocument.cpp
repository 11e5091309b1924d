#include "ResultDocument.h"

#include "support/DebugLog.h"

#include <algorithm>
#include <cstring>
#include <libxml/xmlreader.h>
#include <memory>
#include <stdexcept>
#include <vector>

namespace korvex {

namespace {

struct ReaderDeleter {
    void operator()(xmlTextReaderPtr r) const { xmlFreeTextReader(r); }
};

QString fromXml(const xmlChar* text) {
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

struct SmallPieces {
    QByteArray text;
    qsizetype at;

    static int read(void* context, char* buffer, int length) {
        auto* self = static_cast<SmallPieces*>(context);
        const int n =
            int(std::min<qsizetype>({qsizetype(length), 64, self->text.size() - self->at}));
        std::memcpy(buffer, self->text.constData() + self->at, size_t(n));
        self->at += n;
        return n;
    }
};

struct Attribute {
    QString name;
    QString value;
};

QList<Attribute> attributesOf(xmlTextReaderPtr reader) {
    QList<Attribute> attributes;
    if (xmlTextReaderMoveToFirstAttribute(reader) == 1) {
        do {
            attributes.append({fromXml(xmlTextReaderConstName(reader)),
                               fromXml(xmlTextReaderConstValue(reader))});
        } while (xmlTextReaderMoveToNextAttribute(reader) == 1);
        xmlTextReaderMoveToElement(reader);
    }
    return attributes;
}

// An element the document must give an attribute: reading on without it is the service's fault.
const Attribute& firstOf(const QList<Attribute>& attributes) {
    if (attributes.isEmpty())
        throw std::out_of_range("List index out of bounds (0)");
    return attributes.first();
}

bool is(const QString& name, const char* wanted) {
    return name.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0;
}

} // namespace

bool ReadResultDocument(const QStringList& lines, QString& authenticationID,
                        TResultDocument& result, QList<TUploadFileRecord>& list,
                        const std::function<QString(const QString&)>& pathForID, QString& error) {
    authenticationID.clear();
    result.completionAddress.clear();
    result.completionParameters.clear();

    // Fed in small pieces: the reader hands out the nodes of each piece before it parses the
    // next, so a fault late in the document still leaves what came before it.
    SmallPieces input{lines.join(u'\n').toUtf8(), 0};
    std::unique_ptr<xmlTextReader, ReaderDeleter> reader(
        xmlReaderForIO(SmallPieces::read, nullptr, &input, nullptr, "UTF-8",
                       XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!reader)
        return true;

    // Image context per nesting level: a level's flag is handed down to its children and changed
    // by the start tags met on that level.
    std::vector<bool> imageContext{false};
    qsizetype currentIndex = -1; // the picture being read, an index because the list grows
    bool terminationSeen = false;
    bool ticketPending = false, subjectPending = false, titlePending = false;

    try {
        while (xmlTextReaderRead(reader.get()) == 1) {
            xmlTextReaderPtr r = reader.get();
            const int type = xmlTextReaderNodeType(r);
            const auto depth = size_t(xmlTextReaderDepth(r));
            if (imageContext.size() <= depth + 1)
                imageContext.resize(depth + 2, false);

            TUploadFileRecord* current = currentIndex >= 0 ? &list[currentIndex] : nullptr;
            if (type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA) {
                const QString value = fromXml(xmlTextReaderConstValue(r)).simplified();
                if (imageContext[depth] && current && subjectPending)
                    current->subject = value;
                if (imageContext[depth] && current && titlePending)
                    current->title = value;
                if (ticketPending)
                    authenticationID = value;
                ticketPending = subjectPending = titlePending = false;
                continue;
            }
            if (type != XML_READER_TYPE_ELEMENT)
                continue;

            const QString name = fromXml(xmlTextReaderConstName(r));
            const bool empty = xmlTextReaderIsEmptyElement(r) == 1;
            const QList<Attribute> attributes = attributesOf(r);
            const bool inImage = imageContext[depth];

            if (is(name, "ATTRIBUTE") && attributes.size() == 2) {
                const QString pair = attributes[0].value + u'=' + attributes[1].value;
                if (terminationSeen) {
                    result.completionParameters += u'&' + pair;
                } else if (current) {
                    if (!current->attributes.isEmpty())
                        current->attributes += u'#';
                    current->attributes += pair;
                }
            }
            if (is(name, "ALBUM") && inImage && current) {
                const Attribute& id = firstOf(attributes);
                if (is(id.name, "ID"))
                    current->albumID = id.value;
                if (attributes.size() > 1 && is(attributes[1].name, "NAME"))
                    current->albumName = attributes[1].value;
            }
            if (is(name, "ON-TERMINATION")) {
                terminationSeen = true;
                const Attribute& href = firstOf(attributes);
                if (is(href.name, "HREF"))
                    result.completionAddress = href.value;
            }
            if (is(name, "progress-window")) {
                const Attribute& src = firstOf(attributes);
                if (is(src.name, "SRC")) {
                    result.progressAddress = src.value;
                    DebugLog(QStringLiteral("tabStep3Show"),
                             QStringLiteral("ProgressURL set to: ") + src.value);
                }
            }
            if (empty)
                continue;

            if (is(name, "TICKET")) {
                ticketPending = true;
            } else if (is(name, "SUBJECT")) {
                subjectPending = true;
            } else if (is(name, "TITLE")) {
                titlePending = true;
            } else if (is(name, "IMAGE")) {
                const Attribute& id = firstOf(attributes);
                if (is(id.name, "ID")) {
                    TUploadFileRecord record;
                    record.ID = id.value;
                    record.path = pathForID(id.value);
                    list.append(record);
                    currentIndex = list.size() - 1;
                }
                imageContext[depth] = true;
            } else {
                imageContext[depth] = false;
            }
            imageContext[depth + 1] = imageContext[depth];
        }
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
        return false;
    }
    return true;
}

} // namespace korvex
