#pragma once

#include <QCursor>

#include <optional>

class QWidget;

namespace velunor::app {

// The pointer a window or the list shows. The numbers are the kinds as they
// have always been told apart; the hourglass doubles as the busy flag.
class PointerKind {
public:
    enum Kind : int { Default = 0, Arrow = 1, Hourglass = 11, Custom = 99 };

    constexpr PointerKind(Kind kind = Default) : kind_(kind) {}
    constexpr Kind kind() const { return kind_; }
    constexpr bool isBusy() const { return kind_ == Hourglass; }
    friend constexpr bool operator==(PointerKind, PointerKind) = default;

    // Shows this kind on `widget`: Custom shows `custom`, or the arrow when
    // there is no picture.
    void applyTo(QWidget *widget, const std::optional<QCursor> &custom) const;

private:
    Kind kind_;
};

} // namespace velunor::app
