// The program's own hidden files in the user's folders: reserved without
// ever replacing anything, locked while they are written, and cleared away
// only when the run that made them is gone. And the names outputs take when
// they would meet.

#include "Files.h"
#include "conversion/OutputNames.h"
#include "conversion/TemporaryOutput.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace velunor;
using namespace velunor::testing;

class TemporaryOutputsTest : public QObject {
    Q_OBJECT

private slots:
    void onlyTheDeadAreClearedAway()
    {
        QTemporaryDir folder;
        int error = 0;
        // A living run's file: locked for as long as its owner lives.
        auto live = TemporaryOutput::Reserve(folder.path(), error);
        QVERIFY(live);
        QVERIFY(TemporaryOutput::IsReservedName(QFileInfo(live->path()).fileName()));
        // What a killed run leaves: the same kind of name, nobody holding it.
        QVERIFY(WriteFile(folder.filePath(".velunor-999999-7.mp3"), "debris"));
        QVERIFY(WriteFile(folder.filePath(".velunor-999999-8.part"), "debris"));
        // Never touched: the user's files, look-alikes, a link, a pipe.
        for (const QString name : {"song.mp3", ".velunor-x-1.mp3", ".velunor-1-1.mp3.bak"})
            QVERIFY(WriteFile(folder.filePath(name), "mine"));
        QVERIFY(QFile::link(folder.filePath("song.mp3"), folder.filePath(".velunor-2-2.mp3")));
        QVERIFY(::mkfifo(QFile::encodeName(folder.filePath(".velunor-3-3.mp3")).constData(),
                         0600) == 0);

        QCOMPARE(RemoveDeadLeftovers(folder.path()), 2);
        QStringList left = Entries(folder.path());
        QStringList kept = {".velunor-1-1.mp3.bak", ".velunor-2-2.mp3",
                            ".velunor-3-3.mp3",     QFileInfo(live->path()).fileName(),
                            ".velunor-x-1.mp3",     "song.mp3"};
        left.sort();
        kept.sort();
        QCOMPARE(left, kept);
        QCOMPARE(Contents(folder.filePath("song.mp3")), QByteArray("mine"));

        // Another program (here: another process) sees the lock too.
        QProcess other;
        other.start(QCoreApplication::applicationFilePath(), {"sweep", folder.path()});
        QVERIFY(other.waitForFinished());
        QCOMPARE(other.readAllStandardOutput().trimmed(), QByteArray("0"));

        const QString path = live->path();
        live.reset();
        QVERIFY(!QFile::exists(path));
    }

    void aReservedFileReplacesNothingAndMovesInOneStep()
    {
        QTemporaryDir folder;
        int error = 0;
        auto output = TemporaryOutput::Reserve(folder.path(), error);
        QVERIFY(output);
        QVERIFY(WriteFile(folder.filePath("final.mp3"), "earlier"));
        QCOMPARE(::write(output->descriptor(), "new", 3), ssize_t(3));
        QCOMPARE(output->moveTo(folder.filePath("final.mp3")), 0);
        QCOMPARE(Contents(folder.filePath("final.mp3")), QByteArray("new"));
        QCOMPARE(output->path(), QString());
        output.reset();
        QCOMPARE(Entries(folder.path()), QStringList({"final.mp3"}));

        QVERIFY(!TemporaryOutput::Reserve(folder.filePath("missing"), error));
        QCOMPARE(error, ENOENT);
    }

    void namesAreClaimedInListOrderWithoutRegardToCase()
    {
        OutputNames names;
        QCOMPARE(names.claim("/out", "/out/", "/A/01.mp3").path, QStringLiteral("/out/01.mp3"));
        const OutputNames::Claim second = names.claim("/out", "/out/", "/B/01.MP3");
        QCOMPARE(second.path, QStringLiteral("/out/01 (2).mp3"));
        QCOMPARE(second.change, NameChange::SameNameInList);
        QCOMPARE(names.claim("/out", "/out", "/C/01.wav").path, QStringLiteral("/out/01 (3).mp3"));
        // Another folder has names of its own.
        QCOMPARE(names.claim("/other", "/other", "/D/01.mp3").change, NameChange::None);
        // A name the file system refuses becomes one it takes, still unique.
        QCOMPARE(names.claim("/out", "/out", "/E/a_b.mp3").path, QStringLiteral("/out/a_b.mp3"));
        const OutputNames::Claim safe = names.claimSafe("/out", "/out/a:b.mp3");
        QCOMPARE(safe.path, QStringLiteral("/out/a_b (2).mp3"));
        QCOMPARE(safe.change, NameChange::RefusedCharacters);
    }

    void namesEveryFileSystemTakes_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("safe");
        QTest::newRow("refused characters") << "a\"*:<>?\\|b"
                                            << "a________b";
        QTest::newRow("control character") << QString("a") + QChar(7) + "b"
                                           << "a_b";
        QTest::newRow("trailing dots and spaces") << "Vol. 2 . "
                                                  << "Vol. 2";
        QTest::newRow("nothing left") << "..."
                                      << "_";
        QTest::newRow("letters of any script") << "Ça — 東京"
                                               << "Ça — 東京";
    }

    void namesEveryFileSystemTakes()
    {
        QFETCH(QString, base);
        QFETCH(QString, safe);
        QCOMPARE(FileSystemSafeName(base), safe);
    }
};

int main(int argc, char *argv[])
{
    // Run as another process of the sweep: prints how many files it removed.
    if (argc == 3 && QByteArray(argv[1]) == "sweep") {
        QCoreApplication application(argc, argv);
        std::printf("%d\n", RemoveDeadLeftovers(QString::fromLocal8Bit(argv[2])));
        return 0;
    }
    QCoreApplication application(argc, argv);
    TemporaryOutputsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_temporary_outputs.moc"
