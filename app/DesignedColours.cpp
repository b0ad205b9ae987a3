#include "app/DesignedColours.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

#include <span>

namespace velunor::app {

namespace {

using Roles = std::span<const QPalette::ColorRole>;

// The roles the styles draw an area's background and its text with: frame
// captions in Text or WindowText, option captions in WindowText (ButtonText
// in some styles), a text box and an option's indicator on Base with Text.
constexpr QPalette::ColorRole kWindowBackground[] = {QPalette::Window};
constexpr QPalette::ColorRole kBoxBackground[] = {QPalette::Window, QPalette::Base};
constexpr QPalette::ColorRole kWindowText[] = {QPalette::WindowText};
constexpr QPalette::ColorRole kFrameText[] = {QPalette::WindowText, QPalette::Text};
constexpr QPalette::ColorRole kOptionText[] = {QPalette::WindowText, QPalette::Text,
                                               QPalette::ButtonText};

Roles BackgroundRoles(DesignedArea area)
{
    return area == DesignedArea::Window ? Roles(kWindowBackground) : Roles(kBoxBackground);
}

Roles TextRoles(DesignedArea area)
{
    switch (area) {
    case DesignedArea::Window:
        return kWindowText;
    case DesignedArea::Frame:
        return kFrameText;
    case DesignedArea::Option:
        break;
    }
    return kOptionText;
}

constexpr QPalette::ColorGroup kGroups[] = {QPalette::Active, QPalette::Inactive,
                                            QPalette::Disabled};

} // namespace

void PaintDesignedColours(QWidget *widget, DesignedArea area)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : BackgroundRoles(area))
        palette.setColor(role, Qt::white);
    for (QPalette::ColorRole role : TextRoles(area)) {
        palette.setColor(QPalette::Active, role, Qt::black);
        palette.setColor(QPalette::Inactive, role, Qt::black);
        // Still readable on white, yet plainly not available.
        palette.setColor(QPalette::Disabled, role, QColor(120, 120, 120));
    }
    widget->setPalette(palette);
    // A button fills with its face colour by default: an option button is
    // meant to stand on the window's white.
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

void PaintThemeFace(QWidget *widget)
{
    const QPalette theme = QApplication::palette();
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, theme.color(QPalette::Button));
    for (QPalette::ColorRole role :
         {QPalette::Base, QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        for (QPalette::ColorGroup group : kGroups)
            palette.setColor(group, role, theme.color(group, role));
    widget->setPalette(palette);
}

} // namespace velunor::app
