#include "shell/product.h"
#include "shell/startup.h"
#include "tests/support/fakes.h"

#include <QTemporaryDir>
#include <QTest>

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void titleLosesWholeTrailingWordsUntilItFits_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        // clang-format off
        QTest::newRow("short") << "Orvendale" << "Orvendale";
        QTest::newRow("forty, no blank") << QString(40, 'a') << QString(40, 'a');
        QTest::newRow("forty with a blank") << QString(30, 'a') + " " + QString(9, 'b') << QString(30, 'a') + " " + QString(9, 'b');
        // 50 characters, last blank at position 41: the first 40 remain.
        QTest::newRow("one word off") << QString(40, 'a') + " " + QString(9, 'b') << QString(40, 'a');
        // 50 characters, blanks at positions 38 and 45: two words come off.
        QTest::newRow("two words off") << QString(37, 'a') + " " + QString(6, 'b') + " " + QString(5, 'c') << QString(37, 'a');
        // No blank left to cut at: cut at 40 characters.
        QTest::newRow("no blank") << QString(45, 'x') << QString(40, 'x');
        QTest::newRow("no blank in the first words") << QString(45, 'x') + " y" << QString(40, 'x');
        // clang-format on
    }

    void titleLosesWholeTrailingWordsUntilItFits()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QCOMPARE(Startup::shortenedTitle(name), title);
    }

    void homePageOpensOnlyWhenTheDrawIsSeven()
    {
        FakeClock clock;
        FakeRandom random;
        FakeUrlOpener urls;
        random.draws = {0.05, 0.06, 0.0699, 0.07, 0.99};
        for (int i = 0; i < 5; ++i)
            Startup::maybeOpenHomePage(clock, random, urls);
        QCOMPARE(urls.opened, QStringList({Product::homePageUrl, Product::homePageUrl}));
        QCOMPARE(random.seeds.size(), 5);
        QCOMPARE(random.seeds.first(), clock.now);
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
