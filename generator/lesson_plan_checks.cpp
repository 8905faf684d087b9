#include "lesson_plan_checks.h"

#include "dialogs.h"
#include "failure.h"
#include "platform.h"
#include "presentation_engine.h"

#include <QCoreApplication>
#include <QThread>

#include <cmath>

namespace LessonPlan {

namespace {
constexpr float kSecondsPerDay = 86400.0f;
}

bool isPowerPointRunning(PresentationEngine& engine)
{
    try {
        const auto app = engine.GetObject();
        return app && app->name() == presentationApplicationName;
    } catch (...) {
        return false;
    }
}

bool shouldCancelForOpenPowerPoint(PresentationEngine& engine, Dialogs& dialogs)
{
    if (!isPowerPointRunning(engine))
        return false;
    const bool proceed = dialogs.askYesNo(
        QStringLiteral("PowerPoint may be open. It is recommended that you close PowerPoint first.\r"
                       "Use Ctrl+Alt+Del > Task Manager > POWERPNT.EXE if necessary.\r\n\r\n"
                       "Would you like to proceed anyway?"));
    return !proceed;
}

void waitSeconds(float& seconds, Clock& clock)
{
    const float start = clock.secondsSinceMidnight();
    // The clock starts again at midnight, so it can measure less than a day.
    if (!std::isfinite(seconds) || seconds >= kSecondsPerDay)
        throw Failure(QStringLiteral("A pause of %1 seconds cannot be waited: it must be a number of "
                                     "seconds shorter than a day.")
                          .arg(static_cast<double>(seconds)));
    const float end = start + seconds;
    QCoreApplication::processEvents();
    for (;;) {
        float now = clock.secondsSinceMidnight();
        if (now < start)  // the clock went past midnight
            now += kSecondsPerDay;
        if (now >= end)
            return;
        QThread::usleep(500);
    }
}

}  // namespace LessonPlan
