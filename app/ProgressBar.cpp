#include "app/ProgressBar.h"

namespace velunor::app {

ProgressBar::ProgressBar(QWidget *parent) : QProgressBar(parent)
{
    setRange(0, 100);
    setValue(0);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
}

void ProgressBar::setText(const QString &text)
{
    // A run sets the text up to ten times a second, mostly to what it is
    // already.
    if (text == text_)
        return;
    text_ = text;
    // Screen readers read the bar's number by itself; its name carries the
    // text, and setting the name tells them it changed.
    setAccessibleName(text_);
    update();
    emit textChanged(text_);
}

} // namespace velunor::app
