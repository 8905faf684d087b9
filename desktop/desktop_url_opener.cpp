#include "desktop/desktop_url_opener.h"

#include "shell/failure.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopUrlOpener::open(const QString& url)
{
    if (!QDesktopServices::openUrl(QUrl(url)))
        throw Failure(QStringLiteral("The web page %1 could not be opened: no web browser could be started.").arg(url));
}
