// The disk the fault suite builds after a power cut: which writes and names survive, from a
// record of changes as the preloaded library keeps it.
#include "PowerCut.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using Kind = disklog::Kind;
using Files = QMap<QString, QByteArray>;

namespace {

DiskEvent change(Kind kind, qint64 at, qint64 inode, const QString& path = {},
                 const QString& other = {}) {
    DiskEvent e;
    e.kind = kind;
    e.at = at;
    e.inode = inode;
    e.path = path;
    e.other = other;
    return e;
}

DiskEvent write(qint64 at, qint64 inode, qint64 offset, const QByteArray& data) {
    DiskEvent e = change(Kind::Write, at, inode);
    e.offset = offset;
    e.size = data.size();
    e.data = data;
    return e;
}

DiskEvent truncate(qint64 at, qint64 inode, qint64 size) {
    DiskEvent e = change(Kind::Truncate, at, inode);
    e.size = size;
    return e;
}

// A folder /f holding "a" (inode 1, "old") and "data/x" (inode 9).
FolderImage folder() {
    FolderImage image;
    image.folder = u"/f"_s;
    image.names = {{u"/f/a"_s, 1}, {u"/f/data/x"_s, 9}};
    image.bytes = {{1, "old"}, {9, "x"}};
    return image;
}

Files withBase(Files files) {
    files.insert(u"data/x"_s, "x");
    return files;
}

}  // namespace

class TestPowerCut : public QObject {
    Q_OBJECT

private slots:
    // With every unsynced write lost: what survives is what a sync put on the disk, under the
    // names its folder held when it was last synced.
    void whatSurvives_data() {
        QTest::addColumn<QList<DiskEvent>>("events");
        QTest::addColumn<int>("call");
        QTest::addColumn<Files>("expected");
        const DiskEvent newBytes = write(2, 1, 0, "new");
        QTest::newRow("an unsynced write is lost")
            << QList{newBytes} << 2 << withBase({{u"a"_s, "old"}});
        QTest::newRow("a synced write stays")
            << QList{newBytes, change(Kind::Sync, 4, 1)} << 3 << withBase({{u"a"_s, "new"}});
        QTest::newRow("a cut just before the sync")
            << QList{newBytes, change(Kind::Sync, 4, 1)} << 2 << withBase({{u"a"_s, "old"}});
        QTest::newRow("a synced truncation")
            << QList{truncate(2, 1, 1), change(Kind::Sync, 4, 1)} << 3 << withBase({{u"a"_s, "o"}});
        const QList<DiskEvent> newFile{change(Kind::Create, 1, 2, u"/f/b"_s), write(2, 2, 0, "b"),
                                       change(Kind::Sync, 4, 2)};
        QTest::newRow("a new file in a folder not synced")
            << newFile << 3 << withBase({{u"a"_s, "old"}});
        QTest::newRow("a new file in a synced folder")
            << newFile + QList{change(Kind::SyncFolder, 6, -1, u"/f"_s)} << 4
            << withBase({{u"a"_s, "old"}, {u"b"_s, "b"}});
        const QList<DiskEvent> replaced{change(Kind::Create, 1, 2, u"/f/a.tmp"_s),
                                        write(2, 2, 0, "new"), change(Kind::Sync, 4, 2),
                                        change(Kind::Rename, 6, 2, u"/f/a"_s, u"/f/a.tmp"_s)};
        QTest::newRow("a rename in a folder not synced")
            << replaced << 4 << withBase({{u"a"_s, "old"}});
        QTest::newRow("a rename in a synced folder")
            << replaced + QList{change(Kind::SyncFolder, 8, -1, u"/f"_s)} << 5
            << withBase({{u"a"_s, "new"}});
        QTest::newRow("a rename after an unsynced write")
            << QList{change(Kind::Create, 1, 2, u"/f/a.tmp"_s), write(2, 2, 0, "new"),
                     change(Kind::Rename, 4, 2, u"/f/a"_s, u"/f/a.tmp"_s),
                     change(Kind::SyncFolder, 6, -1, u"/f"_s)}
            << 4 << withBase({{u"a"_s, ""}});
        const QList<DiskEvent> removed{change(Kind::Unlink, 2, -1, u"/f/a"_s)};
        QTest::newRow("a deletion in a folder not synced")
            << removed << 2 << withBase({{u"a"_s, "old"}});
        QTest::newRow("a deletion in a synced folder")
            << removed + QList{change(Kind::SyncFolder, 4, -1, u"/f"_s)} << 3 << withBase({});
        // The inode of a deleted file given to a new one: the old name still holds the old file.
        QTest::newRow("an inode given again")
            << removed + QList{change(Kind::Create, 3, 1, u"/f/b"_s), write(4, 1, 0, "b"),
                               change(Kind::Sync, 6, 1)}
            << 4 << withBase({{u"a"_s, "old"}});
        QTest::newRow("an unnamed file linked in")
            << QList{change(Kind::Unnamed, 1, 3), write(2, 3, 0, "c"), change(Kind::Sync, 4, 3),
                     change(Kind::Link, 6, 3, u"/f/c"_s), change(Kind::SyncFolder, 8, -1, u"/f"_s)}
            << 5 << withBase({{u"a"_s, "old"}, {u"c"_s, "c"}});
        QTest::newRow("a write past the end")
            << QList{write(2, 1, 5, "z"), change(Kind::Sync, 4, 1)} << 3
            << withBase({{u"a"_s, QByteArray("old\0\0z", 6)}});
        QTest::newRow("files outside the folder")
            << QList{change(Kind::Create, 1, 4, u"/g/x"_s),
                     change(Kind::SyncFolder, 2, -1, u"/g"_s), change(Kind::Create, 3, 5, u"/fg"_s),
                     change(Kind::SyncFolder, 4, -1, u"/"_s)}
            << 3 << withBase({{u"a"_s, "old"}});
    }
    void whatSurvives() {
        QFETCH(QList<DiskEvent>, events);
        QFETCH(int, call);
        QFETCH(Files, expected);
        QRandomGenerator random(1);
        QCOMPARE(afterPowerCut(folder(), events, call, Loss::Dropped, random), expected);
    }

    // A torn write reaches the disk up to a sector boundary inside it, never whole; a seeded
    // subset keeps each unsynced write or not. Over many seeds every outcome turns up.
    void tornAndPartlyLostWrites() {
        FolderImage image = folder();
        image.bytes[1] = QByteArray(2048, 'o');
        const QList<DiskEvent> torn{write(2, 1, 100, QByteArray(1500, 'n'))};
        const QList<DiskEvent> two{write(2, 1, 0, "A"), write(4, 1, 1000, "B")};
        QSet<qint64> tornAt;
        QSet<QByteArray> subsets;
        for (quint32 seed = 1; seed <= 60; ++seed) {
            QRandomGenerator random(seed);
            const QByteArray bytes = afterPowerCut(image, torn, 5, Loss::Torn, random)[u"a"_s];
            QCOMPARE(bytes.size(), 2048);
            const qint64 end = bytes.lastIndexOf('n') + 1;
            tornAt.insert(end == 0 ? 0 : end);
            QCOMPARE(bytes.count('n'), end == 0 ? 0 : end - 100);
            const QByteArray kept = afterPowerCut(image, two, 5, Loss::Subset, random)[u"a"_s];
            subsets.insert(QByteArray(kept.at(0) == 'A' ? "A" : "-") +
                           (kept.at(1000) == 'B' ? "B" : "-"));
        }
        QCOMPARE(tornAt, (QSet<qint64>{0, 512, 1024, 1536}));
        QCOMPARE(subsets, (QSet<QByteArray>{"--", "A-", "-B", "AB"}));
    }

    // The record as the library writes it; one cut short at its end is left out, a damaged one
    // is refused.
    void readsTheRecord() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log"_s);
        const auto header = [](Kind kind, qint64 at, qint64 size, unsigned pathSize) {
            disklog::Header h{disklog::kMagic, int(kind), at, 7, 3, size, pathSize, 0};
            return QByteArray(reinterpret_cast<const char*>(&h), sizeof h);
        };
        const QByteArray record =
            header(Kind::Write, 2, 4, 0) + "data" + header(Kind::Create, 3, 0, 7) + "/f/../b";
        QString problem;
        for (const auto& [bytes, events] :
             {std::pair{record, 2}, std::pair{record + header(Kind::Write, 4, 10, 0) + "abc", 2}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
            const std::optional<QList<DiskEvent>> read = readDiskLog(path, problem);
            QVERIFY2(read, qPrintable(problem));
            QCOMPARE(read->size(), events);
            QCOMPARE(read->at(0).data, QByteArray("data"));
            QCOMPARE(read->at(0).offset, 3);
            QCOMPARE(read->at(1).path, u"/b"_s);
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(record.mid(1)) > 0);
        file.close();
        QVERIFY(!readDiskLog(path, problem));
        QVERIFY(problem.contains(u"damaged"_s));
    }
};

QTEST_GUILESS_MAIN(TestPowerCut)
#include "tst_power_cut.moc"
