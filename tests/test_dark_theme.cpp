// The window under a dark desktop theme, judged by what it draws: the
// captions on the designed white are dark, what keeps the theme's colours
// stays readable, and a skin keeps the theme's own text on the theme's face.

#include "Files.h"
#include "TestWindow.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace velunor;
using namespace velunor::testing;

namespace {

// A dark theme as desktops ship it: light text on dark surfaces.
QPalette DarkPalette()
{
    QPalette dark;
    const QColor surface(53, 53, 53), field(30, 30, 30), light(235, 235, 235);
    dark.setColor(QPalette::Window, surface);
    dark.setColor(QPalette::WindowText, light);
    dark.setColor(QPalette::Base, field);
    dark.setColor(QPalette::AlternateBase, surface);
    dark.setColor(QPalette::Text, light);
    dark.setColor(QPalette::Button, surface);
    dark.setColor(QPalette::ButtonText, light);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    return dark;
}

// The gray levels drawn in `area` of `widget`, as the screen shows them.
struct Drawn {
    int background = 0; // the most common level
    int ink = 0;        // pixels far from the background
    int darkInk = 0;    // of those, how many are dark
};

Drawn Look(QWidget *widget, const QRect &area)
{
    const QPixmap picture = widget->grab();
    const QImage image = picture.toImage();
    const qreal scale = picture.devicePixelRatio();
    const QRect pixels(QPoint(qRound(area.left() * scale), qRound(area.top() * scale)),
                       QPoint(qRound(area.right() * scale), qRound(area.bottom() * scale)));
    QList<int> count(256, 0);
    QList<int> levels;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if (image.rect().contains(x, y))
                levels << qGray(image.pixel(x, y));
    for (int level : levels)
        ++count[level];
    Drawn drawn;
    drawn.background = int(std::max_element(count.begin(), count.end()) - count.begin());
    for (int level : levels) {
        if (std::abs(level - drawn.background) > 120) {
            ++drawn.ink;
            drawn.darkInk += level < 90;
        }
    }
    return drawn;
}

QRect CaptionArea(QGroupBox *frame)
{
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    return frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel,
                                          frame);
}

QRect CaptionArea(QRadioButton *option)
{
    QStyleOptionButton style;
    style.initFrom(option);
    style.text = option->text();
    return option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option);
}

QRect CaptionArea(QPushButton *button)
{
    QStyleOptionButton style;
    style.initFrom(button);
    style.text = button->text();
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &style, button);
}

// Enough far-off pixels to be a word, not an edge, and to be "...".
constexpr int kWord = 20;
constexpr int kDots = 6;

} // namespace

class DarkThemeTest : public QObject {
    Q_OBJECT

    QPalette theme_;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        theme_ = QApplication::palette();
        QApplication::setPalette(DarkPalette());
    }

    void cleanupTestCase() { QApplication::setPalette(theme_); }

    void captionsOnTheDesignedWhiteAreDark()
    {
        TestWindow window;
        window.load();
        app::Form1 &form = window.form();
        Controls(form).Text1->setText(QStringLiteral("/home/user/Music/"));

        const QList<QPair<QWidget *, QRect>> onWhite = {
            {Controls(form).Frame1, CaptionArea(Controls(form).Frame1)},
            {Controls(form).Frame2, CaptionArea(Controls(form).Frame2)},
            {Controls(form).Option1, CaptionArea(Controls(form).Option1)},
            {Controls(form).Option2, CaptionArea(Controls(form).Option2)},
            {Controls(form).Option3, CaptionArea(Controls(form).Option3)},
            {Controls(form).Text1, Controls(form).Text1->rect()},
        };
        for (const auto &[widget, area] : onWhite) {
            const Drawn drawn = Look(widget, area);
            const QByteArray name = widget->objectName().toUtf8();
            QVERIFY2(drawn.background > 240, name);
            QVERIFY2(drawn.darkInk >= kWord, name);
        }
        // The selected option's mark shows on its white circle.
        QStyleOptionButton indicator;
        indicator.initFrom(Controls(form).Option1);
        const QRect mark = Controls(form).Option1->style()->subElementRect(
            QStyle::SE_RadioButtonIndicator, &indicator, Controls(form).Option1);
        QVERIFY(Look(Controls(form).Option1, mark).ink >= 4);

        // What keeps the theme's colours keeps its light text on its face.
        const QList<QPair<QPushButton *, int>> buttons = {{Controls(form).PushButton2, kWord},
                                                          {Controls(form).PushButton7, kDots}};
        for (const auto &[button, enough] : buttons) {
            const Drawn drawn = Look(button, CaptionArea(button));
            QVERIFY2(drawn.ink >= enough && drawn.darkInk == 0, qPrintable(button->objectName()));
        }
    }

    void aSkinShowsTheThemesOwnTextOnTheThemesFace()
    {
        QTemporaryDir programFolder;
        QVERIFY(WriteFile(programFolder.filePath("x/o.cjs"), "QLineEdit { margin: 0px; }"));
        TestWindow window(programFolder.path());
        window.load();
        app::Form1 &form = window.form();
        QVERIFY(window.platform.messages.isEmpty());
        for (QWidget *widget :
             QList<QWidget *>{Controls(form).Frame1, Controls(form).Frame2, Controls(form).Option1,
                              Controls(form).Option2, Controls(form).Option3}) {
            const QRect area = qobject_cast<QGroupBox *>(widget)
                                   ? CaptionArea(static_cast<QGroupBox *>(widget))
                                   : CaptionArea(static_cast<QRadioButton *>(widget));
            const Drawn drawn = Look(widget, area);
            const QByteArray name = widget->objectName().toUtf8();
            QVERIFY2(drawn.background < 90, name);
            QVERIFY2(drawn.ink >= kWord && drawn.darkInk == 0, name);
        }
    }
};

QTEST_MAIN(DarkThemeTest)
#include "test_dark_theme.moc"
