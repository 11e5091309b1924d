#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace korvex::fuzz {

// What every target's LLVMFuzzerInitialize does: HOME and the XDG folders in a scratch folder (so
// no input reaches the real user's files), a QCoreApplication that lives until the process ends,
// and Qt's messages silenced. With "-seed_corpus_dir=DIR" it calls writeSeeds(DIR) and ends the
// process instead of fuzzing.
void initialize(int* argc, char*** argv, const std::function<void(const QString&)>& writeSeeds);

// A path inside the scratch folder.
QString scratchPath(const QString& name);
// tests/data of the source tree.
QString dataDir();

QByteArray bytesOf(const uint8_t* data, size_t size);
// Replaces the file's content; false when it cannot be written.
bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace korvex::fuzz
