#include "cli/BatchOptions.h"

#include "conversion/ConversionJob.h"

#include <QCoreApplication>

#include <cstring>

namespace velunor::cli {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(BatchOptions)
};

const QByteArray kBatch = "--batch";
const QByteArray kMode = "--mode";
const QByteArray kOutput = "--output";
const QByteArray kJobs = "--jobs";
const QByteArray kQuality = "--quality";
const QByteArray kFilesFrom = "--files-from";
const QByteArray kNull = "--null";
const QByteArray kShortNull = "-0";
const QByteArray kKeepFolders = "--keep-folders";
const QByteArray kSkipExisting = "--skip-existing";
const QByteArray kKeepDates = "--keep-dates";
const QByteArray kTrashInputs = "--trash-inputs";
const QByteArray kHelp = "--help";
const QByteArray kShortHelp = "-h";
const QByteArray kVersion = "--version";
const QByteArray kEndOfOptions = "--";

// The options that take a value.
const QByteArrayList kValued = {kMode, kOutput, kJobs, kQuality, kFilesFrom};
// Every option that asks for a batch run, for the window's start to tell.
constexpr const char *kBatchOptionNames[] = {"--batch",         "--help",       "-h",
                                             "--version",       "--mode",       "--output",
                                             "--jobs",          "--quality",    "--files-from",
                                             "--null",          "-0",           "--keep-folders",
                                             "--skip-existing", "--keep-dates", "--trash-inputs"};

// The option's name and, for "--name=value", its value.
std::pair<QByteArray, std::optional<QByteArray>> SplitOption(const QByteArray &argument)
{
    const qsizetype equals = argument.indexOf('=');
    if (equals < 0)
        return {argument, std::nullopt};
    return {argument.left(equals), argument.mid(equals + 1)};
}

// An option's name or value as people read it.
QString Shown(const QByteArray &bytes)
{
    return ShownText(bytes);
}

// The choice a batch option without a value turns on; none for any other
// argument.
bool *FlagNamed(const QByteArray &argument, BatchOptions &options)
{
    if (argument == kNull || argument == kShortNull)
        return &options.nulSeparated;
    if (argument == kKeepFolders)
        return &options.keepFolders;
    if (argument == kSkipExisting)
        return &options.run.skipUpToDate;
    if (argument == kKeepDates)
        return &options.run.keepDates;
    if (argument == kTrashInputs)
        return &options.run.trashInputs;
    return nullptr;
}

bool IsOptionName(const char *argument, const char *name)
{
    const size_t length = std::strlen(name);
    return std::strncmp(argument, name, length) == 0 &&
           (argument[length] == '\0' || argument[length] == '=');
}

} // namespace

std::optional<conversion::ChannelMode> ModeNamed(const QString &name)
{
    if (name == QLatin1String("mix"))
        return conversion::ChannelMode::Mix;
    if (name == QLatin1String("left"))
        return conversion::ChannelMode::LeftOnly;
    if (name == QLatin1String("right"))
        return conversion::ChannelMode::RightOnly;
    return std::nullopt;
}

QString NameOfMode(conversion::ChannelMode mode)
{
    switch (mode) {
    case conversion::ChannelMode::Mix:
        break;
    case conversion::ChannelMode::LeftOnly:
        return QStringLiteral("left");
    case conversion::ChannelMode::RightOnly:
        return QStringLiteral("right");
    }
    return QStringLiteral("mix");
}

ParsedOptions ParseOptions(const QByteArrayList &arguments)
{
    ParsedOptions parsed;
    BatchOptions &options = parsed.options;
    bool batch = false;
    bool help = false;
    bool version = false;
    QByteArray firstBatchOption; // one given without --batch
    QString error;               // the first problem, told unless --help or --version wins
    auto fail = [&error](const QString &problem) {
        if (error.isEmpty())
            error = problem;
    };

    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QByteArray &argument = arguments[i];
        if (optionsEnded || !argument.startsWith('-') || argument.size() == 1) {
            if (argument.isEmpty())
                fail(Words::tr("an empty path was given (is a variable in the script "
                               "unset?)"));
            options.paths << Path::FromBytes(argument);
            continue;
        }
        if (argument == kEndOfOptions) {
            optionsEnded = true;
            continue;
        }
        const auto [name, attached] = SplitOption(argument);
        if (!kValued.contains(name)) {
            if (attached)
                fail(Words::tr("%1 takes no value").arg(Shown(name)));
            else if (argument == kBatch)
                batch = true;
            else if (argument == kHelp || argument == kShortHelp)
                help = true;
            else if (argument == kVersion)
                version = true;
            else if (bool *flag = FlagNamed(argument, options))
                *flag = true;
            else
                fail(Words::tr("unknown option %1").arg(Shown(argument)));
            if (FlagNamed(argument, options) && firstBatchOption.isEmpty())
                firstBatchOption = argument;
            continue;
        }
        QByteArray value;
        if (attached) {
            value = *attached;
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            fail(Words::tr("%1 needs a value").arg(Shown(name)));
            continue;
        }
        if (firstBatchOption.isEmpty())
            firstBatchOption = name;
        if (name == kMode) {
            options.mode = ModeNamed(QString::fromUtf8(value));
            if (!options.mode)
                fail(Words::tr("unknown mode \"%1\": choose mix, left or right").arg(Shown(value)));
        } else if (name == kOutput) {
            if (value.isEmpty())
                fail(Words::tr("--output needs a folder"));
            options.outputFolder = Path::FromBytes(value);
        } else if (name == kQuality) {
            const conversion::ParsedQuality quality =
                conversion::ParseOutputQuality(QString::fromUtf8(value));
            if (quality.ok())
                options.quality = quality.quality;
            else
                fail(quality.error);
        } else if (name == kFilesFrom) {
            if (value.isEmpty())
                fail(Words::tr("--files-from needs a file, or - for standard input"));
            options.pathLists << Path::FromBytes(value);
        } else {
            bool number = false;
            const int jobs = value.toInt(&number);
            if (!number || jobs < 1)
                fail(Words::tr("--jobs needs a whole number of at least 1, not \"%1\"")
                         .arg(Shown(value)));
            else
                options.jobs = jobs;
        }
    }

    if (help) {
        options.request = BatchOptions::Request::Help;
        return parsed;
    }
    if (version) {
        options.request = BatchOptions::Request::Version;
        return parsed;
    }
    if (!batch && !firstBatchOption.isEmpty())
        fail(Words::tr("%1 works only with --batch").arg(Shown(firstBatchOption)));
    if (error.isEmpty() && options.paths.isEmpty() && options.pathLists.isEmpty())
        fail(Words::tr("no file or folder to convert was given"));
    parsed.error = error;
    return parsed;
}

bool WantsCommandLine(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *argument = argv[i];
        if (std::strcmp(argument, "--") == 0)
            return false;
        for (const char *name : kBatchOptionNames)
            if (IsOptionName(argument, name))
                return true;
    }
    return false;
}

QString HelpText()
{
    return Words::tr(
               "Usage: velunor [FILE...]\n"
               "       velunor --batch [--mode mix|left|right] [--output FOLDER] [--jobs N]\n"
               "                       [--quality source|KBPS|vN] PATH...\n"
               "       velunor --batch [OPTION...] --files-from LIST [--null] [PATH...]\n"
               "\n"
               "Turns stereo MP3 files into mono MP3 files. Without --batch it opens the window\n"
               "with the FILEs in its list.\n"
               "\n"
               "With --batch it converts without a window and needs no display. Each PATH that\n"
               "is a folder is searched for *.mp3 files, its subfolders included; any other\n"
               "PATH is converted as it is. Each output takes the input's name with \".mp3\".\n"
               "\n"
               "  --mode MODE      how the two channels become one: mix (both), left or right;\n"
               "                   by default the mode last chosen in the window, else mix\n"
               "  --output FOLDER  where the mono files go; by default the output folder last\n"
               "                   chosen in the window, else the desktop folder\n"
               "  --jobs N         conversions at once; by default one per processor (%1 here)\n"
               "  --quality Q      how the mono MP3 is encoded: source (the input's bit rate\n"
               "                   per channel, constant), a constant bit rate in kbps such\n"
               "                   as 128, or v0 (best) to v9 (smallest), a variable bit\n"
               "                   rate; by default the encoder's own, as the window converts\n"
               "  --files-from LIST  convert the paths LIST names, one a line (- reads them\n"
               "                   from standard input); may be given more than once\n"
               "  -0, --null       the paths in LIST are separated by NUL bytes, as\n"
               "                   find -print0 writes them\n"
               "  --keep-folders   each file found in a folder PATH goes to the same folder\n"
               "                   below the output folder, made as needed\n"
               "  --skip-existing  a file whose output is there, made from the file as it is\n"
               "                   now, is not converted again (its line says up to date)\n"
               "  --keep-dates     each output takes its input's modification time\n"
               "  --trash-inputs   each input goes to the Trash once its output is in place;\n"
               "                   with the input's own folder as the output folder, this\n"
               "                   converts it in place\n"
               "  -h, --help       show this help and exit\n"
               "  --version        show the version and exit\n"
               "\n"
               "The output folder and everything in it are never searched for inputs, unless\n"
               "a PATH given with --trash-inputs is the output folder or lies in it. A name\n"
               "that is not UTF-8 is converted like any other and shown with \\xHH for each\n"
               "byte that is not text.\n"
               "\n"
               "An input that is mono already keeps its audio, copied unchanged, in every mode\n"
               "and at any quality.\n"
               "\n"
               "The options never change what the window has stored. On a terminal a status\n"
               "line shows the progress; otherwise one line tells how each file ended. A file\n"
               "converted with something to know (channels that cancel out in a mix, two\n"
               "programmes mixed, samples clipped) gets a line \"warning: PATH: ...\" on\n"
               "standard error. At the end every file that was not converted is listed with\n"
               "its reason.\n"
               "\n"
               "Exit status: 0 when every file was converted (with warnings or without) or up\n"
               "to date, 1 when any file was not (or a folder could not be searched, or the\n"
               "output could not be written), 2 for a wrong command line (and nothing\n"
               "converted). SIGINT, SIGTERM and SIGHUP stop the run (finished files are\n"
               "kept) and then end the program as they end others: a shell shows 130, 143\n"
               "or 129, and a shell's loop stops at Ctrl+C.\n")
        .arg(conversion::ConversionJob::ConversionsAtOnce());
}

QString VersionText()
{
    return QStringLiteral("velunor " VELUNOR_VERSION "\n");
}

} // namespace velunor::cli
