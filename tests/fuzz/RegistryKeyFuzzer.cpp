// libFuzzer target for the settings key files (RegistryKey): the bytes become the key's INI file
// under the scratch XDG_CONFIG_HOME, the key is opened and read, and one value is written. The
// write re-reads the file and must keep every value read before it (damaged lines aside): a
// lost or changed value aborts the run.
//
// Build (clang only; the normal build skips this folder):
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
//         -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORVEX_FUZZ=ON
//   cmake --build build-fuzz --target fuzz_registry_key
// Seed corpus (a few key files) and a run:
//   build-fuzz/bin/fuzz_registry_key -seed_corpus_dir=build-fuzz/seeds   # writes the seeds
//   build-fuzz/bin/fuzz_registry_key -max_total_time=300 -max_len=4096 -rss_limit_mb=2048 \
//         build-fuzz/corpus build-fuzz/seeds
// A crash leaves crash-<hash> in the current folder; rerun the target with that file to debug.

#include "FuzzMain.h"
#include "platform/RegistryKey.h"

#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace korvex;

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Corvanta\\Corvanta Express");

void writeSeeds(const QString& dir) {
    const char* keys[] = {
        ("[Values]\nProxyServer=proxy.example:8080\nProxyPassword=s=cr\\\\t\\nline2\n"
         "; a comment\n# another\nMulti=a\\\\b\\r\\nc\n"),
        "[Values]\nproxypassword=old\nPROXYPASSWORD = new \n  Other=x  \n",
        "[Values]\ngarbage line\n=no name\nGood=1\n\xff\xfe\n",
        "\xef\xbb\xbf[Values]\r\nStartUpDirectory=/home/u/Pictures/\r\n",
    };
    int n = 0;
    for (const char* text : keys)
        fuzz::writeFile(dir + QStringLiteral("/key%1.ini").arg(++n), text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::initialize(argc, argv, writeSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString file = RegistryKey::fileForKey(kKey);
    RegistryKey::deleteKey(kKey);
    QFile::remove(file + QStringLiteral(".corrupt"));
    const QByteArray bytes = fuzz::bytesOf(data, size);
    if (!fuzz::writeFile(file, bytes))
        return 0;

    RegistryKey key(kKey);
    if (key.open(false) == RegistryKey::Status::Unreadable)
        return 0;
    const RegistryKey::Values before = key.values();
    for (const auto& [name, value] : before)
        if (key.value(name) != value)
            std::abort(); // a name that does not find its own value

    const QString probe = QStringLiteral("FuzzProbe");
    if (!key.setValue(probe, QStringLiteral("1")))
        return 0;
    // Once written, the file is clean; only a value holding a NUL byte keeps it marked damaged.
    RegistryKey again(kKey);
    const RegistryKey::Status status = again.open(false);
    if (status != RegistryKey::Status::Ok &&
        !(status == RegistryKey::Status::Corrupt && bytes.contains('\0')))
        std::abort();
    if (again.value(probe) != QStringLiteral("1"))
        std::abort();
    for (const auto& [name, value] : before)
        if (name.compare(probe, Qt::CaseInsensitive) != 0 && again.value(name) != value)
            std::abort();
    return 0;
}
