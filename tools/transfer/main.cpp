// Support staff's command-line sender: the wizard's transfer code without the wizard.
#include "app/Settings.h"
#include "service/QtTransferHttp.h"
#include "service/ServiceRecords.h"
#include "service/TransferProtocol.h"
#include "support/DebugLog.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

using namespace korvex;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvex-transfer"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Sends pictures to the photo service with the program's transfer code. "
                       "Prints each picture's path, a tab and its result code (0 = arrived)."));
    parser.addHelpOption();
    const QCommandLineOption server(QStringLiteral("upload-server"),
                                    QStringLiteral("Upload server host[:port]."),
                                    QStringLiteral("HOST"));
    const QCommandLineOption ticket(QStringLiteral("ticket"),
                                    QStringLiteral("Authentication ticket to send."),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption proxy(QStringLiteral("proxy"), QStringLiteral("HTTP proxy host:port."),
                                   QStringLiteral("HOST:PORT"));
    const QCommandLineOption proxyUser(QStringLiteral("proxy-user"),
                                       QStringLiteral("Proxy user name."), QStringLiteral("NAME"));
    const QCommandLineOption proxyPassword(QStringLiteral("proxy-password"),
                                           QStringLiteral("Proxy password."),
                                           QStringLiteral("TEXT"));
    const QCommandLineOption debug(QStringLiteral("debug"),
                                   QStringLiteral("Write the debug log (Log.txt) to the current "
                                                  "folder and to standard error."));
    parser.addOptions({server, ticket, proxy, proxyUser, proxyPassword, debug});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Pictures to send."),
                                 QStringLiteral("FILE..."));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (!parser.isSet(server) || files.isEmpty()) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }

    // Identity values exactly as the program has them.
    ProductNames names;
    Settings settings;
    SettingsContext context;
    for (const QString& warning : SettingsStore(names).Setup(settings, context))
        std::fprintf(stderr, "%s\n", qPrintable(warning));
    settings.UploadServer = parser.value(server);
    if (parser.isSet(proxy)) {
        const QString value = parser.value(proxy);
        const qsizetype colon = value.lastIndexOf(u':');
        settings.ProxyServer = colon < 0 ? value : value.left(colon);
        settings.ProxyPort = colon < 0 ? 80 : value.mid(colon + 1).toInt();
        settings.ProxyUsername = parser.value(proxyUser);
        settings.ProxyPassword = parser.value(proxyPassword);
    }
    if (parser.isSet(ticket))
        AuthenticationID() = parser.value(ticket);
    if (parser.isSet(debug)) {
        debuglog::setFolder(QDir::currentPath());
        debuglog::enable();
    }

    QtTransferHttp http(settings);
    qint64 bytesUploaded = 0;
    ImageUploader uploader(settings, http, TransferControl(), bytesUploaded);
    uploader.setCallbacks(
        {[](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); },
         [](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); },
         {},
         {}});
    bool all = true;
    int n = 0;
    for (const QString& file : files) {
        TUploadFileRecord record;
        record.ID = QStringLiteral("im%1").arg(++n, 4, 10, QLatin1Char('0'));
        record.path = QFileInfo(file).absoluteFilePath();
        record.title = QFileInfo(file).completeBaseName();
        int result;
        try {
            result = uploader.UploadImage(record);
        } catch (const TransferFileError& e) {
            std::fprintf(stderr, "%s\n", e.what());
            result = TUploadResult::TransportFailure;
        }
        std::printf("%s\t%d\n", qPrintable(file), result);
        std::fflush(stdout);
        all = all && result == 0;
    }
    return all ? 0 : 1;
}
