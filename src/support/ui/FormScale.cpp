#include "FormScale.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace korvex {

namespace {

constexpr int kDesignDpi = 96;
constexpr int kDesignFontHeight = 12;

// The font's height in pixels at the given resolution.
int pixelHeight(const QFont& font, double dpi) {
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return int(std::lround(font.pointSizeF() * dpi / 72.0));
}

} // namespace

void ScaleFormFonts(QWidget* form) {
    if (!form)
        return;
    const int formDpi = form->logicalDpiY();
    const QScreen* screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    const double screenDpi = screen ? screen->logicalDotsPerInchY() : kDesignDpi;
    if (formDpi == kDesignDpi || std::lround(screenDpi) == kDesignDpi)
        return;
    // The form's font as it would have been scaled from the design resolution.
    const int formHeight =
        int(std::lround(pixelHeight(form->font(), kDesignDpi) * double(formDpi) / kDesignDpi));
    const int factor = formHeight / kDesignFontHeight;
    if (factor < 1)
        return;
    const QObjectList children = form->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        auto* control = qobject_cast<QWidget*>(*it);
        if (!control)
            continue;
        QFont font = control->font();
        font.setPixelSize(pixelHeight(font, formDpi) * factor);
        control->setFont(font);
    }
}

void FocusIfPossible(QWidget* control) {
    if (control && control->isEnabled() && control->isVisible())
        control->setFocus();
}

QFont dialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kDesignFontHeight);
    return font;
}

void applyDialogLook(QWidget* form) {
    form->setFont(dialogFont());
    QPalette palette = form->palette();
    palette.setColor(QPalette::Window, Qt::white);
    form->setPalette(palette);
    form->setAutoFillBackground(true);
}

void centreOnScreen(QWidget* form) {
    const QScreen* screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = form->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    form->move(frame.topLeft());
}

} // namespace korvex
