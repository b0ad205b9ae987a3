// "Add All MP3 File(s) In Folder": every file of a typed extension in a chosen
// folder and in all the folders below it, the nearest folders first.

#include "app/FileListView.h"
#include "app/Form1.h"
#include "filelist/AddFolder.h"
#include "filelist/FolderSearch.h"
#include "filelist/PickedFiles.h"
#include "shell/Locations.h"
#include "shell/ui/BrowseForFolder.h"

namespace velunor::app {

namespace {
const char *const kExtensionPrompt = QT_TRANSLATE_NOOP(
    "velunor::app::Form1", "Enter file extension to load:\r\r(* for all files, txt "
                           "for all txt files, doc for all doc files, etc.)");
} // namespace

void Form1::PushButton3_Click()
{
    shell::StepGuard guard(platform_, this, shell::Location::PushButton3_Click);
    QString extension;
    guard.step(100, [&] {
        extension = platform_.inputBox(this, tr(kExtensionPrompt), applicationTitle_,
                                       QStringLiteral("mp3"));
    });
    if (extension.isEmpty())
        return;
    QString folder;
    guard.step(104, [&] {
        folder = shell::AddFolder::BrowseForFolder(platform_, this, tr("Please select folder:"));
    });
    if (folder.isEmpty())
        return;
    // The hourglass is also the busy flag: the list keeps its items while a
    // search runs, and it stays until the search has ended whatever fails in
    // between. A search made while a run converts leaves the hourglass to the
    // run.
    bool holdsPointer = false;
    guard.step(108, [&] {
        holdBusyPointer();
        holdsPointer = true;
    });
    filelist::SearchRequest request;
    // The root folder comes back as "/", so it gets "//", which the adding
    // collapses again. The picker's text is the folder as it shows it.
    guard.step(110,
               [&] { request.entries.append(filelist::RecoveredPath(folder).withSuffix("/")); });
    // The typed text is taken as it is: "*" makes "*.*", which matches every file.
    request.pattern = QStringLiteral("*.") + extension;
    // Steps 112 (the walk through the folders) and 114 (their files) run on
    // a worker, so that the window stays responsive however large the tree;
    // the search answers when it is done.
    auto *search = new filelist::FolderSearch(this);
    connect(search, &filelist::FolderSearch::finished, this,
            [this, search, holdsPointer](const filelist::SearchResult &result) {
                search->deleteLater();
                shell::StepGuard after(platform_, this, shell::Location::PushButton3_Click);
                if (result.walkFailure)
                    after.report(112, *result.walkFailure);
                if (result.listingFailure)
                    after.report(114, *result.listingFailure);
                after.step(114, [&] { ListView1->items().add(result.files); });
                after.step(116, [&] {
                    if (holdsPointer)
                        releaseBusyPointer();
                });
            });
    search->start(request);
}

} // namespace velunor::app
