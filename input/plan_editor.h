#pragma once

#include <QWidget>

#include <exception>
#include <functional>

class ErrorTrap;
class PictureBox;
class PlanDocument;
class ProgramWindow;
class QContextMenuEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class SectionGroup;
class SpellChecker;
struct ShellServices;
class TabStrip;

// The plan as the user types it: the company name with the logo beside it,
// the plan title, and the eleven sections behind two tab strips, all
// spell-checked but the name. Every change of a box goes to the plan
// document at once (and on to the settings store); the boxes are filled
// from it. Its handlers report failures through the window it lies in.
class PlanEditor : public QWidget {
    Q_OBJECT
public:
    // Where the editor begins in its window's client area, in twips: below
    // the window's own button.
    static constexpr int kTop = 600;

    PlanEditor(ProgramWindow& window, PlanDocument& document, SpellChecker& spelling, ShellServices& services);

    // Start-up: every box filled with what the store holds, each under its
    // step of the window's load; a failing write is reported by the step.
    void showStoredPlan(ErrorTrap& load);
    // Every box shows the document, after the plan was replaced.
    void showPlan();
    // The dictionary the user chose, while it is installed; else the one
    // for the system's language.
    void startSpelling();
    void chooseSpellingLanguage(const QString& language);
    // The company's logo: a picture adopted, or taken off; the plan keeps a
    // copy of it.
    void setLogo(const QString& file);
    void removeLogo();

    QString companyName() const;
    QString planTitle() const;
    // Tab goes through the boxes, then to control, then to the tab strips.
    void setTabOrderAround(QWidget* control);
    // The editor and its frames: the pointer is the default over them.
    QList<QWidget*> panels();

signals:
    // The logo shown beside the company name changed; false when none is.
    void logoShown(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    TabStrip* createSection(const SectionGroup& sections, int top, PictureBox*& page, QPlainTextEdit*& box);
    void createLogoPreview();
    void describeControls();
    void connectHandlers();
    void showLogo();
    void showSection(TabStrip* strip, const SectionGroup& sections, QPlainTextEdit* box);
    void storeSection(TabStrip* strip, const SectionGroup& sections, QPlainTextEdit* box);
    void showStored(QLineEdit* box, const QString& key);
    // A box's menu where it was asked for: the spelling entries (not for the
    // company name, a proper name), then the box's own.
    void showBoxMenu(QWidget* box, const QContextMenuEvent& request);
    void loadStep(ErrorTrap& trap, int line, const std::function<void()>& step);
    // Runs an event handler: a failure is reported in the error report box
    // under the handler's name, or handed to the load step that runs it.
    void handle(const QString& procedure, const std::function<void()>& handler);

    // The controls carry their names as object names, by which tests and
    // tools find them.
    QGroupBox* mCompanyNameFrame;
    QLineEdit* mCompanyNameBox;
    QLabel* mLogoPreview;
    QGroupBox* mPlanTitleFrame;
    QLineEdit* mPlanTitleBox;
    TabStrip* mFirstSectionTabs;
    PictureBox* mFirstSectionPage;
    QPlainTextEdit* mFirstSectionBox;
    TabStrip* mSecondSectionTabs;
    PictureBox* mSecondSectionPage;
    QPlainTextEdit* mSecondSectionBox;

    ProgramWindow& mWindow;
    PlanDocument& mDocument;
    SpellChecker& mSpelling;
    ShellServices& mServices;
    // Set while a box is filled with the text the store holds.
    bool mShowingStoredText = false;
    // Set while a load step runs: change handlers hand their failure to it.
    std::exception_ptr* mChangeFailure = nullptr;
    // The box that last lost the focus to a menu, a dialog or another
    // window, until a box gets it again.
    QObject* mLeftAside = nullptr;
};
