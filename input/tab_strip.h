#pragma once

#include <QTabBar>
#include <QWidget>

// A row of equally wide tabs whose captions wrap onto two lines when they
// do not fit, above a framed page area. The strip holds no pages of its own:
// what shows on the page is laid over it by the window.
class TabStrip : public QWidget {
    Q_OBJECT
public:
    TabStrip(const QStringList& captions, int tabHeight, QWidget* parent);

    int currentTab() const;
    void setCurrentTab(int tab);
    QTabBar* tabBar() const;
    // Control+Page Down and Control+Tab show the next tab while the page or
    // the tabs have the focus, Control+Page Up and Control+Shift+Tab the one
    // before, as in other programs' tabbed pages.
    void takeTabKeysFrom(QWidget* page);

signals:
    // A tab was selected; passes the tab that was selected before.
    void clicked(int previousTab);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class Bar;
    Bar* mBar;
    int mTabHeight;
    int mPreviousTab = 0;
};
