// Plan files join the desktop's list of recently used files, which every
// program of the user shares: nothing of theirs is lost.
#include "shell/desktop_recent_files.h"
#include "tests/support/file_bytes.h"

#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

class DesktopRecentFilesTest : public QObject {
    Q_OBJECT

private slots:
    void theFileJoinsTheList_data()
    {
        const QByteArray head =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\" "
            "xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\" "
            "xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
        const QByteArray other =
            "<bookmark href=\"file:///tmp/notes.txt\" added=\"2025-01-01T00:00:00Z\"><info>"
            "<metadata owner=\"http://freedesktop.org\"><mime:mime-type type=\"text/plain\"/><bookmark:applications>"
            "<bookmark:application name=\"Editor\" exec=\"'editor %u'\" count=\"3\"/></bookmark:applications>"
            "</metadata></info></bookmark>\n";
        const QByteArray ours = "<bookmark href=\"file://$PLAN\" added=\"2024-05-06T07:08:09Z\"><info/></bookmark>\n";
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("added");  // the entries' dates of addition after
        // clang-format off
        QTest::newRow("no list yet") << QByteArray() << QStringList{"new"};
        QTest::newRow("another program's entry is kept") << head + other + "</xbel>\n" << QStringList{"2025-01-01T00:00:00Z", "new"};
        QTest::newRow("the file's own entry is renewed, not repeated") << head + ours + other + "</xbel>\n" << QStringList{"2025-01-01T00:00:00Z", "2024-05-06T07:08:09Z"};
        QTest::newRow("another program's record of the file is kept") << head + QByteArray(other).replace("/tmp/notes.txt", "$PLAN") + "</xbel>\n" << QStringList{"2025-01-01T00:00:00Z"};
        QTest::newRow("a damaged list is left as it is") << head + other << QStringList();
        QTest::newRow("a list of another kind is left as it is") << QByteArray("<html/>") << QStringList();
        // clang-format on
    }

    void theFileJoinsTheList()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, added);
        QTemporaryDir folder;
        const QString list = folder.filePath("share/recently-used.xbel");
        const QString plan = folder.filePath("Fjord light plan.orvendale");
        before.replace("$PLAN", QUrl::fromLocalFile(plan).toEncoded().mid(7));
        if (!before.isNull()) {
            QDir().mkpath(folder.filePath("share"));
            writeFile(list, before);
        }

        QCOMPARE(DesktopRecentFiles::add(list, plan, "application/x-orvendale-plan"), !added.isEmpty());
        if (added.isEmpty()) {
            QCOMPARE(readFile(list), before);
            return;
        }
        QXmlStreamReader after(readFile(list));
        QStringList dates, types, programs;
        while (!after.atEnd()) {
            if (after.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (after.name() == QLatin1String("bookmark"))
                dates << after.attributes().value("added").toString();
            if (after.name() == QLatin1String("mime-type"))
                types << after.attributes().value("type").toString();
            if (after.name() == QLatin1String("application"))
                programs << after.attributes().value("name").toString();
        }
        QVERIFY2(!after.hasError(), qPrintable(after.errorString()));
        if (added.last() == "new") {
            QVERIFY(QDateTime::fromString(dates.last(), Qt::ISODateWithMs).isValid());
            added.last() = dates.last();
        }
        QCOMPARE(dates, added);
        QCOMPARE(types.last(), QString("application/x-orvendale-plan"));
        QCOMPARE(programs.last(), QString("Orvendale"));
        QVERIFY(readFile(list).contains(QUrl::fromLocalFile(plan).toEncoded()));
        if (added.size() > 1 || before.contains("Editor"))
            QCOMPARE(programs.first(), QString("Editor"));
    }
};

QTEST_GUILESS_MAIN(DesktopRecentFilesTest)
#include "test_desktop_recent_files.moc"
