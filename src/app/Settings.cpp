#include "Settings.h"

#include "platform/RegistryKey.h"
#include "support/DebugLog.h"

#include <QDir>
#include <QFileInfo>
#include <limits>
#include <optional>

namespace korvex {

namespace {

bool isTrueText(const QString& s) {
    return s.compare(u"True", Qt::CaseInsensitive) == 0;
}
bool isFalseText(const QString& s) {
    return s.compare(u"False", Qt::CaseInsensitive) == 0;
}
QString boolText(bool b) {
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

// Reads one value of each kind with its default, as the key store's readers always did.
class Reader {
public:
    explicit Reader(const RegistryKey& key) : m_key(key) {}

    void text(const char* name, QString& out) const {
        const QString v = raw(name);
        if (!v.isEmpty())
            out = v;
    }
    template <typename Int> void integer(const char* name, Int& out) const {
        bool ok = false;
        const qlonglong v = raw(name).trimmed().toLongLong(&ok);
        // Values kept in a narrower field wrap as they always have; only non-numbers fall back.
        if (ok)
            out = static_cast<Int>(v);
    }
    void flag(const char* name, bool& out) const {
        const QString v = raw(name);
        if (isTrueText(v))
            out = true;
        else if (isFalseText(v))
            out = false;
    }
    std::optional<int> strictInteger(const char* name) const {
        bool ok = false;
        const int v = raw(name).trimmed().toInt(&ok);
        return ok ? std::optional<int>(v) : std::nullopt;
    }
    QString raw(const char* name) const {
        return m_key.value(QString::fromLatin1(name)).value_or(QString());
    }

private:
    const RegistryKey& m_key;
};

void readPlacement(const Reader& r, Settings& s, QSize screen) {
    const auto height = r.strictInteger("SPHeight");
    const auto left = r.strictInteger("SPLeft");
    const auto width = r.strictInteger("SPWidth");
    bool maximised = false;
    r.flag("SPMax", maximised);
    const auto top = r.strictInteger("SPTop");
    if (!height || !left || !width || !top) {
        const bool wide = screen.width() > 800;
        s.SPHeight = wide ? 690 : 450;
        s.SPLeft = wide ? 75 : 5;
        s.SPTop = wide ? 35 : 5;
        s.SPWidth = wide ? 900 : 630;
        s.SPMax = !wide;
        return;
    }
    s.SPHeight = (*height < 100 || *height > screen.height()) ? 460 : *height;
    s.SPLeft = (*left < 0 || *left > screen.width() - 100) ? 20 : *left;
    s.SPWidth = (*width < 150 || *width > screen.width()) ? 624 : *width;
    s.SPTop = (*top < 0 || *top > screen.height() - 100) ? 14 : *top;
    s.SPMax = maximised;
}

} // namespace

QStringList SettingsStore::Setup(Settings& s, const SettingsContext& context) {
    QStringList warnings;
    RegistryKey key(m_names.keyPath());
    const RegistryKey::Status status = key.open(true);
    if (status == RegistryKey::Status::Unreadable || status == RegistryKey::Status::Corrupt) {
        DebugLog(QStringLiteral("Setup"), QStringLiteral("Error: ") + key.errorString());
        warnings << QStringLiteral("Error encountered opening your registry file.");
        s.StartUpDirectory = context.picturesFolder;
        readPlacement(Reader(RegistryKey(QString())), s, context.screen);
        return warnings;
    }
    const Reader r(key);
    r.text("AppVersion", s.AppVersion);
    s.firstRun = s.AppVersion.isEmpty();
    r.text("DefaultCameraSource", s.DefaultCameraSource);
    r.text("LastMoveFolder", s.LastMoveFolder);
    r.text("StartUpDirectory", s.StartUpDirectory);
    r.text("DefaultGetPixFolder", s.DefaultGetPixFolder);
    if (s.firstRun)
        s.DefaultGetPixFolder = QStringLiteral("DESKTOP");
    const QString appName = r.raw("ApplicationName");
    if (!appName.isEmpty())
        m_names.product = appName;
    r.integer("MinCheckDaysInterval", s.MinCheckDaysInterval);
    r.integer("NextCheckDate", s.NextCheckDate);
    r.text("CurrentSSFile", s.CurrentSSFile);
    r.integer("DefaultCropRatio", s.DefaultCropRatio);
    r.integer("MinCropDimension", s.MinCropDimension);
    r.integer("RedEyeSelectionArea", s.RedEyeSelectionArea);
    r.text("UploadServer", s.UploadServer);
    r.text("AppServer", s.AppServer);
    r.text("UpdateURL", s.UpdateURL);
    r.text("SignUpAdd2URL", s.SignUpAdd2URL);
    r.text("OrderAdd2URL", s.OrderAdd2URL);
    r.text("UploadAdd2URL", s.UploadAdd2URL);
    r.text("ShareAdd2URL", s.ShareAdd2URL);
    r.text("PartnerID", s.PartnerID);
    r.text("CampaignID", s.CampaignID);
    r.text("Version", s.Version);
    r.text("UserAgent", s.UserAgent);
    r.text("PartnerSubID", s.PartnerSubID);
    r.text("supportpageAdd2URL", s.supportpageAdd2URL);
    r.text("WelcomeAdd2URL", s.WelcomeAdd2URL);
    r.text("ProxyServer", s.ProxyServer);
    r.integer("ProxyPort", s.ProxyPort);
    r.text("ProxyUsername", s.ProxyUsername);
    r.text("ProxyPassword", s.ProxyPassword);
    r.flag("AuthProxy", s.AuthProxy);
    r.flag("CanPauseUpload", s.CanPauseUpload);
    r.flag("CheckForCards", s.CheckForCards);
    bool debug = false;
    r.flag("DebugMode", debug);
    if (debug) {
        s.DebugMode = true;
        debuglog::enable();
    }
    r.flag("StartUpDirectorySaveLast", s.StartUpDirectorySaveLast);
    r.integer("SlideshowDelayPosition", s.SlideshowDelayPosition);
    r.flag("SlideshowRandom", s.SlideshowRandom);
    r.integer("AspectRatioSetting", s.AspectRatioSetting);
    if (s.AspectRatioSetting < 0 || s.AspectRatioSetting > 4)
        s.AspectRatioSetting = 1;
    r.flag("DeleteToRecycleBin", s.DeleteToRecycleBin);
    r.flag("ShowDlgProgress", s.ShowDlgProgress);
    r.flag("Shrink", s.Shrink);
    r.flag("cancancel", s.cancancel);
    r.flag("HideFileExtensions", s.HideFileExtensions);
    r.flag("EnforceMinimumCropSize", s.EnforceMinimumCropSize);
    r.flag("ConfirmDeleteFile", s.ConfirmDeleteFile);
    r.flag("ShowStartUp", s.ShowStartUp);
    r.flag("AutomaticCameraDownload", s.AutomaticCameraDownload);

    // Camera use is read strictly: a missing or damaged value is repaired at once, since the
    // card monitor reads it from another process.
    const QString camera = r.raw("UseAppforCamera");
    s.cameraMonitoringRemembered = true;
    if (!isTrueText(camera) && !isFalseText(camera)) {
        s.cameraMonitoringRemembered = false;
        if (!key.setValue(QStringLiteral("UseAppforCamera"), QStringLiteral("True")))
            warnings << QStringLiteral("Error encountered loading user settings from "
                                       "registry!.\r\n\r\n") +
                            key.errorString();
    }
    s.UseAppforCamera = true;
    Reader(key).flag("UseAppforCamera", s.UseAppforCamera);

    r.flag("DeleteCameraPhotos", s.DeleteCameraPhotos);
    r.text("PhotoDirectory", s.PhotoDirectory);
    r.integer("FolderNameMethod", s.FolderNameMethod);
    r.integer("FileNameMethod", s.FileNameMethod);
    r.integer("WPanel", s.WPanel);
    r.integer("AlwaysUseJPEGComp", s.AlwaysUseJPEGComp);
    readPlacement(r, s, context.screen);

    if (s.StartUpDirectory.isEmpty() || !QFileInfo(s.StartUpDirectory).isDir())
        s.StartUpDirectory = context.picturesFolder;
    return warnings;
}

QStringList SettingsStore::writereg(const Settings& s, const SettingsContext& context) {
    RegistryKey key(m_names.keyPath());
    const RegistryKey::Status status = key.open(true);
    if (status == RegistryKey::Status::Unreadable)
        return {QStringLiteral("Registry Update Failed, using defaults")};

    QString startUp = s.StartUpDirectory;
    if (s.StartUpDirectorySaveLast && !context.currentFolder.isEmpty())
        startUp = context.currentFolder;

    const auto num = [](auto v) { return QString::number(v); };
    RegistryKey::Values v = {
        {QStringLiteral("MinCheckDaysInterval"), num(s.MinCheckDaysInterval)},
        {QStringLiteral("NextCheckDate"), num(s.NextCheckDate)},
        {QStringLiteral("cancancel"), boolText(s.cancancel)},
        {QStringLiteral("SlideshowDelayPosition"), num(s.SlideshowDelayPosition)},
        {QStringLiteral("SlideshowRandom"), boolText(s.SlideshowRandom)},
        {QStringLiteral("ProxyServer"), s.ProxyServer},
        {QStringLiteral("ProxyPort"), num(s.ProxyPort)},
        {QStringLiteral("ProxyUsername"), s.ProxyUsername},
        {QStringLiteral("ProxyPassword"), s.ProxyPassword},
        {QStringLiteral("AuthProxy"), boolText(s.AuthProxy)},
        {QStringLiteral("CheckForCards"), boolText(s.CheckForCards)},
        {QStringLiteral("DefaultCameraSource"), s.DefaultCameraSource},
    };
    if (context.application && key.value(QStringLiteral("AppPath")).value_or(QString()).isEmpty())
        v.append({QStringLiteral("AppPath"), QDir(context.executableFolder).absolutePath() + u'/'});
    v += RegistryKey::Values{
        {QStringLiteral("LastMoveFolder"), s.LastMoveFolder},
        {QStringLiteral("StartUpDirectorySaveLast"), boolText(s.StartUpDirectorySaveLast)},
        {QStringLiteral("Shrink"), boolText(s.Shrink)},
        {QStringLiteral("HideFileExtensions"), boolText(s.HideFileExtensions)},
        {QStringLiteral("EnforceMinimumCropSize"), boolText(s.EnforceMinimumCropSize)},
        {QStringLiteral("ShowDlgProgress"), boolText(s.ShowDlgProgress)},
        {QStringLiteral("AutomaticCameraDownload"), boolText(s.AutomaticCameraDownload)},
        {QStringLiteral("ConfirmDeleteFile"), boolText(s.ConfirmDeleteFile)},
        {QStringLiteral("ShowStartUp"), boolText(s.ShowStartUp)},
        {QStringLiteral("DeleteCameraPhotos"), boolText(s.DeleteCameraPhotos)},
        {QStringLiteral("FolderNameMethod"), num(s.FolderNameMethod)},
        {QStringLiteral("FileNameMethod"), num(s.FileNameMethod)},
        {QStringLiteral("PhotoDirectory"), s.PhotoDirectory},
        {QStringLiteral("DeleteToRecycleBin"), boolText(s.DeleteToRecycleBin)},
        {QStringLiteral("AspectRatioSetting"), num(s.AspectRatioSetting)},
        {QStringLiteral("AppVersion"), m_names.product + u' ' + context.productVersion},
        {QStringLiteral("DefaultGetPixFolder"), s.DefaultGetPixFolder},
        {QStringLiteral("StartUpDirectory"), startUp},
        {QStringLiteral("SPHeight"), num(s.SPHeight)},
        {QStringLiteral("SPWidth"), num(s.SPWidth)},
        {QStringLiteral("SPLeft"), num(s.SPLeft)},
        {QStringLiteral("AlwaysUseJPEGComp"), num(s.AlwaysUseJPEGComp)},
        {QStringLiteral("SPMax"), boolText(s.SPMax)},
        {QStringLiteral("SPTop"), num(s.SPTop)},
        {QStringLiteral("WPanel"), num(s.WPanel)},
    };
    if (!key.setValues(v)) {
        DebugLog(QStringLiteral("writereg"), QStringLiteral("Error: ") + key.errorString());
        return {QStringLiteral("Error encountered writing your settings to the registry!")};
    }
    return {};
}

bool SettingsStore::resetregistry() {
    return RegistryKey::deleteKey(m_names.keyPath());
}

bool writeUseAppforCamera(const ProductNames& names, bool on) {
    RegistryKey key(names.keyPath());
    if (key.open(true) == RegistryKey::Status::Unreadable)
        return false;
    // An "ApplicationName" override renames the key for every later write.
    const QString appName = key.value(QStringLiteral("ApplicationName")).value_or(QString());
    if (!appName.isEmpty() && appName != names.product) {
        ProductNames renamed = names;
        renamed.product = appName;
        key = RegistryKey(renamed.keyPath());
        if (key.open(true) == RegistryKey::Status::Unreadable)
            return false;
    }
    return key.setValue(QStringLiteral("UseAppforCamera"), boolText(on));
}

} // namespace korvex
