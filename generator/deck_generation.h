#pragma once

#include <QString>

#include <functional>

class Clock;
class Dialogs;
class Presentation;
class PresentationApplication;
class PresentationEngine;

namespace DeckGeneration {

// Where deck generation takes the plan from: the company name and plan title
// as the input window shows them at the moment they are written, the
// sections, logo and design from the plan document, by store key.
struct PlanSource {
    std::function<QString()> companyName;
    std::function<QString()> planTitle;
    std::function<QString(const QString& key)> text;
    // The language the deck is written in; "" for the system's.
    QString language;
};

struct GenerationServices {
    PresentationEngine& engine;
    Dialogs& dialogs;
    Clock& clock;
    QString programFolder;
    // Where the copies of the plans' logos are.
    QString logoFolder;
    // What is done with the deck once it is saved, while it is still open:
    // the command line reads its slides and writes its copy there rather
    // than opening it again. Nothing in the window.
    std::function<void(PresentationApplication& app, Presentation& deck)> whileSaved = {};
};

// Copies the template deck to targetPath, fills it with the plan in a visible
// window of the presentation application, saves it and ends the application.
// Reports each failing step and goes on; success shows only as a file at
// targetPath afterwards. Returns false when the engine could not be started
// or went away: the deck is not filled then.
bool generateBusinessPlan(QString targetPath, const PlanSource& plan, const GenerationServices& services);

// The most characters a text box of the deck keeps, a paragraph break
// counting as one; the deck's file format cuts off whatever lies beyond.
constexpr int maxSlideTextLength = 32767;
// The most lines a text box of the deck shows: the engine shrinks a longer
// text until nothing of it can be seen.
constexpr int maxSlideLines = 150;

// Lets pending window events run once, then waits until the given number of
// seconds has passed, across midnight too. Throws Failure for a length that
// is not a number, or a day or more, which a clock of the time of day cannot
// measure.
void waitSeconds(float& seconds, Clock& clock);

}  // namespace DeckGeneration
