#pragma once

#include <QDialog>

namespace korvex {

// "About" + product name: the splash picture with the build version and an OK button.
class TdlgAboutBox : public QDialog {
    Q_OBJECT
public:
    TdlgAboutBox(const QString& splashFile, const QString& productName, QWidget* parent = nullptr);
};

} // namespace korvex
