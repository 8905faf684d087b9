#pragma once

#include <QString>

class QWidget;

// A theming component driven by applySkin, in this order: loadSkin,
// options, setOptions, setApplyToDialogs, setEnabled, applyWindow.
class Skin {
public:
    // Option bit: the skin also restyles the program's popup menus and tool tips.
    static constexpr int StylePopups = 1;

    virtual ~Skin() = default;
    virtual void loadSkin(const QString& skinFile, const QString& variant) = 0;
    virtual int options() const = 0;
    virtual void setOptions(int options) = 0;
    virtual void setApplyToDialogs(bool on) = 0;
    virtual void setEnabled(bool on) = 0;
    virtual void applyWindow(QWidget& window) = 0;
};

// Skins written as Qt style sheets. Applied to the whole application when
// dialogs or popups are to follow the skin, else to the one window.
class StyleSheetSkin : public Skin {
public:
    void loadSkin(const QString& skinFile, const QString& variant) override;
    int options() const override { return mOptions; }
    void setOptions(int options) override { mOptions = options; }
    void setApplyToDialogs(bool on) override { mApplyToDialogs = on; }
    void setEnabled(bool on) override { mEnabled = on; }
    void applyWindow(QWidget& window) override;

private:
    QString mStyleSheet;
    int mOptions = 0;
    bool mApplyToDialogs = false;
    bool mEnabled = false;
};

// When the skin file x/o.cjs lies in the program folder: recolours the
// window and its plain controls and panels to the button face colour, then
// drives the skin. Without the file nothing changes.
void applySkin(QWidget& window, Skin& skin, const QString& programFolder);
