#pragma once

#include "app/IdleWork.h"
#include "app/PanelSnapper.h"
#include "app/Settings.h"
#include "service/Endpoints.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QEvent>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolButton;

namespace korvex {

struct AppContext;
class BrowsePanel;
class DialogPrompter;
class SettingsStore;
class TIEFunctions;
struct SelectStatus;
class TfrmSplash;
class PictureView;
class EditBar;
class DecodeQueue;

// Messages the window posts to itself, numbered as the program always numbered them.
enum WindowMessage : int {
    WM_USER = 0x0400,
    WM_LAUNCH_CAMERA = QEvent::User + 1002,
    WM_SHOW_IMAGE = QEvent::User + 1006,
};

// The main window: a shell that holds the panels, routes menu and toolbar commands to the parts
// of the program that own them, and runs the start-up, idle and close sequences.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    TfrmMain(AppContext& context, QStringList arguments, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Shows the splash, then the window; the settings are read at the first show.
    void startUp();

    // The busy gate: closed while a command runs, so that launches from outside wait.
    void Keypreparation(bool saveFirst);
    void endKeypreparation();
    bool busyGateOpen() const { return m_busyGateOpen; }

    // Asks for the current picture to be shown from the event loop.
    void DoShowImage();
    void directshow(const QString& path);
    bool CameraParameter(const QString& argument1, const QString& argument2);
    void DisplayHelp(int topic);
    void Uninstall();

    QString currentPicture() const;
    // Without the trailing separator, as the user reads it.
    QString currentFolder() const;
    BrowsePanel& browse() { return *m_browse; }
    const IdleFlags& idleFlags() const { return m_idle; }
    QAction* action(const QString& name) const { return m_actions.value(name); }
    // The program's own cursors: open and closed hand for dragging a zoomed picture, the red-eye
    // pointer.
    enum class CursorKind { OpenHand = 51, ClosedHand = 52, RedEye = 53 };
    QCursor programCursor(CursorKind kind) const { return m_cursors.value(int(kind)); }
    QSplitter* splitter() const { return m_splitter; }
    EditBar* editBar() const { return m_editBar; }
    PanelSnapper& snapper() { return m_snapper; }
    int panelWidth() const;
    void setPanelWidth(int width);
    // The panel width after a drag of the splitter ended at width (snapped to columns).
    void splitterReleased(int width);
    void splitterDoubleClicked();

public slots:
    void OneInstance1InstanceStarted(const QStringList& arguments);

signals:
    // For tests and later parts: the camera launch posted from idle processing.
    void cameraLaunchPosted(const QString& source, bool settingsPage);
    void startUpFinished();

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // Building the window (MainMenus.cpp).
    void buildPanels();
    void buildMenus();
    void buildContextMenu();
    void openSite(SiteLink link);
    QAction* addCommand(QMenu* menu, const QString& name, const QString& text,
                        const QKeySequence& shortcut = {}, std::function<void()> handler = nullptr);
    void updateMenuStates();

    // Lifecycle (MainWindow.cpp).
    void FormCreate();
    void Setup();
    void placeWindow();
    void handleStartArguments();
    void requestIdle();
    void doidle();
    void FormClose();
    void FormDestroy();
    void ShowImage();
    void pictureDecoded(const QString& path, const QImage& image);
    void pictureFailed(const QString& path);
    void showStartupPicture();
    void showQuickStart();
    void showAbout();
    void warn(const QString& text);
    void showSelectStatus(const SelectStatus& status);

    AppContext& m_context;
    QStringList m_arguments;
    std::unique_ptr<SettingsStore> m_store;
    Settings& m_settings;

    QHash<QString, QAction*> m_actions;
    QSplitter* m_splitter = nullptr;
    QWidget* m_thumbPanel = nullptr;
    PictureView* m_view = nullptr;
    EditBar* m_editBar = nullptr;
    DecodeQueue* m_viewDecoder = nullptr;
    static constexpr quint64 kViewRequest = 1;
    QLabel* m_status = nullptr;
    QLabel* m_positionLabel = nullptr;
    QLabel* m_selectionLabel = nullptr;
    std::unique_ptr<DialogPrompter> m_prompter;
    TIEFunctions* m_ieFunctions = nullptr;
    BrowsePanel* m_browse = nullptr;
    int m_pictureCount = 0;
    int m_checkedCount = 0;
    bool m_deleteEnabled = false;
    std::unique_ptr<TfrmSplash> m_splash;

    PanelSnapper m_snapper;
    IdleFlags m_idle;
    QTimer m_idleTimer;
    QElapsedTimer m_startTime;
    bool m_busyGateOpen = true;
    bool m_setupDone = false;
    bool m_uninstalling = false;
    bool m_fullScreen = false;
    bool m_destroyed = false;
    QHash<int, QCursor> m_cursors;
};

} // namespace korvex
