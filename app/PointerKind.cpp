#include "app/PointerKind.h"

#include <QWidget>

namespace velunor::app {

void PointerKind::applyTo(QWidget *widget, const std::optional<QCursor> &custom) const
{
    switch (kind_) {
    case Default:
        widget->unsetCursor();
        return;
    case Hourglass:
        widget->setCursor(Qt::WaitCursor);
        return;
    case Custom:
        widget->setCursor(custom ? *custom : QCursor(Qt::ArrowCursor));
        return;
    case Arrow:
        widget->setCursor(Qt::ArrowCursor);
        return;
    }
}

} // namespace velunor::app
