#pragma once

#include <QCursor>
#include <QObject>

#include <optional>

class ErrorTrap;
class QWidget;

// A window's mouse pointer value and its custom pointer image: 0 the default
// pointer, 11 busy, 99 the custom image. A hand shows over push buttons and the
// default pointer comes back over the window background and its frames; the
// busy pointer is never replaced by either.
class HoverPointer : public QObject {
public:
    static constexpr int Default = 0;
    static constexpr int Busy = 11;
    static constexpr int Custom = 99;

    explicit HoverPointer(QWidget& window);

    int mousePointer() const { return mValue; }
    void setMousePointer(int value);
    bool hasCustomImage() const { return mCustomImage.has_value(); }

    // Loads a cursor file as the custom image; throws Failure when it cannot.
    void loadCustomImage(const QString& cursorFile);
    // The window-load steps 106 and 108: the hand cursor beside the program
    // becomes the custom image when it is there.
    void loadHandCursor(ErrorTrap& trap, const QString& programFolder);

    // Pointer moves over these widgets switch to the hand or back to default.
    void watchButton(QWidget* button);
    void watchBackground(QWidget* background);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QWidget* widget, int value);

    QWidget& mWindow;
    int mValue = Default;
    std::optional<QCursor> mCustomImage;
};
