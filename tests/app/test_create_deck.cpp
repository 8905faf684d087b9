// "Start Creating Template" through to the viewer, the two windows wired as
// the program wires them, with a scripted engine and window system.
#include "input/plan_window.h"
#include "input/spell_checker.h"
#include "plan/plan_document.h"
#include "shell/settings_store.h"
#include "tests/support/fake_engine.h"
#include "tests/support/fake_shell.h"
#include "tests/support/fake_windows.h"
#include "viewer/deck_viewer.h"

#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

struct Windows : FakeShell {
    Windows(const QString& program, const QString& temp)
        : FakeShell(temp + "/store.json", program),
          viewer(services(), engine, windows),
          spelling({}, temp + "/words.txt"),
          form(services(), engine, spelling)
    {
        QObject::connect(&form, &PlanWindow::deckCreated, &viewer, &DeckViewer::showDeck);
        clock.step = 0.25f;  // the generator's pauses pass quickly
        viewer.setInputWindow(&form);
    }

    FakeEngine engine;
    FakeWindowSystem windows;
    DeckViewer viewer;
    SpellChecker spelling;
    PlanWindow form;
};

}  // namespace

class CreateDeckTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mProgram;
    std::unique_ptr<QTemporaryDir> mTemp;
    std::unique_ptr<Windows> w;

    void giveTemplate()
    {
        QFile file(mProgram->filePath("business_plan.ppt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("template");
    }

private slots:
    void init()
    {
        mProgram = std::make_unique<QTemporaryDir>();
        mTemp = std::make_unique<QTemporaryDir>();
        qputenv("TEMP", mTemp->path().toLocal8Bit());
        w = std::make_unique<Windows>(mProgram->path(), mTemp->path());
        w->form.show();
    }

    void cleanup() { w.reset(); }

    void aFreshNameIsDrawnAndTheDeckOpensInTheViewer()
    {
        giveTemplate();
        // The first name drawn is taken already; the second is free.
        const QString taken = mTemp->filePath("ps11111111.ppt");
        QFile existing(taken);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("someone else's");
        existing.close();
        w->random.draws = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.999, 0.5, 0.12, 0.999, 0.0, 0.3, 0.7, 0.9};
        // The viewer is up and the input window still shown while the show
        // starts under the busy pointer; the show runs when the click returns.
        bool viewerUpWhileStarting = false;
        w->engine.state.onRun = [&] {
            viewerUpWhileStarting = w->viewer.isVisible() && w->form.isVisible() && QGuiApplication::overrideCursor()
                                    && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        };

        w->form.createDeck();

        QVERIFY(viewerUpWhileStarting);
        QCOMPARE(w->engine.state.calls.count("Run"), 1);
        QVERIFY(!QGuiApplication::overrideCursor());

        const QString path = mTemp->filePath("ps95291379.ppt");
        QCOMPARE(w->viewer.deckFile(), path);
        QVERIFY(QRegularExpression("^ps[1-9]{8}\\.ppt$").match(QFileInfo(path).fileName()).hasMatch());
        QCOMPARE(w->random.seeds.size(), 16);
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("someone else's"));
        QVERIFY(w->viewer.isVisible());
        QVERIFY(!w->form.isVisible());
        QVERIFY(!w->form.isBusy());
        QVERIFY(w->dialogs.messages.isEmpty());
        // The plan that made the deck is kept as a snapshot.
        QCOMPARE(w->form.document().snapshots().list().first().label(), QString("A deck was made"));
    }

    // Each step of drawing the name is reported under its own line.
    void aFailedDrawIsReportedUnderItsLine()
    {
        giveTemplate();
        w->random.failingDraws = 1;
        w->form.createDeck();
        QCOMPARE(w->dialogs.reportedLines(), QList<int>({112}));
        QVERIFY(w->dialogs.errorReports.first().contains("Form1.PushButton1_Click at line 112"));
        QVERIFY(w->viewer.isVisible());
    }

    void decliningTheQuestionMakesNothing()
    {
        giveTemplate();
        w->engine.state.running = true;
        w->dialogs.answers = {false};
        w->form.createDeck();
        QCOMPARE(w->dialogs.questions.size(), 1);
        QVERIFY(w->dialogs.messages.isEmpty());
        QCOMPARE(QDir(mTemp->path()).entryList({"ps*.ppt"}).size(), 0);
        QVERIFY(w->form.isVisible());
        QVERIFY(!w->form.isBusy());
    }

    void noDeckMadeSaysSoOnce()
    {
        w->form.createDeck();
        QCOMPARE(w->dialogs.messages, QStringList({"Creation of template fail."}));
        QVERIFY(w->dialogs.errorReports.isEmpty());
        QVERIFY(w->form.isVisible());
        QVERIFY(!w->viewer.isVisible());
        QVERIFY(!w->form.isBusy());
    }

    // The engine gone in the middle of the deck: what it filled so far is
    // no deck, neither shown nor kept; the plan window says so once.
    void aDeckTheEngineLeftHalfMadeIsNeverShown()
    {
        giveTemplate();
        w->form.document().setText("FirstStatement_0", "Chart: Revenue\r\nYear: 2027, 2028\r\nRevenue: 1, 2");
        w->engine.state.chartFails = true;
        w->form.createDeck();
        QCOMPARE(w->dialogs.errorReports.size(), 1);
        QCOMPARE(w->dialogs.messages, QStringList({"Creation of template fail."}));
        QVERIFY(!w->viewer.isVisible());
        QVERIFY(w->form.isVisible());
        QVERIFY(QDir(mTemp->path()).entryList({"ps*.ppt"}).isEmpty());
    }

    void aClickDuringARunIsIgnored()
    {
        giveTemplate();
        // Delivered while the generator lets window events run.
        QTimer::singleShot(0, w->form.findChild<QPushButton*>("createDeckButton"), &QPushButton::click);
        w->form.createDeck();
        QCOMPARE(w->engine.state.calls.count("Save"), 1);
        QCOMPARE(QDir(mTemp->path()).entryList({"ps*.ppt"}).size(), 1);
        QVERIFY(w->viewer.isVisible());
    }

    // An engine still starting ahead of need is waited for from the event
    // loop, under the busy pointer, and clicks meanwhile start nothing more;
    // a start that failed (and was told) ends the press, the next one makes
    // the deck.
    void theCommandWaitsForTheSpareWithoutHoldingTheWindow()
    {
        giveTemplate();
        w->engine.holdSpare = true;
        w->form.createDeck();
        QVERIFY(w->engine.settleSpare);
        QVERIFY(w->form.isBusy());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        auto settle = std::exchange(w->engine.settleSpare, nullptr);
        w->form.findChild<QPushButton*>("createDeckButton")->click();
        QVERIFY(!w->engine.settleSpare);

        settle(true);
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(!w->form.isBusy());
        QVERIFY(w->engine.state.calls.isEmpty());
        QVERIFY(w->dialogs.messages.isEmpty() && w->dialogs.errorReports.isEmpty());

        w->form.createDeck();
        std::exchange(w->engine.settleSpare, nullptr)(false);
        QVERIFY(w->viewer.isVisible());
        QCOMPARE(w->engine.state.calls.count("Save"), 1);
    }

    // The deck is made from this window's plan, never from what another
    // copy of the program stored since. A snapshot that cannot be taken is
    // told once and holds no deck back.
    void theDeckIsMadeFromThisWindowsPlan()
    {
        giveTemplate();
        QVERIFY(QDir().mkpath(mProgram->filePath("data")));
        QFile blocking(mProgram->filePath("data/snapshots"));
        QVERIFY(blocking.open(QIODevice::WriteOnly));
        blocking.close();
        w->form.document().setText("FirstStatement_0", "This window's mission");
        w->store.saveSetting("FirstStatement_0", "Another copy's mission");
        for (int deck = 1; deck <= 2; ++deck) {
            w->form.createDeck();
            QCOMPARE(w->engine.state.slides.at(1).value("Body"), QString("This window's mission\r\n"));
            QVERIFY(w->viewer.isVisible());
            w->viewer.goBack();
        }
        QVERIFY(w->dialogs.errorReports.isEmpty());
        QCOMPARE(w->dialogs.messages.size(), 1);
        QVERIFY(w->dialogs.messages.first().contains("without taking snapshots"));
    }

    void goingBackAndCreatingAgainMakesANewFile()
    {
        giveTemplate();
        w->form.createDeck();
        const QString first = w->viewer.deckFile();
        w->viewer.goBack();
        QVERIFY(!QFile::exists(first));
        QVERIFY(w->form.isVisible());

        w->random.draws = {0.2, 0.3, 0.4, 0.6, 0.7, 0.8, 0.1, 0.9};
        w->form.createDeck();
        QVERIFY(w->viewer.deckFile() != first);
        QVERIFY(QFile::exists(w->viewer.deckFile()));
    }
};

QTEST_MAIN(CreateDeckTest)
#include "test_create_deck.moc"
