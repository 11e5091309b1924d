// libFuzzer target for the transfer's replies: GetResponseValue reading the values the upload asks
// for ("ImageID", "Server", "Offset", "Status") and the error fields out of name=value lines.
//
// Build (clang only; the normal build skips this folder):
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
//         -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORVEX_FUZZ=ON
//   cmake --build build-fuzz --target fuzz_transfer_response
// Seed corpus (the replies the tests script) and a run:
//   build-fuzz/bin/fuzz_transfer_response -seed_corpus_dir=build-fuzz/seeds   # writes the seeds
//   build-fuzz/bin/fuzz_transfer_response -max_total_time=300 -max_len=4096 -rss_limit_mb=2048 \
//         build-fuzz/corpus build-fuzz/seeds
// A crash leaves crash-<hash> in the current folder; rerun the target with that file to debug.

#include "FuzzMain.h"
#include "service/TransferProtocol.h"

#include <cstddef>
#include <cstdint>

using namespace korvex;

namespace {

void writeSeeds(const QString& dir) {
    const char* replies[] = {
        "ImageID=im42\r\nServer=up1.example.com\r\nErrCode=0\r\n",
        "Status=OK\r\n",
        "Status=Error\r\nErrCode=4\r\nErrMsg=not a JPEG",
        "errcode= 7 \nerrmsg=Disk full",
        "Offset=1000\r\nErrCode=14",
        "Offset=1\nOffset=2=3\nXOffset=9",
    };
    int n = 0;
    for (const char* text : replies)
        fuzz::writeFile(dir + QStringLiteral("/reply%1.txt").arg(++n), text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::initialize(argc, argv, writeSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString reply = QString::fromUtf8(fuzz::bytesOf(data, size));
    QString value, message;
    int code = 0;
    for (const char* name : {"ImageID", "Server", "Offset", "Status"})
        GetResponseValue(QLatin1String(name), reply, value, message, code);
    value.trimmed().toLongLong(); // as the offset query reads it
    return 0;
}
