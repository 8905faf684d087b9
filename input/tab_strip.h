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

signals:
    // A tab was selected; passes the tab that was selected before.
    void clicked(int previousTab);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class Bar;
    Bar* mBar;
    int mTabHeight;
    int mPreviousTab = 0;
};
