#pragma once

#include "conversion/ListRun.h"
#include "platform/SystemProcessStarter.h"

#include <QObject>
#include <QTimer>

namespace velunor::cli {

class Console;

// What every file of a batch run is converted with.
struct BatchChoices {
    Path outputFolder; // absolute, ending in "/"
    conversion::ChannelMode mode = conversion::ChannelMode::Mix;
    std::optional<conversion::OutputQuality> quality;
    int conversionsAtOnce = 1;
    conversion::RunOptions options;
};

// The conversion of a list without a window: the run of the list as the
// window runs it, told on the console as it goes (a status line on a
// terminal, a line per file otherwise) and summed up at its end with the
// window's final message.
class BatchRun : public QObject, private conversion::RunFrontEnd {
    Q_OBJECT
public:
    static constexpr int kStatusMilliseconds = 100;
    // What a run stopped by a signal returns; the program then ends by that
    // signal.
    static constexpr int kInterruptedStatus = 130;

    BatchRun(filelist::FileListModel &list, const BatchChoices &choices, Console &console);
    ~BatchRun() override;

    // Folders the search could not read, each "FOLDER - REASON": named again
    // at the end, and the exit status is 1 even when every file found was
    // converted.
    void setUnsearchedFolders(const QStringList &lines) { unsearched_ = lines; }
    // The folder below the output folder where each listed file's output
    // goes, by its item; a file not named goes to the output folder itself.
    void setOutputSubfolders(QHash<filelist::ItemId, Path> subfolders)
    {
        subfolders_ = std::move(subfolders);
    }

    // Takes the converter staged `ahead` for the run and starts the first
    // files; ended() follows.
    void start(std::shared_ptr<conversion::StagingAhead> ahead);
    // A signal asked the program to end: the run stops as Stop stops it
    // (converters ended, temporary files removed, finished files kept).
    void interrupt();

signals:
    // The run is over and summed up: 0 when every file was converted, 1 when
    // any was not, 130 when it was interrupted.
    void ended(int exitStatus);

private:
    // The same choices for every file.
    conversion::FileChoices choices() override
    {
        return {choices_.outputFolder, choices_.mode, choices_.quality, choices_.options};
    }
    Path outputSubfolder(filelist::ItemId item) const override { return subfolders_.value(item); }
    // A step that fails is told on standard error, in words, and the run
    // goes on, as the window's error report lets it.
    void stepFailed(const conversion::StepFailure &failure) override;

    void tellFile(const conversion::FileOutcome &outcome);
    void tellWarning(const Path &inputPath, const QString &words);
    void showStatus();
    void finish();

    filelist::FileListModel &list_;
    Console &console_;
    BatchChoices choices_;
    platform::SystemProcessStarter processes_;
    conversion::ListRun run_;
    QTimer statusTimer_;
    int filesDone_ = 0;
    bool interrupted_ = false;
    QStringList unsearched_;
    QHash<filelist::ItemId, Path> subfolders_;
};

// The run's final message as the console prints it: the window's message
// with plain line breaks, every file listed where the message cuts a list
// short, and the folders that could not be searched, if any.
QString SummaryText(const conversion::RunSummary &summary, const QStringList &unsearched = {});

} // namespace velunor::cli
