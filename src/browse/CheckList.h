#pragma once

#include <QObject>
#include <QStringList>

namespace korvex {

// The list a check grid shows: one full picture path per item, in display order, prefixed with
// ";" while the picture is not checked. The collection files keep the same convention, so the
// items are the text that is saved and loaded.
class TCheckList : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    static bool isCheckedItem(const QString& item) { return !item.startsWith(u';'); }
    static QString pathOf(const QString& item) { return isCheckedItem(item) ? item : item.mid(1); }

    const QStringList& items() const { return m_items; }
    void setItems(const QStringList& items);
    int count() const { return int(m_items.size()); }
    QString item(int index) const { return m_items.value(index); }
    QString path(int index) const { return pathOf(m_items.value(index)); }
    bool isChecked(int index) const;
    // The index of the item for path, checked or not (without case); -1 when absent.
    int indexOf(const QString& path) const;

    void CheckAll();
    void UncheckAll();
    // False when the path is not listed.
    bool SetChecked(const QString& path, bool checked);
    // The new state; an index that is not (or no longer) listed stays false.
    bool ToggleCheck(int index);
    int CheckedCount() const;
    QStringList CheckedPaths() const;

signals:
    // The items were replaced or a check mark changed.
    void changed();

private:
    void setCheck(int index, bool checked);

    QStringList m_items;
};

} // namespace korvex
