#include "MainWindow.h"

#include "AboutBox.h"
#include "QuickStart.h"
#include "ScreenSaverWindows.h"
#include "Splash.h"
#include "app/AppContext.h"
#include "app/MenuRules.h"
#include "app/RunMode.h"
#include "browse/ui/BrowsePanel.h"
#include "imaging/DecodeQueue.h"
#include "service/NetDetect.h"
#include "support/DebugLog.h"
#include "support/FileRoutines.h"
#include "support/ui/DialogPrompter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QThread>
#include <QUrl>

namespace korvex {

namespace {

// WM_LAUNCH_CAMERA: the source to copy from and whether to open the settings page first.
struct LaunchCameraEvent : QEvent {
    LaunchCameraEvent(QString s, bool settings)
        : QEvent(QEvent::Type(WM_LAUNCH_CAMERA)), source(std::move(s)), settingsPage(settings) {}
    QString source;
    bool settingsPage;
};

} // namespace

TfrmMain::TfrmMain(AppContext& context, QStringList arguments, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_arguments(std::move(arguments)),
      m_store(std::make_unique<SettingsStore>(context.names)), m_settings(context.settings),
      m_snapper(QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent)) {
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(0);
    connect(&m_idleTimer, &QTimer::timeout, this, &TfrmMain::doidle);
    FormCreate();
}

TfrmMain::~TfrmMain() {
    FormDestroy();
}

void TfrmMain::FormCreate() {
    setWindowTitle(m_context.names.product);
    setWindowIcon(QIcon(m_context.dataFile(QStringLiteral("icons/korvex.png"))));
    buildPanels();
    buildMenus();
    m_viewDecoder = new DecodeQueue(this, 1);
    connect(m_viewDecoder, &DecodeQueue::decoded, this,
            [this](quint64, const QString& path, const QImage& image, QSize) {
                pictureDecoded(path, image);
            });
    connect(m_viewDecoder, &DecodeQueue::failed, this,
            [this](quint64, const QString& path, const QString&) { pictureFailed(path); });
    buildContextMenu();
    // Cursors and logos are decoration: a missing file leaves Qt's own.
    const auto loadCursor = [this](CursorKind kind, const char* file, QPoint hotSpot) {
        const QPixmap image(m_context.dataFile(QStringLiteral("cursors/") + QLatin1String(file)));
        m_cursors.insert(int(kind), image.isNull() ? QCursor(Qt::ArrowCursor)
                                                   : QCursor(image, hotSpot.x(), hotSpot.y()));
    };
    loadCursor(CursorKind::OpenHand, "openhand.png", {16, 16});
    loadCursor(CursorKind::ClosedHand, "closedhand.png", {16, 16});
    loadCursor(CursorKind::RedEye, "redeye.png", {16, 16});
    m_browse->browser().recentFolders().load(m_context.folders.GetFolder(FolderKind::Data) +
                                             QStringLiteral("recent.dat"));
    m_browse->acceptDropsOn(this);
    FolderBrowser& browser = m_browse->browser();
    connect(&browser, &FolderBrowser::captionChanged, this, &QWidget::setWindowTitle);
    connect(&browser, &FolderBrowser::statusChanged, this, &TfrmMain::showSelectStatus);
    connect(m_browse, &BrowsePanel::pictureChosen, this, &TfrmMain::DoShowImage);
    connect(m_browse, &BrowsePanel::idleWanted, this, &TfrmMain::requestIdle);
}

QString TfrmMain::currentPicture() const {
    return m_browse->browser().currentPicture();
}

QString TfrmMain::currentFolder() const {
    return ExcludeSlash(m_browse->browser().GetCurrentFolder());
}

void TfrmMain::startUp() {
    m_startTime.start();
    m_splash = std::make_unique<TfrmSplash>(m_context.dataFile(QStringLiteral("Splash.xdl")));
    m_splash->show();
    m_splash->repaint();
    show();
}

void TfrmMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (m_setupDone)
        return;
    m_setupDone = true;
    // Start-up runs from the event loop, after the window has painted once.
    QMetaObject::invokeMethod(this, &TfrmMain::Setup, Qt::QueuedConnection);
}

void TfrmMain::Setup() {
    if (isUninstallSwitch(m_arguments.value(0))) {
        m_uninstalling = true;
        Uninstall();
        m_splash.reset();
        return;
    }
    if (!m_startTime.isValid())
        m_startTime.start();
    SettingsContext sc;
    sc.screen = screen()->size();
    sc.picturesFolder = m_context.folders.GetFolder(FolderKind::Pictures);
    sc.executableFolder = m_context.folders.GetFolder(FolderKind::Executable);
    for (const QString& w : m_store->Setup(m_settings, sc))
        warn(w);
    // On the first run the system's proxy, if any, is offered for the service's connections.
    if (m_settings.firstRun)
        DetectProxySettings(m_settings, [this](const QString& question) {
            return QMessageBox::question(this, m_context.names.product, question) ==
                   QMessageBox::Yes;
        });
    if (m_context.names.company != ProductNames().company)
        setWindowTitle(m_context.names.product);
    m_browse->setCacheFolder(m_context.folders.GetFolder(FolderKind::Cache));
    m_browse->setHideFileExtensions(m_settings.HideFileExtensions);
    m_browse->browser().setScreenWidth(sc.screen.width());
    m_browse->browser().Updatecurrentdirectory(m_settings.StartUpDirectory, false, true, false);
    placeWindow();

    // The splash stays at least 1750 ms, without holding up the rest of start-up.
    const qint64 left = 1750 - m_startTime.elapsed();
    QTimer::singleShot(std::max<qint64>(0, left), this, [this] { m_splash.reset(); });

    handleStartArguments();
    if (screen()->depth() < 16) {
        QMessageBox::information(
            this, m_context.names.product,
            QStringLiteral("Windows is currently set to display only 256 colors.  To run this "
                           "application you will need to change this settings to 65,536 (16 bit) "
                           "colors.  To do this, use the Display icon under Start "
                           "Menu|Settings|Control Panel."));
        m_idle.closeRequested = true;
        requestIdle();
        return;
    }
    DebugLog(QStringLiteral("Setup"), QStringLiteral("Ready"));
    m_idle.firstIdle = true;
    requestIdle();
    emit startUpFinished();
}

void TfrmMain::placeWindow() {
    setWindowState(Qt::WindowNoState);
    if (m_settings.SPHeight > 50 && m_settings.SPWidth > 50)
        resize(m_settings.SPWidth, m_settings.SPHeight);
    move(m_settings.SPLeft, m_settings.SPTop);
    if (m_settings.WPanel > 50 && m_settings.WPanel < 0.8 * m_settings.SPWidth)
        setPanelWidth(m_settings.WPanel);
    m_snapper.setReference(panelWidth());
    if (m_settings.SPMax)
        showMaximized();
}

void TfrmMain::handleStartArguments() {
    QString a1 = m_arguments.value(0);
    const QString a2 = m_arguments.value(1);
    if (a1.compare(u"/DEBUG", Qt::CaseInsensitive) == 0) {
        debuglog::enable();
        a1.clear();
    }
    if (a1.isEmpty())
        return;
    if (QFileInfo(a1).isFile()) {
        DebugLog(QStringLiteral("StartUp"), QStringLiteral("Calling Directshow with ") + a1);
        directshow(a1);
    } else {
        CameraParameter(a1, a2);
    }
}

void TfrmMain::requestIdle() {
    if (!m_idleTimer.isActive())
        m_idleTimer.start();
}

void TfrmMain::doidle() {
    IdleState state;
    state.busyGateOpen = m_busyGateOpen;
    IdleWork::turn(m_idle, state, [this](IdleStep step) {
        switch (step) {
        case IdleStep::Terminate:
            QApplication::quit();
            break;
        case IdleStep::LaunchCamera: {
            const QString source = m_idle.pendingCameraSource;
            const bool settingsPage = m_idle.pendingCameraSettings;
            m_idle.pendingCameraSource.clear();
            DebugLog(QStringLiteral("doidle"),
                     QStringLiteral("Posting WM_LAUNCH_USB with ") + source);
            QCoreApplication::postEvent(this, new LaunchCameraEvent(source, settingsPage));
            break;
        }
        case IdleStep::FirstIdle:
            if (m_settings.ShowStartUp)
                showQuickStart();
            if (currentPicture().isEmpty() && m_browse->browser().fileList().count() > 0) {
                m_browse->browser().setcurrfile();
                DoShowImage();
            } else if (currentPicture().isEmpty()) {
                showStartupPicture();
            }
            break;
        case IdleStep::RepaintGrid:
            m_browse->releaseRepaint();
            break;
        case IdleStep::UpdateGrid:
            m_browse->browser().fbxsourceupdate();
            break;
        case IdleStep::Background:
            if (m_browse->idleStep())
                requestIdle();
            break;
        case IdleStep::Close:
            close();
            break;
        case IdleStep::ShowPicture:
            DoShowImage();
            break;
        default:
            break;
        }
    });
}

bool TfrmMain::event(QEvent* e) {
    if (e->type() == QEvent::Type(WM_SHOW_IMAGE)) {
        ShowImage();
        return true;
    }
    if (e->type() == QEvent::Type(WM_LAUNCH_CAMERA)) {
        const auto* launch = static_cast<LaunchCameraEvent*>(e);
        const QString source = launch->source;
        emit cameraLaunchPosted(source, launch->settingsPage);
        // Not modal: a launch must never block the event loop it arrived through.
        auto* box = new QMessageBox(QMessageBox::Information, m_context.names.product,
                                    QStringLiteral("A camera or memory card was found at %1.\r\n"
                                                   "Copying pictures from it is not available "
                                                   "in this version.")
                                        .arg(source),
                                    QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return true;
    }
    return QMainWindow::event(e);
}

void TfrmMain::Keypreparation(bool saveFirst) {
    Q_UNUSED(saveFirst); // nothing can be changed before the editing commands exist
    m_busyGateOpen = false;
}

void TfrmMain::endKeypreparation() {
    m_busyGateOpen = true;
    requestIdle();
}

void TfrmMain::DoShowImage() {
    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(WM_SHOW_IMAGE)));
}

void TfrmMain::ShowImage() {
    const QString picture = currentPicture();
    DebugLog(QStringLiteral("ShowImage"), QStringLiteral("file=") + picture);
    if (picture.isEmpty())
        return;
    // Decoded off the GUI thread; a newer request replaces one still running.
    m_viewDecoder->request(picture, m_view->size() * devicePixelRatio(), kViewRequest);
}

void TfrmMain::pictureDecoded(const QString& path, const QImage& image) {
    if (path != currentPicture())
        return;
    m_view->setImage(image);
    m_status->setText(QFileInfo(path).fileName());
    updateMenuStates();
}

void TfrmMain::pictureFailed(const QString& path) {
    if (path != currentPicture())
        return;
    m_view->clear();
    m_status->setText(QStringLiteral("Unable to display %1").arg(QFileInfo(path).fileName()));
    updateMenuStates();
}

void TfrmMain::showStartupPicture() {
    const QImage startup(m_context.dataFile(QStringLiteral("startup.xdl")));
    if (!startup.isNull())
        m_view->setImage(startup);
}

void TfrmMain::directshow(const QString& path) {
    DebugLog(QStringLiteral("directshow"), QStringLiteral("Start, file=") + path);
    if (!m_busyGateOpen)
        return;
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    DebugLog(QStringLiteral("directshow"),
             QStringLiteral("Calling updatecurrentdirectory=") + folder);
    if (!m_browse->browser().showFile(path))
        return;
    DebugLog(QStringLiteral("directshow"), QStringLiteral("directory is now: ") + folder);
    if (IsPictureFile(path))
        DoShowImage();
    DebugLog(QStringLiteral("directshow"), QStringLiteral("end"));
}

bool TfrmMain::CameraParameter(const QString& a1, const QString& a2) {
    if (a1.compare(u"/SETTINGS", Qt::CaseInsensitive) == 0) {
        QMessageBox::information(this, m_context.names.product,
                                 QStringLiteral("Picture Storage Settings are not available in "
                                                "this version."));
        return true;
    }
    if (a1.compare(u"/CAMOFF", Qt::CaseInsensitive) == 0) {
        m_settings.UseAppforCamera = false;
        QFile::remove(AppContext::monitorAutostartFile());
        return true;
    }
    if (a1.contains(u"/CAM:", Qt::CaseInsensitive)) {
        if (m_settings.UseAppforCamera) {
            m_idle.pendingCameraSource = a1.trimmed().mid(5, 1);
            m_idle.pendingCameraSettings = a2.compare(u"/SETTINGS", Qt::CaseInsensitive) == 0;
            requestIdle();
        }
        return true;
    }
    return false;
}

void TfrmMain::OneInstance1InstanceStarted(const QStringList& arguments) {
    DebugLog(QStringLiteral("OneInstance1InstanceStarted"),
             QStringLiteral("Arguments=") + QString::number(arguments.size()));
    for (const QString& a : arguments)
        DebugLog(QStringLiteral("OneInstance1InstanceStarted"), QStringLiteral("Argument=") + a);
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (arguments.isEmpty())
        return;
    const QString a1 = arguments.value(0);
    const QString a2 = arguments.value(1);
    if (CameraParameter(a1, a2))
        return;
    switch (classifyScreenSaverArgument(a1)) {
    case RunMode::_CONFIG: {
        TdlgEditSS dialog(m_context, a2.compare(u"/Z", Qt::CaseInsensitive) == 0, this);
        dialog.exec();
        break;
    }
    case RunMode::_Application:
        DebugLog(QStringLiteral("OneInstance1InstanceStarted"),
                 QStringLiteral("Calling directshow, file=") + a1);
        if (QFileInfo(a1).isFile())
            directshow(a1);
        else
            warn(QStringLiteral("A picture was launched but cannot be displayed."));
        break;
    case RunMode::_about:
        showAbout();
        break;
    default:
        break;
    }
}

void TfrmMain::DisplayHelp(int topic) {
    static const QHash<int, QString> topics = {
        {101, QStringLiteral("cover.html")},
        {102, QStringLiteral("KORVEX_HELP2.html#950446")},
        {103, QStringLiteral("KORVEX_HELP2.html#950517")},
        {104, QStringLiteral("KORVEX_HELP2.html#950557")},
        {105, QStringLiteral("KORVEX_HELP6.html#951276")},
        {106, QStringLiteral("KORVEX_HELP2.html#950576")},
        {107, QStringLiteral("KORVEX_HELP5.html#951175")},
        {108, QStringLiteral("KORVEX_HELP2.html#950517")},
    };
    const QString entry = topics.value(topic, topics.value(101));
    const QString page = entry.section(u'#', 0, 0);
    const QString anchor = entry.section(u'#', 1);
    const QString file = m_context.dataFile(QStringLiteral("help/") + page);
    if (!QFileInfo(file).isFile()) {
        warn(QStringLiteral("The help file, %1, cannot be found.  Please reinstall %2.")
                 .arg(file, m_context.names.product));
        return;
    }
    QUrl url = QUrl::fromLocalFile(file);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    QDesktopServices::openUrl(url);
}

void TfrmMain::Uninstall() {
    // The file association is given back by its own part of the program once it exists; the
    // settings and the monitor's start-up entry go now. The close that follows saves nothing.
    m_store->resetregistry();
    QFile::remove(AppContext::monitorAutostartFile());
    m_idle.terminateRequested = true;
    requestIdle();
}

void TfrmMain::closeEvent(QCloseEvent* e) {
    DebugLog(QStringLiteral("FormCloseQuery"), QStringLiteral("Close called"));
    FormClose();
    e->accept();
}

void TfrmMain::FormClose() {
    if (m_uninstalling || !m_setupDone)
        return;
    DebugLog(QStringLiteral("FormClose"), QStringLiteral("Closing..."));
    Keypreparation(true);
    if (!m_fullScreen) {
        if (isMaximized()) {
            m_settings.SPMax = true;
        } else {
            m_settings.SPMax = false;
            m_settings.SPHeight = height();
            m_settings.SPWidth = width();
            m_settings.SPLeft = x();
            m_settings.SPTop = y();
        }
    }
    m_settings.WPanel = panelWidth();
    SettingsContext sc;
    sc.screen = screen()->size();
    sc.currentFolder = currentFolder();
    sc.executableFolder = m_context.folders.GetFolder(FolderKind::Executable);
    for (const QString& w : m_store->writereg(m_settings, sc))
        warn(w);
    endKeypreparation();
}

void TfrmMain::FormDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    if (!m_uninstalling)
        m_browse->browser().recentFolders().save(m_context.folders.GetFolder(FolderKind::Data) +
                                                 QStringLiteral("recent.dat"));
}

void TfrmMain::showQuickStart() {
    TdlgStartUp guide(m_context.dataFile(QStringLiteral("Guide/")), m_context.names.product,
                      m_settings.ShowStartUp, this);
    Keypreparation(false);
    guide.exec();
    m_settings.ShowStartUp = guide.showAtStartUp();
    endKeypreparation();
}

void TfrmMain::showAbout() {
    Keypreparation(false);
    TdlgAboutBox about(m_context.dataFile(QStringLiteral("Splash.xdl")), m_context.names.product,
                       this);
    about.exec();
    endKeypreparation();
}

void TfrmMain::warn(const QString& text) {
    DebugLog(QStringLiteral("Message"), text);
    QMessageBox::warning(this, m_context.names.product, text);
}

} // namespace korvex
