#pragma once

class QWidget;

namespace velunor::app {

// Where the window puts its designed white, and so what must go dark on it.
enum class DesignedArea {
    Window, // the window itself: what is drawn straight on its background
    Frame,  // a frame: its caption and the text box inside it
    Option, // an option button: its caption and its round indicator
};

// Paints `widget` in the window's designed colours: black on white, whatever
// the desktop theme. A theme's text colour is made for the theme's own
// background; where the window forces white, it forces the dark text that
// goes with white too, or a dark theme's light captions would vanish on it.
// Push buttons, the list and the progress bar keep the theme's colours.
void PaintDesignedColours(QWidget *widget, DesignedArea area);

// Paints `widget` as a skin wants it: the theme's button face behind the
// theme's own text colours.
void PaintThemeFace(QWidget *widget);

} // namespace velunor::app
