#include "app/Form1.h"

#include "app/FileListView.h"
#include "filelist/PickedFiles.h"
#include "shell/Locations.h"

namespace velunor::app {

namespace {

const char *const kAddFilesTitle =
    QT_TRANSLATE_NOOP("velunor::app::Form1", "Add File(s) - Hold Ctrl to select multiple files");
// The description is the user's; the pattern is the program's.
const char *const kMp3Description = QT_TRANSLATE_NOOP("velunor::app::Form1", "MP3 File");
const QString kMp3Pattern = QStringLiteral(" (*.mp3)|*.mp3|");
// Room for a few thousand names; a larger choice is better made with the
// folder adder, which the overflow message points to.
constexpr int kResultBufferChars = 32768;

const char *const kTooManyFiles =
    QT_TRANSLATE_NOOP("velunor::app::Form1", "You've selected too many files to add.\r\rPlease try "
                                             "adding via the \"Add All\" button.");

} // namespace

void Form1::PushButton1_Click()
{
    shell::StepGuard guard(platform(), this, shell::Location::PushButton1_Click);

    platform::FileDialogRequest request;
    request.title = tr(kAddFilesTitle);
    request.filter = tr(kMp3Description) + kMp3Pattern;
    request.multiSelect = true;
    // The read-only box starts checked, as the dialog always offered it; its
    // state is never read.
    request.readOnlyChecked = true;
    request.resultBufferChars = kResultBufferChars;

    QString chosen;
    bool tooManyFiles = false;
    guard.step(100, [&] {
        try {
            chosen = platform().openFileDialog(this, request);
        } catch (const platform::PlatformError &error) {
            if (error.number() != platform::kDialogBufferTooSmall)
                throw;
            tooManyFiles = true;
        }
    });
    if (tooManyFiles) {
        showMessage(tr(kTooManyFiles));
        return;
    }
    if (chosen.isEmpty())
        return; // cancelled

    QList<Path> paths;
    guard.step(102, [&] { paths = filelist::PickedFilePaths(chosen); });
    guard.step(104, [&] { ListView1->items().add(paths); });
}

} // namespace velunor::app
