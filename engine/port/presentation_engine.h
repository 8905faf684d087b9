#pragma once

#include "shell/failure.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// The presentation application as the program drives it: an application
// object with its presentations, the active window's selection and the
// slides and shapes of a presentation. Callers read like the steps they
// perform:
//
//     auto app = engine.CreateObject();
//     app->setVisible(true);
//     auto deck = app->Presentations().Open(path);
//     deck->Slides(2).Shapes(TextShape::Body).Select();
//     app->ActiveWindow().Selection().ShapeRange().TextFrame().TextRange().Select();
//     app->ActiveWindow().Selection().TextRange().setText(text);
//
// Every operation throws Failure, with the engine's own description where it
// gives one, when it cannot be carried out.
//
// Names: what callers use keeps the object model's names in PascalCase
// (Presentations, Open, Count, Select, Quit); a property is written through
// set and its name (setText, setVisible, setWidth). The camelCase virtual
// operations behind the chains are the implementations' part and protected.

class Presentation;
class PresentationApplication;

// A failure of the engine itself: it cannot be started, is not running, or
// went away during a call. Whatever else needs the engine cannot run after
// it, so callers tell it once and skip those steps.
class EngineUnavailable : public Failure {
public:
    using Failure::Failure;
};

// A document that cannot be read without its password; the engine was
// not let ask for one.
class DocumentNeedsPassword : public Failure {
public:
    using Failure::Failure;
};

// Why an engine could not be started: its program is missing or cannot be
// run; it did not answer within the start's deadline (a cold disk or a
// busy machine can make a first start that slow); or it started and failed.
struct EngineStartFailure {
    enum class Cause { NotInstalled, TooSlow, Broken };
    Cause cause = Cause::Broken;
    QString description;
};

class PresentationEngine {
public:
    virtual ~PresentationEngine() = default;
    // Starts the application when none answers, connects to it otherwise.
    virtual std::shared_ptr<PresentationApplication> CreateObject() = 0;
    // Connects to the running application; fails when none runs.
    virtual std::shared_ptr<PresentationApplication> GetObject() = 0;
    // Whether CreateObject finds the application installed; starts nothing.
    virtual bool CanCreateObject() = 0;

    // The name the application answers under (its default property), which
    // messages to the user name it by.
    virtual QString applicationName() const = 0;
    // The installed application's version as it states it ("7.4.7.2"), read
    // without starting it; empty when it cannot be told.
    virtual QString applicationVersion() const = 0;
    // The name of the application's process in the desktop's process list.
    virtual QString processName() const = 0;

    // The engine's lifetime in the program. An application started ahead
    // of need, in the background, that the next CreateObject which would
    // start one takes instead; when it cannot be started, onStartFailed is
    // told why, on the event loop's thread.
    virtual void prepareSpare(std::function<void(const EngineStartFailure& failure)> onStartFailed) = 0;
    // Calls then on the event loop's thread once no application is starting
    // ahead of need any more (at once when none is), so that a command that
    // needs one waits for it without holding the window up. startFailed
    // says that the start it waited for failed, which onStartFailed told; a
    // start that failed before the wait began holds nothing up. Either way
    // the next CreateObject starts an application afresh.
    virtual void whenSpareSettled(std::function<void(bool startFailed)> then) = 0;
    // Ends every application this program started; for the program's end.
    virtual void endInstancesStartedHere() = 0;
    // From any thread: makes a call into the application in progress fail
    // at once, by ending the applications it waits on; for a program that
    // must end now rather than after a long export.
    virtual void interruptCall() = 0;
    // Ends an application that an earlier run of the program left running
    // (it was killed, say) and removes what that run left behind.
    virtual void endInstanceLeftBehind() = 0;
};

// Application.Presentations
class PresentationsRef {
public:
    explicit PresentationsRef(PresentationApplication& app) : mApp(app) {}
    // Opens the deck in a window of its own, which becomes the active window.
    std::shared_ptr<Presentation> Open(const QString& fileName);
    // Opens the deck without a document window.
    std::shared_ptr<Presentation> OpenWithoutWindow(const QString& fileName);
    int Count();

private:
    PresentationApplication& mApp;
};

// Application.ActiveWindow.Selection.TextRange
class SelectedTextRef {
public:
    explicit SelectedTextRef(PresentationApplication& app) : mApp(app) {}
    QString Text();
    // Replaces exactly the selected characters.
    void setText(const QString& text);
    // The size in points the selected shape's text shows at: its font size
    // after the shape shrank it to fit, when it does.
    float ShownSize();
    // Makes all of the selected shape's text as small as it needs to be to
    // fit the shape, in whole points: a size of the text's own, which holds
    // wherever the deck is opened, whether the shape shrinks text there or not.
    void FitToShape();
    // Sets all of the selected shape's text to the size in points: a size
    // of the text's own, which the shape does not shrink when it fits.
    void setFontSize(float points);

private:
    PresentationApplication& mApp;
};

// Application.ActiveWindow.Selection.ShapeRange.TextFrame.TextRange(.Characters)
class ShapeTextRef {
public:
    ShapeTextRef(PresentationApplication& app, int start = 0, int length = -1)
        : mApp(app), mStart(start), mLength(length)
    {
    }
    // Start counts from 1; a CR LF pair counts as two characters.
    ShapeTextRef Characters(int start, int length) { return ShapeTextRef(mApp, start, length); }
    void Select();

private:
    PresentationApplication& mApp;
    int mStart;
    int mLength;
};

struct TextFrameRef {
    PresentationApplication& app;
    ShapeTextRef TextRange() { return ShapeTextRef(app); }
};

struct ShapeRangeRef {
    PresentationApplication& app;
    TextFrameRef TextFrame() { return TextFrameRef{app}; }
};

// Application.ActiveWindow.Selection
struct SelectionRef {
    PresentationApplication& app;
    ShapeRangeRef ShapeRange() { return ShapeRangeRef{app}; }
    SelectedTextRef TextRange() { return SelectedTextRef(app); }
    void Unselect();
};

struct WindowRef {
    PresentationApplication& app;
    SelectionRef Selection() { return SelectionRef{app}; }
};

class PresentationApplication {
public:
    virtual ~PresentationApplication() = default;

    // The default property: the name the application answers under.
    virtual QString Name() = 0;
    virtual void setVisible(bool visible) = 0;
    // Off: no dialog ever waits for a person.
    virtual void setDisplayAlerts(bool on) = 0;
    // Ends the application; open presentations are closed unsaved.
    virtual void Quit() = 0;

    // Reads a word-processor document (.docx, .doc, .odt, .rtf, .html, .txt)
    // with the engine's word processor and writes all of it, as flat
    // OpenDocument text, to flatTextFile. Read only: no macro runs, no link
    // is updated and nothing it refers to is fetched. Throws
    // DocumentNeedsPassword for a document locked with a password, Failure
    // naming the file for one the word processor cannot read, or when the
    // word processor is not installed.
    virtual void SaveDocumentAsFlatText(const QString& fileName, const QString& flatTextFile) = 0;

    PresentationsRef Presentations() { return PresentationsRef(*this); }
    WindowRef ActiveWindow() { return WindowRef{*this}; }

protected:
    friend class PresentationsRef;
    friend class SelectedTextRef;
    friend class ShapeTextRef;
    friend struct SelectionRef;

    // The operations behind the chains above.
    virtual std::shared_ptr<Presentation> open(const QString& fileName, bool withWindow) = 0;
    virtual int presentationCount() = 0;
    virtual void selectShapeText(int start, int length) = 0;
    virtual QString selectedText() = 0;
    virtual void replaceSelectedText(const QString& text) = 0;
    virtual float selectedTextShownSize() = 0;
    virtual void fitSelectedTextToShape() = 0;
    virtual void setSelectedTextSize(float points) = 0;
    virtual void unselect() = 0;
};

// The text shapes every slide of a template deck has, in this order: the
// title (on the first slide, the company name) and the body (on the first
// slide, the plan's title).
enum class TextShape { Title, Body };

// Presentation.Slides(n).Shapes(name)
struct ShapeRef {
    Presentation& presentation;
    int slide;
    QString name;
    // Makes the shape the active window's selection.
    void Select();
};

// A chart of numbers: one value per category in each series; a value that
// could not be read is a gap, never a zero. A pie shows the first series.
struct ChartData {
    enum class Kind { Columns, Bars, Line, Pie };
    struct Series {
        QString name;
        QList<std::optional<double>> values;
    };
    Kind kind = Kind::Columns;
    QStringList categories;
    QList<Series> series;
    // What the value axis writes before and after each number (a currency
    // sign, "%"), and whether its numbers show decimals.
    QString valuePrefix;
    QString valueSuffix;
    bool hasDecimals = false;
    // What the chart shows, for those who cannot see it.
    QString description;
};

// A table of text cells under a header row; each row as wide as the header.
struct TableData {
    QStringList header;
    QList<QStringList> rows;
    // The columns whose cells are numbers, shown right-aligned.
    QList<bool> numberColumns;
};

// How much of a table a slide shows: the header and its first rowsShown
// rows, at textSize points.
struct TableFit {
    int rowsShown = 0;
    float textSize = 0;
};

// Presentation.Slides(n)
struct SlideRef {
    Presentation& presentation;
    int slide;
    // Shows the slide in the active window.
    void Select();
    ShapeRef Shapes(const QString& name) { return ShapeRef{presentation, slide, name}; }
    ShapeRef Shapes(TextShape shape);
    // Inserts a copy of the slide right after it.
    void Duplicate();
    // The text the slide's footer shows (a copy of the slide keeps it).
    void setFooterText(const QString& text);
    // The speaker notes of the slide, lines separated by CR LF: on its
    // notes page, never on the slide or in the show.
    void setNotesText(const QString& text);
    // Puts the engine's own chart of the data where the slide's body text and
    // drawing were, in the deck's colours and fonts; those two are taken off.
    void AddChart(const ChartData& chart);
    // Puts the engine's own table where the slide's body text and drawing
    // were, as AddChart does: the header row in the deck's colours, cells at
    // 18 pt, as many rows from the first as the area holds (one at least),
    // column widths from their cells' lengths. Cells wrap their text; a
    // table whose header and first row still do not fit at 18 pt is drawn
    // smaller, down to 12 pt.
    TableFit AddTable(const TableData& table);
    // Takes the slide out of the deck.
    void Delete();
};

// The window a slide show runs in; sizes are in points.
class SlideShowWindow {
public:
    virtual ~SlideShowWindow() = default;
    virtual void setWidth(float points) = 0;
    virtual void setHeight(float points) = 0;
    // The class the window system knows the show's top-level window by,
    // until it is given a parent.
    virtual QString windowClass() const = 0;

    // Presents the show full screen over area (the screen's own pixels), from
    // the slide it shows, with the engine's presenter console (current and
    // next slide, notes, time) on another screen. The show in this window
    // stops meanwhile.
    virtual void presentWithConsole(const QRect& area) = 0;
    // Whether the show presented with the console still runs: the presenter
    // ends it, and the console with it, with Escape.
    virtual bool consoleShowRunning() = 0;
    // Ends the show presented with the console where it still runs, and goes
    // on in this window at the slide it reached; without such a show, does
    // nothing.
    virtual void resumeHere() = 0;
    // The number of the slide the show is at, from 1, wherever it is
    // presented; 0 while no show runs.
    virtual int shownSlide() = 0;
};

// Presentation.SlideShowSettings
struct SlideShowSettingsRef {
    Presentation& presentation;
    void setShowType(int type);
    // Starts the show; returns its window.
    std::shared_ptr<SlideShowWindow> Run();
};

// The formats a presentation can be saved in as a copy.
enum class SaveAsFileType { Presentation, OpenXMLPresentation, OpenDocumentPresentation, PDF };

class Presentation {
public:
    virtual ~Presentation() = default;

    // Slides count from 1.
    SlideRef Slides(int n) { return SlideRef{*this, n}; }
    SlideShowSettingsRef SlideShowSettings() { return SlideShowSettingsRef{*this}; }
    // Saves in place, in the deck's own format.
    virtual void Save() = 0;
    // Writes the deck to another file in the given format; the presentation
    // stays as it is, a running show included. A PDF is tagged for
    // assistive technology (PDF/UA), with the deck's title as its own.
    virtual void SaveCopyAs(const QString& fileName, SaveAsFileType format) = 0;
    virtual void Close() = 0;
    // The deck's title, which its files carry as the document's title.
    virtual void setTitle(const QString& title) = 0;
    // The language the deck is written in, as a locale name ("de_DE", "en",
    // "pt-BR"), which a screen reader reading its PDF speaks; a name of no
    // language ("C") leaves the deck's as it is.
    virtual void setLanguage(const QString& locale) = 0;
    // Brings the number of slides that the deck's designs show beside each
    // slide's number ("5 / 15") up to date; a .ppt keeps that total as text,
    // which slides added later leave behind.
    void UpdateSlideTotals() { updateSlideTotals(); }
    // Shows the picture in file, embedded in the deck, where the deck's
    // designs place the company's logo (the title slide, and the footer of
    // the other slides), as large as fits with its aspect ratio kept;
    // described by description for those who cannot see it.
    void PlaceLogo(const QString& file, const QString& description) { placeLogo(file, description); }
    // What each slide says to someone who cannot see it, slide by slide: the
    // texts of its shapes, its title first (a table's rows, each a line with
    // its cells a comma apart), then the descriptions of its drawings and
    // charts.
    virtual QList<QStringList> SpokenSlides() = 0;

protected:
    friend struct ShapeRef;
    friend struct SlideRef;
    friend struct SlideShowSettingsRef;

    // The operations behind the chains above.
    virtual void selectSlide(int slide) = 0;
    virtual void duplicateSlide(int slide) = 0;
    virtual void setFooterText(int slide, const QString& text) = 0;
    virtual void setNotesText(int slide, const QString& text) = 0;
    virtual void replaceBodyWithChart(int slide, const ChartData& chart) = 0;
    virtual TableFit replaceBodyWithTable(int slide, const TableData& table) = 0;
    virtual void deleteSlide(int slide) = 0;
    virtual void updateSlideTotals() = 0;
    virtual void placeLogo(const QString& file, const QString& description) = 0;
    virtual void selectShape(int slide, const QString& name) = 0;
    // The name a template's text shape answers to.
    virtual QString shapeName(TextShape shape) = 0;
    virtual void setShowType(int type) = 0;
    virtual std::shared_ptr<SlideShowWindow> runShow() = 0;
};
