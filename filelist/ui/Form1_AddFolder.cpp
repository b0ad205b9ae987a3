// "Add All MP3 File(s) In Folder": every file of a typed extension in a chosen
// folder and in all the folders below it, the nearest folders first.

#include "app/FileListView.h"
#include "app/Form1.h"
#include "filelist/AddFolder.h"
#include "filelist/PickedFiles.h"
#include "shell/Locations.h"
#include "shell/ui/BrowseForFolder.h"
#include "shell/ui/WindowMain.h"

namespace velunor {

namespace {
const QString kExtensionPrompt =
    QStringLiteral("Enter file extension to load:\r\r(* for all files, txt for all txt files, doc "
                   "for all doc files, etc.)");
} // namespace

void Form1::PushButton3_Click()
{
    StepGuard guard(platform_, this, Location::PushButton3_Click);
    QString extension;
    guard.step(100, [&] {
        extension =
            platform_.inputBox(this, kExtensionPrompt, applicationTitle_, QStringLiteral("mp3"));
    });
    if (extension.isEmpty())
        return;
    QString folder;
    guard.step(104, [&] {
        folder =
            AddFolder::BrowseForFolder(platform_, this, QStringLiteral("Please select folder:"));
    });
    if (folder.isEmpty())
        return;
    // The hourglass is also the busy flag: the list keeps its items while a
    // search runs, and it stays until the end whatever fails in between. A
    // search made while a run converts leaves the hourglass to the run.
    bool holdsPointer = false;
    guard.step(108, [&] {
        holdBusyPointer();
        holdsPointer = true;
    });
    QList<Path> folders;
    // The root folder comes back as "/", so it gets "//", which the adding
    // collapses again. The picker's text is the folder as it shows it.
    guard.step(110, [&] { folders.append(RecoveredPath(folder).withSuffix("/")); });
    guard.step(112, [&] { AddFolder::CollectSubfolders(folders, true, Main::YieldToEvents); });
    // The typed text is taken as it is: "*" makes "*.*", which matches every file.
    guard.step(114, [&] {
        AddFolder::AddFilesFromFolders(folders, QStringLiteral("*.") + extension,
                                       ListView1->items());
    });
    guard.step(116, [&] {
        if (holdsPointer)
            releaseBusyPointer();
    });
}

} // namespace velunor
