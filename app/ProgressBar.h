#pragma once

#include <QProgressBar>

namespace velunor::app {

// A progress bar on a scale of 0 to 100 with a status text drawn on it; its
// accessible name is that text.
class ProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget *parent = nullptr);

    void setText(const QString &text);
    // What the bar draws: the status text as set, never a computed percentage.
    QString text() const override { return text_; }

signals:
    // The status text changed (the bar's value has valueChanged).
    void textChanged(const QString &text);

private:
    QString text_;
};

} // namespace velunor::app
