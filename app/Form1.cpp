#include "app/Form1.h"

#include "app/Accessibility.h"
#include "app/DesignedColours.h"
#include "app/FileListView.h"
#include "app/ProgressBar.h"
#include "conversion/ui/ConversionRun.h"
#include "platform/ExitCleanup.h"
#include "shell/Languages.h"
#include "shell/Locations.h"
#include "shell/Main.h"
#include "shell/SettingsStore.h"
#include "shell/ui/WindowMain.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace velunor::app {

namespace {

// Closing during a run waits this long at most for its converters to end.
constexpr int kClosingLimitMs = 2000;

// The layout is given in twips; 15 twips make one pixel.
int Pixels(int twips)
{
    return static_cast<int>(std::lround(twips / 15.0));
}

QRect TwipRect(int left, int top, int width, int height)
{
    return QRect(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

// The hot spot a Windows cursor file names for its first image; (0, 0) for
// an icon file or anything shorter than a header.
QPoint CursorHotSpot(const QByteArray &bytes)
{
    if (bytes.size() < 6 + 16)
        return {};
    const uchar *data = reinterpret_cast<const uchar *>(bytes.constData());
    if (qFromLittleEndian<quint16>(data + 2) != 2)
        return {};
    return QPoint(qFromLittleEndian<quint16>(data + 6 + 4),
                  qFromLittleEndian<quint16>(data + 6 + 6));
}

} // namespace

Form1::Form1(platform::Platform &platform, shell::SettingsStore &settings, QString programFolder,
             QWidget *parent)
    : QWidget(parent), platform_(platform), settings_(settings),
      programFolder_(std::move(programFolder)), endProgram_([] {
          // Nothing of the program's outlives it, not even what a clean-up
          // that was cut short left behind.
          platform::ExitCleanup::RunNow();
          std::fflush(nullptr);
          ::_exit(0);
      })
{
    InstallAccessibleInterfaces();
    setObjectName(QStringLiteral("Form1"));
    createControls();
    connectHandlers();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    setFixedSize(Pixels(8040), Pixels(7650));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setBold(true);
    setFont(font);
    PaintDesignedColours(this, DesignedArea::Window);
    setMouseTracking(true);

    auto button = [this](QPushButton *&control, const char *name, const QString &caption,
                         QWidget *parent, QRect geometry) {
        control = new QPushButton(caption, parent);
        control->setObjectName(QLatin1String(name));
        control->setGeometry(geometry);
        control->setMouseTracking(true);
        // A move over a button is the button's alone: the window's own rule
        // must not undo it.
        control->setAttribute(Qt::WA_NoMousePropagation);
        control->installEventFilter(this);
    };

    button(PushButton6, "PushButton6", tr("What is Mono and Stereo?"), this,
           TwipRect(120, 90, 3840, 405));
    button(PushButton8, "PushButton8", tr("Help"), this, TwipRect(4080, 90, 3840, 405));

    ListView1 = new FileListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(TwipRect(120, 600, 7800, 2535));
    ListView1->setToolTip(
        tr("Drag and drop files here. Double-click item to remove it. Move | line to right and out "
           "of window to reveal full names."));
    ListView1->setAccessibleName(tr("MP3 files to convert"));
    ListView1->setAccessibleDescription(
        tr("The arrow keys select a file and Delete removes it from the list."));
    ListView1->installEventFilter(this);
    ListView1->viewport()->installEventFilter(this);
    ListView1->viewport()->setMouseTracking(true);

    button(PushButton1, "PushButton1", tr("Add MP3 File(s)"), this, TwipRect(120, 3225, 3840, 405));
    button(PushButton3, "PushButton3", tr("Add All MP3 File(s) In Folder"), this,
           TwipRect(4080, 3225, 3840, 405));
    button(PushButton4, "PushButton4", tr("Clear List"), this, TwipRect(120, 3735, 3840, 405));
    button(PushButton5, "PushButton5", tr("Load Sample/Example Files"), this,
           TwipRect(4080, 3735, 3840, 405));

    Frame2 = new QGroupBox(tr("Options"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(TwipRect(120, 4200, 7800, 1395));
    Frame2->setMouseTracking(true);
    Frame2->installEventFilter(this);
    PaintDesignedColours(Frame2, DesignedArea::Frame);

    auto option = [this](OptionButton *&control, const char *name, const QString &caption,
                         QRect geometry) {
        control = new OptionButton(caption, Frame2);
        control->setObjectName(QLatin1String(name));
        control->setGeometry(geometry);
        control->setAutoExclusive(false);
        // Drawn a little tighter than the window's font, so that the longest
        // caption fits its designed width in full.
        QFont tighter = control->font();
        tighter.setLetterSpacing(QFont::AbsoluteSpacing, -0.3);
        control->setFont(tighter);
        // Hovering an option button is not hovering its frame.
        control->setAttribute(Qt::WA_NoMousePropagation);
        PaintDesignedColours(control, DesignedArea::Option);
    };
    option(Option1, "Option1", tr("Mix left and right channels into one channel"),
           TwipRect(240, 300, 3975, 225));
    option(Option2, "Option2", tr("Keep left channel audio only and discard right channel audio"),
           TwipRect(240, 650, 5775, 225));
    option(Option3, "Option3", tr("Keep right channel audio only and discard left channel audio"),
           TwipRect(240, 1000, 5775, 225));
    Option1->setChecked(true); // as designed

    Frame1 = new QGroupBox(tr("Save Results To This Folder"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(TwipRect(120, 5670, 7800, 810));
    Frame1->setMouseTracking(true);
    Frame1->installEventFilter(this);
    PaintDesignedColours(Frame1, DesignedArea::Frame);

    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(TwipRect(240, 300, 6660, 345));
    Text1->setMouseTracking(true);
    Text1->setAttribute(Qt::WA_NoMousePropagation);
    Text1->installEventFilter(this);
    Text1->setAccessibleName(tr("Output folder"));
    Text1->setAccessibleDescription(tr("The converted files are saved in this folder."));
    button(PushButton7, "PushButton7", QStringLiteral("..."), Frame1,
           TwipRect(6960, 300, 600, 345));
    // "..." says nothing when spoken.
    PushButton7->setAccessibleName(tr("Browse for the output folder"));

    button(PushButton2, "PushButton2", tr("Start Converting"), this,
           TwipRect(120, 6600, 7800, 405));

    ProgressBar1 = new ProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(TwipRect(120, 7120, 7800, 405));
    ProgressBar1->setText(tr("Progress Bar"));
    ProgressBar1->setFocusPolicy(Qt::NoFocus);

    Command1 = new FocusHolder(QStringLiteral("Command1"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(TwipRect(-720, 2640, 615, 495));
    QFont plain(QStringLiteral("MS Sans Serif"));
    plain.setPointSizeF(8.25);
    Command1->setFont(plain);

    if (!shell::Languages::Current().isEmpty())
        fitCaptions();

    // Keyboard order: the tab-index order of the layout, frames and the bar
    // passed over because they take no focus.
    const QList<QWidget *> tabOrder = {
        Command1, ListView1,   PushButton1, PushButton3, PushButton2, PushButton4, PushButton5,
        Text1,    PushButton7, Option1,     Option2,     Option3,     PushButton6, PushButton8};
    for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    Command1->setFocus();
}

void Form1::fitCaptions()
{
    // The room each caption needs: its text and the control's own margins.
    QStyleOptionButton pushOption;
    pushOption.initFrom(PushButton2);
    const int pushMargins = 2 * (style()->pixelMetric(QStyle::PM_ButtonMargin, &pushOption) +
                                 style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &pushOption));
    const int frameMargins = Pixels(240) * 2;
    double widen = 1.0;
    const auto need = [&widen](int needed, int room) {
        widen = std::max(widen, double(needed) / std::max(room, 1));
    };
    for (QPushButton *control : {PushButton1, PushButton2, PushButton3, PushButton4, PushButton5,
                                 PushButton6, PushButton7, PushButton8})
        need(control->fontMetrics().horizontalAdvance(control->text()) + pushMargins,
             control->width());
    for (QGroupBox *frame : {Frame1, Frame2})
        need(frame->fontMetrics().horizontalAdvance(frame->title()) + frameMargins, frame->width());
    // An option may take the whole width of its frame.
    for (OptionButton *control : {Option1, Option2, Option3}) {
        const int room = Frame2->width() - control->x() - Pixels(240);
        const int needed = control->sizeHint().width();
        if (needed > control->width())
            control->resize(std::min(needed, room), control->height());
        need(needed, room);
    }
    if (widen <= 1.0)
        return;
    // Still too narrow: the window widens, and every control with it, so
    // that the design keeps its proportions.
    const auto stretch = [widen](QWidget *control) {
        const QRect at = control->geometry();
        const int left = int(std::lround(at.left() * widen));
        const int right = int(std::lround((at.left() + at.width()) * widen));
        control->setGeometry(left, at.top(), right - left, at.height());
    };
    for (QWidget *control : std::initializer_list<QWidget *>{
             PushButton6, PushButton8, ListView1, PushButton1, PushButton3, PushButton4,
             PushButton5, Frame2, Option1, Option2, Option3, Frame1, Text1, PushButton7,
             PushButton2, ProgressBar1})
        stretch(control);
    setFixedSize(int(std::lround(width() * widen)), height());
}

void Form1::connectHandlers()
{
    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(PushButton3, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
    connect(PushButton4, &QPushButton::clicked, this, [this] { PushButton4_Click(); });
    connect(PushButton5, &QPushButton::clicked, this, [this] { PushButton5_Click(); });
    connect(PushButton6, &QPushButton::clicked, this, [this] { PushButton6_Click(); });
    connect(PushButton7, &QPushButton::clicked, this, [this] { PushButton7_Click(); });
    connect(PushButton8, &QPushButton::clicked, this, [this] { PushButton8_Click(); });
    connect(Option1, &QRadioButton::clicked, this, [this] { setOptionValue(Option1, true); });
    connect(Option2, &QRadioButton::clicked, this, [this] { setOptionValue(Option2, true); });
    connect(Option3, &QRadioButton::clicked, this, [this] { setOptionValue(Option3, true); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
}

void Form1::addToList(const QList<Path> &files)
{
    ListView1->items().add(files);
}

void Form1::setOptionValue(OptionButton *option, bool selected)
{
    if (!selected) {
        option->setChecked(false);
        return;
    }
    for (OptionButton *other : {Option1, Option2, Option3})
        other->setChecked(other == option);
    if (option == Option1)
        Option1_Click();
    else if (option == Option2)
        Option2_Click();
    else
        Option3_Click();
}

void Form1::showMessage(const QString &text)
{
    showMessage(text, QString());
}

void Form1::showMessage(const QString &text, const QString &details)
{
    platform_.messageBox(this, text, applicationTitle_, platform::MessageButtons::Ok,
                         platform::MessageIcon::None, details);
}

bool Form1::askYesNo(const QString &text)
{
    return platform_.messageBox(this, text, applicationTitle_, platform::MessageButtons::YesNo,
                                platform::MessageIcon::None) == platform::MessageAnswer::Yes;
}

// ---- Start-up -------------------------------------------------------------

void Form1::Form_Load()
{
    // The channel mode as it was stored when the program started. Selecting
    // an option stores all three at once, so reading them one by one while
    // restoring would read back what the restore itself just wrote.
    const QStringList storedModes = {
        settings_.read(shell::StoredChoices::Section, shell::StoredChoices::Option1,
                       QStringLiteral("1")),
        settings_.read(shell::StoredChoices::Section, shell::StoredChoices::Option2,
                       QStringLiteral("0")),
        settings_.read(shell::StoredChoices::Section, shell::StoredChoices::Option3,
                       QStringLiteral("0"))};

    shell::StepGuard guard(platform_, this, shell::Location::Form_Load);
    guard.step(100, [this] { applySkin(); });
    guard.step(104, [this] { setWindowTitle(DisplayName); });
    guard.step(104, [this] {
        QIcon icon(QStringLiteral(":/velunor/velunor.png"));
        setWindowIcon(icon);
    });
    guard.step(104, [this] { applicationTitle_ = shell::Main::ApplicationTitleFrom(DisplayName); });
    if (guard.test(106, [this] {
            return platform::Main::PathExists(
                Path::FromText(programFolder_ + QStringLiteral("/HAND-M.CUR")));
        }))
        guard.step(108, [this] { loadMouseIcon(); });
    guard.step(110, [this] { shell::Main::HomePageChance(platform_); });
    guard.step(128, [this] { ListView1->items().setColumnHeader(tr("MP3 File(s)")); });
    guard.step(130, [this] { ListView1->header()->resizeSection(0, Pixels(7000)); });
    guard.step(132, [this] {
        const QString desktop = shell::Main::DesktopPath();
        if (desktop.isEmpty())
            throw platform::PlatformError(tr("Invalid procedure call or argument"), 5);
        Text1->setText(settings_.read(shell::StoredChoices::Section,
                                      shell::StoredChoices::OutputFolder,
                                      desktop + QLatin1Char('/')));
    });
    int step = 134;
    for (OptionButton *option : {Option1, Option2, Option3}) {
        const Expected<bool> selected = shell::TextToBoolean(storedModes[(step - 134) / 2]);
        if (selected)
            guard.step(step, [&] { setOptionValue(option, *selected); });
        else
            guard.report(step, selected.failure());
        step += 2;
    }
}

void Form1::applySkin()
{
    const QString skinFile = programFolder_ + QStringLiteral("/x/o.cjs");
    const QFileInfo skin(skinFile);
    // Only an ordinary, visible file counts as a skin.
    if (!skin.exists() || !skin.isFile() || skin.fileName().startsWith(QLatin1Char('.')))
        return;

    for (QWidget *control : {static_cast<QWidget *>(this), static_cast<QWidget *>(Frame1),
                             static_cast<QWidget *>(Frame2), static_cast<QWidget *>(Option1),
                             static_cast<QWidget *>(Option2), static_cast<QWidget *>(Option3)})
        PaintThemeFace(control);

    QFile file(skinFile);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::PlatformError(file.errorString());
    setStyleSheet(QString::fromUtf8(file.readAll()));
}

void Form1::loadMouseIcon()
{
    QFile file(programFolder_ + QStringLiteral("/HAND-M.CUR"));
    if (!file.open(QIODevice::ReadOnly))
        throw platform::PlatformError(file.errorString());
    const QByteArray bytes = file.readAll();
    QImage picture;
    if (!picture.loadFromData(bytes, "CUR") && !picture.loadFromData(bytes))
        throw platform::PlatformError(tr("Invalid picture"), 481);
    const QPoint hotSpot = CursorHotSpot(bytes);
    mouseIcon_ = QCursor(QPixmap::fromImage(picture), hotSpot.x(), hotSpot.y());
    applyPointerToWindow();
}

// ---- Pointer rules --------------------------------------------------------

void Form1::setMousePointer(PointerKind kind)
{
    mousePointer_ = kind;
    applyPointerToWindow();
}

void Form1::holdBusyPointer()
{
    ++busyHolders_;
    setMousePointer(PointerKind::Hourglass);
}

void Form1::releaseBusyPointer()
{
    if (busyHolders_ > 0 && --busyHolders_ == 0)
        setMousePointer(PointerKind::Default);
}

void Form1::applyPointerToWindow()
{
    mousePointer_.applyTo(this, mouseIcon_);
    // The text box has a pointer of its own, which only the hourglass covers.
    Text1->setCursor(mousePointer_.isBusy() ? Qt::WaitCursor : Qt::IBeamCursor);
}

void Form1::PushButton_MouseMove()
{
    if (!mousePointer_.isBusy())
        setMousePointer(PointerKind::Custom);
}

void Form1::Form_MouseMove()
{
    if (!mousePointer_.isBusy())
        setMousePointer(PointerKind::Default);
}

void Form1::Text1_MouseMove()
{
    Form_MouseMove();
}

void Form1::Frame1_MouseMove()
{
    Form_MouseMove();
}

void Form1::Frame2_MouseMove()
{
    Form_MouseMove();
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListView1 || (ListView1 && watched == ListView1->viewport())) {
        if (routeListViewDrop(event))
            return true;
        return routeListViewEvent(watched, event);
    }
    if (event->type() == QEvent::MouseMove) {
        if (watched == Text1)
            Text1_MouseMove();
        else if (watched == Frame1)
            Frame1_MouseMove();
        else if (watched == Frame2)
            Frame2_MouseMove();
        else if (qobject_cast<QPushButton *>(watched) && watched != Command1)
            PushButton_MouseMove();
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Closing --------------------------------------------------------------

void Form1::closeEvent(QCloseEvent *event)
{
    // The window goes at once; the program follows once a run in progress
    // has ended its converters.
    event->ignore();
    Form_Unload();
}

void Form1::Form_Unload()
{
    // Every setting is on disk already. A run in progress takes its
    // converters and their unfinished outputs with it, within two seconds,
    // and shows nothing; a search simply ends with the program.
    hide();
    if (!run_ || closing_) {
        if (!closing_)
            endProgram_();
        return;
    }
    closing_ = true;
    const auto endOnce = [this, ended = std::make_shared<bool>(false)] {
        if (!std::exchange(*ended, true))
            endProgram_();
    };
    run_->disconnect(this);
    connect(run_.get(), &conversion::ConversionRun::ended, this, endOnce);
    // Whatever does not settle in time (a disk that stopped answering) is
    // left to the clean-up at exit.
    QTimer::singleShot(kClosingLimitMs, this, endOnce);
    run_->stop();
}

} // namespace velunor::app
