#include "AppContext.h"

#include <QStandardPaths>

namespace korvex {

QString AppContext::monitorAutostartFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/korvex-monitor.desktop");
}

} // namespace korvex
