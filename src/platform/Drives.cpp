#include "Drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace korvex {

namespace {

bool sysfsFlag(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.readAll().trimmed() == "1";
}

// "/dev/sdb1" → whether sysfs marks sdb (or the partition itself) removable.
bool blockDeviceRemovable(const QByteArray& device) {
    const QString node = QFileInfo(QString::fromLocal8Bit(device)).canonicalFilePath();
    if (!node.startsWith(QLatin1String("/dev/")))
        return false;
    const QString name = QFileInfo(node).fileName();
    const QString sysfs = QFileInfo(QStringLiteral("/sys/class/block/") + name).canonicalFilePath();
    if (sysfs.isEmpty())
        return false;
    if (sysfsFlag(sysfs + QStringLiteral("/removable")))
        return true;
    // A partition carries no flag of its own; its disk is the parent folder.
    return QFile::exists(sysfs + QStringLiteral("/partition")) &&
           sysfsFlag(QFileInfo(sysfs).absolutePath() + QStringLiteral("/removable"));
}

bool underMediaFolder(const QString& root) {
    return root.startsWith(QLatin1String("/media/")) ||
           root.startsWith(QLatin1String("/run/media/"));
}

DriveType typeOf(const QStorageInfo& info) {
    const QByteArray fs = info.fileSystemType().toLower();
    const QByteArray device = info.device();
    if (fs == "iso9660" || fs == "udf" ||
        QFileInfo(QString::fromLocal8Bit(device))
            .canonicalFilePath()
            .startsWith(QLatin1String("/dev/sr")))
        return DriveType::CDRom;
    if (fs.startsWith("nfs") || fs == "cifs" || fs.startsWith("smb") || fs == "fuse.sshfs" ||
        fs == "9p" || fs == "afs")
        return DriveType::Remote;
    if (fs == "tmpfs" || fs == "ramfs")
        return DriveType::RamDisk;
    // Desktop automounters put cards and sticks under /media; some USB readers do not set the
    // removable flag, so the mount place counts too.
    if (blockDeviceRemovable(device) || underMediaFolder(info.rootPath()))
        return DriveType::Removable;
    return DriveType::Fixed;
}

QString labelOf(const QStorageInfo& info) {
    const QString name = info.name();
    if (!name.isEmpty())
        return name;
    // Without udev there is no /dev/disk/by-label; automounters name the mount after the label.
    if (underMediaFolder(info.rootPath()))
        return QFileInfo(info.rootPath()).fileName();
    return {};
}

Volume volumeFrom(const QStorageInfo& info) {
    Volume v;
    v.rootPath = info.rootPath();
    v.label = labelOf(info);
    v.type = typeOf(info);
    v.bytesAvailable = info.bytesAvailable();
    return v;
}

class SystemDrives final : public Drives {
public:
    std::optional<Volume> volumeOf(const QString& path) const override {
        QStorageInfo info(path);
        if (!info.isValid())
            return std::nullopt;
        return volumeFrom(info);
    }

    QList<Volume> volumes() const override {
        QList<Volume> out;
        const auto all = QStorageInfo::mountedVolumes();
        for (const QStorageInfo& info : all) {
            if (!info.isValid() || !info.isReady())
                continue;
            const QByteArray fs = info.fileSystemType();
            if (fs == "proc" || fs == "sysfs" || fs == "devtmpfs" || fs == "devpts" ||
                fs == "cgroup2" || fs == "overlay" || fs == "squashfs")
                continue;
            out.append(volumeFrom(info));
        }
        return out;
    }
};

} // namespace

const Drives& Drives::system() {
    static const SystemDrives drives;
    return drives;
}

} // namespace korvex
