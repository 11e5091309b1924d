#include "ShellRoutines.h"

#include "Prompter.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace korvex {

namespace {

// "https://…", "mailto:…" and the like; a path is never mistaken for one (a scheme has two or
// more characters and no slash).
bool looksLikeUrl(const QString& text) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(text).hasMatch();
}

QUrl urlFor(const QString& file) {
    if (looksLikeUrl(file))
        return QUrl(file);
    return QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
}

} // namespace

bool ShellLaunch(ShellVerb verb, const QString& file, const QString& parameters) {
    const QString target = file.isEmpty() ? parameters : file;
    const QString arguments = file.isEmpty() ? QString() : parameters;
    if (target.trimmed().isEmpty())
        return false;
    const QFileInfo info(target);
    switch (verb) {
    case ShellVerb::Open:
        if (!looksLikeUrl(target) && info.isFile() && info.isExecutable())
            return QProcess::startDetached(info.absoluteFilePath(),
                                           QProcess::splitCommand(arguments), info.absolutePath());
        return QDesktopServices::openUrl(urlFor(target));
    case ShellVerb::Print:
        // CUPS prints documents and pictures of the common types directly.
        return info.isFile() &&
               QProcess::startDetached(QStringLiteral("lp"), {info.absoluteFilePath()});
    case ShellVerb::Explore:
        return QDesktopServices::openUrl(urlFor(info.isFile() ? info.absolutePath() : target));
    }
    return false;
}

bool ShellOpen(const QString& file, const QString& parameters) {
    return ShellLaunch(ShellVerb::Open, file, parameters);
}

bool OpenInBrowser(const QString& address, Prompter* prompter) {
    const bool opened = QDesktopServices::openUrl(urlFor(address));
    if (!opened && prompter)
        prompter->message(MessageKind::Warning,
                          QStringLiteral("Error encountered launching your web browser"));
    return opened;
}

QString GetShellFolder(const QString& name) {
    using SP = QStandardPaths;
    static const QHash<QString, SP::StandardLocation> locations = {
        {QStringLiteral("APPDATA"), SP::GenericDataLocation},
        {QStringLiteral("LOCAL APPDATA"), SP::GenericDataLocation},
        {QStringLiteral("MY PICTURES"), SP::PicturesLocation},
        {QStringLiteral("MY MUSIC"), SP::MusicLocation},
        {QStringLiteral("MY VIDEO"), SP::MoviesLocation},
        {QStringLiteral("PERSONAL"), SP::DocumentsLocation},
        {QStringLiteral("DESKTOP"), SP::DesktopLocation},
        {QStringLiteral("TEMPLATES"), SP::TemplatesLocation},
        {QStringLiteral("FONTS"), SP::FontsLocation},
        {QStringLiteral("CACHE"), SP::GenericCacheLocation},
    };
    const QString key = name.trimmed().toUpper();
    if (key == u"STARTUP")
        return SP::writableLocation(SP::GenericConfigLocation) + QStringLiteral("/autostart");
    const auto it = locations.constFind(key);
    return it == locations.constEnd() ? QString() : SP::writableLocation(*it);
}

} // namespace korvex
