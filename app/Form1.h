#pragma once

#include "app/PointerKind.h"
#include "conversion/ui/RunWindow.h"
#include "platform/Path.h"
#include "platform/ui/Platform.h"
#include "shell/ui/ErrorReport.h"

#include <QCursor>
#include <QHash>
#include <QPersistentModelIndex>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QGroupBox;
class QLineEdit;

namespace velunor::conversion {
class ConversionRun;
}
namespace velunor::filelist {
class FolderSearch;
}
namespace velunor::shell {
class SettingsStore;
}

namespace velunor::app {

class FileListView;
class ProgressBar;

// An option button of a group in which at most one is selected but none has
// to be: clicking the selected one keeps it selected, and the program may
// clear all three.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override { setChecked(true); }
};

// A button outside the window that holds the first focus, so that no control
// is focused before the user picks one. Screen readers are told it is not
// shown.
class FocusHolder : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;
};

// The main window. Its controls keep their designer names (also as object
// names, by which tests and accessibility tools find them), and every control
// event has one handler named after the control and the event. The handlers
// live beside the capability they serve: start-up and pointer rules here, the
// list in filelist/, the run and the options in conversion/. A run sees the
// window only as a RunWindow.
class Form1 : public QWidget, private conversion::RunWindow {
    Q_OBJECT
public:
    Form1(platform::Platform &platform, shell::SettingsStore &settings, QString programFolder,
          QWidget *parent = nullptr);
    ~Form1() override;

    // The window's pointer: the hourglass while busy, otherwise what the hover
    // rules chose (Custom is the hand cursor from HAND-M.CUR, the arrow when
    // none was loaded).
    PointerKind MousePointer() const { return mousePointer_; }
    void setMousePointer(PointerKind kind);
    // Busy work (a run, a folder search) holds the hourglass while it works.
    // Work started inside another's yields may end first: the pointer goes
    // back to the default only when the last holder lets go.
    void holdBusyPointer() override;
    void releaseBusyPointer() override;
    // The hand cursor, once loaded at start-up.
    const std::optional<QCursor> &MouseIcon() const { return mouseIcon_; }

    // The window's title while no run is in progress.
    static inline const QString DisplayName = QStringLiteral("Velunor");
    const QString &applicationTitle() const { return applicationTitle_; }
    const QString &programFolder() const { return programFolder_; }
    platform::Platform &platform() override { return platform_; }

    // A plain message: OK only, no icon, the application title.
    void showMessage(const QString &text);
    // A plain message whose details (the files a run left unconverted, each
    // with its reason) the box offers apart from the text.
    void showMessage(const QString &text, const QString &details);
    // A plain question with Yes and No; true for Yes.
    bool askYesNo(const QString &text);
    // Selects or clears an option button as a user's change would: selecting
    // deselects the other two and fires the button's click handler.
    void setOptionValue(OptionButton *option, bool selected);
    // Adds files to the end of the list, as the program's arguments do.
    void addToList(const QList<Path> &files);

    // The settings below only the tests change: they stay so that a test can
    // close the window without ending itself, see the order of files on any
    // machine, and see the notice without a long run.

    // What closing the window does after a run in progress has been stopped
    // and cleaned up; by default the process ends at once, whatever handler
    // is running.
    void setEndProgram(std::function<void()> endProgram) { endProgram_ = std::move(endProgram); }
    // How many files a run converts at once; 0 (the default) means one per
    // processor.
    void setConversionsAtOnce(int count) { conversionsAtOnce_ = count; }
    // A run that takes longer than this and ends while the user is in another
    // program is also told of by a notice on the desktop.
    void setNoticeAfterMilliseconds(qint64 milliseconds) { noticeAfterMs_ = milliseconds; }
    // Whether a run is in progress; the tests wait on it.
    bool isConverting() const { return run_ != nullptr; }

    // Start-up (app/Form1.cpp).
    void Form_Load();
    void Form_Unload();
    void Form_MouseMove();
    void Text1_MouseMove();
    void Frame1_MouseMove();
    void Frame2_MouseMove();
    void PushButton_MouseMove(); // the shared rule of all eight push buttons

    // File list (filelist/).
    void ListView1_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void ListView1_DblClick();
    void ListView1_ItemClick();
    void ListView1_MouseDown();
    void ListView1_MouseMove(int x, int y);
    void ListView1_MouseUp();
    void ListView1_OLEDragOver(QDropEvent *event);
    void ListView1_OLEDragDrop(QDropEvent *event);
    void PushButton1_Click();
    void PushButton3_Click();
    void PushButton4_Click();
    void PushButton5_Click();

    // Conversion, options and help (conversion/).
    void PushButton2_Click();
    void PushButton6_Click();
    void PushButton7_Click();
    void PushButton8_Click();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Text1_Change();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Controls.
    FileListView *ListView1 = nullptr;
    QPushButton *PushButton1 = nullptr; // "Add MP3 File(s)"
    QPushButton *PushButton2 = nullptr; // "Start Converting"
    QPushButton *PushButton3 = nullptr; // "Add All MP3 File(s) In Folder"
    QPushButton *PushButton4 = nullptr; // "Clear List"
    QPushButton *PushButton5 = nullptr; // "Load Sample/Example Files"
    QPushButton *PushButton6 = nullptr; // "What is Mono and Stereo?"
    QPushButton *PushButton7 = nullptr; // "..."
    QPushButton *PushButton8 = nullptr; // "Help"
    QGroupBox *Frame1 = nullptr;        // "Save Results To This Folder"
    QGroupBox *Frame2 = nullptr;        // "Options"
    OptionButton *Option1 = nullptr;    // mix
    OptionButton *Option2 = nullptr;    // left only
    OptionButton *Option3 = nullptr;    // right only
    QLineEdit *Text1 = nullptr;         // output folder
    ProgressBar *ProgressBar1 = nullptr;
    FocusHolder *Command1 = nullptr; // holds the first focus, never seen

    // What a run sees of the window.
    QWidget *reportParent() override { return this; }
    filelist::FileListModel &listedFiles() override;
    QString outputFolderText() const override;
    bool isModeSelected(conversion::ChannelMode mode) const override;
    void showPercent(int percent) override;
    void showBarText(const QString &text) override;
    void showRunState(const QString &state) override;

    void createControls();
    // Makes room for captions longer than the designed ones (a translation's).
    void fitCaptions();
    void connectHandlers();
    void applyPointerToWindow();
    void applySkin();
    void loadMouseIcon();
    void storeChannelMode();
    void askToStopRun();
    void endRun();
    // Event routing of the list control (filelist/Form1_ListView.cpp and
    // filelist/Form1_DragDrop.cpp).
    bool routeListViewEvent(QObject *watched, QEvent *event);
    bool routeListViewDrop(QEvent *event);
    void removeSelectedItem();

    platform::Platform &platform_;
    shell::SettingsStore &settings_;
    QString programFolder_;
    QString applicationTitle_;
    PointerKind mousePointer_;
    int busyHolders_ = 0;
    std::optional<QCursor> mouseIcon_;
    std::function<void()> endProgram_;

    // The reorder drag of the list.
    bool DragActive = false;
    // The item whose text the drag carries; it follows its item when others
    // move and becomes invalid once that item is removed.
    QPersistentModelIndex DraggedItem;
    // The searches of dropped folders, in the order of their drops, and the
    // files of those that ended before an earlier one.
    QList<filelist::FolderSearch *> dropSearches_;
    QHash<filelist::FolderSearch *, QList<Path>> droppedFiles_;
    // The run in progress, if any.
    std::unique_ptr<conversion::ConversionRun> run_;
    int conversionsAtOnce_ = 0;
    qint64 noticeAfterMs_ = 10000;
    bool stopQuestionOpen_ = false;
    bool runEnded_ = false; // while a stop question is open
    bool closing_ = false;
};

} // namespace velunor::app
