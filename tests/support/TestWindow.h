#pragma once

#include "Files.h"
#include "ScriptedPlatform.h"
#include "app/Form1.h"
#include "shell/SettingsStore.h"

#include <QTemporaryDir>

#include <memory>

namespace velunor::testing {

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

    Form1 &form() { return *form_; }
    Form1 *operator->() { return form_.get(); }
    ScriptedPlatform platform;
    SettingsStore &settings() { return *settings_; }
    QString stored(const QString &key) const;
    const QString &folder() const { return folder_; }
    int endProgramCalls = 0;

private:
    QTemporaryDir temporary_;
    QString folder_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<Form1> form_;
};

} // namespace velunor::testing
