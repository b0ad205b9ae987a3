// What claiming an output's name costs per file now that names are claimed
// past the outputs of other inputs and held among runs: the plan's look at
// the names on the disk (the marks of a folder where every name is taken by
// an output of another input), and the moment the folder is held while the
// name is checked again and the output renamed into it.

#include "BenchSupport.h"
#include "Files.h"
#include "conversion/FilePlan.h"
#include "conversion/OutputMark.h"
#include "conversion/TemporaryOutput.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace velunor;

namespace {

constexpr int kFiles = 1000;
constexpr double kGoalMsPerFile = 1.0;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir inputs;
    QTemporaryDir outputs;
    const Path outputFolder = Path::FromText(outputs.path());
    std::vector<double> runs;
    for (int round = 0; round < 3; ++round) {
        // Every output name is held by an output of another input.
        for (int i = 0; i < kFiles; ++i) {
            const QString name = QStringLiteral("song %1 round %2.mp3").arg(i).arg(round);
            testing::WriteFile(inputs.filePath(name), "audio");
            const Path held = outputFolder.child(Path::FromText(name));
            testing::WriteFile(held.text(), "earlier");
            conversion::InputFacts other;
            other.absolute = Path::FromText("/elsewhere/" + name);
            const QByteArray mark = conversion::OutputMark::Encode(other, "mix");
            const int fd = ::open(held.c_str(), O_RDWR);
            ::fsetxattr(fd, conversion::kOutputMarkName, mark.constData(), size_t(mark.size()), 0);
            ::close(fd);
        }
        conversion::OutputNames names;
        qint64 claimingNs = 0;
        for (int i = 0; i < kFiles; ++i) {
            const QString name = QStringLiteral("song %1 round %2.mp3").arg(i).arg(round);
            Expected<std::unique_ptr<conversion::TemporaryOutput>> reserved =
                conversion::TemporaryOutput::Reserve(outputFolder);
            if (!reserved) {
                std::fprintf(stderr, "%s\n", qPrintable(reserved.failure().words));
                return 1;
            }
            const std::unique_ptr<conversion::TemporaryOutput> temporary = std::move(*reserved);
            QElapsedTimer clock;
            clock.start();
            conversion::FileTurn turn;
            turn.inputPath = Path::FromText(inputs.filePath(name));
            turn.outputFolder = outputFolder;
            turn.mode = conversion::ChannelMode::Mix;
            const conversion::FilePlan plan = conversion::PlanFile(turn, names);
            {
                const platform::FileSystem::FolderClaimLock held(outputFolder, nullptr);
                conversion::UseOfName(plan.outputPath, *plan.input, {});
                if (!temporary->moveTo(plan.outputPath))
                    return 1;
            }
            claimingNs += clock.nsecsElapsed();
        }
        runs.push_back(claimingNs / 1e6 / kFiles);
    }
    const double perFile = bench::Median(runs);
    std::printf("claiming a name past %d outputs of other inputs: %.3f ms per file\n", kFiles,
                perFile);
    bench::Result("Claiming an output's name, per file", QString::number(perFile, 'f', 3) + " ms",
                  QString::number(kGoalMsPerFile, 'f', 1) + " ms", perFile / kGoalMsPerFile);
    return 0;
}
