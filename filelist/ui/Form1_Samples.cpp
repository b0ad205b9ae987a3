// "Load Sample/Example Files": the files of the Samples folder beside the
// program, and an offer to show that folder.

#include "app/FileListView.h"
#include "app/Form1.h"
#include "filelist/AddFolder.h"
#include "shell/Locations.h"

#include <QUrl>

namespace velunor::app {

namespace {
const char *const kOpenFolderQuestion = QT_TRANSLATE_NOOP(
    "velunor::app::Form1",
    "Would you like this software to open the folder where these sample files are stored (so "
    "that you can view them before working with them)?");
} // namespace

void Form1::PushButton5_Click()
{
    shell::StepGuard guard(platform_, this, shell::Location::PushButton5_Click);
    const Path samples = Path::FromText(programFolder_ + QStringLiteral("/Samples"));
    QList<Path> names;
    // Every file is a sample, whatever its name: no filter beyond existence.
    guard.step(100, [&] {
        names = filelist::AddFolder::ListMatchingFiles(samples, QStringLiteral("*.*"));
    });
    for (const Path &name : std::as_const(names))
        guard.step(102, [&] { ListView1->items().add(samples.child(name)); });
    bool openFolder = false;
    guard.step(104, [&] { openFolder = askYesNo(tr(kOpenFolderQuestion)); });
    if (openFolder)
        guard.step(106, [&] { platform_.openUrl(QUrl::fromLocalFile(samples.text())); });
}

} // namespace velunor::app
