#pragma once

#include <QFont>

class QWidget;

namespace korvex {

// The dialogs were laid out for 96 pixels per inch with a 12-pixel font. On a screen of another
// logical resolution the form's font height, scaled to that resolution, divided by the design
// height (whole number) multiplies the font of each control placed directly on the form. A
// quotient below one leaves the fonts alone.
void ScaleFormFonts(QWidget* form);

// Gives control the keyboard focus when it is enabled and showing.
void FocusIfPossible(QWidget* control);

// The dialogs' own look: "Verdana" 12 pixels (another sans-serif face where it is not installed),
// white background, placed in the middle of the screen when shown.
QFont dialogFont();
void applyDialogLook(QWidget* form);
void centreOnScreen(QWidget* form);

} // namespace korvex
