#include "OutputQuality.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace velunor::conversion {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(OutputQuality)
};

const QList<int> kMpeg1Layer3 = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
const QList<int> kMpeg2Layer3 = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

// Every layer III bit rate, at one sample rate or another, lowest first.
QList<int> AnyLayer3BitRate()
{
    QList<int> rates = kMpeg2Layer3;
    for (const int rate : kMpeg1Layer3)
        if (!rates.contains(rate))
            rates << rate;
    std::sort(rates.begin(), rates.end());
    return rates;
}

QString Listed(const QList<int> &numbers)
{
    QStringList words;
    for (const int number : numbers)
        words << QString::number(number);
    return words.join(QStringLiteral(", "));
}

} // namespace

ParsedQuality ParseOutputQuality(const QString &text)
{
    if (text.compare(QLatin1String("source"), Qt::CaseInsensitive) == 0)
        return {{OutputQuality::Kind::Source, 0}, QString()};
    static const QRegularExpression variable(QStringLiteral("^[vV]([0-9])$"));
    if (const QRegularExpressionMatch match = variable.match(text); match.hasMatch())
        return {{OutputQuality::Kind::VariableBitRate, match.captured(1).toInt()}, QString()};
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    if (digits.match(text).hasMatch()) {
        const int kbps = text.toInt();
        if (AnyLayer3BitRate().contains(kbps))
            return {{OutputQuality::Kind::ConstantBitRate, kbps}, QString()};
        return {{},
                Words::tr("--quality %1: MPEG audio has no bit rate of %1 kbps, only %2")
                    .arg(text, Listed(AnyLayer3BitRate()))};
    }
    return {{},
            Words::tr("--quality takes source, a bit rate in kbps such as 128, or v0 to "
                      "v9, not \"%1\"")
                .arg(text)};
}

QList<int> Layer3BitRates(int sampleRate)
{
    switch (sampleRate) {
    case 32000:
    case 44100:
    case 48000:
        return kMpeg1Layer3;
    case 8000:
    case 11025:
    case 12000:
    case 16000:
    case 22050:
    case 24000:
        return kMpeg2Layer3;
    default:
        return {};
    }
}

std::optional<int> NearestLayer3BitRate(double kbps, int sampleRate)
{
    std::optional<int> nearest;
    for (const int rate : Layer3BitRates(sampleRate))
        if (!nearest || std::abs(rate - kbps) < std::abs(*nearest - kbps))
            nearest = rate;
    return nearest;
}

std::optional<int> SourceBitRate(const tags::MpegAudioLength &input, int outputSampleRate)
{
    const int channels = input.everyFrameMono ? 1 : 2;
    return NearestLayer3BitRate(input.averageBitRate() / 1000 / channels, outputSampleRate);
}

QStringList SoxEncodingOptions(const std::optional<OutputQuality> &quality,
                               const std::optional<tags::MpegAudioLength> &input,
                               int outputSampleRate)
{
    if (!quality)
        return {};
    const QString compression = QStringLiteral("-C");
    switch (quality->kind) {
    case OutputQuality::Kind::ConstantBitRate:
        return {
            compression,
            QString::number(
                NearestLayer3BitRate(quality->value, outputSampleRate).value_or(quality->value))};
    case OutputQuality::Kind::VariableBitRate:
        // SoX reads 0 as the best VBR quality, never as a bit rate.
        return {compression, QString::number(-quality->value)};
    case OutputQuality::Kind::Source:
        break;
    }
    const std::optional<int> kbps = input ? SourceBitRate(*input, outputSampleRate) : std::nullopt;
    if (!kbps)
        return {};
    return {compression, QString::number(*kbps)};
}

QString BitRateChangedWords(const std::optional<OutputQuality> &quality,
                            const tags::MpegAudioLength &output)
{
    if (!quality || quality->kind != OutputQuality::Kind::ConstantBitRate || output.frames == 0 ||
        output.sampleRate <= 0)
        return QString();
    // A constant rate's frames average it to a fraction of a kbps.
    const double kbps = output.averageBitRate() / 1000;
    if (std::abs(kbps - quality->value) < 1)
        return QString();
    const int given =
        NearestLayer3BitRate(kbps, output.sampleRate).value_or(int(std::lround(kbps)));
    return Words::tr("encoded at %1 kbps: the encoder has no %2 kbps at %3 kHz")
        .arg(given)
        .arg(quality->value)
        .arg(QString::number(output.sampleRate / 1000.0));
}

} // namespace velunor::conversion
