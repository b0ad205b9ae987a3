#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

namespace velunor::testing {

// Makes a stereo MP3 with a sine of `leftHz` on the left channel and one of
// `rightHz` on the right, each at `amplitude` of full scale; at a variable bit
// rate, with a Xing header giving the frame count, when `variableBitRate`.
// Returns "" on success, otherwise what went wrong.
QString MakeStereoMp3(const QString &path, double seconds = 1.0, int leftHz = 440,
                      int rightHz = 1000, double amplitude = 0.5, bool variableBitRate = false);

// Makes a stereo file of `seconds` of sines (440 Hz on the left, 1000 Hz on
// the right) in the format SoX takes from the name of `path` (".wav",
// ".flac", ".ogg", ...), or in the SoX file type `type` when one is given.
// Returns "" on success, otherwise what went wrong.
QString MakeStereoAudio(const QString &path, double seconds = 1.0, const QString &type = {});

// Runs `program` (sox, lame) with `arguments` and waits for it. Returns ""
// when it ended well, otherwise what went wrong and its error output.
QString RunTool(const QString &program, const QStringList &arguments);

// Converts `input` to a mono MP3 `output` with the system's SoX, as the
// program does. Returns "" on success, otherwise what went wrong.
QString ConvertToMono(const QString &input, const QString &output);

// The channel count SoX reads from `path`; -1 when it cannot read it.
int ChannelCount(const QString &path);

// Decodes `path` (all channels mixed to one by averaging) and returns the
// amplitude (0 to 1 of full scale) of the sine at each of `frequencies`.
// Empty when the file cannot be decoded.
QVector<double> ToneAmplitudes(const QString &path, const QVector<int> &frequencies);

// The RMS level of the whole of `path` in dBFS, as SoX's stat effect tells;
// NaN when it cannot tell.
double SoxRmsDb(const QString &path);

// A folder of a test program's own that holds "stereo.mp3" from the start:
// three seconds of MakeStereoMp3's sines at 128 kbit/s, without tags.
class StereoScratch {
public:
    StereoScratch();

    // "" when the folder and the file were made, otherwise what went wrong.
    const QString &problem() const { return problem_; }
    QString path(const QString &name) const { return folder_.filePath(name); }
    const QString &stereo() const { return stereo_; }

private:
    QTemporaryDir folder_;
    QString stereo_;
    QString problem_;
};

} // namespace velunor::testing
