// libFuzzer target for the service's pages as the wizard reads them: the page type, the client
// embed tags (ProcessEmbed, UpdateWebButtons), the close page's window link, the finalization
// page's result block and the result document in it (libxml2's reader, fed in small pieces).
//
// Build (clang only; the normal build skips this folder):
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
//         -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORVEX_FUZZ=ON
//   cmake --build build-fuzz --target fuzz_service_pages
// Seed corpus (the pages of tests/data/service and the tests' result documents) and a run:
//   build-fuzz/bin/fuzz_service_pages -seed_corpus_dir=build-fuzz/seeds   # writes the seeds
//   build-fuzz/bin/fuzz_service_pages -max_total_time=300 -max_len=16384 -rss_limit_mb=2048 \
//         -dict=tests/fuzz/service_pages.dict build-fuzz/corpus build-fuzz/seeds
// A crash leaves crash-<hash> in the current folder; rerun the target with that file to debug.

#include "FuzzMain.h"
#include "service/PageProtocol.h"
#include "service/ResultDocument.h"

#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>

using namespace korvex;

namespace {

// The wizard's controls doing nothing, but answering as a real wizard would.
struct NoControls : WizardControls {
    void hideControl(WebControl) override {}
    void showCaption(WebControl, const QString&) override {}
    void showButton(WebControl, const WebButtonState&) override {}
    WebButtonState buttonState(WebControl) const override { return {}; }
    void mirrorHelpButton(const WebButtonState&) override {}
    bool canFocus(WebControl) const override { return true; }
    void setFocus(WebControl) override {}
};

void writeSeeds(const QString& dir) {
    const QDir pages(fuzz::dataDir() + QStringLiteral("/service"));
    for (const QString& name : pages.entryList({QStringLiteral("*.html")}, QDir::Files))
        QFile::copy(pages.filePath(name), dir + u'/' + name);
    const char* documents[] = {
        "<p>\n<MINIBROWSER-RESULT>\n&lt;ticket>T&lt;/ticket>\n</minibrowser-result>\n<p>",
        "<minibrowser-result>\n<TICKET><![CDATA[C-9]]></TICKET>\n<image id=\"a\"><title>T1</title>"
        "<attribute name=\"only\"/><attribute a=\"1\" b=\"2\" c=\"3\"/>\n<attribute n=\"k\" "
        "v=\"v\"/></image>\n<image id=\"a\"/>\n<image id=\"a\"><album id=\"X\" name=\"N\"></album>"
        "<title>lost</title><subject>s</subject></image>\n<on-termination href=\"http://done\"/>"
        "<attribute n=\"z\" v=\"1\"/>\n<progress-window src=\"/p\"/>\n</minibrowser-result>",
        "<minibrowser-result>\n<image id=\"a\"></image>\n<image>\n</image></minibrowser-result>",
        "<r>\n<image id=\"a\"><title>x</title></image>\n<image id=\"b\"></oops><image id=\"c\">",
        "<EMBED name=\"VORU_TITLE\" label=\"Two  spaces \">\n<embed name=\"VORU_NEXT_BUTTON\" "
        "label=\"Go on\" tiptext=\"Next page\" disableOnClick=\"TRUE\">\n<EMBED "
        "name=\"VORU_HELP_BUTTON\" Enable=\"False\"/>\n<!-- CLIENT EMBED CODE END -->",
        "<html>\n<close-request/>\n<new-window src=\"/client/show.jsp?x=1\">",
    };
    int n = 0;
    for (const char* text : documents)
        fuzz::writeFile(dir + QStringLiteral("/document%1.txt").arg(++n), text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::initialize(argc, argv, writeSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    text.remove(u'\r');
    const QStringList lines = text.split(u'\n');

    PageType(lines);
    for (const QString& line : lines) {
        TEmbedRecord record;
        ProcessEmbed(line, record);
    }
    NoControls controls;
    UpdateWebButtons(lines, controls);
    ProcessClosePage(lines, Settings(), [](const QUrl&) { return true; });

    QString ticket, error;
    TResultDocument result;
    QList<TUploadFileRecord> records;
    const auto pathForID = [](const QString& id) { return QStringLiteral("/pictures/") + id; };
    QStringList block;
    if (ProcessFinalizationPage(lines, block))
        ReadResultDocument(block, ticket, result, records, pathForID, error);
    // The document alone too, so the XML reader gets inputs without the page around them.
    records.clear();
    ReadResultDocument(lines, ticket, result, records, pathForID, error);
    return 0;
}
