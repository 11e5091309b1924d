#include "CheckList.h"

namespace korvex {

void TCheckList::setItems(const QStringList& items) {
    m_items = items;
    emit changed();
}

bool TCheckList::isChecked(int index) const {
    return index >= 0 && index < count() && isCheckedItem(m_items[index]);
}

int TCheckList::indexOf(const QString& path) const {
    const QString bare = pathOf(path);
    for (int i = 0; i < count(); ++i)
        if (pathOf(m_items[i]).compare(bare, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TCheckList::setCheck(int index, bool checked) {
    QString& item = m_items[index];
    if (checked && !isCheckedItem(item))
        item.remove(0, 1);
    else if (!checked && isCheckedItem(item))
        item.prepend(u';');
}

void TCheckList::CheckAll() {
    for (int i = 0; i < count(); ++i)
        setCheck(i, true);
    emit changed();
}

void TCheckList::UncheckAll() {
    for (int i = 0; i < count(); ++i)
        setCheck(i, false);
    emit changed();
}

bool TCheckList::SetChecked(const QString& path, bool checked) {
    const int index = indexOf(path);
    if (index < 0)
        return false;
    setCheck(index, checked);
    emit changed();
    return true;
}

bool TCheckList::ToggleCheck(int index) {
    if (index < 0 || index >= count())
        return false;
    const bool now = !isChecked(index);
    setCheck(index, now);
    emit changed();
    return now;
}

int TCheckList::CheckedCount() const {
    return int(std::count_if(m_items.cbegin(), m_items.cend(), isCheckedItem));
}

QStringList TCheckList::CheckedPaths() const {
    QStringList paths;
    for (const QString& item : m_items)
        if (isCheckedItem(item))
            paths << item;
    return paths;
}

} // namespace korvex
