#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

namespace korvex {

// The user's settings as the program holds them in memory between start-up and close. Member
// names are the value names of the settings key, so the two can be read side by side.
struct Settings {
    // Text values.
    QString AppVersion;
    QString DefaultCameraSource;
    QString LastMoveFolder;
    QString StartUpDirectory;
    QString DefaultGetPixFolder;
    QString CurrentSSFile;
    QString UploadServer = QStringLiteral("upload.corvanta.com");
    QString AppServer = QStringLiteral("www.corvanta.com");
    QString UpdateURL = QStringLiteral("update.corvanta.com/client/updatecheck/");
    QString SignUpAdd2URL = QStringLiteral("/client/init.jsp?path=signup");
    QString OrderAdd2URL = QStringLiteral("/client/init.jsp?path=orderupload");
    QString UploadAdd2URL = QStringLiteral("/client/init.jsp?path=upload");
    QString ShareAdd2URL = QStringLiteral("/client/init.jsp?path=shareupload");
    QString PartnerID = QStringLiteral("VORU");
    QString CampaignID = QStringLiteral("Web;Windows;3.0;");
    QString Version = QStringLiteral("3.0");
    QString UserAgent = QStringLiteral("Corvanta client/3.0 [%LOCALE%] (%PARTNERID%; "
                                       "%PARTNERSUBID%;%CAMPAIGNID%, %SYSTEMINFO%)");
    QString PartnerSubID = QStringLiteral("EXPR");
    QString supportpageAdd2URL = QStringLiteral(
        "/client/redirect.jsp?link=website-help-center&appvers=%APPVERS%&vers=%VERS%");
    QString WelcomeAdd2URL =
        QStringLiteral("/client/redirect.jsp?link=website&appvers=%APPVERS%&vers=%VERS%");
    QString ProxyServer;
    QString ProxyUsername;
    QString ProxyPassword;
    QString PhotoDirectory;

    // Integer values.
    int MinCheckDaysInterval = 14;
    int NextCheckDate = 0;
    int DefaultCropRatio = 60;
    int MinCropDimension = 105;
    int RedEyeSelectionArea = 3;
    int ProxyPort = 80;
    quint16 SlideshowDelayPosition = 2;
    qint16 AspectRatioSetting = 1;
    qint16 FolderNameMethod = 0;
    qint16 FileNameMethod = 2;
    int WPanel = 0; // 0 until the main window knows its grid width
    quint8 AlwaysUseJPEGComp = 90;

    // Flags.
    bool AuthProxy = false;
    bool CanPauseUpload = false;
    bool CheckForCards = true;
    bool DebugMode = false;
    bool StartUpDirectorySaveLast = true;
    bool SlideshowRandom = false;
    bool DeleteToRecycleBin = true;
    bool ShowDlgProgress = true;
    bool Shrink = true;
    bool cancancel = true;
    bool HideFileExtensions = true;
    bool EnforceMinimumCropSize = true;
    bool ConfirmDeleteFile = true;
    bool ShowStartUp = true;
    bool AutomaticCameraDownload = false;
    bool UseAppforCamera = true;
    bool DeleteCameraPhotos = false;

    // Window placement.
    int SPHeight = 0;
    int SPLeft = 0;
    int SPWidth = 0;
    int SPTop = 0;
    bool SPMax = false;

    // Derived while reading.
    bool firstRun = false;                  // "AppVersion" was empty
    bool cameraMonitoringRemembered = true; // false when "UseAppforCamera" had to be repaired
};

// Where the settings live and what the program is called; "ApplicationName" may rename it.
struct ProductNames {
    QString product = QStringLiteral("Corvanta Express");
    QString company = QStringLiteral("Corvanta");

    QString keyPath() const { return QStringLiteral("SOFTWARE\\%1\\%2").arg(company, product); }
};

// Facts of this run that the reading rules depend on.
struct SettingsContext {
    QSize screen{1280, 800};
    QString picturesFolder;   // the user's picture folder, or "/" when there is none
    QString currentFolder;    // folder shown at close, for "StartUpDirectory"
    QString executableFolder; // written once as "AppPath"
    QString productVersion = QStringLiteral(KORVEX_VERSION);
    bool application = true; // false when running as the screen saver
};

// Reads and writes the settings key. Errors come back as the user-facing texts to show.
class SettingsStore {
public:
    explicit SettingsStore(ProductNames& names) : m_names(names) {}

    // Start-up read; returns the warnings to show (empty when all went well).
    QStringList Setup(Settings& settings, const SettingsContext& context);
    // Close-time write of every value the user can change; returns the warnings to show.
    QStringList writereg(const Settings& settings, const SettingsContext& context);
    // Removes the whole key (uninstall).
    bool resetregistry();

private:
    ProductNames& m_names;
};

// The monitor switches write this one value at once: another process reads it.
bool writeUseAppforCamera(const ProductNames& names, bool on);

} // namespace korvex
