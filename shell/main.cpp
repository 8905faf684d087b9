// Orvendale: type a business plan, get a slide deck.
#include "form1.h"
#include "qt_dialogs.h"
#include "settings_store.h"
#include "skin_engine.h"
#include "system_platform.h"
#include "uno_engine.h"
#include "product.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    SettingsStore store;
    QtDialogs dialogs;
    SystemProgramEnd programEnd;
    DesktopUrlOpener urls;
    SystemClock clock;
    SystemRandom random;
    StyleSheetSkin skin;
    UnoEngine engine;

    Form1 form(ShellServices{store, dialogs, programEnd, urls, clock, random, skin,
                             Main::programFolder()},
               engine);
    form.Form_Load();
    form.show();
    return app.exec();
}
