#include "conversion/RunStep.h"

#include "conversion/ConverterFiles.h"

#include <QCoreApplication>

namespace velunor::conversion {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(RunStep)
};

} // namespace

QString DescribeStep(RunStep step, int index)
{
    const auto &files = ConverterFileSet();
    const QString name = index >= 0 && index < int(files.size())
                             ? QString::fromUtf8(files[size_t(index)].stagedName.mid(1))
                             : QString::number(index);
    switch (step) {
    case RunStep::LoadConverterFile:
        return Words::tr("loading the converter file %1").arg(name);
    case RunStep::WriteStagedFile:
        return Words::tr("staging the converter file %1").arg(name);
    }
    return QString();
}

} // namespace velunor::conversion
