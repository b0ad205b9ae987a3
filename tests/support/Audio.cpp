#include "Audio.h"

#include <QProcess>

#include <cmath>

namespace velunor::testing {

namespace {
QString RunSox(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return program + QStringLiteral(" did not finish: ") + process.errorString();
    if (output)
        *output = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + QStringLiteral(" failed: ") +
               QString::fromLocal8Bit(process.readAllStandardError());
    return QString();
}

// Has SoX write two sines to `path`, with `outputOptions` (type, compression)
// before the name.
QString SynthesiseStereo(const QString &path, const QStringList &outputOptions, double seconds,
                         int leftHz, int rightHz, double amplitude)
{
    QStringList arguments{QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                          QStringLiteral("-c"), QStringLiteral("2")};
    arguments << outputOptions << QStringLiteral("--no-glob") << path << QStringLiteral("synth")
              << QString::number(seconds) << QStringLiteral("sine") << QString::number(leftHz)
              << QStringLiteral("sine") << QString::number(rightHz) << QStringLiteral("vol")
              << QString::number(amplitude);
    return RunSox(QStringLiteral("sox"), arguments);
}
} // namespace

QString RunTool(const QString &program, const QStringList &arguments)
{
    return RunSox(program, arguments);
}

QString MakeStereoMp3(const QString &path, double seconds, int leftHz, int rightHz,
                      double amplitude, bool variableBitRate)
{
    // A negative compression asks LAME for VBR at that quality.
    const QStringList options =
        variableBitRate ? QStringList{QStringLiteral("-C"), QStringLiteral("-2.2")} : QStringList();
    return SynthesiseStereo(path, options, seconds, leftHz, rightHz, amplitude);
}

QString MakeStereoAudio(const QString &path, double seconds, const QString &type)
{
    const QStringList options =
        type.isEmpty() ? QStringList() : QStringList{QStringLiteral("-t"), type};
    return SynthesiseStereo(path, options, seconds, 440, 1000, 0.5);
}

QString ConvertToMono(const QString &input, const QString &output)
{
    return RunSox(QStringLiteral("sox"),
                  {QStringLiteral("--no-glob"), input, QStringLiteral("-c"), QStringLiteral("1"),
                   QStringLiteral("--no-glob"), output});
}

int ChannelCount(const QString &path)
{
    QByteArray output;
    if (!RunSox(QStringLiteral("soxi"), {QStringLiteral("-c"), path}, &output).isEmpty())
        return -1;
    bool ok = false;
    const int channels = QString::fromLatin1(output).trimmed().toInt(&ok);
    return ok ? channels : -1;
}

QVector<double> ToneAmplitudes(const QString &path, const QVector<int> &frequencies)
{
    const int rate = 44100;
    QByteArray raw;
    if (!RunSox(QStringLiteral("sox"),
                {QStringLiteral("--no-glob"), path, QStringLiteral("-t"), QStringLiteral("raw"),
                 QStringLiteral("-e"), QStringLiteral("floating-point"), QStringLiteral("-b"),
                 QStringLiteral("32"), QStringLiteral("-r"), QString::number(rate),
                 QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-")},
                &raw)
             .isEmpty() ||
        raw.isEmpty())
        return {};
    const auto *samples = reinterpret_cast<const float *>(raw.constData());
    const qsizetype total = raw.size() / static_cast<qsizetype>(sizeof(float));
    // Skip the encoder's start-up and end padding.
    const qsizetype begin = std::min<qsizetype>(total / 10, rate / 10);
    const qsizetype end = total - begin;
    QVector<double> amplitudes;
    for (const int frequency : frequencies) {
        // Goertzel over the middle of the file.
        const double omega = 2.0 * M_PI * frequency / rate;
        const double coefficient = 2.0 * std::cos(omega);
        double previous = 0, beforePrevious = 0;
        for (qsizetype i = begin; i < end; ++i) {
            const double current = samples[i] + coefficient * previous - beforePrevious;
            beforePrevious = previous;
            previous = current;
        }
        const double power = previous * previous + beforePrevious * beforePrevious -
                             coefficient * previous * beforePrevious;
        const double count = static_cast<double>(end - begin);
        amplitudes << (count > 0 ? 2.0 * std::sqrt(std::max(power, 0.0)) / count : 0.0);
    }
    return amplitudes;
}

StereoScratch::StereoScratch() : stereo_(folder_.filePath(QStringLiteral("stereo.mp3")))
{
    problem_ = folder_.isValid() ? MakeStereoMp3(stereo_, 3.0)
                                 : QStringLiteral("no scratch folder: ") + folder_.errorString();
}

double SoxRmsDb(const QString &path)
{
    QProcess sox;
    sox.start("sox", {path, "-n", "stat"});
    sox.waitForFinished(60000);
    for (const QByteArray &line : sox.readAllStandardError().split('\n'))
        if (line.startsWith("RMS     amplitude:"))
            return 20 * std::log10(line.mid(18).trimmed().toDouble());
    return qQNaN();
}

} // namespace velunor::testing
