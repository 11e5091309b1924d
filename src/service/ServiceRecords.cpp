#include "ServiceRecords.h"

namespace korvex {

QString& AuthenticationID() {
    static QString ticket;
    return ticket;
}

} // namespace korvex
