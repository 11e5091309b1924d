// libFuzzer target for the backing file of the string cache (TCachedDoubleStringList, the
// picture dimensions cache "~ImgeDim.che"): reading values out of it and writing one into it. A
// value written must be read back from the file alone: a difference aborts the run.
//
// Build (clang only; the normal build skips this folder):
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
//         -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORVEX_FUZZ=ON
//   cmake --build build-fuzz --target fuzz_string_cache
// Seed corpus (a few cache files) and a run:
//   build-fuzz/bin/fuzz_string_cache -seed_corpus_dir=build-fuzz/seeds   # writes the seeds
//   build-fuzz/bin/fuzz_string_cache -max_total_time=300 -max_len=4096 -rss_limit_mb=2048 \
//         build-fuzz/corpus build-fuzz/seeds
// A crash leaves crash-<hash> in the current folder; rerun the target with that file to debug.

#include "FuzzMain.h"
#include "support/CachedDoubleStringList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace korvex;

namespace {

const QString kProbeKey = QStringLiteral("/home/u/Pictures/a=b\nc.jpg");
const QString kProbeValue = QStringLiteral("640x480\\n");

void writeSeeds(const QString& dir) {
    const char* files[] = {
        "[Dimensions_Cache]\n/home/u/Pictures/a.jpg=640x480\n/home/u/P\\eq.jpg=1x1\\n2\n",
        "[Other]\nx=y\n[dimensions_cache]\n/HOME/U/PICTURES/A.JPG=\n/b.png=3x4\n[Other]\nz=1\n",
        "[Dimensions_Cache]\r\n  /c.jpg = 5x6  \r\n=novalue\r\nnoequals\r\n\\\\\\e=\\\n",
    };
    int n = 0;
    for (const char* text : files)
        fuzz::writeFile(dir + QStringLiteral("/cache%1.che").arg(++n), text);
}

TCachedDoubleStringList cacheInScratch() {
    TCachedDoubleStringList cache;
    cache.setCacheDirectory(fuzz::scratchPath(QStringLiteral("cache")));
    cache.setMemoryCacheCount(2);
    return cache;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::initialize(argc, argv, writeSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TCachedDoubleStringList cache = cacheInScratch();
    if (!fuzz::writeFile(cache.backingFile(), fuzz::bytesOf(data, size)))
        return 0;
    cache.GetValue(QStringLiteral("/home/u/Pictures/a.jpg"));
    cache.GetValue(QStringLiteral("/c.jpg"));

    cache.SetValue(kProbeKey, kProbeValue);
    if (cacheInScratch().GetValue(kProbeKey) != kProbeValue)
        std::abort();
    cache.SetValue(QStringLiteral("/b.png"), QString());
    cache.Clear();
    return 0;
}
