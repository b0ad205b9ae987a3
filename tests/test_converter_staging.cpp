// The converter the executable carries: its five resources, where they are
// staged, how they are written and deleted, and when a staged converter is
// refused.

#include "Files.h"
#include "conversion/ConverterFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velunor;
using namespace velunor::testing;

namespace {

mode_t ModeOf(const QString &path)
{
    struct stat facts {};
    ::lstat(QFile::encodeName(path).constData(), &facts);
    return facts.st_mode & 07777;
}

QString StagingFolder()
{
    return conversion::ChooseStagingPlace().folder.text();
}

// The staging calls on folders and files named by text, as this test names
// them.
QString StagedPath(const QString &folder, const conversion::ConverterFile &file)
{
    return velunor::conversion::StagedPath(AsPath(folder), file).text();
}
// Why the converter staged there must not be run, or "" when it may.
QString UntrustedConverterReason(const QString &folder)
{
    const Done trusted = conversion::CheckConverterTrusted(AsPath(folder));
    return trusted ? QString() : trusted.failure().words;
}
void DeleteFileQuietly(const QString &path)
{
    velunor::conversion::DeleteFileQuietly(AsPath(path));
}
// Stages `buffer` at `path`; the failure's words, or "".
QString WriteResourceFile(const QByteArray &buffer, const QString &path, bool executable)
{
    const Done written = velunor::conversion::WriteResourceFile(buffer, AsPath(path), executable);
    return written ? QString() : written.failure().words;
}
bool StagedFileMatches(const QString &path, const QByteArray &buffer)
{
    return velunor::conversion::StagedFileMatches(AsPath(path), buffer);
}

} // namespace

class ConverterStagingTest : public QObject {
    Q_OBJECT

private slots:
    // ---- the payload -----------------------------------------------------

    void resourcesHoldTheMachinesConverter()
    {
        // Each id must carry the very file it is staged as: a mix-up would
        // stage a library under the program's name.
        const QList<QPair<int, QString>> expected = {
            {101, "/usr/bin/sox"},
            {102, "/usr/lib/x86_64-linux-gnu/libmad.so.0"},
            {103, "/usr/lib/x86_64-linux-gnu/libmp3lame.so.0"},
            {104, "/usr/lib/x86_64-linux-gnu/libgomp.so.1"},
            {105, "/usr/lib/x86_64-linux-gnu/libz.so.1"},
        };
        for (const auto &[id, systemFile] : expected) {
            if (!QFile::exists(systemFile))
                QSKIP("the system's SoX files are elsewhere on this machine");
            const QByteArray bytes = *conversion::LoadConverterResource(id);
            QVERIFY2(!bytes.isEmpty(), qPrintable(systemFile));
            QVERIFY2(bytes == Contents(systemFile), qPrintable(systemFile));
        }
        const Expected<QByteArray> missing = conversion::LoadConverterResource(106);
        QVERIFY(!missing);
        QCOMPARE(missing.failure().words,
                 QStringLiteral("Resource with identifier '106' not found"));
    }

    // ---- the staging folder ----------------------------------------------

    void tempIsUsedExactlyAsGiven()
    {
        EnvironmentVariable temp("TEMP");
        qputenv("TEMP", "/some/where/");
        QCOMPARE(StagingFolder(), QStringLiteral("/some/where/"));
        QCOMPARE(StagedPath(StagingFolder(), conversion::ConverterProgram()),
                 QStringLiteral("/some/where//sox"));
        qputenv("TEMP", "/some/where");
        QCOMPARE(StagedPath(StagingFolder(), conversion::ConverterProgram()),
                 QStringLiteral("/some/where/sox"));
    }

    void withoutTempAPrivateFolderIsMade()
    {
        EnvironmentVariable temp("TEMP");
        EnvironmentVariable runtime("XDG_RUNTIME_DIR");
        QTemporaryDir runtimeFolder;
        qputenv("TEMP", "");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder.path()));
        const QString folder = StagingFolder();
        QCOMPARE(folder, runtimeFolder.path() + "/velunor");
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(ModeOf(folder), mode_t(0700));

        qunsetenv("TEMP");
        qunsetenv("XDG_RUNTIME_DIR");
        const QString fallback = StagingFolder();
        QCOMPARE(fallback, QDir::tempPath() + "/velunor-" + QString::number(::getuid()));
        QVERIFY(QFileInfo(fallback).isDir());
        QCOMPARE(UntrustedConverterReason(fallback), QString());
    }

    void aPlantedLinkIsNeverTheStagingFolder()
    {
        EnvironmentVariable temp("TEMP");
        EnvironmentVariable runtime("XDG_RUNTIME_DIR");
        EnvironmentVariable tmpdir("TMPDIR");
        QTemporaryDir systemTemp;
        QTemporaryDir victim;
        qunsetenv("TEMP");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(systemTemp.path()));
        const QString usual = systemTemp.path() + "/velunor-" + QString::number(::getuid());
        QVERIFY(QFile::link(victim.path(), usual));

        const QString folder = StagingFolder();
        QVERIFY2(folder.startsWith(usual + "-"), qPrintable(folder));
        QVERIFY(QFileInfo(folder).isDir() && !QFileInfo(folder).isSymLink());
        QCOMPARE(ModeOf(folder), mode_t(0700));
        QCOMPARE(UntrustedConverterReason(folder), QString());
        QVERIFY(QDir(folder).removeRecursively());

        // The user's own folder that others could read is closed, not replaced.
        QVERIFY(QFile::remove(usual));
        QVERIFY(QDir().mkdir(usual));
        QVERIFY(::chmod(QFile::encodeName(usual).constData(), 0755) == 0);
        QCOMPARE(StagingFolder(), usual);
        QCOMPARE(ModeOf(usual), mode_t(0700));
    }

    void sharedTempIsReplacedByThePrivateFolder()
    {
        EnvironmentVariable temp("TEMP");
        EnvironmentVariable runtime("XDG_RUNTIME_DIR");
        QTemporaryDir shared;
        QTemporaryDir runtimeFolder;
        QVERIFY(::chmod(QFile::encodeName(shared.path()).constData(), 01777) == 0);
        qputenv("TEMP", QFile::encodeName(shared.path()));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder.path()));
        QCOMPARE(StagingFolder(), runtimeFolder.path() + "/velunor");
        // A TEMP only its owner can write to is used exactly as given.
        QVERIFY(::chmod(QFile::encodeName(shared.path()).constData(), 0700) == 0);
        QCOMPARE(StagingFolder(), shared.path());
        qputenv("TEMP", QFile::encodeName(shared.path() + "/"));
        QCOMPARE(StagingFolder(), shared.path() + "/");
        // A ":" would split the library search path, so the staged libraries
        // would not be loaded.
        QVERIFY(QDir(shared.path()).mkdir("a:b"));
        qputenv("TEMP", QFile::encodeName(shared.path() + "/a:b"));
        QCOMPARE(StagingFolder(), runtimeFolder.path() + "/velunor");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(shared.path() + "/a:b"));
        QCOMPARE(StagingFolder(), QDir::tempPath() + "/velunor-" + QString::number(::getuid()));
    }

    // ---- runs of several copies of the program -------------------------------

    void onlyTheLastRunRemovesTheStagedFilesAndTheFolder()
    {
        EnvironmentVariable temp("TEMP", "");
        QTemporaryDir runtimeFolder;
        EnvironmentVariable runtime("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder.path()));
        const QString folder = runtimeFolder.path() + "/velunor";
        int removals = 0;
        auto remove = [&] {
            ++removals;
            for (const conversion::ConverterFile &file : conversion::ConverterFileSet())
                DeleteFileQuietly(StagedPath(folder, file));
        };
        auto first = std::make_unique<conversion::StagingLease>();
        conversion::StagingLease second;
        QCOMPARE(first->folder().text(), folder);
        QCOMPARE(second.folder().text(), folder);
        StageConverter(folder);

        // The first run to end leaves everything to the other.
        first->release(remove);
        first.reset();
        QCOMPARE(removals, 0);
        QCOMPARE(UntrustedConverterReason(folder), QString());
        QVERIFY(QFile::exists(StagedPath(folder, conversion::ConverterProgram())));

        // A run that starts now shares the files too; the last one out removes
        // them, its lock and the folder made for them.
        {
            conversion::StagingLease third;
            second.release(remove);
            QCOMPARE(removals, 0);
            third.release(remove);
        }
        QCOMPARE(removals, 1);
        QVERIFY(!QFileInfo::exists(folder));
        QCOMPARE(Entries(runtimeFolder.path()), QStringList());
    }

    void aGivenTempKeepsItsFolderButLosesTheLock()
    {
        QTemporaryDir given;
        EnvironmentVariable temp("TEMP", QFile::encodeName(given.path()));
        {
            conversion::StagingLease lease;
            QCOMPARE(lease.folder().text(), given.path());
            StageConverter(given.path());
            QCOMPARE(Entries(given.path()).size(), 6); // five files and the lock
            lease.release([&] {
                for (const conversion::ConverterFile &file : conversion::ConverterFileSet())
                    DeleteFileQuietly(StagedPath(given.path(), file));
            });
        }
        QVERIFY(QFileInfo(given.path()).isDir());
        QCOMPARE(Entries(given.path()), QStringList());
    }

    void nothingStagedIsUsedWithoutTheLock()
    {
        QTemporaryDir given;
        EnvironmentVariable temp("TEMP", QFile::encodeName(given.path()));
        StageConverter(given.path());
        const QString program = StagedPath(given.path(), conversion::ConverterProgram());
        const QByteArray payload =
            *conversion::LoadConverterResource(conversion::ConverterProgram().resourceId);
        QVERIFY(StagedFileMatches(program, payload));
        QVERIFY(WriteFile(program, "#!/bin/sh\n# left by another version\n",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(!StagedFileMatches(program, payload));

        // While another run converts with the files there, they are not
        // replaced under it: the run is told why instead.
        auto other = std::make_unique<conversion::StagingLease>();
        conversion::StagingLease run;
        QVERIFY(other->isLocked() && run.isLocked());
        const Done refused = run.replace(payload, AsPath(program), true);
        QVERIFY2(!refused && refused.failure().words.contains("another run still uses it"),
                 qPrintable(refused ? QString() : refused.failure().words));
        QVERIFY(run.isLocked());
        // Alone, it replaces the file and goes on sharing the folder.
        other.reset();
        QVERIFY(run.replace(payload, AsPath(program), true));
        QVERIFY(StagedFileMatches(program, payload));
        QCOMPARE(ModeOf(program), mode_t(0755));
        conversion::StagingLease third;
        QVERIFY(third.isLocked());

        // A run that holds the folder alone for longer than a run waits
        // leaves the next one without a converter, and says so.
        third.release([] {});
        run.release([] {});
        {
            QFile lockFile(given.filePath(".velunor-staging.lock"));
            QVERIFY(lockFile.open(QIODevice::ReadWrite));
            struct flock alone {};
            alone.l_type = F_WRLCK;
            alone.l_whence = SEEK_SET;
            QVERIFY(::fcntl(lockFile.handle(), F_OFD_SETLK, &alone) == 0);
            conversion::StagingLease late;
            QVERIFY(!late.isLocked());
            QVERIFY2(late.locked().failure().words.contains("another run holds the staging folder"),
                     qPrintable(late.locked().failure().words));
            late.release([] { QFAIL("a run without the lock removed the staged files"); });
        }
    }

    // ---- writing and deleting ----------------------------------------------

    void stagingIntoAnEmptyFolderWritesExactBytes()
    {
        QTemporaryDir folder;
        StageConverter(folder.path());
        for (const conversion::ConverterFile &file : conversion::ConverterFileSet()) {
            const QString path = StagedPath(folder.path(), file);
            QCOMPARE(Contents(path), *conversion::LoadConverterResource(file.resourceId));
            // Only the program may be run, and nobody else may change any.
            QCOMPARE(ModeOf(path), file.executable ? mode_t(0755) : mode_t(0644));
        }
        QCOMPARE(UntrustedConverterReason(folder.path()), QString());

        for (const conversion::ConverterFile &file : conversion::ConverterFileSet())
            DeleteFileQuietly(StagedPath(folder.path(), file));
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        // Deleting what is not there, or a folder, is silent and harmless.
        DeleteFileQuietly(StagedPath(folder.path(), conversion::ConverterProgram()));
        QVERIFY(QDir(folder.path()).mkdir("sub"));
        DeleteFileQuietly(folder.filePath("sub"));
        QVERIFY(QFileInfo(folder.filePath("sub")).isDir());
    }

    // A staged file is used only when it holds every byte of the payload:
    // a change anywhere, even one that keeps the size, a file cut short or
    // grown, and a link to the right bytes are all told apart.
    void onlyTheSameBytesMatchThePayload_data()
    {
        QTest::addColumn<int>("resourceId");
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("matches");
        for (const conversion::ConverterFile &file : conversion::ConverterFileSet())
            QTest::addRow("%s as carried", file.stagedName.mid(1).constData())
                << file.resourceId << "none" << true;
        QTest::newRow("first byte changed") << 104 << "first" << false;
        QTest::newRow("a byte in the middle changed") << 104 << "middle" << false;
        QTest::newRow("last byte changed") << 104 << "last" << false;
        QTest::newRow("cut short") << 104 << "shorter" << false;
        QTest::newRow("grown") << 104 << "longer" << false;
        QTest::newRow("a link to the same bytes") << 104 << "link" << false;
    }

    void onlyTheSameBytesMatchThePayload()
    {
        QFETCH(int, resourceId);
        QFETCH(QString, change);
        QFETCH(bool, matches);
        const QByteArray payload = *conversion::LoadConverterResource(resourceId);
        QByteArray bytes = payload;
        if (change == "first")
            bytes[0] = char(bytes[0] ^ 1);
        else if (change == "middle")
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x80);
        else if (change == "last")
            bytes[bytes.size() - 1] = char(bytes[bytes.size() - 1] ^ 1);
        else if (change == "shorter")
            bytes.chop(1);
        else if (change == "longer")
            bytes.append('\0');
        QTemporaryDir folder;
        QString path = folder.filePath("staged");
        QVERIFY(WriteFile(path, bytes));
        if (change == "link") {
            const QString link = folder.filePath("link");
            QVERIFY(QFile::link(path, link));
            path = link;
        }
        QCOMPARE(StagedFileMatches(path, payload), matches);
    }

    void aPresentFileIsNeverOverwritten()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("sox");
        QVERIFY(WriteFile(path, "already here"));
        QCOMPARE(WriteResourceFile(*conversion::LoadConverterResource(101), path, true), QString());
        QCOMPARE(Contents(path), QByteArray("already here"));

        // Not through a link either, even one that leads nowhere yet; the
        // link stays, and is then refused as a converter file.
        const QString target = folder.filePath("elsewhere");
        const QString link = folder.filePath("libz.so.1");
        QVERIFY(QFile::link(target, link));
        QCOMPARE(WriteResourceFile("bytes", link, false), QString());
        QVERIFY(!QFile::exists(target));
        QVERIFY(UntrustedConverterReason(folder.path()).contains("not a plain file"));
        QCOMPARE(Entries(folder.path()), QStringList({"libz.so.1", "sox"}));
    }

    void aFailedWriteIsToldInTheSystemsWords()
    {
        QTemporaryDir folder;
        QCOMPARE(WriteResourceFile("bytes", folder.filePath("not-there/sox"), false),
                 QStringLiteral("No such file or directory"));
        QVERIFY(WriteFile(folder.filePath("plain"), "x"));
        QCOMPARE(WriteResourceFile("bytes", folder.filePath("plain/sox"), false),
                 QStringLiteral("Not a directory"));
    }

    // ---- refusing a converter others could have changed ----------------------

    void othersMustNotBeAbleToChangeTheConverter()
    {
        QTemporaryDir folder;
        StageConverter(folder.path());
        const QString library = StagedPath(folder.path(), conversion::ConverterFileSet()[2]);

        QVERIFY(::chmod(QFile::encodeName(library).constData(), 0664) == 0);
        QVERIFY(UntrustedConverterReason(folder.path()).contains("libmp3lame.so.0"));
        QVERIFY(::chmod(QFile::encodeName(library).constData(), 0644) == 0);
        QCOMPARE(UntrustedConverterReason(folder.path()), QString());

        // Anyone able to write to the folder could add a library of any name
        // the converter loads.
        QVERIFY(::chmod(QFile::encodeName(folder.path()).constData(), 01777) == 0);
        QVERIFY(UntrustedConverterReason(folder.path()).contains("staging folder"));
        QVERIFY(::chmod(QFile::encodeName(folder.path()).constData(), 0700) == 0);

        // A link instead of the program.
        const QString program = StagedPath(folder.path(), conversion::ConverterProgram());
        QVERIFY(QFile::remove(program));
        QVERIFY(QFile::link("/usr/bin/sox", program));
        QVERIFY(UntrustedConverterReason(folder.path()).contains("not a plain file"));
    }

    void aConverterOfAnotherUserIsRefused()
    {
        if (::geteuid() != 0)
            QSKIP("only an administrator can give a file to another user");
        QTemporaryDir folder;
        StageConverter(folder.path());
        const QString program = StagedPath(folder.path(), conversion::ConverterProgram());
        QVERIFY(::chown(QFile::encodeName(program).constData(), 65534, 65534) == 0);
        QVERIFY(UntrustedConverterReason(folder.path()).contains("belongs to another user"));
    }
};

QTEST_MAIN(ConverterStagingTest)
#include "test_converter_staging.moc"
