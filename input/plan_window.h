#pragma once

#include "desktop/program_window.h"
#include "desktop/services.h"
#include "plan/imported_document.h"

#include <QWidget>

#include <memory>

class HoverPointer;
class PresentationEngine;
class QAction;
class DeckExportRun;
class PlanDocument;
class PlanEditor;
class QLabel;
class QMenuBar;
class QPushButton;
class SpellChecker;

// The plan input window: the plan editor (company name, plan title and the
// eleven sections) under the "Start Creating Template" button, the menu bar
// and the status line. The window's plan is its plan document, which the
// editor shows and changes and the window's commands open, save and make
// decks from.
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
    // While a deck is being built or a document read; another click on the
    // button, or another import, does nothing.
    bool isBusy() const { return mBusy; }

    // "Start Creating Template": builds the deck into a fresh temporary file
    // and announces it, so that a viewer shows it; first waits for an
    // engine still starting ahead of need, without holding the window up.
    void createDeck();
    void unload();

    // The plan commands of the menu bar.
    void newPlan();
    void openPlan();
    void openPlanFile(const QString& path);
    // A business plan document made into the plan, after a preview of what
    // it becomes; Cancel there changes nothing.
    void importDocument();
    void importDocumentFile(const QString& path);
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
    // A plan file dropped on the window is opened, a business plan
    // document imported; a picture becomes the logo.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createDeckWithEngine();
    void previewImport(ImportedDocument document, const QString& documentName);
    void createControls();
    void createMenus();
    void createPlanMenu();
    void createEditMenu();
    void createDeckMenu();
    void createHelpMenu();
    void createStatusLine();
    void showDocumentState();
    void connectDocument();
    void resolveFileChangedElsewhere(const QString& description);
    void writePlanFileNow();
    void tellAboutDamagedStore();

    // The controls carry their names as object names, by which tests and
    // tools find them.
    QMenuBar* mMenuBar;
    QLabel* mStatusLine;
    QPushButton* mCreateButton;
    QAction* mRemoveLogoAction;

    ShellServices mServices;
    PresentationEngine& mEngine;
    SpellChecker& mSpelling;
    std::unique_ptr<PlanDocument> mDocument;
    PlanEditor* mEditor;
    std::unique_ptr<DeckExportRun> mExport;
    HoverPointer* mPointer;
    bool mBusy = false;
};
