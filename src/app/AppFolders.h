#pragma once

#include <QString>

namespace korvex {

// The program's folders, each returned with a trailing "/".
enum class FolderKind {
    Executable,   // the running executable's folder
    Installation, // read-only program data: artwork, help, guide pages
    Data,         // per-user data: recent folders, descriptions
    Cache,        // thumbnails and working copies
    SSLists,      // screen-saver collections
    Temporary,
    Current,
    Pictures, // the user's picture folder
};

class AppFolders {
public:
    // Computes the folders once (InitialCode); creates the per-user ones when missing.
    AppFolders(const QString& executableFolder, const QString& company, const QString& product);

    QString GetFolder(FolderKind kind) const;

private:
    QString m_executable;
    QString m_installation;
    QString m_data;
    QString m_cache;
    QString m_sslists;
};

// A folder path with exactly one trailing "/".
QString withSlash(const QString& folder);

} // namespace korvex
