#include "TestWindow.h"

#include "Files.h"

#include <QTest>

namespace velunor::testing {

namespace {
QString WrittenFirst(const QString &path, const QByteArray &text)
{
    if (!text.isEmpty())
        WriteFile(path, text);
    return path;
}
} // namespace

TestWindow::TestWindow(const QString &programFolder, const QByteArray &storedText)
    : folder_(temporary_.path()),
      settings_(SettingsStore::AtPath(
          WrittenFirst(temporary_.filePath(QStringLiteral("Tarvenic.conf")), storedText)))
{
    form_ = std::make_unique<Form1>(
        platform, *settings_,
        programFolder.isEmpty() ? QStringLiteral(VELUNOR_PROGRAM_DIR_FOR_TESTS) : programFolder);
    form_->setEndProgram([this] { ++endProgramCalls; });
}

TestWindow::~TestWindow() = default;

void TestWindow::preset(const QString &key, const QString &value)
{
    settings_->write(StoredChoices::Section, key, value);
}

void TestWindow::load()
{
    form_->Form_Load();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

QString TestWindow::stored(const QString &key) const
{
    return settings_->read(StoredChoices::Section, key, QStringLiteral("<absent>"));
}

} // namespace velunor::testing
