#include "conversion/OutputMark.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace velunor::conversion {

namespace {

constexpr QByteArrayView kSizeField = "size=";
constexpr QByteArrayView kTimeField = "mtime=";
constexpr QByteArrayView kOutputSizeField = "output-size=";
constexpr QByteArrayView kOutputTimeField = "output-mtime=";
constexpr QByteArrayView kMadeField = "made=";
constexpr QByteArrayView kCopied = "copy";
// Far more than any path and its two numbers need.
constexpr qsizetype kMarkMostBytes = 65536;

std::optional<qint64> NumberAfter(const QByteArray &field, QByteArrayView name)
{
    if (!field.startsWith(name))
        return std::nullopt;
    bool ok = false;
    const qint64 number = field.mid(name.size()).toLongLong(&ok);
    return ok ? std::optional(number) : std::nullopt;
}

} // namespace

std::optional<InputFacts> InputFacts::Of(const Path &path)
{
    struct stat facts {};
    if (path.isEmpty() || ::stat(path.c_str(), &facts) != 0)
        return std::nullopt;
    InputFacts input;
    input.absolute = platform::FileSystem::AbsoluteOf(path);
    input.real = platform::FileSystem::RealPathOf(path);
    input.identity = platform::FileIdentity{facts.st_dev, facts.st_ino};
    input.size = facts.st_size;
    input.modifiedNs = qint64(facts.st_mtim.tv_sec) * 1000000000 + facts.st_mtim.tv_nsec;
    return input;
}

QByteArray MadeHow(ChannelMode mode, const std::optional<OutputQuality> &quality, bool copied)
{
    if (copied)
        return kCopied.toByteArray();
    QByteArray made = mode == ChannelMode::LeftOnly    ? "left"
                      : mode == ChannelMode::RightOnly ? "right"
                                                       : "mix";
    if (!quality)
        return made;
    made += ",quality=";
    switch (quality->kind) {
    case OutputQuality::Kind::Source:
        return made + "source";
    case OutputQuality::Kind::ConstantBitRate:
        return made + QByteArray::number(quality->value);
    case OutputQuality::Kind::VariableBitRate:
        return made + 'v' + QByteArray::number(quality->value);
    }
    return made;
}

QByteArray OutputMark::Encode(const InputFacts &input, const QByteArray &made)
{
    QByteArray value = input.real.isEmpty() ? input.absolute.bytes() : input.real.bytes();
    value += '\0';
    value += kSizeField.toByteArray() + QByteArray::number(input.size);
    value += '\0';
    value += kTimeField.toByteArray() + QByteArray::number(input.modifiedNs);
    value += '\0';
    value += kMadeField.toByteArray() + made;
    return value;
}

std::optional<OutputMark> OutputMark::Decode(const QByteArray &value)
{
    const QList<QByteArray> fields = value.split('\0');
    if (fields.isEmpty() || fields.front().isEmpty())
        return std::nullopt;
    OutputMark mark;
    mark.input = Path::FromBytes(fields.front());
    for (qsizetype i = 1; i < fields.size(); ++i) {
        if (const auto size = NumberAfter(fields[i], kSizeField))
            mark.size = size;
        else if (const auto time = NumberAfter(fields[i], kTimeField))
            mark.modifiedNs = time;
        else if (const auto ownSize = NumberAfter(fields[i], kOutputSizeField))
            mark.outputSize = ownSize;
        else if (const auto ownTime = NumberAfter(fields[i], kOutputTimeField))
            mark.outputModifiedNs = ownTime;
        else if (fields[i].startsWith(kMadeField))
            mark.made = fields[i].mid(kMadeField.size());
    }
    return mark;
}

bool OutputMark::names(const InputFacts &facts) const
{
    if (input == facts.absolute || (!facts.real.isEmpty() && input == facts.real))
        return true;
    // The input reached by another path (a linked folder, a moved mount):
    // the same file all the same.
    return platform::FileSystem::IdentityOf(input) == facts.identity;
}

bool OutputMark::isUpToDateWith(const InputFacts &facts, const QByteArray &wanted) const
{
    return names(facts) && size == facts.size && modifiedNs == facts.modifiedNs &&
           !made.isEmpty() && (made == wanted || made == kCopied);
}

bool OutputMark::isOutputInPlace(const InputFacts &facts) const
{
    return names(facts) && outputSize == facts.size && outputModifiedNs == facts.modifiedNs;
}

Done WriteOutputMark(int fd, const InputFacts &input, const QByteArray &made, bool withOwnFacts)
{
    QByteArray value = OutputMark::Encode(input, made);
    if (withOwnFacts) {
        struct stat own {};
        if (::fstat(fd, &own) != 0)
            return Failure::OfErrno(errno);
        value += '\0' + kOutputSizeField.toByteArray() + QByteArray::number(qint64(own.st_size));
        value += '\0' + kOutputTimeField.toByteArray() +
                 QByteArray::number(qint64(own.st_mtim.tv_sec) * 1000000000 + own.st_mtim.tv_nsec);
    }
    if (::fsetxattr(fd, kOutputMarkName, value.constData(), static_cast<size_t>(value.size()), 0) !=
        0)
        return Failure::OfErrno(errno);
    return {};
}

std::optional<OutputMark> ReadOutputMark(const Path &path)
{
    QByteArray value(kMarkMostBytes, Qt::Uninitialized);
    const ssize_t length =
        ::lgetxattr(path.c_str(), kOutputMarkName, value.data(), static_cast<size_t>(value.size()));
    if (length < 0)
        return std::nullopt;
    value.truncate(length);
    return OutputMark::Decode(value);
}

NameHolder HolderOfName(const Path &path, const InputFacts &input)
{
    struct stat there {};
    if (::lstat(path.c_str(), &there) != 0)
        return errno == ENOENT ? NameHolder::Nothing : NameHolder::NotAFile;
    if (S_ISDIR(there.st_mode))
        return NameHolder::NotAFile;
    const std::optional<OutputMark> mark = ReadOutputMark(path);
    if (!mark)
        return NameHolder::Unmarked;
    return mark->names(input) ? NameHolder::ThisInput : NameHolder::AnotherInput;
}

} // namespace velunor::conversion
