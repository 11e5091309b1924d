// libFuzzer target for "recent.dat", the recently viewed folders: loading it, changing the list
// and saving it. A saved list must load back unchanged: a difference aborts the run.
//
// Build (clang only; the normal build skips this folder):
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
//         -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORVEX_FUZZ=ON
//   cmake --build build-fuzz --target fuzz_recent_folders
// Seed corpus (a few lists) and a run:
//   build-fuzz/bin/fuzz_recent_folders -seed_corpus_dir=build-fuzz/seeds   # writes the seeds
//   build-fuzz/bin/fuzz_recent_folders -max_total_time=300 -max_len=4096 -rss_limit_mb=2048 \
//         build-fuzz/corpus build-fuzz/seeds
// A crash leaves crash-<hash> in the current folder; rerun the target with that file to debug.

#include "FuzzMain.h"
#include "browse/RecentFolders.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace korvex;

namespace {

void writeSeeds(const QString& dir) {
    QByteArray many;
    for (int i = 0; i < 12; ++i)
        many += "/home/u/Pictures/" + QByteArray::number(i) + "/\r\n";
    const QByteArray lists[] = {
        "/home/u/Pictures/\r\n/media/card/DCIM/\r\n/home/u/pictures/\r\n",
        "  \r\n/home/u/Bilder \xc3\xa4/\n\r\n/tmp\r\r\n",
        many,
    };
    int n = 0;
    for (const QByteArray& text : lists)
        fuzz::writeFile(dir + QStringLiteral("/recent%1.dat").arg(++n), text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::initialize(argc, argv, writeSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString file = fuzz::scratchPath(QStringLiteral("recent.dat"));
    if (!fuzz::writeFile(file, fuzz::bytesOf(data, size)))
        return 0;
    RecentFolders recent;
    recent.load(file);
    if (recent.folders().size() > RecentFolders::maxCount)
        std::abort();

    const QString saved = fuzz::scratchPath(QStringLiteral("saved.dat"));
    RecentFolders again;
    if (recent.save(saved)) {
        again.load(saved);
        if (again.folders() != recent.folders())
            std::abort();
    }
    if (!recent.folders().isEmpty()) {
        recent.AddToRecentDirectories(recent.folders().last());
        recent.RemoveFromRecentDirectories(recent.folders().first());
    }
    return 0;
}
