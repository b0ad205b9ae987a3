#include "app/Accessibility.h"

#include "app/Form1.h"

#include <QAccessibleWidget>

namespace velunor::app {

namespace {

// One of the three channel options. Qt publishes a radio button that is not
// auto-exclusive as a check box; these are radio buttons whose one-of-three
// rule the window keeps itself.
class OptionButtonInterface : public QAccessibleWidget {
public:
    explicit OptionButtonInterface(OptionButton *option)
        : QAccessibleWidget(option, QAccessible::RadioButton)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return option()->text();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = option()->isChecked();
        return state;
    }

    // Selecting through assistive technology is a click, so that the window's
    // rule and the stored choice follow as they do for the mouse and Space.
    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            option()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    OptionButton *option() const { return static_cast<OptionButton *>(widget()); }
};

// The button outside the window that only holds the first focus: nothing a
// screen reader should present.
class FocusHolderInterface : public QAccessibleWidget {
public:
    explicit FocusHolderInterface(QWidget *holder) : QAccessibleWidget(holder, QAccessible::Button)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        state.offscreen = true;
        return state;
    }
};

QAccessibleInterface *WindowControlInterface(const QString &className, QObject *object)
{
    // The main window is a window, named by its title; a plain top-level
    // widget would be published as a mere filler.
    if (className == QLatin1String(Form1::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<Form1 *>(object), QAccessible::Window);
    if (className == QLatin1String(OptionButton::staticMetaObject.className()))
        return new OptionButtonInterface(static_cast<OptionButton *>(object));
    if (className == QLatin1String(FocusHolder::staticMetaObject.className()))
        return new FocusHolderInterface(static_cast<FocusHolder *>(object));
    return nullptr;
}

} // namespace

void InstallAccessibleInterfaces()
{
    // Installing the same factory again changes nothing.
    QAccessible::installFactory(&WindowControlInterface);
}

} // namespace velunor::app
