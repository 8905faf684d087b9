// The availability checks, the pause and the naming rules, without an engine.
#include "fake_engine.h"
#include "fakes.h"
#include "availability_checks.h"
#include "deck_generation.h"
#include "layer_text.h"
#include "line_breaks.h"
#include "shape_names.h"

#include <QTimer>
#include <QtTest>
#include <limits>

namespace {

// A clock that moves on by a fixed step at every reading.
class SteppingClock : public Clock {
public:
    SteppingClock(float start, float step) : mNow(start), mStep(step) {}
    int readings = 0;
    float secondsSinceMidnight() override
    {
        ++readings;
        const float now = mNow;
        mNow += mStep;
        if (mNow >= 86400.0f)
            mNow -= 86400.0f;
        return now;
    }

private:
    float mNow;
    float mStep;
};

}  // namespace

class ChecksTest : public QObject {
    Q_OBJECT

private slots:
    void missingEngineShowsTheMessageAndEndsTheProgram()
    {
        FakeEngine engine;
        FakeDialogs dialogs;
        FakeProgramEnd end;
        AvailabilityChecks::checkEngineInstalled(engine, dialogs, end);
        QCOMPARE(end.ends, 0);
        QVERIFY(dialogs.messages.isEmpty());

        engine.state.installed = false;
        AvailabilityChecks::checkEngineInstalled(engine, dialogs, end);
        QCOMPARE(end.ends, 1);
        QCOMPARE(dialogs.messages,
                 QStringList({"LibreOffice Impress is not installed on this computer. You need to have it "
                              "installed to use this software without error."}));
        QVERIFY(dialogs.errorReports.isEmpty());

        // An engine that is installed but cannot start is told the same way,
        // with what happened.
        AvailabilityChecks::tellEngineCannotStart("The presentation engine ended while starting.", dialogs, end);
        QCOMPARE(end.ends, 2);
        QCOMPARE(dialogs.messages.last(), dialogs.messages.first() + "\r\n\r\nThe presentation engine ended while starting.");
    }

    void runningCheckAsksOnlyForOurApplicationAndHonoursTheAnswer()
    {
        FakeEngine engine;
        FakeDialogs dialogs;
        QVERIFY(!AvailabilityChecks::shouldCancelForRunningEngine(engine, dialogs));
        QVERIFY(dialogs.questions.isEmpty());

        engine.state.running = true;
        engine.state.name = "Some Other Application";
        QVERIFY(!AvailabilityChecks::isEngineRunning(engine));
        QVERIFY(!AvailabilityChecks::shouldCancelForRunningEngine(engine, dialogs));
        QVERIFY(dialogs.questions.isEmpty());

        engine.state.name = presentationApplicationName;
        dialogs.answers = {true, false};
        QVERIFY(!AvailabilityChecks::shouldCancelForRunningEngine(engine, dialogs));
        QVERIFY(AvailabilityChecks::shouldCancelForRunningEngine(engine, dialogs));
        QCOMPARE(dialogs.questions.first(),
                 QString("LibreOffice Impress may be open. It is recommended that you close LibreOffice Impress first.\r"
                         "Use System Monitor > Processes > soffice.bin > End Process if necessary.\r\n\r\n"
                         "Would you like to proceed anyway?"));
        QVERIFY(!engine.state.calls.contains("Quit"));
    }

    void waitSecondsYieldsOnceWaitsAcrossMidnightAndRejectsNonsense()
    {
        SteppingClock clock(86399.8f, 0.05f);
        int yields = 0;
        QTimer::singleShot(0, [&] { ++yields; });
        QTimer::singleShot(0, [&] { ++yields; });
        float half = 0.5f;
        DeckGeneration::waitSeconds(half, clock);
        QCOMPARE(yields, 2);  // both queued events ran in the one yield
        QVERIFY(clock.readings >= 11);

        SteppingClock still(100.0f, 0.0f);
        float zero = 0.0f;
        DeckGeneration::waitSeconds(zero, still);

        float infinite = std::numeric_limits<float>::infinity();
        float notANumber = std::numeric_limits<float>::quiet_NaN();
        float huge = std::numeric_limits<float>::max();
        float aDay = 86400.0f;
        SteppingClock any(100.0f, 1.0f);
        QVERIFY_THROWS_EXCEPTION(Failure, DeckGeneration::waitSeconds(infinite, any));
        QVERIFY_THROWS_EXCEPTION(Failure, DeckGeneration::waitSeconds(notANumber, any));
        QVERIFY_THROWS_EXCEPTION(Failure, DeckGeneration::waitSeconds(huge, any));
        QVERIFY_THROWS_EXCEPTION(Failure, DeckGeneration::waitSeconds(aDay, any));
    }

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

QTEST_MAIN(ChecksTest)
#include "test_availability_checks.moc"
