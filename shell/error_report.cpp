#include "shell/error_report.h"

#include "shell/dialogs.h"
#include "shell/product.h"

namespace ErrorReport {

QString location(const QString& owner, const QString& procedure)
{
    return QStringLiteral("in Quenlith2021/08/31.%1.%2 ").arg(owner, procedure);
}

QString text(const QString& description, const QString& location, int line)
{
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ") + QString::number(line)
           + QStringLiteral("\r\r") + QStringLiteral("Please email screenshot of this message to ")
           + Product::supportEmail;
}

QString description(const QString& text)
{
    return text.section(QStringLiteral("\r\nin Quenlith"), 0, 0).simplified();
}

void show(Dialogs& dialogs, const QString& description, const QString& location, int line)
{
    dialogs.errorReport(text(description, location, line));
}

}  // namespace ErrorReport
