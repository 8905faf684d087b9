#include "shell/error_report.h"

#include "shell/dialogs.h"
#include "shell/product.h"

namespace Main {

QString errorLocation(const QString& owner, const QString& procedure)
{
    return QStringLiteral("in Quenlith2021/08/31.%1.%2 ").arg(owner, procedure);
}

QString errorReportText(const QString& description, const QString& location, int line)
{
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ") + QString::number(line)
           + QStringLiteral("\r\r") + QStringLiteral("Please email screenshot of this message to ") + supportEmail;
}

void showErrorReport(Dialogs& dialogs, const QString& description, const QString& location, int line)
{
    dialogs.errorReport(errorReportText(description, location, line));
}

}  // namespace Main
