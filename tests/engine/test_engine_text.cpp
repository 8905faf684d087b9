// How the engine layer finds shapes by name and maps text positions.
#include "engine/uno/fetched_once.h"
#include "engine/uno/layer_text.h"
#include "engine/uno/shape_names.h"
#include "shell/line_breaks.h"

#include <QTest>

class EngineTextTest : public QObject {
    Q_OBJECT

private slots:
    void shapesAnswerToStoredNamesFirstThenToDefaultNames_data()
    {
        QTest::addColumn<QStringList>("storedNames");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("found");
        const QStringList unnamed = {"", "", ""};
        QTest::newRow("title text") << unnamed << "Rectangle 2" << 0;
        QTest::newRow("outline text") << unnamed << "Rectangle 3" << 1;
        QTest::newRow("picture") << unnamed << "Picture 4" << 2;
        QTest::newRow("kind not at that place") << unnamed << "Rectangle 4" << -1;
        // A stored name wins, and a named shape no longer answers to its default.
        QTest::newRow("stored name taken by another") << QStringList{"Body", "Rectangle 2", ""} << "Rectangle 2" << 1;
        QTest::newRow("named shape's default") << QStringList{"Body", "", ""} << "Rectangle 2" << -1;
        QTest::newRow("stored name") << QStringList{"Body", "", ""} << "Body" << 0;
    }

    void shapesAnswerToStoredNamesFirstThenToDefaultNames()
    {
        QFETCH(QStringList, storedNames);
        QFETCH(QString, name);
        QFETCH(int, found);
        const QStringList typeList = {"com.sun.star.presentation.TitleTextShape",
                                      "com.sun.star.presentation.OutlinerShape",
                                      "com.sun.star.drawing.GraphicObjectShape"};
        QCOMPARE(findShape(
                     storedNames, [&](int index) { return typeList.at(index); }, name),
                 found);
    }

    // A shape the engine hands over cut off from its slide is fetched
    // again, up to the most fetches; each kept shape is one on the slide.
    void shapesCutOffFromTheirSlideAreFetchedAgain_data()
    {
        QTest::addColumn<int>("cutOffFetches");
        QTest::addColumn<bool>("handedOver");
        QTest::newRow("never") << 0 << true;
        QTest::newRow("once") << 1 << true;
        QTest::newRow("all but the last fetch") << kFetchesOfAShape - 1 << true;
        QTest::newRow("every fetch") << kFetchesOfAShape << false;
    }

    void shapesCutOffFromTheirSlideAreFetchedAgain()
    {
        QFETCH(int, cutOffFetches);
        QFETCH(bool, handedOver);
        // Shape 2 of 3 comes cut off (a negative number) that many times.
        QList<int> fetches(3, 0);
        const auto fetch = [&](int i) { return ++fetches[i] <= cutOffFetches && i == 1 ? -1 : i; };
        const auto attached = [](int shape) { return shape >= 0; };
        try {
            const std::vector<int> shapes = fetchEachOnce<int>(3, fetch, attached, "slide 4");
            QVERIFY(handedOver);
            QCOMPARE(shapes, std::vector<int>({0, 1, 2}));
            QCOMPARE(fetches, QList<int>({1, cutOffFetches + 1, 1}));
        } catch (const Failure& failure) {
            QVERIFY(!handedOver);
            QCOMPARE(failure.description(), QString("The presentation engine did not hand over shape 2 of slide 4."));
            QCOMPARE(fetches.at(1), kFetchesOfAShape);
        }
    }

    void layerTextUsesCrLfAndMapsPositionsToTheEngine()
    {
        // Every kind of break, an LF before a CR being two, and the
        // separators of Qt's text documents.
        QCOMPARE(LineBreaks::toCrLf(u"a\nb\r\nc\rd\n\r\u00e9\r\u2029f\u2028\r\n"),
                 QStringView(u"a\r\nb\r\nc\r\nd\r\n\r\n\u00e9\r\n\r\nf\r\n\r\n").toString());
        QCOMPARE(LineBreaks::toCrLf(u""), QString());
        QCOMPARE(LineBreaks::toLf("a\r\nb\rc\nd"), QString("a\nb\nc\nd"));
        const QString text = "ab\r\ncd\r\n\r\ne";
        QCOMPARE(LayerText::engineOffset(text, 2), 2);
        QCOMPARE(LayerText::engineOffset(text, 4), 3);
        QCOMPARE(LayerText::engineOffset(text, static_cast<int>(text.size())), 8);
    }
};

QTEST_MAIN(EngineTextTest)
#include "test_engine_text.moc"
