// The program's languages: every catalogue holds every text of the code,
// finished and with its placeholders; in a pseudo-language whose every text
// is marked, the window and the command line show no English word of their
// own; and in each language every caption fits its control.

#include "Audio.h"
#include "TestWindow.h"
#include "app/FileListView.h"
#include "app/ProgressBar.h"
#include "cli/StatusLine.h"
#include "shell/Languages.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

using namespace velunor;
using namespace velunor::testing;

namespace {

const QString kSources = QStringLiteral(VELUNOR_SOURCE_DIR "/resources/translations");
const QStringList kCatalogues = {shell::Languages::CommandLineCatalogue,
                                 shell::Languages::WindowCatalogue};
// The pseudo-language stands in for German, whose plural rule it keeps.
const QString kPseudoLanguage = QStringLiteral("de");
const QString kOpen = QStringLiteral("\u27e6");
const QString kClose = QStringLiteral("\u27e7");

const QRegularExpression &Placeholder()
{
    static const QRegularExpression placeholder(QStringLiteral("%(?:L?[1-9]|n)"));
    return placeholder;
}

QStringList PlaceholdersOf(const QString &text)
{
    QStringList found;
    for (const QRegularExpressionMatch &match : Placeholder().globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

// The text of the element the reader stands on; lupdate writes a carriage
// return as <byte value="xd"/>.
QString ElementText(QXmlStreamReader &reader)
{
    QString text;
    const QStringView name = reader.name();
    while (reader.readNext() != QXmlStreamReader::Invalid) {
        if (reader.isCharacters())
            text += reader.text();
        else if (reader.isStartElement() && reader.name() == u"byte")
            text += QChar(
                reader.attributes().value(QLatin1String("value")).mid(1).toUShort(nullptr, 16));
        else if (reader.isEndElement() && reader.name() == name)
            break;
    }
    return text;
}

QString ToolRun(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return tool + u' ' + arguments.join(u' ') + u'\n' + process.readAllStandardError();
    return QString();
}

// The source with its letters accented and the whole marked, placeholders
// kept as they are.
QString Pseudo(const QString &source)
{
    static const QString plain = QStringLiteral("aeiouncyAEIOUNCY");
    static const QString accented = QStringLiteral("àéîöüñçÿÀÉÎÖÜÑÇŸ");
    QString text = source;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size()) {
            i += text[i + 1] == u'L' ? 2 : 1;
            continue;
        }
        if (const qsizetype at = plain.indexOf(text[i]); at >= 0)
            text[i] = accented[at];
    }
    return kOpen + text + kClose;
}

// Writes `text` as the element `name`, a carriage return as lupdate writes
// it.
void WriteText(QXmlStreamWriter &writer, const QString &name, const QString &text)
{
    writer.writeStartElement(name);
    const QStringList lines = text.split(u'\r');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            writer.writeEmptyElement(QStringLiteral("byte"));
            writer.writeAttribute(QStringLiteral("value"), QStringLiteral("xd"));
        }
        writer.writeCharacters(lines[i]);
    }
    writer.writeEndElement();
}

// Writes the pseudo-language's catalogue of `catalogue` into `folder` as
// the German one, every text marked, and compiles it.
QString MakePseudoCatalogue(const QString &catalogue, const QString &folder)
{
    const QString name = catalogue + u'_' + kPseudoLanguage;
    QFile german(kSources + u'/' + name + QStringLiteral(".ts"));
    QFile pseudo(folder + u'/' + name + QStringLiteral(".ts"));
    if (!german.open(QIODevice::ReadOnly) || !pseudo.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot copy ") + german.fileName();
    QXmlStreamReader reader(&german);
    QXmlStreamWriter writer(&pseudo);
    QString source;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"source") {
            source = ElementText(reader);
            WriteText(writer, QStringLiteral("source"), source);
        } else if (reader.isStartElement() && reader.name() == u"translation") {
            int forms = 0;
            while (!(reader.readNext() == QXmlStreamReader::EndElement &&
                     reader.name() == u"translation") &&
                   !reader.atEnd()) {
                if (reader.isStartElement() && reader.name() == u"numerusform")
                    ++forms;
            }
            if (forms == 0) {
                WriteText(writer, QStringLiteral("translation"), Pseudo(source));
                continue;
            }
            writer.writeStartElement(QStringLiteral("translation"));
            for (int i = 0; i < forms; ++i)
                WriteText(writer, QStringLiteral("numerusform"), Pseudo(source));
            writer.writeEndElement();
        } else {
            writer.writeCurrentToken(reader);
        }
    }
    pseudo.close();
    if (reader.hasError())
        return reader.errorString();
    return ToolRun(QStringLiteral(VELUNOR_LRELEASE),
                   {QStringLiteral("-silent"), pseudo.fileName(), QStringLiteral("-qm"),
                    folder + u'/' + name + QStringLiteral(".qm")});
}

// What is left of a shown text once the pseudo-language's marked texts, the
// paths and the names that no language translates are taken out: any word
// of two letters or more is English that was not translated.
QStringList EnglishLeft(const QString &shown)
{
    // A marked text may hold others, put in for its placeholders.
    static const QRegularExpression marked(kOpen + QStringLiteral("[^\u27e6\u27e7]*") + kClose);
    static const QRegularExpression paths(QStringLiteral("/[^\\s\u27e6\u27e7]*"));
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    QString rest = shown;
    for (qsizetype before = -1; before != rest.size();) {
        before = rest.size();
        rest.remove(marked);
    }
    rest.remove(paths);
    for (const char *name : {"Velunor", "velunor", "support@velunor.org"})
        rest.remove(QLatin1String(name));
    QStringList left;
    for (const QRegularExpressionMatch &match : word.globalMatch(rest))
        left << match.captured();
    return left;
}

// Every caption of the window fits its control, and the controls lie inside
// the window without overlapping.
void CheckCaptionsFit(app::Form1 &form)
{
    Controls ui(form);
    for (QPushButton *button : form.findChildren<QPushButton *>()) {
        if (button == ui.Command1)
            continue;
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) + 8 <= button->width(),
                 qPrintable(button->text()));
    }
    for (app::OptionButton *option : {ui.Option1, ui.Option2, ui.Option3})
        QVERIFY2(option->sizeHint().width() <= option->width() &&
                     option->geometry().right() < ui.Frame2->width(),
                 qPrintable(option->text()));
    for (QGroupBox *frame : {ui.Frame1, ui.Frame2})
        QVERIFY2(frame->fontMetrics().horizontalAdvance(frame->title()) + 16 <= frame->width(),
                 qPrintable(frame->title()));
    const QList<QWidget *> shown = {ui.PushButton6, ui.PushButton8, ui.ListView1,   ui.PushButton1,
                                    ui.PushButton3, ui.PushButton4, ui.PushButton5, ui.Frame2,
                                    ui.Frame1,      ui.PushButton2, ui.ProgressBar1};
    for (QWidget *control : shown) {
        QVERIFY2(form.rect().contains(control->geometry()), qPrintable(control->objectName()));
        for (QWidget *other : shown)
            QVERIFY(other == control || !control->geometry().intersects(other->geometry()));
    }
}

} // namespace

class TranslationsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir pseudo_;

private slots:
    void initTestCase()
    {
        for (const QString &catalogue : kCatalogues)
            QCOMPARE(MakePseudoCatalogue(catalogue, pseudo_.path()), QString());
    }

    void cleanup()
    {
        shell::Languages::Remove();
        qputenv("LC_ALL", "C.UTF-8");
    }

    void everyCatalogueIsComplete_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QString>("language");
        for (const QString &catalogue : kCatalogues)
            for (const QString &language : QStringLiteral(VELUNOR_LANGUAGES).split(u' '))
                QTest::addRow("%s_%s", qPrintable(catalogue), qPrintable(language))
                    << catalogue << language;
    }

    // lupdate run on a copy with the code's sources finds nothing new (left
    // unfinished) and nothing gone (left vanished or obsolete); every text is
    // translated and keeps its placeholders.
    void everyCatalogueIsComplete()
    {
        QFETCH(QString, catalogue);
        QFETCH(QString, language);
        QTemporaryDir work;
        const QString copy = work.filePath(catalogue + u'_' + language + ".ts");
        QVERIFY(QFile::copy(kSources + u'/' + catalogue + u'_' + language + ".ts", copy));
        QCOMPARE(ToolRun(QStringLiteral(VELUNOR_LUPDATE),
                         {QStringLiteral("-silent"), QStringLiteral("-locations"),
                          QStringLiteral("none"), QStringLiteral("-I"),
                          QStringLiteral(VELUNOR_SOURCE_DIR),
                          QStringLiteral("@" VELUNOR_BINARY_DIR "/translations/") + catalogue +
                              "_sources.lst",
                          QStringLiteral("-ts"), copy}),
                 QString());

        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader reader(&file);
        QStringList problems;
        QString source;
        bool numerus = false;
        int messages = 0;
        const auto check = [&](const QString &translation) {
            if (translation.isEmpty() || PlaceholdersOf(translation) != PlaceholdersOf(source))
                problems << QStringLiteral("not translated with its placeholders: ") + source;
        };
        while (!reader.atEnd()) {
            reader.readNext();
            if (!reader.isStartElement())
                continue;
            if (reader.name() == u"TS") {
                QCOMPARE(reader.attributes().value(QLatin1String("language")).toString(), language);
            } else if (reader.name() == u"message") {
                numerus = reader.attributes().value(QLatin1String("numerus")) == u"yes";
                ++messages;
            } else if (reader.name() == u"source") {
                source = ElementText(reader);
            } else if (reader.name() == u"translation") {
                if (const auto type = reader.attributes().value(QLatin1String("type"));
                    !type.isEmpty())
                    problems << type.toString() + QStringLiteral(": ") + source;
                if (!numerus)
                    check(ElementText(reader));
            } else if (reader.name() == u"numerusform") {
                check(ElementText(reader));
            }
        }
        QVERIFY(!reader.hasError());
        QVERIFY(messages > 0);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    // In the pseudo-language every text the window shows, every message,
    // prompt and dialog title it asks the desktop for, and the words of a
    // real run are marked; and the longer captions still fit.
    void windowSpeaksTheUsersLanguage()
    {
        qputenv("LC_ALL", "de_DE.UTF-8");
        QCOMPARE(shell::Languages::Install(kCatalogues, {QStringLiteral("qtbase")}, pseudo_.path()),
                 kPseudoLanguage);
        // Qt's own buttons speak the language too.
        QVERIFY(QCoreApplication::translate("QPlatformTheme", "Cancel") != QLatin1String("Cancel"));
        TestWindow window;
        QStringList shown;
        QObject::connect(window.ui().ProgressBar1, &app::ProgressBar::textChanged,
                         [&shown](const QString &text) { shown << text; });
        QObject::connect(&window.form(), &QWidget::windowTitleChanged,
                         [&shown](const QString &title) { shown << title; });
        window.load();
        CheckCaptionsFit(window.form());
        for (QWidget *control : window.form().findChildren<QWidget *>()) {
            if (qobject_cast<app::FocusHolder *>(control))
                continue;
            shown << control->toolTip() << control->accessibleName()
                  << control->accessibleDescription();
            if (auto *button = qobject_cast<QAbstractButton *>(control))
                shown << button->text();
            if (auto *frame = qobject_cast<QGroupBox *>(control))
                shown << frame->title();
        }
        shown << window.ui().ProgressBar1->text()
              << window.ui()
                     .ListView1->items()
                     .headerData(0, Qt::Horizontal, Qt::DisplayRole)
                     .toString();

        Controls ui = window.ui();
        window.platform.fileDialogAnswers.push_back([] { return QString(); });
        window.platform.inputAnswers.push_back(QString());
        window.platform.folderAnswers.push_back(QString());
        window.platform.yesNoAnswers.push_back(platform::MessageAnswer::No);
        for (QPushButton *button : {ui.PushButton6, ui.PushButton8, ui.PushButton2, ui.PushButton1,
                                    ui.PushButton3, ui.PushButton7, ui.PushButton5, ui.PushButton4})
            button->click();
        // A run with a file converted and one gone before its turn.
        StereoScratch scratch;
        QCOMPARE(scratch.problem(), QString());
        QVERIFY(QFile::copy(scratch.stereo(), scratch.path("gone.mp3")));
        window->addToList(
            {Path::FromText(scratch.stereo()), Path::FromText(scratch.path("gone.mp3"))});
        QVERIFY(QFile::remove(scratch.path("gone.mp3")));
        QVERIFY(QDir().mkdir(scratch.path("out")));
        ui.Text1->setText(scratch.path("out") + u'/');
        ui.PushButton2->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window->isConverting(), 120000);

        for (const ShownMessage &message : std::as_const(window.platform.messages))
            shown << message.text << message.title << message.details;
        shown << window.platform.inputPrompts << window.platform.folderPrompts;
        for (const platform::FileDialogRequest &request :
             std::as_const(window.platform.fileDialogs))
            shown << request.title << request.filter.section(u'(', 0, 0);
        QCOMPARE(window.platform.messages.size(), 5);
        QVERIFY(window.platform.messages.last().details.contains(scratch.path("gone.mp3")));
        conversion::RunProgress progress;
        progress.fraction = 0.5;
        progress.secondsLeft = 75;
        shown << cli::StatusLine(progress, 1, 2, 80);
        for (const QString &text : std::as_const(shown))
            QVERIFY2(EnglishLeft(text).isEmpty(),
                     qPrintable(EnglishLeft(text).join(u' ') + QStringLiteral(" in: ") + text));
    }

    void everyCaptionFits_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString &language : QStringLiteral(VELUNOR_LANGUAGES).split(u' '))
            QTest::newRow(qPrintable(language)) << language;
    }

    void everyCaptionFits()
    {
        QFETCH(QString, language);
        qputenv("LC_ALL", (language + QStringLiteral(".UTF-8")).toLatin1());
        QCOMPARE(shell::Languages::Install(kCatalogues, {},
                                           QStringLiteral(VELUNOR_PROGRAM_DIR "/translations")),
                 language);
        TestWindow window;
        window.load();
        QVERIFY(window.ui().PushButton2->text() != QStringLiteral("Start Converting"));
        CheckCaptionsFit(window.form());
    }

    // The command line, run as the real program beside the pseudo-language's
    // catalogue: its help, a wrong command line, a run with a file converted
    // and one left alone, each line and the summary, and the window asked
    // for without a display.
    void commandLineSpeaksTheUsersLanguage()
    {
        QTemporaryDir root;
        const QString program = root.filePath(QStringLiteral("program/velunor"));
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("program/translations"))));
        QVERIFY(QFile::copy(QStringLiteral(VELUNOR_PROGRAM_DIR "/velunor"), program));
        QVERIFY(QFile::copy(pseudo_.filePath(QStringLiteral("velunor_de.qm")),
                            root.filePath(QStringLiteral("program/translations/velunor_de.qm"))));
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("music"))));
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("more"))));
        QCOMPARE(MakeStereoMp3(root.filePath(QStringLiteral("music/a.mp3"))), QString());
        QCOMPARE(MakeStereoMp3(root.filePath(QStringLiteral("more/b.mp3"))), QString());
        // Channels that cancel out in the mix, and an input that is mono
        // already: a warning and a copy, each on its line and in the summary.
        QCOMPARE(RunTool(QStringLiteral("sox"),
                         {"-n", "-r", "44100", "-c", "2", root.filePath("more/cancel.mp3"), "synth",
                          "1", "sine", "440", "vol", "0.5", "remix", "1", "1v-1"}),
                 QString());
        QCOMPARE(RunTool(QStringLiteral("sox"),
                         {"-n", "-r", "44100", "-c", "1", root.filePath("more/mono.mp3"), "synth",
                          "1", "sine", "440"}),
                 QString());

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
        environment.remove(QStringLiteral("LANGUAGE"));
        for (const char *folder : {"HOME", "XDG_CONFIG_HOME", "TEMP", "XDG_RUNTIME_DIR"})
            environment.insert(QLatin1String(folder), root.path());
        const QList<QStringList> runs = {
            {QStringLiteral("--help")},
            {QStringLiteral("--batch"), QStringLiteral("--bogus")},
            // The output of music/a.mp3 would replace it: it is left alone.
            {QStringLiteral("--batch"), QStringLiteral("--output"), root.filePath("music"),
             root.filePath("music/a.mp3"), root.filePath("more/b.mp3"),
             root.filePath("more/cancel.mp3"), root.filePath("more/mono.mp3")}};
        QString said;
        for (const QStringList &arguments : runs) {
            QProcess process;
            process.setProcessEnvironment(environment);
            process.start(program, arguments);
            QVERIFY(process.waitForFinished(120000));
            const QString out = QString::fromUtf8(process.readAllStandardOutput());
            const QString err = QString::fromUtf8(process.readAllStandardError());
            QVERIFY2(!(out + err).isEmpty(), qPrintable(arguments.join(u' ')));
            said = out + err;
            QVERIFY2(EnglishLeft(out + err).isEmpty(),
                     qPrintable(EnglishLeft(out + err).join(u' ') + QStringLiteral(" in: ") + out +
                                err));
        }
        // The window asked for where no display is named, or where the one
        // named does not answer.
        for (const char *display : {"", ":4987"}) {
            QProcessEnvironment noWindow = environment;
            for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                noWindow.remove(QLatin1String(name));
            if (*display)
                noWindow.insert(QStringLiteral("DISPLAY"), QLatin1String(display));
            QProcess process;
            process.setProcessEnvironment(noWindow);
            process.start(program, {root.filePath("music/a.mp3")});
            QVERIFY(process.waitForFinished(120000));
            const QString err = QString::fromUtf8(process.readAllStandardError());
            QCOMPARE(process.exitCode(), 1);
            QVERIFY2(EnglishLeft(err).isEmpty(),
                     qPrintable(EnglishLeft(err).join(u' ') + QStringLiteral(" in: ") + err));
        }
        QCOMPARE(ChannelCount(root.filePath(QStringLiteral("music/b.mp3"))), 1);
        QVERIFY2(said.contains(Pseudo(QStringLiteral("warning: %1: %2")).section(u'%', 0, 0)),
                 qPrintable(said));
        QVERIFY2(said.contains(Pseudo(QStringLiteral("already mono: audio copied unchanged"))),
                 qPrintable(said));
    }
};

QTEST_MAIN(TranslationsTest)
#include "test_translations.moc"
