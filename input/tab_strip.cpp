#include "input/tab_strip.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

class TabStrip::Bar : public QTabBar {
public:
    explicit Bar(QWidget* parent) : QTabBar(parent)
    {
        setDrawBase(false);
        setUsesScrollButtons(false);
        setExpanding(false);
    }

private:
    // Where the keyboard is, however the focus came: the style's own frame
    // marks it only after a key moved it there.
    void drawFocus(QStylePainter& painter, const QRect& rect) const
    {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect;
        focus.state |= QStyle::State_KeyboardFocusChange;
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }

protected:
    QSize tabSizeHint(int) const override { return QSize(width() / qMax(1, count()), height()); }

    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        for (int i = 0; i < count(); ++i) {
            QStyleOptionTab option;
            initStyleOption(&option, i);
            painter.drawControl(QStyle::CE_TabBarTabShape, option);
            const QRect textRect = option.rect.adjusted(4, 2, -4, -2);
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(textRect, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, tabText(i));
            if (hasFocus() && i == currentIndex())
                drawFocus(painter, option.rect.adjusted(3, 3, -3, -3));
        }
    }
};

TabStrip::TabStrip(const QStringList& captions, int tabHeight, QWidget* parent)
    : QWidget(parent), mBar(new Bar(this)), mTabHeight(tabHeight)
{
    for (const QString& caption : captions)
        mBar->addTab(caption);
    connect(mBar, &QTabBar::currentChanged, this, [this](int tab) {
        const int previous = mPreviousTab;
        mPreviousTab = tab;
        emit clicked(previous);
    });
}

void TabStrip::takeTabKeysFrom(QWidget* page)
{
    page->installEventFilter(this);
    mBar->installEventFilter(this);
}

bool TabStrip::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!(key->modifiers() & Qt::ControlModifier))
        return false;
    const bool back = key->modifiers() & Qt::ShiftModifier;
    int step = 0;
    if (key->key() == Qt::Key_PageDown || (key->key() == Qt::Key_Tab && !back))
        step = 1;
    else if (key->key() == Qt::Key_PageUp || key->key() == Qt::Key_Backtab)
        step = -1;
    if (step == 0)
        return false;
    // The key is taken before a shortcut or the box can use it.
    event->accept();
    if (event->type() == QEvent::KeyPress)
        setCurrentTab((currentTab() + step + mBar->count()) % mBar->count());
    return true;
}

int TabStrip::currentTab() const
{
    return mBar->currentIndex();
}

void TabStrip::setCurrentTab(int tab)
{
    mBar->setCurrentIndex(tab);
}

void TabStrip::resizeEvent(QResizeEvent*)
{
    mBar->setGeometry(0, 0, width(), mTabHeight);
}

void TabStrip::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, mTabHeight - 1, width(), height() - mTabHeight + 1);
    frame.shape = QTabBar::RoundedNorth;
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

QTabBar* TabStrip::tabBar() const
{
    return mBar;
}
