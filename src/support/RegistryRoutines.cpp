#include "RegistryRoutines.h"

#include "platform/RegistryKey.h"

namespace korvex {

void WriteRegistryText(const QString& key, const QString& name, const QString& value) {
    RegistryKey registryKey(key);
    const RegistryKey::Status status = registryKey.open(true);
    if ((status != RegistryKey::Status::Ok && status != RegistryKey::Status::Corrupt) ||
        !registryKey.setValue(name, value))
        throw ERegistryError("Error encountered saving registry");
}

QString ReadRegistryText(const QString& key, const QString& name) {
    RegistryKey registryKey(key);
    const RegistryKey::Status status = registryKey.open(false);
    if (status != RegistryKey::Status::Ok && status != RegistryKey::Status::Corrupt)
        return {};
    return registryKey.value(name).value_or(QString());
}

QString GetProductVersion() {
#ifdef KORVEX_VERSION
    return QStringLiteral(KORVEX_VERSION);
#else
    return QStringLiteral("?.?");
#endif
}

} // namespace korvex
