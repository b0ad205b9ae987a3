#pragma once

#include "Files.h"
#include "ScriptedPlatform.h"
#include "app/Form1.h"
#include "shell/SettingsStore.h"

#include <QTemporaryDir>

class QGroupBox;
class QLineEdit;

#include <memory>

namespace velunor::app {
class FileListView;
class ProgressBar;
} // namespace velunor::app

namespace velunor::testing {

// The window's controls, found by their object names as a user's tools find
// them: the window keeps them to itself.
struct Controls {
    explicit Controls(app::Form1 &form);

    app::FileListView *ListView1;
    QPushButton *PushButton1;
    QPushButton *PushButton2;
    QPushButton *PushButton3;
    QPushButton *PushButton4;
    QPushButton *PushButton5;
    QPushButton *PushButton6;
    QPushButton *PushButton7;
    QPushButton *PushButton8;
    QGroupBox *Frame1;
    QGroupBox *Frame2;
    app::OptionButton *Option1;
    app::OptionButton *Option2;
    app::OptionButton *Option3;
    QLineEdit *Text1;
    app::ProgressBar *ProgressBar1;
    app::FocusHolder *Command1;
};

// A main window on a scripted desktop, with its settings file and program
// folder in a temporary folder of its own. Nothing is loaded until load().
class TestWindow {
public:
    // `programFolder` "" means the build's program folder (with the real
    // companion files beside the executable).
    // `storedText`, when given, is the settings file's whole text at start,
    // as another program might have written it.
    explicit TestWindow(const QString &programFolder = QString(),
                        const QByteArray &storedText = QByteArray());
    ~TestWindow();

    // Writes a setting before start-up.
    void preset(const QString &key, const QString &value);
    // Runs start-up and shows the window.
    void load();

    app::Form1 &form() { return *form_; }
    app::Form1 *operator->() { return form_.get(); }
    Controls ui() { return Controls(*form_); }
    ScriptedPlatform platform;
    shell::SettingsStore &settings() { return *settings_; }
    QString stored(const QString &key) const;
    const QString &folder() const { return folder_; }
    int endProgramCalls = 0;

private:
    QTemporaryDir temporary_;
    QString folder_;
    std::unique_ptr<shell::SettingsStore> settings_;
    std::unique_ptr<app::Form1> form_;
};

} // namespace velunor::testing
