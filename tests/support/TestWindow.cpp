#include "TestWindow.h"

#include "Files.h"
#include "app/FileListView.h"
#include "app/ProgressBar.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

namespace velunor::testing {

namespace {

template <typename Control> Control *Find(app::Form1 &form, const char *name)
{
    auto *control = form.findChild<Control *>(QLatin1String(name));
    if (!control)
        qFatal("the window has no control %s", name);
    return control;
}

QString WrittenFirst(const QString &path, const QByteArray &text)
{
    if (!text.isEmpty())
        WriteFile(path, text);
    return path;
}
} // namespace

Controls::Controls(app::Form1 &form)
    : ListView1(Find<app::FileListView>(form, "ListView1")),
      PushButton1(Find<QPushButton>(form, "PushButton1")),
      PushButton2(Find<QPushButton>(form, "PushButton2")),
      PushButton3(Find<QPushButton>(form, "PushButton3")),
      PushButton4(Find<QPushButton>(form, "PushButton4")),
      PushButton5(Find<QPushButton>(form, "PushButton5")),
      PushButton6(Find<QPushButton>(form, "PushButton6")),
      PushButton7(Find<QPushButton>(form, "PushButton7")),
      PushButton8(Find<QPushButton>(form, "PushButton8")), Frame1(Find<QGroupBox>(form, "Frame1")),
      Frame2(Find<QGroupBox>(form, "Frame2")), Option1(Find<app::OptionButton>(form, "Option1")),
      Option2(Find<app::OptionButton>(form, "Option2")),
      Option3(Find<app::OptionButton>(form, "Option3")), Text1(Find<QLineEdit>(form, "Text1")),
      ProgressBar1(Find<app::ProgressBar>(form, "ProgressBar1")),
      Command1(Find<app::FocusHolder>(form, "Command1"))
{
}

TestWindow::TestWindow(const QString &programFolder, const QByteArray &storedText)
    : folder_(temporary_.path()),
      settings_(shell::SettingsStore::AtPath(
          WrittenFirst(temporary_.filePath(QStringLiteral("Tarvenic.conf")), storedText)))
{
    form_ = std::make_unique<app::Form1>(
        platform, *settings_,
        programFolder.isEmpty() ? QStringLiteral(VELUNOR_PROGRAM_DIR_FOR_TESTS) : programFolder);
    form_->setEndProgram([this] { ++endProgramCalls; });
}

TestWindow::~TestWindow() = default;

void TestWindow::preset(const QString &key, const QString &value)
{
    settings_->write(shell::StoredChoices::Section, key, value);
}

void TestWindow::load()
{
    form_->Form_Load();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

QString TestWindow::stored(const QString &key) const
{
    return settings_->read(shell::StoredChoices::Section, key, QStringLiteral("<absent>"));
}

} // namespace velunor::testing
