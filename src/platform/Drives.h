#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace korvex {

// The drive kinds the program distinguishes; the numbers are those the callers were written for.
enum class DriveType : int {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CDRom = 5,
    RamDisk = 6,
};

// A "drive" is a mounted volume, named by its mount point.
struct Volume {
    QString rootPath; // mount point, e.g. "/media/anna/EOS_DIGITAL"
    QString label;    // volume label, empty when it has none
    DriveType type = DriveType::Unknown;
    qint64 bytesAvailable = -1; // free bytes this user may write, -1 when unknown
};

// Mounted volumes and their kinds. Labels and the removable flag come from udev and sysfs, which a
// test machine may lack, so callers take this interface and tests feed their own volumes.
class Drives {
public:
    virtual ~Drives() = default;

    // The volume holding the existing path, or nothing when the path is on no mounted volume.
    virtual std::optional<Volume> volumeOf(const QString& path) const = 0;

    // Every mounted volume a user might keep pictures on (no pseudo file systems).
    virtual QList<Volume> volumes() const = 0;

    // This machine's volumes.
    static const Drives& system();
};

} // namespace korvex
