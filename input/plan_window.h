#pragma once

#include "desktop/program_window.h"
#include "desktop/services.h"

#include <QWidget>

#include <exception>
#include <functional>
#include <memory>

class ErrorTrap;
class HoverPointer;
class PresentationEngine;
class PictureBox;
class QAction;
class DeckExportRun;
class PlanDocument;
class QLabel;
class QContextMenuEvent;
class QMenuBar;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class SectionGroup;
class SpellChecker;
class TabStrip;

// The plan input window: company name, plan title and the eleven sections
// behind two tab strips. The window's plan is its plan document: every
// change of a box goes to it (and on to the settings store at once), and the
// boxes are filled from it.
class PlanWindow : public ProgramWindow {
    Q_OBJECT
public:
    // The plan title and the sections are spell-checked as they are typed.
    PlanWindow(ShellServices services, PresentationEngine& engine, SpellChecker& spelling);
    ~PlanWindow() override;

    // The menu bar above the controls and the status line below them, in
    // pixels.
    static constexpr int kMenuBarHeight = 22;
    static constexpr int kStatusLineHeight = 20;

    // Start-up: skin, title, pointer, home page, the plan from the store.
    void load();

    HoverPointer& pointer() { return *mPointer; }
    // While a deck is being built; another click on the button does nothing.
    bool isBusy() const { return mBusy; }

    // "Start Creating Template": builds the deck into a fresh temporary file
    // and announces it, so that a viewer shows it; first waits for an
    // engine still starting ahead of need, without holding the window up.
    void createDeck();
    void firstSectionTabChanged(int previousTab);
    void secondSectionTabChanged(int previousTab);
    void companyNameChanged();
    void planTitleChanged();
    void firstSectionChanged();
    void secondSectionChanged();
    void unload();

    // The plan commands of the menu bar.
    void newPlan();
    void openPlan();
    void openPlanFile(const QString& path);
    // Whether the plan was saved as the file the user chose.
    bool savePlanAs();
    // The company's logo: a picture chosen, dropped or taken off; the plan
    // keeps a copy of it.
    void chooseLogo();
    void setLogo(const QString& file);
    void removeLogo();
    // Makes the deck in the background, in the format of the name chosen,
    // under a progress box that can cancel it.
    void exportDeckFile();
    PlanDocument& document() { return *mDocument; }

signals:
    // A deck was built at path; whoever shows it does so before this returns.
    void deckCreated(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A plan file dropped on the window is opened; a picture becomes the
    // logo.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createDeckWithEngine();
    void createControls();
    void createMenus();
    void describeControls();
    void connectHandlers();
    // Every box shows what the store holds, after the plan was replaced.
    void showPlan();
    void showDocumentState();
    void connectDocument();
    void resolveFileChangedElsewhere(const QString& description);
    void createLogoPreview();
    void showLogo();
    void writePlanFileNow();
    void chooseSpellingLanguage(const QString& language);
    void showSection(TabStrip* strip, const SectionGroup& sections, QPlainTextEdit* box);
    void storeSection(TabStrip* strip, const SectionGroup& sections, QPlainTextEdit* box);
    void storeText(const QString& key, const QString& text);
    void showStored(QLineEdit* box, const QString& key);
    void startSpelling();
    // A box's menu where it was asked for: the spelling entries (not for the
    // company name, a proper name), then the box's own.
    void showBoxMenu(QWidget* box, const QContextMenuEvent& request);
    void tellAboutDamagedStore();
    void loadStep(ErrorTrap& trap, int line, const std::function<void()>& step);
    // Runs an event handler that has no trap: a failure is reported in the
    // error report box under the handler's name.
    void untrapped(const QString& procedure, const std::function<void()>& handler);

    // The controls carry their names as object names, by which tests and
    // tools find them.
    QWidget* mClientArea;
    QMenuBar* mMenuBar;
    QLabel* mStatusLine;
    QPushButton* mCreateButton;
    QGroupBox* mCompanyNameFrame;
    QLineEdit* mCompanyNameBox;
    QLabel* mLogoPreview;
    QAction* mRemoveLogoAction;
    QGroupBox* mPlanTitleFrame;
    QLineEdit* mPlanTitleBox;
    TabStrip* mFirstSectionTabs;
    PictureBox* mFirstSectionPage;
    QPlainTextEdit* mFirstSectionBox;
    TabStrip* mSecondSectionTabs;
    PictureBox* mSecondSectionPage;
    QPlainTextEdit* mSecondSectionBox;

    ShellServices mServices;
    PresentationEngine& mEngine;
    SpellChecker& mSpelling;
    std::unique_ptr<PlanDocument> mDocument;
    std::unique_ptr<DeckExportRun> mExport;
    HoverPointer* mPointer;
    // Set while a box is filled with the text the store holds.
    bool mShowingStoredText = false;
    // Set while a load step runs: change handlers hand their failure to it.
    std::exception_ptr* mChangeFailure = nullptr;
    bool mBusy = false;
};
