#include "AppFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace korvex {

QString withSlash(const QString& folder) {
    QString f = folder.trimmed();
    while (f.size() > 1 && f.endsWith(u'/'))
        f.chop(1);
    return f.endsWith(u'/') ? f : f + u'/';
}

namespace {

bool usableFolder(const QString& path) {
    return QDir().mkpath(path) && QFileInfo(path).isWritable();
}

} // namespace

AppFolders::AppFolders(const QString& executableFolder, const QString& company,
                       const QString& product)
    : m_executable(withSlash(executableFolder)) {
    // Installed: <prefix>/bin/korvex with its data in <prefix>/share/corvanta-express; the build
    // tree mirrors that layout, so both find the artwork the same way.
    const QString shared =
        QDir::cleanPath(m_executable + QStringLiteral("../share/corvanta-express"));
    m_installation = QFileInfo(shared).isDir() ? withSlash(shared) : m_executable;

    const QString sub = QStringLiteral("/%1/%2").arg(company, product);
    const QString dataBase = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString cacheBase =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    const QString temp = withSlash(QDir::tempPath());

    // A data folder that cannot be written falls back to the temporary folder, as the program
    // must still run from a read-only home.
    m_data = !dataBase.isEmpty() && usableFolder(dataBase + sub) ? withSlash(dataBase + sub)
                                                                 : temp + company + u'/';
    const QString cache = cacheBase.isEmpty() ? m_data + QStringLiteral("Cache")
                                              : cacheBase + sub + QStringLiteral("/Cache");
    m_cache = usableFolder(cache) ? withSlash(cache) : temp + QStringLiteral("Cache/");
    m_sslists = withSlash(m_data + QStringLiteral("SSLists"));
    QDir().mkpath(m_data);
    QDir().mkpath(m_sslists);
}

QString AppFolders::GetFolder(FolderKind kind) const {
    switch (kind) {
    case FolderKind::Executable:
        return m_executable;
    case FolderKind::Installation:
        return m_installation;
    case FolderKind::Data:
        return m_data;
    case FolderKind::Cache:
        return m_cache;
    case FolderKind::SSLists:
        return m_sslists;
    case FolderKind::Temporary:
        return withSlash(QDir::tempPath());
    case FolderKind::Current:
        return withSlash(QDir::currentPath());
    case FolderKind::Pictures: {
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        return pictures.isEmpty() || !QFileInfo(pictures).isDir() ? QStringLiteral("/")
                                                                  : withSlash(pictures);
    }
    }
    return {};
}

} // namespace korvex
