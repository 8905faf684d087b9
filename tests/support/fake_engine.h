#pragma once

#include <functional>

// A scripted presentation engine for tests of the windows and commands.
#include "engine/port/presentation_engine.h"
#include "shell/failure.h"

#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMap>
#include <QRect>
#include <QSizeF>
#include <QStringList>

class FakePresentation;

class FakeEngineState {
public:
    bool installed = true;
    bool running = false;
    bool showStarts = true;           // false: Run starts no show and gives no window
    bool exportFails = false;         // true: SaveCopyAs fails
    bool chartFails = false;          // true: AddChart and AddTable fail as with the engine gone
    bool consoleShowRunning = false;  // a show presented with the console runs
    bool consoleShowGone = false;     // asking for that show fails as with the engine gone
    bool engineDied = false;          // the engine died: counting, saving and quitting fail as they then do
    std::function<void(const QString&)> onCloseOrQuit;     // told of either call as it is made
    std::function<void()> onRun;                           // told as a show starts
    bool busyPointerAtExport = false;                      // the busy pointer showed during the last SaveCopyAs
    QString name = QStringLiteral("LibreOffice Impress");  // the application's answer to Name
    QStringList calls;
    int openPresentations = 0;
    // The texts written, by slide (from 1) and shape, as the slides stand:
    // a copied slide moves the later ones on. The selected shape is the one
    // a write goes to.
    QList<QMap<QString, QString>> slides = QList<QMap<QString, QString>>(12);
    int selectedSlide = 0;
    QString selectedShape;
    int linesAtFullSize = 8;      // lines a body shows before it shrinks them
    int shownSlide = 1;           // the slide a running show is at
    int tableRowsPerSlide = 10;   // rows below its header a table's slide holds
    float tableTextSize = 18.0f;  // the size a table's cells show at
    // The flat text each document reads as, by its file's name; a document
    // not here reads as damaged, one mapped to "password" as locked.
    QMap<QString, QByteArray> documents;
    // The show as the viewer left it: how many were started, with alerts
    // off and which type, whether it shows in its window (not on another
    // screen with the console), its size in points, and the area the
    // presentation with the console was asked for.
    int showsRun = 0;
    bool showsInWindow = false;
    bool alertsShown = true;
    int showType = 0;
    QSizeF showSize;
    QRect consoleArea;
    QString& selectedText()
    {
        if (slides.size() < selectedSlide)
            slides.resize(selectedSlide);
        return slides[selectedSlide - 1][selectedShape];
    }
};

class FakeApplication : public PresentationApplication {
public:
    explicit FakeApplication(FakeEngineState& state) : mState(state) {}
    QString Name() override { return mState.name; }
    void setVisible(bool visible) override { mState.calls << QStringLiteral("Visible %1").arg(visible); }
    void setDisplayAlerts(bool on) override
    {
        mState.calls << QStringLiteral("DisplayAlerts %1").arg(on);
        mState.alertsShown = on;
    }
    void Quit() override
    {
        mState.calls << "Quit";
        if (mState.engineDied)
            throw EngineUnavailable(QStringLiteral("Ending the presentation application failed: the engine is gone."));
        if (mState.onCloseOrQuit)
            mState.onCloseOrQuit("Quit");
        mState.running = false;
    }
    std::shared_ptr<Presentation> open(const QString& fileName, bool withWindow) override;
    void SaveDocumentAsFlatText(const QString& fileName, const QString& flatTextFile) override
    {
        mState.calls << "SaveDocumentAsFlatText " + QFileInfo(fileName).fileName();
        const QByteArray text = mState.documents.value(QFileInfo(fileName).fileName());
        if (text == "password")
            throw DocumentNeedsPassword(fileName + " needs a password.");
        QFile file(flatTextFile);
        if (text.isEmpty() || !file.open(QIODevice::WriteOnly))
            throw Failure(fileName + " could not be read.");
        file.write(text);
    }
    int presentationCount() override
    {
        if (mState.engineDied)
            throw EngineUnavailable(QStringLiteral("Counting the open presentations failed: the engine is gone."));
        return mState.openPresentations;
    }
    void selectShapeText(int start, int length) override
    {
        mState.calls << QStringLiteral("selectShapeText %1 %2").arg(start).arg(length);
    }
    QString selectedText() override { return mState.selectedSlide > 0 ? mState.selectedText() : QString(); }
    void replaceSelectedText(const QString& text) override
    {
        mState.calls << "setText " + text;
        if (mState.selectedSlide > 0)
            mState.selectedText() = text;
    }
    // The shape shows text at 24 pt until it holds more lines than fit,
    // then shrinks it in proportion.
    float selectedTextShownSize() override
    {
        // The break after the last line starts no line of its own.
        const QString& text = mState.selectedText();
        const int lines = static_cast<int>(text.count("\r\n")) + (text.endsWith("\r\n") ? 0 : 1);
        return lines <= mState.linesAtFullSize ? 24.0f : 24.0f * mState.linesAtFullSize / lines;
    }
    void fitSelectedTextToShape() override { mState.calls << "FitToShape"; }
    void setSelectedTextSize(float points) override
    {
        mState.calls << QStringLiteral("Size %1").arg(static_cast<double>(points));
    }
    void unselect() override { mState.calls << "Unselect"; }

private:
    FakeEngineState& mState;
};

class FakePresentation : public Presentation {
public:
    explicit FakePresentation(FakeEngineState& state) : mState(state) {}
    void Save() override { mState.calls << "Save"; }
    // Writes the format's number into the file, or fails as an engine that
    // cannot write there does.
    void SaveCopyAs(const QString& fileName, SaveAsFileType format) override
    {
        mState.calls << QStringLiteral("SaveCopyAs %1").arg(static_cast<int>(format));
        if (mState.engineDied)
            throw EngineUnavailable(QStringLiteral("Saving a copy failed: the engine is gone."));
        mState.busyPointerAtExport =
            QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        QFile file(fileName);
        if (mState.exportFails || !file.open(QIODevice::WriteOnly))
            throw Failure(QStringLiteral("Saving a copy failed."));
        file.write(QByteArray::number(static_cast<int>(format)));
    }
    void Close() override
    {
        mState.calls << "Close";
        if (mState.onCloseOrQuit)
            mState.onCloseOrQuit("Close");
        --mState.openPresentations;
    }
    void selectSlide(int slide) override { mState.calls << QStringLiteral("Slide %1").arg(slide); }
    void duplicateSlide(int slide) override
    {
        mState.calls << QStringLiteral("Duplicate %1").arg(slide);
        mState.slides.insert(slide, mState.slides.at(slide - 1));
    }
    void setFooterText(int slide, const QString& text) override
    {
        mState.calls << QStringLiteral("Footer %1 %2").arg(slide).arg(text);
    }
    // Kept with the slide's texts, so that a copy of the slide has them too.
    void setNotesText(int slide, const QString& text) override
    {
        mState.calls << QStringLiteral("Notes %1").arg(slide);
        mState.slides[slide - 1][QStringLiteral("Notes")] = text;
    }
    // The chart takes the body's place, written out as "columns: Year 2027
    // 2028 | Revenue 120 gap".
    void replaceBodyWithChart(int slide, const ChartData& chart) override
    {
        if (mState.chartFails)
            throw EngineUnavailable(QStringLiteral("The presentation engine is no longer running."));
        static const char* const kinds[] = {"columns", "bars", "line", "pie"};
        QStringList rows = {
            QStringLiteral("%1: %2").arg(kinds[static_cast<int>(chart.kind)], chart.categories.join(' '))};
        for (const ChartData::Series& series : chart.series) {
            QStringList values = {series.name};
            for (const std::optional<double>& value : series.values)
                values << (value ? QString::number(*value) : QStringLiteral("gap"));
            rows << values.join(' ');
        }
        mState.calls << QStringLiteral("Chart %1").arg(slide);
        mState.slides[slide - 1].remove(shapeName(TextShape::Body));
        mState.slides[slide - 1][QStringLiteral("Chart")] =
            rows.join(QStringLiteral(" | ")) + QStringLiteral(" [%1 %2]").arg(chart.valuePrefix, chart.valueSuffix);
    }
    // The table takes the body's place, written out as "Who | Price ||
    // Acme | 10": as many rows as a slide holds.
    TableFit replaceBodyWithTable(int slide, const TableData& table) override
    {
        if (mState.chartFails)
            throw EngineUnavailable(QStringLiteral("The presentation engine is no longer running."));
        mState.calls << QStringLiteral("Table %1").arg(slide);
        const int shown = std::min(static_cast<int>(table.rows.size()), mState.tableRowsPerSlide);
        QStringList rows = {table.header.join(QStringLiteral(" | "))};
        for (const QStringList& row : table.rows.first(shown))
            rows << row.join(QStringLiteral(" | "));
        mState.slides[slide - 1].remove(shapeName(TextShape::Body));
        mState.slides[slide - 1][QStringLiteral("Table")] = rows.join(QStringLiteral(" || "));
        return TableFit{shown, mState.tableTextSize};
    }
    void deleteSlide(int slide) override
    {
        mState.calls << QStringLiteral("Delete %1").arg(slide);
        mState.slides.removeAt(slide - 1);
    }
    // Each slide's title, body and chart, as written.
    QList<QStringList> SpokenSlides() override
    {
        QList<QStringList> spoken;
        for (const QMap<QString, QString>& slide : mState.slides) {
            QStringList texts;
            for (const char* shape : {"Title", "Body", "Chart", "Table"})
                if (!slide.value(shape).isEmpty())
                    texts << slide.value(shape);
            spoken << texts;
        }
        return spoken;
    }
    void updateSlideTotals() override { mState.calls << "UpdateSlideTotals"; }
    void setTitle(const QString& title) override { mState.calls << "Title " + title; }
    void setLanguage(const QString& locale) override { mState.calls << "Language " + locale; }
    void placeLogo(const QString& file, const QString& description) override
    {
        mState.calls << QStringLiteral("PlaceLogo %1 \"%2\"").arg(QFileInfo(file).fileName(), description);
    }
    QString shapeName(TextShape shape) override { return shape == TextShape::Title ? "Title" : "Body"; }
    void selectShape(int slide, const QString& name) override
    {
        mState.selectedSlide = slide;
        mState.selectedShape = name;
        mState.calls << QStringLiteral("Shape %1 %2").arg(slide).arg(name);
    }
    void setShowType(int type) override
    {
        mState.calls << QStringLiteral("ShowType %1").arg(type);
        mState.showType = type;
    }
    std::shared_ptr<SlideShowWindow> runShow() override;

private:
    FakeEngineState& mState;
};

class FakeShowWindow : public SlideShowWindow {
public:
    explicit FakeShowWindow(FakeEngineState& state) : mState(state) {}
    void setWidth(float points) override
    {
        mState.calls << QStringLiteral("Width %1").arg(points);
        mState.showSize.setWidth(points);
    }
    void setHeight(float points) override
    {
        mState.calls << QStringLiteral("Height %1").arg(points);
        mState.showSize.setHeight(points);
    }
    QString windowClass() const override { return QStringLiteral("fakeShowClass"); }
    void presentWithConsole(const QRect& area) override
    {
        mState.calls << QStringLiteral("presentWithConsole %1x%2+%3+%4")
                            .arg(area.width())
                            .arg(area.height())
                            .arg(area.x())
                            .arg(area.y());
        mState.consoleArea = area;
        mState.consoleShowRunning = true;
        mState.showsInWindow = false;
    }
    bool consoleShowRunning() override
    {
        if (mState.consoleShowGone)
            throw EngineUnavailable("The presentation engine is not running.");
        return mState.consoleShowRunning;
    }
    void resumeHere() override
    {
        mState.calls << "resumeHere";
        mState.consoleShowRunning = false;
        mState.showsInWindow = true;
    }
    int shownSlide() override
    {
        if (mState.engineDied)
            throw EngineUnavailable(QStringLiteral("Reading the slide shown failed: the engine is gone."));
        return mState.shownSlide;
    }

private:
    FakeEngineState& mState;
};

inline std::shared_ptr<SlideShowWindow> FakePresentation::runShow()
{
    mState.calls << "Run";
    ++mState.showsRun;
    mState.showsInWindow = mState.showStarts;
    if (mState.onRun)
        mState.onRun();
    return mState.showStarts ? std::make_shared<FakeShowWindow>(mState) : nullptr;
}

inline std::shared_ptr<Presentation> FakeApplication::open(const QString& fileName, bool withWindow)
{
    mState.calls << QStringLiteral("Open %1 %2").arg(fileName).arg(withWindow);
    if (!QFile::exists(fileName))
        throw Failure(QStringLiteral("Opening the presentation %1 failed: the file does not exist.").arg(fileName));
    ++mState.openPresentations;
    return std::make_shared<FakePresentation>(mState);
}

class FakeEngine : public PresentationEngine {
public:
    FakeEngineState state;

    std::shared_ptr<PresentationApplication> CreateObject() override
    {
        state.calls << "CreateObject";
        if (!state.installed)
            throw EngineUnavailable("The presentation engine is not installed.");
        state.running = true;
        return std::make_shared<FakeApplication>(state);
    }
    std::shared_ptr<PresentationApplication> GetObject() override
    {
        state.calls << "GetObject";
        if (!state.running)
            throw EngineUnavailable("The presentation engine is not running.");
        return std::make_shared<FakeApplication>(state);
    }
    bool CanCreateObject() override
    {
        state.calls << "CanCreateObject";
        return state.installed;
    }
    QString applicationName() const override { return QStringLiteral("LibreOffice Impress"); }
    QString applicationVersion() const override { return QStringLiteral("7.4.7.2"); }
    QString processName() const override { return QStringLiteral("soffice.bin"); }
    void prepareSpare(std::function<void(const EngineStartFailure&)>) override { state.calls << "prepareSpare"; }
    // Settles at once, unless a test holds the spare's start to settle it
    // itself.
    void whenSpareSettled(std::function<void(bool startFailed)> then) override
    {
        if (holdSpare)
            settleSpare = std::move(then);
        else
            then(false);
    }
    bool holdSpare = false;
    std::function<void(bool startFailed)> settleSpare;
    void endInstancesStartedHere() override { state.calls << "endInstancesStartedHere"; }
    void interruptCall() override {}
    void endInstanceLeftBehind() override { state.calls << "endInstanceLeftBehind"; }
};
