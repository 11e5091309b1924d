// Panels, menus and toolbar of the main window, and the rules that enable them.
#include "EditBar.h"
#include "FramedPanel.h"
#include "MainWindow.h"
#include "ScreenSaverWindows.h"
#include "Splash.h"
#include "app/AppContext.h"
#include "app/MenuRules.h"
#include "browse/ui/BrowsePanel.h"
#include "imaging/IEFunctions.h"
#include "service/Endpoints.h"
#include "support/DebugLog.h"
#include "support/ShellRoutines.h"
#include "support/ui/DialogPrompter.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvex {

namespace {

// The splitter's handle tells the window when a drag ends and when it is double-clicked, so the
// panel can snap to whole columns.
class SnappingHandle : public QSplitterHandle {
public:
    SnappingHandle(Qt::Orientation o, QSplitter* parent, TfrmMain* window)
        : QSplitterHandle(o, parent), m_window(window) {
        setToolTip(QStringLiteral("Change width of picture preview area"));
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        m_moved = false;
        QSplitterHandle::mousePressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        m_moved = true;
        QSplitterHandle::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QSplitterHandle::mouseReleaseEvent(e);
        if (m_moved)
            m_window->splitterReleased(m_window->panelWidth());
    }
    void mouseDoubleClickEvent(QMouseEvent*) override { m_window->splitterDoubleClicked(); }

private:
    TfrmMain* m_window;
    bool m_moved = false;
};

class SnappingSplitter : public QSplitter {
public:
    SnappingSplitter(TfrmMain* window) : QSplitter(Qt::Horizontal), m_window(window) {}

protected:
    QSplitterHandle* createHandle() override {
        return new SnappingHandle(orientation(), this, m_window);
    }

private:
    TfrmMain* m_window;
};

// A menu-bar label: pressing it pops its menu up just below the bar.
class MenuLabel : public QLabel {
public:
    MenuLabel(const QString& text, QMenu* menu, QWidget* parent)
        : QLabel(text, parent), m_menu(menu) {
        setTextFormat(Qt::PlainText);
        setCursor(Qt::PointingHandCursor);
        setContentsMargins(6, 4, 6, 4);
        // "&File" shows as "File": the underline is a keyboard hint the labels cannot draw.
        setText(QString(text).remove(u'&'));
    }
    void popUp() {
        m_menu->popup(mapToGlobal(QPoint(6, height() + 15 - contentsMargins().bottom())));
    }

protected:
    void mousePressEvent(QMouseEvent*) override { popUp(); }

private:
    QMenu* m_menu;
};

QToolButton* toolButton(const QString& text, const QString& tip, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setToolTip(tip);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(true);
    return b;
}

} // namespace

void TfrmMain::buildPanels() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* menuBar = new QWidget(central);
    menuBar->setObjectName(QStringLiteral("pnlMenu"));
    menuBar->setLayout(new QHBoxLayout);
    menuBar->layout()->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(menuBar);

    // A tool bar folds the buttons that do not fit into its extension menu, so the window can
    // still be made as narrow as a small screen needs.
    auto* toolbar = new QToolBar(central);
    toolbar->setObjectName(QStringLiteral("pnlToolbar"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(toolbar);

    m_splitter = new SnappingSplitter(this);
    m_splitter->setChildrenCollapsible(false);
    const QString frame = m_context.dataFile(QStringLiteral("frame/"));
    m_thumbPanel = new QWidget;
    m_thumbPanel->setObjectName(QStringLiteral("pnlThumbs"));
    auto* thumbs = new QVBoxLayout(m_thumbPanel);
    thumbs->setContentsMargins(0, 0, 0, 0);
    m_ieFunctions = new TIEFunctions(this);
    m_prompter = std::make_unique<DialogPrompter>(this);
    m_browse =
        new BrowsePanel(*m_ieFunctions, m_prompter.get(), m_context.names.product, m_thumbPanel);
    thumbs->addWidget(m_browse);
    auto* thumbFrame = new TXPanel(frame, m_thumbPanel, m_splitter);
    thumbFrame->setMinimumWidth(m_snapper.gridWidth(2));
    m_view = new PictureView;
    m_view->setObjectName(QStringLiteral("ivMain"));
    m_splitter->addWidget(thumbFrame);
    m_splitter->addWidget(new TXPanel(frame, m_view, m_splitter));
    m_splitter->setStretchFactor(1, 1);
    layout->addWidget(m_splitter, 1);
    setCentralWidget(central);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    statusBar()->addWidget(m_status, 1);
    m_selectionLabel = new QLabel(this);
    m_selectionLabel->setObjectName(QStringLiteral("lblSelected"));
    statusBar()->addPermanentWidget(m_selectionLabel);
    m_positionLabel = new QLabel(this);
    m_positionLabel->setObjectName(QStringLiteral("lblPosition"));
    statusBar()->addPermanentWidget(m_positionLabel);
    statusBar()->setSizeGripEnabled(true);
}

QAction* TfrmMain::addCommand(QMenu* menu, const QString& name, const QString& text,
                              const QKeySequence& shortcut, std::function<void()> handler) {
    auto* a = new QAction(text, this);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) {
        a->setShortcut(shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a); // shortcuts work while the menu is closed
    }
    // A command whose feature is not part of this build stays disabled rather than doing nothing.
    a->setProperty("built", bool(handler));
    a->setEnabled(bool(handler));
    if (handler)
        connect(a, &QAction::triggered, this, handler);
    if (menu)
        menu->addAction(a);
    m_actions.insert(name, a);
    return a;
}

void TfrmMain::buildMenus() {
    QWidget* bar = centralWidget()->findChild<QWidget*>(QStringLiteral("pnlMenu"));
    auto* barLayout = static_cast<QHBoxLayout*>(bar->layout());
    const auto addMenu = [&](const QString& label, const QString& name, QKeySequence key) {
        auto* menu = new QMenu(this);
        menu->setObjectName(name);
        auto* l = new MenuLabel(label, menu, bar);
        l->setObjectName(QStringLiteral("lbl") + name);
        barLayout->addWidget(l);
        auto* sc = new QShortcut(key, this);
        connect(sc, &QShortcut::activated, l, [l] { l->popUp(); });
        connect(menu, &QMenu::aboutToShow, this, &TfrmMain::updateMenuStates);
        return menu;
    };
    const auto sub = [this](QMenu* parent, const QString& text) {
        QMenu* m = parent->addMenu(text);
        connect(m, &QMenu::aboutToShow, this, &TfrmMain::updateMenuStates);
        return m;
    };

    QMenu* file = addMenu(QStringLiteral(" &File  "), QStringLiteral("File"),
                          QKeySequence(QStringLiteral("Alt+F")));
    addCommand(file, QStringLiteral("mkGetPictures"), QStringLiteral("&Get pictures..."),
               QKeySequence(QStringLiteral("Ctrl+O")), [this] {
                   Keypreparation(true);
                   m_browse->getPictures();
                   endKeypreparation();
               });
    addCommand(file, QStringLiteral("mkSave"), QStringLiteral("&Save"),
               QKeySequence(QStringLiteral("Ctrl+S")));
    addCommand(file, QStringLiteral("mkSaveAs"), QStringLiteral("Save &as..."),
               QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    addCommand(file, QStringLiteral("mkPrint"), QStringLiteral("&Print"),
               QKeySequence(QStringLiteral("Ctrl+P")));
    addCommand(file, QStringLiteral("mkPictureInfo"), QStringLiteral("Picture info"),
               QKeySequence(QStringLiteral("Alt+Return")));
    addCommand(file, QStringLiteral("mkRenamePicture"), QStringLiteral("Rename picture"),
               QKeySequence(QStringLiteral("F2")));
    addCommand(file, QStringLiteral("mkRenameFolder"), QStringLiteral("Rename folder"));
    file->addSeparator();
    addCommand(file, QStringLiteral("mkExit"), QStringLiteral("E&xit"),
               QKeySequence(QStringLiteral("Alt+F4")), [this] { close(); });

    QMenu* edit = addMenu(QStringLiteral(" &Edit  "), QStringLiteral("Edit"),
                          QKeySequence(QStringLiteral("Alt+E")));
    addCommand(edit, QStringLiteral("mkUndo"), QStringLiteral("&Undo"),
               QKeySequence(QStringLiteral("Ctrl+Z")));
    addCommand(edit, QStringLiteral("mkCopy"), QStringLiteral("&Copy"),
               QKeySequence(QStringLiteral("Ctrl+C")));
    addCommand(edit, QStringLiteral("mkPaste"), QStringLiteral("&Paste"),
               QKeySequence(QStringLiteral("Ctrl+V")));
    addCommand(edit, QStringLiteral("mkDelete"), QStringLiteral("&Delete"),
               QKeySequence(QStringLiteral("Del")));
    edit->addSeparator();
    addCommand(edit, QStringLiteral("mkSelectAll"), QStringLiteral("Select all"),
               QKeySequence(QStringLiteral("Ctrl+A")),
               [this] { m_browse->browser().btnSelectAllClick(); });
    addCommand(edit, QStringLiteral("mkSelectNone"), QStringLiteral("Select none"), {},
               [this] { m_browse->browser().mkDeselectallClick(); });
    edit->addSeparator();
    addCommand(edit, QStringLiteral("mkPreferences"), QStringLiteral("Preferences..."));

    QMenu* picture = addMenu(QStringLiteral(" &Picture "), QStringLiteral("Picture"),
                             QKeySequence(QStringLiteral("Alt+P")));
    QMenu* zoom = sub(picture, QStringLiteral("&Zoom"));
    zoom->setObjectName(QStringLiteral("mkZoom"));
    addCommand(zoom, QStringLiteral("mkZoomIn"), QStringLiteral("Zoom in     +"));
    addCommand(zoom, QStringLiteral("mkZoomOut"), QStringLiteral("Zoom out   -"));
    QMenu* rotate = sub(picture, QStringLiteral("Rotate"));
    addCommand(rotate, QStringLiteral("mkRotateLeft"), QStringLiteral("Left"),
               QKeySequence(QStringLiteral("Alt+L")));
    addCommand(rotate, QStringLiteral("mkRotateRight"), QStringLiteral("Right"),
               QKeySequence(QStringLiteral("Alt+R")));
    QMenu* crop = sub(picture, QStringLiteral("Crop"));
    addCommand(crop, QStringLiteral("mkCrop4x6"), QStringLiteral("4x6 ratio"));
    addCommand(crop, QStringLiteral("mkCrop5x7"), QStringLiteral("5x7 ratio"));
    addCommand(crop, QStringLiteral("mkCrop8x10"), QStringLiteral("8x10 ratio"));
    addCommand(crop, QStringLiteral("mkCropSquare"), QStringLiteral("Square ratio"));
    addCommand(crop, QStringLiteral("mkCropFree"), QStringLiteral("Free crop"));
    addCommand(picture, QStringLiteral("mkQuickFix"), QStringLiteral("Quick fix"));
    addCommand(picture, QStringLiteral("mkRedEye"), QStringLiteral("Red-eye"));
    picture->addSeparator();
    addCommand(picture, QStringLiteral("mkFullScreen"), QStringLiteral("&Full-screen mode"),
               QKeySequence(QStringLiteral("Ctrl+Space")))
        ->setCheckable(true);
    addCommand(picture, QStringLiteral("mkSlideshow"), QStringLiteral("&Slideshow"),
               QKeySequence(QStringLiteral("Alt+Shift+S")))
        ->setCheckable(true);
    QMenu* all = sub(picture, QStringLiteral("Apply to all selected pictures"));
    addCommand(all, QStringLiteral("mkAllRotateLeft"), QStringLiteral("Rotate left"));
    addCommand(all, QStringLiteral("mkAllRotateRight"), QStringLiteral("Rotate right"));
    addCommand(all, QStringLiteral("mkAllDelete"), QStringLiteral("Delete"));
    addCommand(all, QStringLiteral("mkAllCopyTo"), QStringLiteral("Copy to folder"));

    QMenu* fun = addMenu(QStringLiteral(" F&un tools"), QStringLiteral("FunTools"),
                         QKeySequence(QStringLiteral("Alt+U")));
    QMenu* saver = sub(fun, QStringLiteral("Screen saver"));
    addCommand(saver, QStringLiteral("mkCreateSS"), QStringLiteral("Create screen saver"));
    addCommand(saver, QStringLiteral("mkActiveSS"), QStringLiteral("Active screen saver"));
    addCommand(saver, QStringLiteral("mkSSSettings"), QStringLiteral("Settings"), {}, [this] {
        Keypreparation(false);
        TdlgEditSS(m_context, true, this).exec();
        endKeypreparation();
    });
    QMenu* wallpaper = sub(fun, QStringLiteral("Set picture as wallpaper"));
    wallpaper->setObjectName(QStringLiteral("mkWallpaper"));
    addCommand(wallpaper, QStringLiteral("mkWallCentered"),
               QStringLiteral("Centered within screen"));
    addCommand(wallpaper, QStringLiteral("mkWallTiled"), QStringLiteral("Tiled"));
    addCommand(wallpaper, QStringLiteral("mkWallStretched"),
               QStringLiteral("Stretched to fit screen"));

    QMenu* service = addMenu(QStringLiteral("  &Corvanta"), QStringLiteral("Service"),
                             QKeySequence(QStringLiteral("Alt+S")));
    addCommand(service, QStringLiteral("mkSignUp"), QStringLiteral("Sign up"));
    addCommand(service, QStringLiteral("mkOrderPrints"), QStringLiteral("Order prints"));
    addCommand(service, QStringLiteral("mkShareOnline"), QStringLiteral("Share online"));
    addCommand(service, QStringLiteral("mkUploadPictures"), QStringLiteral("Upload pictures"));
    service->addSeparator();
    addCommand(service, QStringLiteral("mkGoToSite"), QStringLiteral("Go to the Corvanta site"), {},
               [this] { openSite(SiteLink::CompanyWebsite); });

    QMenu* help = addMenu(QStringLiteral("  &Help "), QStringLiteral("Help"),
                          QKeySequence(QStringLiteral("Alt+H")));
    addCommand(help, QStringLiteral("mkUsersGuide"), QStringLiteral("User's guide"),
               QKeySequence(QStringLiteral("F1")), [this] { DisplayHelp(101); });
    addCommand(help, QStringLiteral("mkQuickStart"), QStringLiteral("Quick start guide"),
               QKeySequence(QStringLiteral("Ctrl+H")), [this] { showQuickStart(); });
    addCommand(help, QStringLiteral("mkHelpCenter"),
               QStringLiteral("Go to Corvanta online help center"));
    addCommand(help, QStringLiteral("mkCheckUpdates"), QStringLiteral("Check for updates"));
    help->addSeparator();
    addCommand(help, QStringLiteral("mkAbout"), QStringLiteral("&About Corvanta..."), {},
               [this] { showAbout(); });
    barLayout->addStretch();
    auto* logo = new QLabel(bar);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(QPixmap(m_context.dataFile(QStringLiteral("Logo.xdl"))));
    // The logo gives way on a narrow window rather than setting its minimum width.
    logo->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    logo->setMinimumWidth(1);
    logo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    barLayout->addWidget(logo);

    // The toolbar repeats the most used commands.
    auto* toolbar = centralWidget()->findChild<QToolBar*>(QStringLiteral("pnlToolbar"));
    const auto toolFor = [&](const QString& action, const QString& text, const QString& tip) {
        QToolButton* b = toolButton(text, tip, toolbar);
        b->setDefaultAction(m_actions.value(action));
        b->setText(text);
        b->setToolTip(tip);
        toolbar->addWidget(b);
    };
    toolFor(QStringLiteral("mkGetPictures"), QStringLiteral("Get Pictures"),
            QStringLiteral("Find folder with pictures you want to view"));
    toolFor(QStringLiteral("mkOrderPrints"), QStringLiteral("Order Prints"),
            QStringLiteral("Order prints of the checked pictures"));
    toolFor(QStringLiteral("mkShareOnline"), QStringLiteral("Share"),
            QStringLiteral("Share the checked pictures online"));
    toolFor(QStringLiteral("mkUploadPictures"), QStringLiteral("Upload"),
            QStringLiteral("Upload the checked pictures"));
    auto* spacer = new QWidget(toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(spacer);
    toolFor(QStringLiteral("mkRotateLeft"), QStringLiteral("Rotate Left"),
            QStringLiteral("Rotate the picture left"));
    toolFor(QStringLiteral("mkRotateRight"), QStringLiteral("Rotate Right"),
            QStringLiteral("Rotate the picture right"));
    toolFor(QStringLiteral("mkCropFree"), QStringLiteral("Crop"),
            QStringLiteral("Crop the picture"));
    toolFor(QStringLiteral("mkQuickFix"), QStringLiteral("Quick Fix"),
            QStringLiteral("Correct the picture's levels"));
    toolFor(QStringLiteral("mkRedEye"), QStringLiteral("Red-Eye"),
            QStringLiteral("Remove red eyes"));
    // Shown only while crop or red-eye is active or an edit can be undone.
    m_editBar = new EditBar(
        addCommand(nullptr, QStringLiteral("btnApply"), QStringLiteral("Apply")),
        addCommand(nullptr, QStringLiteral("btnCancelEdit"), QStringLiteral("Cancel")),
        addCommand(nullptr, QStringLiteral("btnUndoRedEye"), QStringLiteral("Undo Red Eye")),
        addCommand(nullptr, QStringLiteral("btnUndoCrop"), QStringLiteral("Undo Crop")),
        addCommand(nullptr, QStringLiteral("btnUndoQuickFix"), QStringLiteral("Undo QuickFix")),
        toolbar);
    toolbar->addWidget(m_editBar)->setVisible(false);

    // Status bar: picture information and renaming, then the viewer's previous / slide show /
    // next buttons.
    const auto statusButton = [this](QAction* action, const QString& icon, const QString& tip) {
        auto* b = new QToolButton(statusBar());
        b->setDefaultAction(action);
        b->setAutoRaise(true);
        if (!icon.isEmpty()) {
            b->setIcon(QIcon(m_context.dataFile(QStringLiteral("buttons/") + icon)));
            b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
        b->setToolTip(tip);
        statusBar()->addPermanentWidget(b);
    };
    statusButton(m_actions.value(QStringLiteral("mkPictureInfo")), QString(),
                 QStringLiteral("Picture information"));
    statusButton(m_actions.value(QStringLiteral("mkRenamePicture")), QString(),
                 QStringLiteral("Rename the picture"));
    statusButton(addCommand(nullptr, QStringLiteral("btnPrevious"), QStringLiteral("Previous")),
                 QStringLiteral("previous.png"), QStringLiteral("Previous picture"));
    statusButton(m_actions.value(QStringLiteral("mkSlideshow")), QStringLiteral("slideshow.png"),
                 QStringLiteral("Slide show"));
    statusButton(addCommand(nullptr, QStringLiteral("btnNext"), QStringLiteral("Next")),
                 QStringLiteral("next.png"), QStringLiteral("Next picture"));
    updateMenuStates();
}

void TfrmMain::openSite(SiteLink link) {
    DialogPrompter prompter(this);
    mkwebsiteClick(m_settings, link, QStringLiteral(KORVEX_VERSION), [&prompter](const QUrl& url) {
        return OpenInBrowser(url.toString(), &prompter);
    });
}

void TfrmMain::buildContextMenu() {
    // The picture area's own menu repeats the commands that act on the shown picture.
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("popPicture"));
    const auto add = [this](QMenu* m, const char* name) {
        m->addAction(m_actions.value(QLatin1String(name)));
    };
    add(menu, "mkSaveAs");
    add(menu, "mkRenamePicture");
    add(menu, "mkDelete");
    // The same command under the picture menu's own wording.
    QAction* print = m_actions.value(QStringLiteral("mkPrint"));
    QAction* printPicture =
        menu->addAction(QStringLiteral("Print picture"), print, &QAction::trigger);
    printPicture->setEnabled(print->isEnabled());
    connect(print, &QAction::enabledChanged, printPicture, &QAction::setEnabled);
    add(menu, "mkPictureInfo");
    add(menu, "mkCopy");
    add(menu, "mkPaste");
    QMenu* editPicture = menu->addMenu(QStringLiteral("Edit picture"));
    for (const char* name :
         {"mkRotateLeft", "mkRotateRight", "mkCropFree", "mkQuickFix", "mkRedEye"})
        add(editPicture, name);
    QMenu* all = menu->addMenu(QStringLiteral("Apply to all selected pictures"));
    for (const char* name : {"mkAllRotateLeft", "mkAllRotateRight", "mkAllDelete", "mkAllCopyTo"})
        add(all, name);
    add(menu, "mkFullScreen");
    QMenu* zoom = menu->addMenu(QStringLiteral("Zoom"));
    add(zoom, "mkZoomIn");
    add(zoom, "mkZoomOut");
    connect(menu, &QMenu::aboutToShow, this, &TfrmMain::updateMenuStates);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, menu,
            [this, menu](QPoint at) { menu->popup(m_view->mapToGlobal(at)); });
}

void TfrmMain::updateMenuStates() {
    MenuInputs in;
    in.currentPicture = !currentPicture().isEmpty();
    in.pictureCount = m_pictureCount;
    in.checkedCount = m_checkedCount;
    in.deleteButtonEnabled = m_deleteEnabled;
    in.pictureLoaded = m_view->hasImage() && in.currentPicture;
    in.canRenameFolder = CanRenameFolder(
        currentFolder(),
        {QDir::homePath(), QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
         QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
         QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)});
    in.fullScreen = m_fullScreen;
    const MenuStates s = menuStates(in);
    const auto set = [this](const char* name, bool enabled) {
        if (QAction* a = m_actions.value(QLatin1String(name)))
            a->setEnabled(enabled && a->property("built").toBool());
    };
    set("mkPictureInfo", s.pictureInfo);
    set("mkSaveAs", s.saveAs);
    set("mkPrint", s.print);
    set("mkRenamePicture", s.renamePicture);
    set("mkSave", s.save);
    set("mkRenameFolder", s.renameFolder);
    set("mkUndo", s.undo);
    set("mkCopy", s.copy);
    set("mkDelete", s.deletePicture);
    set("mkSelectNone", s.selectNone);
    set("mkSelectAll", s.selectAll);
    set("mkSlideshow", s.slideshow);
    set("mkFullScreen", s.fullScreen);
    for (const char* name :
         {"mkRotateLeft", "mkRotateRight", "mkCropFree", "mkQuickFix", "mkRedEye"})
        set(name, s.editButtons);
    if (QAction* a = m_actions.value(QStringLiteral("mkFullScreen")))
        a->setChecked(s.fullScreenChecked);
    if (QAction* a = m_actions.value(QStringLiteral("mkSlideshow")))
        a->setChecked(s.slideshowChecked);
}

void TfrmMain::showSelectStatus(const SelectStatus& status) {
    m_positionLabel->setText(status.positionText);
    m_selectionLabel->setText(status.selectionText);
    m_pictureCount = status.count;
    m_checkedCount = m_browse->browser().fileList().CheckedCount();
    m_deleteEnabled = status.deleteEnabled;
    updateMenuStates();
}

int TfrmMain::panelWidth() const {
    return m_splitter->sizes().value(0);
}

void TfrmMain::setPanelWidth(int width) {
    const int total = m_splitter->width();
    m_splitter->setSizes({width, std::max(0, total - width - m_splitter->handleWidth())});
}

void TfrmMain::splitterReleased(int width) {
    if (m_fullScreen)
        return;
    setPanelWidth(m_snapper.snap(width, m_splitter->width(), centralWidget()->width()));
}

void TfrmMain::splitterDoubleClicked() {
    setPanelWidth(m_snapper.toggle(m_splitter->width(), centralWidget()->width()));
}

void TfrmMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    m_editBar->setStacked(EditBar::stackFor(centralWidget()->width()));
    const int grid = panelWidth();
    if (windowState() == Qt::WindowNoState && width() < grid + 30)
        setPanelWidth(width() - 30);
    m_snapper.setReference(panelWidth());
}

void TfrmMain::keyPressEvent(QKeyEvent* e) {
    // Support staff switch the trace on with Ctrl+Alt+Shift+L.
    if (e->key() == Qt::Key_L &&
        e->modifiers() == (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) {
        debuglog::enable();
        QApplication::beep();
        return;
    }
    QMainWindow::keyPressEvent(e);
}

} // namespace korvex
