#include "conversion/RunStep.h"

#include "conversion/ConverterFiles.h"

namespace velunor {

QString DescribeStep(RunStep step, int index)
{
    const auto &files = ConverterFileSet();
    const QString name = index >= 0 && index < int(files.size())
                             ? QString::fromUtf8(files[size_t(index)].stagedName.mid(1))
                             : QString::number(index);
    switch (step) {
    case RunStep::LoadConverterFile:
        return QStringLiteral("loading the converter file %1").arg(name);
    case RunStep::WriteStagedFile:
        return QStringLiteral("staging the converter file %1").arg(name);
    }
    return QString();
}

} // namespace velunor
