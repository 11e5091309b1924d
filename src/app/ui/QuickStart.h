#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QWebEngineView;

namespace korvex {

// The quick start guide: four pages in an embedded browser with Back, Next and Finish, and the
// choice to show it at start-up.
class TdlgStartUp : public QDialog {
    Q_OBJECT
public:
    TdlgStartUp(const QString& guideFolder, const QString& productName, bool showAtStartUp,
                QWidget* parent = nullptr);

    int page() const { return m_page; }
    void setPage(int page);
    bool showAtStartUp() const;
    static QString pageFile(const QString& guideFolder, int page);

private:
    void printGuide();

    QString m_folder;
    QString m_product;
    int m_page = 1;
    QWebEngineView* m_browser = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_finish = nullptr;
    QCheckBox* m_showAtStartUp = nullptr;
    bool m_loadFailureShown = false;
};

} // namespace korvex
