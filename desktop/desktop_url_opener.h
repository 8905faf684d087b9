#pragma once

#include "shell/side_effects.h"

// Opens web addresses in the desktop's browser.
class DesktopUrlOpener : public UrlOpener {
public:
    void open(const QString& url) override;
};
