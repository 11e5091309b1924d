#pragma once

#include <QString>
#include <stdexcept>

namespace korvex {

// Raised when a settings key cannot be created or written.
class ERegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Keys are the current user's (see RegistryKey), e.g. "SOFTWARE\Corvanta\Corvanta Express".

// Writes name = value, creating the key; an empty value deletes the value. Raises
// ERegistryError "Error encountered saving registry" when the key cannot be opened or written.
void WriteRegistryText(const QString& key, const QString& name, const QString& value);
// The value, or empty when the key cannot be opened or has no such value.
QString ReadRegistryText(const QString& key, const QString& name);

// The program's version, "?.?" when none was compiled in.
QString GetProductVersion();

} // namespace korvex
