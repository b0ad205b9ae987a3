#pragma once

#include "conversion/ChannelMode.h"
#include "platform/ui/Platform.h"

#include <QString>

class QWidget;

namespace velunor::filelist {
class FileListModel;
}

namespace velunor::conversion {

// What a run sees of the window: the listed files, the choices as they stand
// now, the bar, the title and the busy pointer. The run knows no control.
class RunWindow {
public:
    virtual ~RunWindow() = default;

    virtual platform::Platform &platform() = 0;
    // The window the run's error reports belong to.
    virtual QWidget *reportParent() = 0;
    virtual filelist::FileListModel &listedFiles() = 0;

    // The output folder as its text stands.
    virtual QString outputFolderText() const = 0;
    // Whether the option button of `mode` is selected.
    virtual bool isModeSelected(ChannelMode mode) const = 0;

    virtual void showPercent(int percent) = 0;
    virtual void showBarText(const QString &text) = 0;
    // `state` ("42% · 3:10 left") goes before the program's name in the
    // title; an empty one leaves the name alone.
    virtual void showRunState(const QString &state) = 0;

    virtual void holdBusyPointer() = 0;
    virtual void releaseBusyPointer() = 0;
};

} // namespace velunor::conversion
