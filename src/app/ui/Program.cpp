#include "Program.h"

#include "AboutBox.h"
#include "MainWindow.h"
#include "PreviewRenderer.h"
#include "ScreenSaverWindows.h"
#include "app/AppContext.h"
#include "app/RunMode.h"
#include "platform/ForeignWindow.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"
#include "support/DebugLog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <memory>

namespace korvex {

namespace {

QString executablePath(char** argv) {
    // /proc/self/exe resolves the "korvex.scr" link to "korvex"; the name it was started under
    // decides the run mode, so keep argv[0] and only make it absolute.
    return QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
}

QString realExecutableFolder() {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

QString logFolder(const AppContext& context) {
    const QString exe = context.folders.GetFolder(FolderKind::Executable);
    return QFileInfo(exe).isWritable() ? exe : context.folders.GetFolder(FolderKind::Data);
}

int monitorSwitch(AppContext& context, bool on, int argc, char** argv) {
    if (on) {
        // The card monitor is optional: failing to start it still turns camera use on.
        QProcess::startDetached(context.folders.GetFolder(FolderKind::Executable) +
                                    QStringLiteral("korvex-monitor"),
                                {});
        writeUseAppforCamera(context.names, true);
        return 0;
    }
    writeUseAppforCamera(context.names, false);
    const QString shortcut = context.monitorAutostartFile();
    if (QFileInfo::exists(shortcut) && !QFile::remove(shortcut)) {
        QApplication app(argc, argv);
        QMessageBox::warning(nullptr, context.names.product,
                             QStringLiteral("Error encountered disabling your monitoring file."));
    }
    return 0;
}

// The screen-saver host passes the window to draw into in several ways.
WId previewHost(const QStringList& args) {
    const int at = args.indexOf(QStringLiteral("-window-id"));
    if (at >= 0)
        return foreignwindow::parseId(args.value(at + 1));
    if (args.value(0).startsWith(u"-window-id", Qt::CaseInsensitive))
        return foreignwindow::parseId(args.value(1));
    if (!args.value(1).isEmpty())
        return foreignwindow::parseId(args.value(1));
    // "/p:1234" and "/p 1234" both occur.
    const qsizetype colon = args.value(0).indexOf(u':');
    if (colon > 0)
        return foreignwindow::parseId(args.value(0).mid(colon + 1));
    return foreignwindow::parseId(qEnvironmentVariable("XSCREENSAVER_WINDOW"));
}

int runPreview(AppContext& context, const QStringList& args, int argc, char** argv) {
    const WId host = previewHost(args);
    if (host == 0)
        return 0;
    // The host window lives on an X server; the preview can only draw there.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    return PreviewRenderer::run(host, context.dataFile(QStringLiteral("korvex.xdl")),
                                context.names.product);
}

} // namespace

int runProgram(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QString exePath = executablePath(argv);
    const QString argument1 = args.value(0);
    const QString argument2 = args.value(1);

    AppContext context(realExecutableFolder());
    debuglog::setFolder(logFolder(context));

    // XScreenSaver and its relatives name their modes differently from the Windows host.
    EntryDecision decision = decideEntry(QFileInfo(exePath).fileName(), argument1);
    if (argument1 == u"-window-id" || qEnvironmentVariableIsSet("XSCREENSAVER_WINDOW"))
        decision = {EntryAction::RunMode, RunMode::_preview};
    else if (argument1 == u"-root")
        decision = {EntryAction::RunMode, RunMode::_screensaver};

    switch (decision.action) {
    case EntryAction::Monitor:
        return monitorSwitch(context, true, argc, argv);
    case EntryAction::CameraOff:
        return monitorSwitch(context, false, argc, argv);
    case EntryAction::RunMode:
        break;
    }

    if (decision.mode == RunMode::_preview)
        return runPreview(context, args, argc, argv);
    // There is no screen-saver password of our own on Linux: the desktop's locker asks for it.
    if (decision.mode == RunMode::_setpwd)
        return 0;

    // The embedded browser of the guide and the service pages shares the GL context.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(context.names.product);
    QApplication::setApplicationDisplayName(context.names.product);
    QApplication::setOrganizationName(context.names.company);

    switch (decision.mode) {
    case RunMode::_Application: {
        SingleInstance instance(QFileInfo(exePath).fileName());
        if (instance.start(args) == SingleInstance::Role::HandedOver)
            return 0;
        auto window = std::make_unique<TfrmMain>(context, args);
        QObject::connect(&instance, &SingleInstance::instanceStarted, window.get(),
                         &TfrmMain::OneInstance1InstanceStarted);
        TerminationSignals termination;
        QObject::connect(&termination, &TerminationSignals::terminationRequested, window.get(),
                         &QWidget::close);
        window->startUp();
        const int code = QApplication::exec();
        window.reset(); // saves the recent folders before the process ends
        return code;
    }
    case RunMode::_CONFIG: {
        TdlgEditSS dialog(context, argument2.compare(u"/Z", Qt::CaseInsensitive) == 0);
        dialog.show();
        return QApplication::exec();
    }
    case RunMode::_screensaver: {
        TfrmScreenSaver player(context);
        player.showFullScreen();
        return QApplication::exec();
    }
    case RunMode::_about: {
        TdlgAboutBox about(context.dataFile(QStringLiteral("Splash.xdl")), context.names.product);
        about.show();
        return QApplication::exec();
    }
    case RunMode::_preview:
    case RunMode::_setpwd:
        break;
    }
    return 0;
}

} // namespace korvex
