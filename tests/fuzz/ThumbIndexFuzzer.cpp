// libFuzzer target for the thumbnail disk cache's index "~cche.idx": loading it, looking lines up,
// removing them (duplicates included) and saving it again. What a grid saves, the next grid must
// read back as the same lines: a difference aborts the run.
//
// Build (clang only; the normal build skips this folder):
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
//         -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORVEX_FUZZ=ON
//   cmake --build build-fuzz --target fuzz_thumb_index
// Seed corpus (a few indexes) and a run:
//   build-fuzz/bin/fuzz_thumb_index -seed_corpus_dir=build-fuzz/seeds   # writes the seeds
//   build-fuzz/bin/fuzz_thumb_index -max_total_time=300 -max_len=8192 -rss_limit_mb=2048 \
//         build-fuzz/corpus build-fuzz/seeds
// A crash leaves crash-<hash> in the current folder; rerun the target with that file to debug.

#include "FuzzMain.h"
#include "browse/ThumbCache.h"
#include "imaging/IEFunctions.h"

#include <QDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace korvex;

namespace {

void writeSeeds(const QString& dir) {
    const char* indexes[] = {
        "/home/u/Pictures/a.jpg\r\n/home/u/Pictures/B.JPG\r\n/home/u/Pictures/A.jpg\r\n",
        "/media/card/DCIM/100/IMG_0001.JPG\n\n\r\n/media/card/DCIM/100/img_0001.jpg\r\r\n",
        ("/home/u/\xc3\x96l und \xc3\x84pfel .png\r\n/home/u/\xe6\x97\xa5\xe6\x9c\xac.bmp\r\n"
         "/bad/\xff\xfe.jpg\r\n"),
    };
    int n = 0;
    for (const char* text : indexes)
        fuzz::writeFile(dir + QStringLiteral("/index%1.idx").arg(++n), text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::initialize(argc, argv, writeSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TIEFunctions functions;
    const QString folder = fuzz::scratchPath(QStringLiteral("thumbs"));
    QDir(folder).removeRecursively();
    if (!fuzz::writeFile(folder + QStringLiteral("/~cche.idx"), fuzz::bytesOf(data, size)))
        return 0;

    QStringList lines;
    {
        ThumbCache cache(functions);
        cache.setDiskCacheDirectory(folder);
        lines = cache.diskLines();
        if (!lines.isEmpty()) {
            cache.hasDiskLine(lines.first().toLower());
            cache.loadFromDisk(lines.last());
        }
    } // saves the index
    {
        ThumbCache cache(functions);
        cache.setDiskCacheDirectory(folder);
        if (cache.diskLines() != lines)
            std::abort();
        if (!lines.isEmpty())
            cache.remove(lines.first(), ThumbCache::Which::Both);
        cache.setMaxDiskCount(0);
    }
    return 0;
}
