#pragma once

#include "ServiceRecords.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace korvex {

// What a finalization page's result document carries besides the pictures.
struct TResultDocument {
    QString completionAddress;
    QString completionParameters; // "&name=value" pairs for the completion post
    QString progressAddress;
};

// Reads the result block cut out by ProcessFinalizationPage. The ticket goes to authenticationID;
// each image element appends one record to list, its path looked up by pathForID. A picture,
// termination or progress element without the attribute it must carry stops the reading: the
// records read so far stay, error receives the text and the result is false. A document the XML
// reader cannot follow simply yields what was read up to that point.
bool ReadResultDocument(const QStringList& lines, QString& authenticationID,
                        TResultDocument& result, QList<TUploadFileRecord>& list,
                        const std::function<QString(const QString&)>& pathForID, QString& error);

} // namespace korvex
