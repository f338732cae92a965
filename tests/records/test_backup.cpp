// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/BackupCardReader.h"
#include "records/BackupReader.h"
#include "records/BackupRestore.h"
#include "records/BackupWriter.h"
#include "records/CardLock.h"
#include "support/FileBytes.h"
#include "support/ProgramFolder.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QtTest>
#include <archive.h>
#include <archive_entry.h>

namespace {

using Problem = BackupResult::Problem;
// Relative path to bytes; a folder ends with "/" and has no bytes.
using Tree = QMap<QString, QByteArray>;

const Tree kFolder = {
    {"BXEQ0001.sza", "[SzemelyiAdatok]\r\nNev=Kiss \xc1gnes\r\n"},
    {"BXEQ0001.kl", QByteArray(464 * 5, '\x07')},
    {"BXEQ0001.~kl", QByteArray(464, '\x01')},
    {"BXEQ0002.sza", "[SzemelyiAdatok]\r\nNev=Nagy\r\n"},
    {"arc/", {}},
    {"arc/BXEA0003.sza", "[SzemelyiAdatok]\r\nNev=Arch\r\n"},
    {"arc/lista.sh", "echo\n"},
    {"empty/", {}},
    {QString::fromUtf8("Árvíztűrő tükörfúrógép.txt"), "utf-8 name"},
};

// Left out of every backup.
const Tree kLocks = {{"BXZZ0009.lck", {}}, {"arc/BXEA0003.lck", {}}, {"BXEQ0001.~lck", {}}};

Tree treeOf(const QString &folder)
{
    Tree tree;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(folder).relativeFilePath(path);
        if (it.fileInfo().isDir())
            tree.insert(relative + "/", {});
        else
            tree.insert(relative, readFile(path));
    }
    return tree;
}

void plant(const QString &folder, const Tree &tree)
{
    for (auto it = tree.cbegin(); it != tree.cend(); ++it) {
        QDir().mkpath(QFileInfo(folder + "/" + it.key()).absolutePath());
        if (!it.key().endsWith('/'))
            writeFile(folder + "/" + it.key(), it.value());
        else
            QDir().mkpath(folder + "/" + it.key());
    }
}

int run(const QString &program, const QStringList &arguments, const QString &folder = {},
        QByteArray *output = nullptr)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (output)
        *output = process.readAllStandardOutput() + process.readAllStandardError();
    return process.exitCode();
}

// Stands for a 4 GB entry: the bound is lowered to just below it.
constexpr int kBombBytes = 100000;

struct Entry
{
    QString name;
    QByteArray data;
    int type = AE_IFREG;
};

// A zip made by hand, with the manifest of its files unless one is given.
void makeZip(const QString &path, const QList<Entry> &entries, const QByteArray *manifest = nullptr)
{
    QByteArray listed;
    archive *a = archive_write_new();
    archive_write_set_format_zip(a);
    archive_write_open_filename(a, QFile::encodeName(path).constData());
    QList<Entry> all = entries;
    for (const Entry &entry : entries)
        listed += QCryptographicHash::hash(entry.data, QCryptographicHash::Sha256).toHex() + "  " +
                  entry.name.toUtf8() + "\n";
    if (!manifest || !manifest->isEmpty())
        all.append({"MANIFEST.sha256", manifest ? *manifest : listed});
    for (const Entry &entry : all) {
        archive_entry *e = archive_entry_new();
        archive_entry_set_pathname_utf8(e, entry.name.toUtf8().constData());
        archive_entry_set_filetype(e, entry.type);
        archive_entry_set_perm(e, 0644);
        if (entry.type == AE_IFLNK)
            archive_entry_set_symlink(e, "/etc/passwd");
        archive_entry_set_size(e, entry.type == AE_IFREG ? entry.data.size() : 0);
        archive_write_header(a, e);
        archive_write_data(a, entry.data.constData(), entry.data.size());
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
}

// Whether the central directory marks this name as UTF-8 (general purpose bit 11).
bool flaggedUtf8(const QByteArray &zip, const QString &name)
{
    const QByteArray wanted = name.toUtf8();
    for (qsizetype at = zip.indexOf("PK\x01\x02"); at >= 0;
         at = zip.indexOf("PK\x01\x02", at + 4)) {
        const auto word = [&](int offset) {
            return quint8(zip[at + offset]) | quint8(zip[at + offset + 1]) << 8;
        };
        if (zip.mid(at + 46, word(28)) == wanted)
            return word(8) & 0x800;
    }
    return false;
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString db() const { return m_dir.filePath("db"); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    BackupResult backUp(const QString &target, const BackupProgress &progress = {})
    {
        return BackupWriter::write(db(), target, QDateTime::currentDateTime(), progress, {0, 0});
    }

private slots:
    void initTestCase()
    {
        plant(db(), kFolder);
        // A restored folder must not start with cards held.
        plant(db(), kLocks);
        // Times of long ago, which no unpacking could give by chance.
        for (const char *name : {"BXEQ0001.kl", "arc/lista.sh", "arc"})
            QCOMPARE(run("touch", {"-d", "2020-01-02 03:04:05", db() + "/" + name}), 0);
    }

    void backupUnpacksWithUnzipToTheSameBytesAndRestoresThem()
    {
        CardLock held(CardLock::pathFor(db() + "/BXEQ0002"));
        QVERIFY(held.acquire());
        const BackupResult made = backUp(path("out"));
        QVERIFY2(made.ok(), qPrintable(made.detail));
        QCOMPARE(made.inUse, QStringList{"BXEQ0002"});
        QCOMPARE(QDir(path("out")).entryList(QDir::Files),
                 QStringList{QFileInfo(made.path).fileName()});
        QVERIFY(QFileInfo(made.path).fileName().contains(
            QRegularExpression("^Tavimer-\\d{8}-\\d{6}\\.zip$")));
        QVERIFY(flaggedUtf8(readFile(made.path), kFolder.lastKey()));

        QCOMPARE(run("unzip", {"-q", made.path, "-d", path("unzipped")}), 0);
        QCOMPARE(run("sha256sum", {"--quiet", "-c", "MANIFEST.sha256"}, path("unzipped")), 0);
        QFile::remove(path("unzipped/MANIFEST.sha256"));
        QCOMPARE(treeOf(path("unzipped")), kFolder);

        const BackupResult restored = BackupRestore::restore(made.path, path("restored/db"));
        QVERIFY2(restored.ok(), qPrintable(restored.detail));
        QCOMPARE(treeOf(path("restored/db")), kFolder);
        for (const QString &name : {"BXEQ0001.kl", "arc", "arc/lista.sh"})
            QCOMPARE(QFileInfo(path("restored/db/") + name).lastModified().toSecsSinceEpoch(),
                     QFileInfo(db() + "/" + name).lastModified().toSecsSinceEpoch());
    }

    // A folder may hold a file named like the zip's manifest (an unpacked backup's, say), and
    // a card's history, of which files may come while the backup runs.
    void folderFilesNamedLikeTheManifestAndHistoriesAreBackedUp()
    {
        Tree tree = kFolder;
        tree.insert("MANIFEST.sha256", QByteArray(64, 'a') + "  BXEQ0001.sza\n");
        tree.insert("MANIFEST-3.sha256", "x");
        tree.insert("history/pseudonym.key", "k");
        tree.insert("history/BXEQ0001/changes.log", "saved\n");
        tree.insert("history/BXEQ0001/versions/", {});
        tree.insert("history/BXEQ0002~20261209T101010/changes.log", "deleted\n");
        tree.insert("arc/history/BXEA0003/versions/1.gz", "v");
        plant(path("named"), tree);
        const QString late = "history/BXEQ0001/versions/late.gz";
        // Written after the folder was listed: the card's files are looked at under its lock.
        const BackupResult made = BackupWriter::write(
            path("named"), path("named-out"), QDateTime::currentDateTime(), [&](qint64, qint64) {
                return QFile::exists(path("named/") + late) ||
                       writeFile(path("named/") + late, "late");
            });
        QVERIFY2(made.ok(), qPrintable(made.detail));
        tree = treeOf(path("named"));
        QVERIFY(tree.contains(late));
        QCOMPARE(run("unzip", {"-q", made.path, "-d", path("named-unzipped")}), 0);
        QCOMPARE(run("sha256sum", {"--quiet", "-c", "MANIFEST-2.sha256"}, path("named-unzipped")),
                 0);
        QFile::remove(path("named-unzipped/MANIFEST-2.sha256"));
        QCOMPARE(treeOf(path("named-unzipped")), tree);
        QVERIFY(BackupRestore::restore(made.path, path("named-restored")).ok());
        QCOMPARE(treeOf(path("named-restored")), tree);
        // As zips were made before: MANIFEST.sha256 the manifest.
        makeZip(path("before.zip"), {{"a.txt", "x"}});
        QVERIFY(BackupRestore::restore(path("before.zip"), path("before")).ok());
        QCOMPARE(treeOf(path("before")), (Tree{{"a.txt", "x"}}));
        QCOMPARE(BackupCardReader::cardOf("arc/history/BXEA0003~20261209T101010/changes.log"),
                 "BXEA0003");
    }

    void backupIsRefused_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("problem");
        QTest::newRow("no database folder") << "none"
                                            << "refused1" << false << int(Problem::NoDatabase);
        QTest::newRow("inside the database") << "db"
                                             << "db/arc/bak" << false << int(Problem::TargetInside);
        QTest::newRow("cancelled") << "db"
                                   << "refused2" << true << int(Problem::Cancelled);
    }

    void backupIsRefused()
    {
        QFETCH(QString, database);
        QFETCH(QString, target);
        QFETCH(bool, cancel);
        QFETCH(int, problem);
        const BackupResult result =
            BackupWriter::write(path(database), path(target), QDateTime::currentDateTime(),
                                [cancel](qint64, qint64) { return !cancel; }, {0, 0});
        QCOMPARE(int(result.problem), problem);
        QVERIFY(!QFileInfo::exists(path(target)) || QDir(path(target)).isEmpty());
        QCOMPARE(treeOf(db()).size(), kFolder.size() + kLocks.size());
    }

    void refusedRestoreLeavesNothing_data()
    {
        QTest::addColumn<QString>("zip");
        QTest::addColumn<int>("problem");
        const QByteArray wrong = QByteArray(64, 'a') + "  a.txt\n";
        makeZip(path("climbing.zip"), {{"a.txt", "x"}, {"../evil.txt", "x"}});
        makeZip(path("absolute.zip"), {{"/tmp/evil.txt", "x"}});
        makeZip(path("link.zip"), {{"a.txt", "x"}, {"passwd", {}, AE_IFLNK}});
        makeZip(path("mismatch.zip"), {{"a.txt", "x"}}, &wrong);
        const QByteArray right =
            QCryptographicHash::hash("x", QCryptographicHash::Sha256).toHex() + "  a.txt\n";
        makeZip(path("unlisted.zip"), {{"a.txt", "x"}, {"b.txt", "y"}}, &right);
        makeZip(path("missing.zip"), {}, &wrong);
        makeZip(path("both.zip"), {{"a", {}, AE_IFDIR}, {"a", "x"}});
        makeZip(path("bomb.zip"), {{"a.txt", QByteArray(kBombBytes, '\0')}});
        const QByteArray none;
        makeZip(path("nomanifest.zip"), {{"a.txt", "x"}}, &none);
        const BackupResult good = backUp(path("good"));
        QFile::copy(good.path, path("truncated.zip"));
        QFile::resize(path("truncated.zip"), QFileInfo(good.path).size() / 2);
        QTest::newRow("entry climbing out") << "climbing.zip" << int(Problem::UnsafeName);
        QTest::newRow("absolute path") << "absolute.zip" << int(Problem::UnsafeName);
        QTest::newRow("link") << "link.zip" << int(Problem::NotPlain);
        QTest::newRow("truncated") << "truncated.zip" << int(Problem::Damaged);
        QTest::newRow("checksum mismatch") << "mismatch.zip" << int(Problem::ChecksumMismatch);
        QTest::newRow("file not in the manifest") << "unlisted.zip" << int(Problem::Unlisted);
        QTest::newRow("listed file missing") << "missing.zip" << int(Problem::Missing);
        QTest::newRow("no manifest") << "nomanifest.zip" << int(Problem::NoManifest);
        QTest::newRow("a folder and a file of one name") << "both.zip" << int(Problem::Damaged);
        QTest::newRow("an entry beyond what a restore may write")
            << "bomb.zip" << int(Problem::TooLarge);
        QTest::newRow("folder with files") << good.path << int(Problem::TargetNotEmpty);
        QTest::newRow("cancelled") << good.path << int(Problem::Cancelled);
    }

    void refusedRestoreLeavesNothing()
    {
        QFETCH(QString, zip);
        QFETCH(int, problem);
        const QString zipPath = QFileInfo(zip).isAbsolute() ? zip : path(zip);
        BackupReader::setEntryLimit(kBombBytes - 1);
        if (problem != int(Problem::TargetNotEmpty) && problem != int(Problem::Cancelled))
            QCOMPARE(int(BackupReader::read(zipPath).problem), problem);
        QTemporaryDir parent;
        const QString target = parent.filePath("deep/db");
        if (problem == int(Problem::TargetNotEmpty))
            plant(target, {{"keep.txt", "mine"}});
        const Tree before = treeOf(parent.path());
        const bool cancel = problem == int(Problem::Cancelled);
        const BackupResult result =
            BackupRestore::restore(zipPath, target, [cancel](qint64, qint64) { return !cancel; });
        BackupReader::setEntryLimit(0);
        QCOMPARE(int(result.problem), problem);
        QCOMPARE(treeOf(parent.path()), before);
    }

    void commandLineBacksUpVerifiesAndRestores_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QString>("language");
        QTest::newRow("backup") << QStringList{"--backup", "{dir}/cli"} << 0 << "{dir}/cli/Tavimer-"
                                << "";
        QTest::newRow("verify") << QStringList{"--verify", "{zip}"} << 0 << QString::fromUtf8("ép")
                                << "";
        QTest::newRow("restore") << QStringList{"--restore", "{zip}", "{dir}/back"} << 0
                                 << "{dir}/back"
                                 << "";
        QTest::newRow("restore over files")
            << QStringList{"--restore", "{zip}", "{dir}"} << 1 << "nem üres"
            << "";
        QTest::newRow("verify damaged") << QStringList{"--verify", "{dir}/tavimer.dat"} << 1
                                        << QString::fromUtf8("sérült") << "";
        QTest::newRow("backup where no folder can be")
            << QStringList{"--backup", "{dir}/tavimer.dat/b"} << 1
            << "{dir}/tavimer.dat: Not a directory"
            << "";
        QTest::newRow("not understood") << QStringList{"--verify"} << 2 << "--backup <dir>"
                                        << "";
        // No English catalogue beside the program: its own English texts answer.
        QTest::newRow("verify, English")
            << QStringList{"--verify", "{zip}"} << 0 << "The backup is sound"
            << "en";
        QTest::newRow("restore over files, English")
            << QStringList{"--restore", "{zip}", "{dir}"} << 1 << "this one is not: {dir}"
            << "en";
    }

    void commandLineBacksUpVerifiesAndRestores()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        QFETCH(QString, language);
        static ProgramFolder program;
        if (!QFile::exists(program.programPath())) {
            QVERIFY(QFile::copy(qEnvironmentVariable("TAVIMER_BINARY_DIR") + "/tavimer",
                                program.programPath()));
            plant(program.database(), kFolder);
        }
        const QString zip = BackupWriter::write(program.database(), program.filePath("made"),
                                                QDateTime::currentDateTime())
                                .path;
        for (QString &argument : arguments)
            argument.replace("{dir}", program.path()).replace("{zip}", zip);
        const QString settings = program.filePath("tavimer.ini");
        if (!language.isEmpty())
            writeFile(settings, "[Main]\r\nLanguage=" + language.toLatin1() + "\r\n");
        QByteArray output;
        const int exit = run(program.programPath(), arguments, {}, &output);
        if (!language.isEmpty())
            QFile::remove(settings);
        QCOMPARE(exit, exitCode);
        // Support reads what was asked and how it ended.
        if (exitCode != 2)
            QVERIFY(readFile(program.supportLog()).contains(arguments.join(' ').toUtf8() + "\n"));
        QVERIFY2(QString::fromUtf8(output).contains(says.replace("{dir}", program.path())),
                 output.constData());
        if (QTest::currentDataTag() == QLatin1String("backup")) {
            QCOMPARE(run("unzip", {"-q", output.trimmed(), "-d", program.filePath("unzipped")}), 0);
            QFile::remove(program.filePath("unzipped/MANIFEST.sha256"));
            QCOMPARE(treeOf(program.filePath("unzipped")), kFolder);
        }
    }
};

QTEST_MAIN(TestBackup)
#include "test_backup.moc"
