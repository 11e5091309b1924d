#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace korvex {

// A per-user key of string values, kept as one small INI file under $XDG_CONFIG_HOME.
// "SOFTWARE\Corvanta\Corvanta Express" lives in "Corvanta/Corvanta Express.ini"; its subkeys in
// the folder "Corvanta/Corvanta Express/". Value names compare without case. Every read goes to
// the disk (another process may have written), every write replaces the file atomically with
// mode 0600 because the key holds a proxy password.
class RegistryKey {
public:
    enum class Status {
        Ok,         // read (or absent and created on the first write)
        Missing,    // no such key and not asked to create it
        Unreadable, // exists but cannot be read: nothing is ever written over it
        Corrupt,    // read, but some lines are not values; they are kept in "<file>.corrupt"
    };
    using Values = QList<QPair<QString, QString>>;

    explicit RegistryKey(const QString& keyPath);

    static QString fileForKey(const QString& keyPath);

    // Loads the key. With create, a missing key is an empty key that the first write creates.
    Status open(bool create);
    Status status() const { return m_status; }
    QString fileName() const { return m_file; }
    QString errorString() const { return m_error; }

    std::optional<QString> value(const QString& name) const;
    bool contains(const QString& name) const { return value(name).has_value(); }
    Values values() const { return m_values; }

    // Each write re-reads the file, applies the change and replaces the file in one step, so two
    // processes writing different values never lose each other's. An empty text deletes the
    // value, as the original key store did.
    bool setValue(const QString& name, const QString& text);
    bool setValues(const Values& values);

    // Removes the key's file and every subkey below it.
    static bool deleteKey(const QString& keyPath);

private:
    bool load();
    bool write(const Values& changes);

    QString m_file;
    Status m_status = Status::Missing;
    QString m_error;
    Values m_values;
};

} // namespace korvex
