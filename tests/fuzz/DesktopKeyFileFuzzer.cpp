// libFuzzer target for the freedesktop key files (DesktopKeyFile: ".desktop" shortcuts and
// "mimeapps.list"): loading, looking values up, changing and saving, and the "Exec" value split
// into arguments. Every argument quoted by quoteExecArgument must split back into itself, as a
// shortcut's target does: a difference aborts the run.
//
// Build (clang only; the normal build skips this folder):
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
//         -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORVEX_FUZZ=ON
//   cmake --build build-fuzz --target fuzz_desktop_key_file
// Seed corpus (a shortcut and a mimeapps.list) and a run:
//   build-fuzz/bin/fuzz_desktop_key_file -seed_corpus_dir=build-fuzz/seeds   # writes the seeds
//   build-fuzz/bin/fuzz_desktop_key_file -max_total_time=300 -max_len=4096 -rss_limit_mb=2048 \
//         build-fuzz/corpus build-fuzz/seeds
// A crash leaves crash-<hash> in the current folder; rerun the target with that file to debug.

#include "FuzzMain.h"
#include "platform/DesktopKeyFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace korvex;

namespace {

const QString kEntry = QStringLiteral("Desktop Entry");

void writeSeeds(const QString& dir) {
    const char* files[] = {
        "[Desktop Entry]\nType=Application\nName=My\\sapp\\n2\n"
        "Exec=\"/opt/my app/run\" 50%% \"a\\\\\"b\\\\$c\\\\`d\\\\\\\\e\" plain %f\nPath=/opt\n",
        "# user choices\n[Default Applications]\ntext/plain=gedit.desktop\n\n"
        "[Added Associations]\nimage/png=eog.desktop;\n",
        "[Desktop Entry]\r\nType=Link\r\nURL=file:///home/u/Pictures\r\n[Desktop Entry]\r\n"
        "Exec=%\r\n",
    };
    int n = 0;
    for (const char* text : files)
        fuzz::writeFile(dir + QStringLiteral("/entry%1.desktop").arg(++n), text);
}

void checkExecQuoting(const QString& argument) {
    const QStringList split =
        DesktopKeyFile::splitExec(DesktopKeyFile::quoteExecArgument(argument));
    if (split != QStringList{argument})
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::initialize(argc, argv, writeSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString file = fuzz::scratchPath(QStringLiteral("entry.desktop"));
    if (!fuzz::writeFile(file, fuzz::bytesOf(data, size)))
        return 0;
    DesktopKeyFile keys;
    if (!keys.load(file))
        return 0;

    const QString exec = keys.value(kEntry, QStringLiteral("Exec"));
    const QStringList arguments = DesktopKeyFile::splitExec(exec);
    for (const QString& argument : arguments)
        checkExecQuoting(argument);
    checkExecQuoting(exec);
    keys.value(QStringLiteral("Default Applications"), QStringLiteral("image/jpeg"));
    keys.contains(kEntry, QStringLiteral("URL"));

    keys.setValue(kEntry, QStringLiteral("Path"), QStringLiteral(" /opt/my app"));
    keys.setValue(QStringLiteral("Added Associations"), QStringLiteral("image/jpeg"),
                  QStringLiteral("korvex.desktop;"));
    keys.remove(kEntry, QStringLiteral("Type"));
    if (keys.save(file)) {
        DesktopKeyFile again;
        if (!again.load(file) ||
            again.value(kEntry, QStringLiteral("Path")) != QStringLiteral(" /opt/my app"))
            std::abort();
    }
    return 0;
}
