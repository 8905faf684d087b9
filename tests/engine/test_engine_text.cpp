// How the engine layer finds shapes by name and maps text positions.
#include "layer_text.h"
#include "line_breaks.h"
#include "shape_names.h"

#include <QtTest>

class EngineTextTest : public QObject {
    Q_OBJECT

private slots:
    void shapesAnswerToStoredNamesFirstThenToDefaultNames()
    {
        const QStringList typeList = {"com.sun.star.presentation.TitleTextShape",
                                      "com.sun.star.presentation.OutlinerShape",
                                      "com.sun.star.drawing.GraphicObjectShape"};
        const auto types = [&](int index) { return typeList.at(index); };
        QCOMPARE(findShape({"", "", ""}, types, "Rectangle 2"), 0);
        QCOMPARE(findShape({"", "", ""}, types, "Rectangle 3"), 1);
        QCOMPARE(findShape({"", "", ""}, types, "Picture 4"), 2);
        QCOMPARE(findShape({"", "", ""}, types, "Rectangle 4"), -1);
        // A stored name wins, and a named shape no longer answers to its default.
        QCOMPARE(findShape({"Body", "Rectangle 2", ""}, types, "Rectangle 2"), 1);
        QCOMPARE(findShape({"Body", "", ""}, types, "Rectangle 2"), -1);
        QCOMPARE(findShape({"Body", "", ""}, types, "Body"), 0);
    }

    void layerTextUsesCrLfAndMapsPositionsToTheEngine()
    {
        QCOMPARE(LineBreaks::toCrLf("a\nb\n"), QString("a\r\nb\r\n"));
        QCOMPARE(LineBreaks::toLf("a\r\nb\rc\nd"), QString("a\nb\nc\nd"));
        const QString text = "ab\r\ncd\r\n\r\ne";
        QCOMPARE(LayerText::engineOffset(text, 2), 2);
        QCOMPARE(LayerText::engineOffset(text, 4), 3);
        QCOMPARE(LayerText::engineOffset(text, static_cast<int>(text.size())), 8);
    }
};

QTEST_MAIN(EngineTextTest)
#include "test_engine_text.moc"
