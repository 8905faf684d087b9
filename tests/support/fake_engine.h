#pragma once

#include <functional>

// A scripted presentation engine for tests of the windows and commands.
#include "failure.h"
#include "presentation_engine.h"

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QStringList>

class FakePresentation;

class FakeEngineState {
public:
    bool installed = true;
    bool running = false;
    bool showStarts = true;    // false: Run starts no show and gives no window
    bool exportFails = false;  // true: SaveCopyAs fails
    std::function<void(const QString&)> onCloseOrQuit;  // told of either call as it is made
    std::function<void()> onRun;                         // told as a show starts
    bool busyPointerAtExport = false;                    // the busy pointer showed during the last SaveCopyAs
    QString name = QStringLiteral("LibreOffice Impress");  // the application's answer to Name
    QStringList calls;
    int openPresentations = 0;
};

class FakeApplication : public PresentationApplication {
public:
    explicit FakeApplication(FakeEngineState& state) : mState(state) {}
    QString Name() override { return mState.name; }
    void setVisible(bool visible) override { mState.calls << QStringLiteral("Visible %1").arg(visible); }
    void setDisplayAlerts(bool on) override { mState.calls << QStringLiteral("DisplayAlerts %1").arg(on); }
    void Quit() override
    {
        mState.calls << "Quit";
        if (mState.onCloseOrQuit)
            mState.onCloseOrQuit("Quit");
        mState.running = false;
    }
    std::shared_ptr<Presentation> open(const QString& fileName, bool withWindow) override;
    int presentationCount() override { return mState.openPresentations; }
    void selectShapeText(int start, int length) override
    {
        mState.calls << QStringLiteral("selectShapeText %1 %2").arg(start).arg(length);
    }
    QString selectedText() override { return QString(); }
    void replaceSelectedText(const QString& text) override { mState.calls << "setText " + text; }
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
        mState.busyPointerAtExport = QGuiApplication::overrideCursor()
                                     && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
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
    QString shapeName(TextShape shape) override { return shape == TextShape::Title ? "Title" : "Body"; }
    void selectShape(int slide, const QString& name) override
    {
        mState.calls << QStringLiteral("Shape %1 %2").arg(slide).arg(name);
    }
    void setShowType(int type) override { mState.calls << QStringLiteral("ShowType %1").arg(type); }
    std::shared_ptr<SlideShowWindow> runShow() override;

private:
    FakeEngineState& mState;
};

class FakeShowWindow : public SlideShowWindow {
public:
    explicit FakeShowWindow(FakeEngineState& state) : mState(state) {}
    void setWidth(float points) override { mState.calls << QStringLiteral("Width %1").arg(points); }
    void setHeight(float points) override { mState.calls << QStringLiteral("Height %1").arg(points); }
    QString windowClass() const override { return QStringLiteral("fakeShowClass"); }

private:
    FakeEngineState& mState;
};

inline std::shared_ptr<SlideShowWindow> FakePresentation::runShow()
{
    mState.calls << "Run";
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
    QString processName() const override { return QStringLiteral("soffice.bin"); }
    void prepareSpare(std::function<void(const QString&)>) override { state.calls << "prepareSpare"; }
    void endInstancesStartedHere() override { state.calls << "endInstancesStartedHere"; }
    void endInstanceLeftBehind() override { state.calls << "endInstanceLeftBehind"; }
};
