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
        // A living run's file: locked for as long as its owner lives.
        Expected<std::unique_ptr<conversion::TemporaryOutput>> reserved =
            conversion::TemporaryOutput::Reserve(AsPath(folder.path()));
        QVERIFY(reserved);
        std::unique_ptr<conversion::TemporaryOutput> live = std::move(*reserved);
        QVERIFY(conversion::TemporaryOutput::IsReservedName(live->path().fileName().bytes()));
        // What a killed run leaves: the same kind of name, nobody holding it.
        QVERIFY(WriteFile(folder.filePath(".velunor-999999-7.mp3"), "debris"));
        QVERIFY(WriteFile(folder.filePath(".velunor-999999-8.part"), "debris"));
        // Never touched: the user's files, look-alikes, a link, a pipe.
        for (const QString name : {"song.mp3", ".velunor-x-1.mp3", ".velunor-1-1.mp3.bak"})
            QVERIFY(WriteFile(folder.filePath(name), "mine"));
        QVERIFY(QFile::link(folder.filePath("song.mp3"), folder.filePath(".velunor-2-2.mp3")));
        QVERIFY(::mkfifo(QFile::encodeName(folder.filePath(".velunor-3-3.mp3")).constData(),
                         0600) == 0);

        QCOMPARE(conversion::RemoveDeadLeftovers(AsPath(folder.path())), 2);
        QStringList left = Entries(folder.path());
        QStringList kept = {".velunor-1-1.mp3.bak",         ".velunor-2-2.mp3", ".velunor-3-3.mp3",
                            live->path().fileName().text(), ".velunor-x-1.mp3", "song.mp3"};
        left.sort();
        kept.sort();
        QCOMPARE(left, kept);
        QCOMPARE(Contents(folder.filePath("song.mp3")), QByteArray("mine"));

        // Another program (here: another process) sees the lock too.
        QProcess other;
        other.start(QCoreApplication::applicationFilePath(), {"sweep", folder.path()});
        QVERIFY(other.waitForFinished());
        QCOMPARE(other.readAllStandardOutput().trimmed(), QByteArray("0"));

        const QString path = live->path().text();
        live.reset();
        QVERIFY(!QFile::exists(path));
    }

    void aReservedFileReplacesNothingAndMovesInOneStep()
    {
        QTemporaryDir folder;
        Expected<std::unique_ptr<conversion::TemporaryOutput>> reserved =
            conversion::TemporaryOutput::Reserve(AsPath(folder.path()));
        QVERIFY(reserved);
        std::unique_ptr<conversion::TemporaryOutput> output = std::move(*reserved);
        QVERIFY(WriteFile(folder.filePath("final.mp3"), "earlier"));
        QCOMPARE(::write(output->descriptor(), "new", 3), ssize_t(3));
        QVERIFY(output->moveTo(AsPath(folder.filePath("final.mp3"))));
        QCOMPARE(Contents(folder.filePath("final.mp3")), QByteArray("new"));
        QCOMPARE(output->path(), Path());
        output.reset();
        QCOMPARE(Entries(folder.path()), QStringList({"final.mp3"}));

        const auto missing =
            conversion::TemporaryOutput::Reserve(AsPath(folder.filePath("missing")));
        QVERIFY(!missing);
        QCOMPARE(missing.failure().code, ENOENT);
    }

    void namesAreClaimedInListOrderWithoutRegardToCase()
    {
        conversion::OutputNames names;
        const auto claim = [&names](const char *key, const char *folder, const char *input,
                                    const conversion::NameCheck &check = {}) {
            const Path stem = Path::FromBytes(input).stem();
            return names.claim(Path::FromBytes(key), Path::FromBytes(folder), stem, {}, check);
        };
        QCOMPARE(claim("/out", "/out/", "/A/01.mp3").path.text(), QStringLiteral("/out/01.mp3"));
        const conversion::OutputNames::Claim second = claim("/out", "/out/", "/B/01.MP3");
        QCOMPARE(second.path.text(), QStringLiteral("/out/01 (2).mp3"));
        QVERIFY(second.changes == conversion::NameChange::SameNameInList);
        QCOMPARE(claim("/out", "/out", "/C/01.wav").path.text(), QStringLiteral("/out/01 (3).mp3"));
        // Another folder has names of its own.
        QVERIFY(claim("/other", "/other", "/D/01.mp3").changes == conversion::NameChange::None);
        // A name the disk holds for another input is passed over, and so is
        // a file of the list.
        const conversion::OutputNames::Claim held =
            claim("/other", "/other", "/E/02.mp3", [](const Path &candidate) {
                return candidate.fileName().bytes() == "02.mp3"
                           ? conversion::NameUse::HeldByAnotherInput
                       : candidate.fileName().bytes() == "02 (2).mp3" ? conversion::NameUse::Listed
                                                                      : conversion::NameUse::Free;
            });
        QCOMPARE(held.path.text(), QStringLiteral("/other/02 (3).mp3"));
        QVERIFY(held.changes & conversion::NameChange::HeldByAnotherInput);
        // A run beside this one put its output at a name this output had
        // claimed: the output moves on for that reason, not for its own claim.
        const Path other = Path::FromBytes("/other");
        const conversion::OutputNames::Claim moved =
            names.claimInstead(other, Path::FromBytes("/other/01.mp3"), other,
                               Path::FromBytes("01"), {}, [](const Path &candidate) {
                                   return candidate.fileName().bytes() == "01.mp3"
                                              ? conversion::NameUse::HeldByAnotherInput
                                              : conversion::NameUse::Free;
                               });
        QCOMPARE(moved.path.text(), QStringLiteral("/other/01 (2).mp3"));
        QVERIFY(moved.changes == conversion::NameChange::HeldByAnotherInput);
    }

    // A numbered name longer than the file system takes could never be had:
    // the stem gives way, never in the middle of a character.
    void aNameTooLongForTheFolderIsCutShort()
    {
        QTemporaryDir folder;
        const Path out = AsPath(folder.path());
        QByteArray stem;
        for (int i = 0; i < 125; ++i)
            stem += "\xc3\xa9"; // 250 bytes of "é"
        const conversion::NameCheck firstIsHeld = [](const Path &candidate) {
            return candidate.fileName().bytes().endsWith(" (2).mp3")
                       ? conversion::NameUse::Free
                       : conversion::NameUse::HeldByAnotherInput;
        };
        conversion::OutputNames names;
        const conversion::OutputNames::Claim claim =
            names.claim(out, out, Path::FromBytes(stem), {}, firstIsHeld);
        const QByteArray name = claim.path.fileName().bytes();
        QCOMPARE(name, stem.left(246) + " (2).mp3");
        QVERIFY(claim.changes & conversion::NameChange::Shortened);
        QFile file(QString::fromUtf8(claim.path.bytes()));
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
    }

    void namesEveryFileSystemTakes_data()
    {
        QTest::addColumn<QByteArray>("base");
        QTest::addColumn<QByteArray>("safe");
        QTest::newRow("refused characters")
            << QByteArray("a\"*:<>?\\|b") << QByteArray("a________b");
        QTest::newRow("control character") << QByteArray("a\ab") << QByteArray("a_b");
        QTest::newRow("trailing dots and spaces")
            << QByteArray("Vol. 2 . ") << QByteArray("Vol. 2");
        QTest::newRow("nothing left") << QByteArray("...") << QByteArray("_");
        QTest::newRow("letters of any script")
            << QByteArray("Ça — 東京") << QByteArray("Ça — 東京");
        QTest::newRow("bytes that are not UTF-8") << QByteArray("caf\xe9") << QByteArray("caf_");
        QTest::newRow("a device's name") << QByteArray("con") << QByteArray("con_");
        QTest::newRow("a device before an extension")
            << QByteArray("LPT1.live") << QByteArray("LPT1_.live");
        QTest::newRow("a device before spaces") << QByteArray("Aux  .x") << QByteArray("Aux_  .x");
        QTest::newRow("a longer word is no device")
            << QByteArray("CONCERT") << QByteArray("CONCERT");
        QTest::newRow("COM0 is no device") << QByteArray("COM0") << QByteArray("COM0");
    }

    void namesEveryFileSystemTakes()
    {
        QFETCH(QByteArray, base);
        QFETCH(QByteArray, safe);
        QCOMPARE(conversion::WindowsSafeStem(Path::FromBytes(base)).bytes(), safe);
    }
};

int main(int argc, char *argv[])
{
    // Run as another process of the sweep: prints how many files it removed.
    if (argc == 3 && QByteArray(argv[1]) == "sweep") {
        QCoreApplication application(argc, argv);
        std::printf("%d\n", conversion::RemoveDeadLeftovers(Path::FromBytes(argv[2])));
        return 0;
    }
    QCoreApplication application(argc, argv);
    TemporaryOutputsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_temporary_outputs.moc"
