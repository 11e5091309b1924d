#pragma once

#include <QDateTime>
#include <QStringList>
#include <functional>

namespace korvex::test {

// Writes count small JPEGs named <prefix>NN.jpg into dir; returns their paths.
QStringList writePictures(const QString& dir, int count, const QString& prefix = "pic",
                          int width = 320, int height = 240);
bool setModified(const QString& path, const QDateTime& moment);
// Runs the event loop until condition holds; false after ms.
bool waitUntil(const std::function<bool()>& condition, int ms = 10000);
// The thumbnail files ("~x...") in a cache folder.
QStringList thumbFiles(const QString& cacheFolder);
QStringList indexLines(const QString& cacheFolder);

} // namespace korvex::test
