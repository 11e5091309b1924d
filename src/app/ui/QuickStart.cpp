#include "QuickStart.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace korvex {

TdlgStartUp::TdlgStartUp(const QString& guideFolder, const QString& productName, bool showAtStartUp,
                         QWidget* parent)
    : QDialog(parent), m_folder(guideFolder), m_product(productName) {
    setWindowTitle(productName);
    resize(642, 507);
    auto* layout = new QVBoxLayout(this);
    m_browser = new QWebEngineView(this);
    m_browser->setObjectName(QStringLiteral("wbGuide"));
    layout->addWidget(m_browser, 1);
    connect(m_browser, &QWebEngineView::loadFinished, this, [this](bool ok) {
        if (!ok && !m_loadFailureShown) {
            m_loadFailureShown = true;
            QMessageBox::warning(this, m_product,
                                 QStringLiteral("The quick start guide could not be loaded"));
        }
    });

    auto* row = new QHBoxLayout;
    m_showAtStartUp = new QCheckBox(QStringLiteral("Show this window at startup"), this);
    m_showAtStartUp->setChecked(showAtStartUp);
    row->addWidget(m_showAtStartUp);
    auto* print = new QLabel(QStringLiteral("<a href=\"#\">Print quick start guide</a>"), this);
    connect(print, &QLabel::linkActivated, this, &TdlgStartUp::printGuide);
    row->addWidget(print);
    row->addStretch();
    m_back = new QPushButton(QStringLiteral("< Back"), this);
    m_next = new QPushButton(QStringLiteral("Next >"), this);
    m_finish = new QPushButton(QStringLiteral("Finish"), this);
    row->addWidget(m_back);
    row->addWidget(m_next);
    row->addWidget(m_finish);
    layout->addLayout(row);
    connect(m_back, &QPushButton::clicked, this, [this] { setPage(m_page - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { setPage(m_page + 1); });
    connect(m_finish, &QPushButton::clicked, this, &QDialog::accept);
    setPage(1);
}

QString TdlgStartUp::pageFile(const QString& guideFolder, int page) {
    return guideFolder + QStringLiteral("quickstart_%1.html").arg(page);
}

void TdlgStartUp::setPage(int page) {
    m_page = std::clamp(page, 1, 4);
    m_back->setEnabled(m_page > 1);
    m_next->setVisible(m_page < 4);
    m_finish->setVisible(m_page == 4);
    const QString file = pageFile(m_folder, m_page);
    if (!QFileInfo(file).isFile()) {
        if (!m_loadFailureShown) {
            m_loadFailureShown = true;
            QMessageBox::warning(this, m_product,
                                 QStringLiteral("The quick start guide could not be loaded"));
        }
        return;
    }
    m_browser->load(QUrl::fromLocalFile(file));
}

bool TdlgStartUp::showAtStartUp() const {
    return m_showAtStartUp->isChecked();
}

void TdlgStartUp::printGuide() {
    const QString file = m_folder + QStringLiteral("Print.html");
    const QString failed = m_product + QStringLiteral(" was unable to print the Quick Start Guide");
    if (!QFileInfo(file).isFile()) {
        QMessageBox::warning(this, m_product, failed);
        return;
    }
    auto printer = std::make_shared<QPrinter>();
    QPrintDialog dialog(printer.get(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The printable guide is its own page; load it off screen and print it when it is ready.
    auto* view = new QWebEngineView;
    connect(view, &QWebEngineView::loadFinished, this, [this, view, printer, failed](bool ok) {
        if (!ok) {
            QMessageBox::warning(this, m_product, failed);
            view->deleteLater();
            return;
        }
        connect(view, &QWebEngineView::printFinished, view, &QObject::deleteLater);
        view->print(printer.get());
    });
    view->load(QUrl::fromLocalFile(file));
}

} // namespace korvex
