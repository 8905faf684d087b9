// The company's logo in the plan window: chosen through Deck > Logo… or
// dropped on the window, shown small beside the company name, taken off
// through Deck > Remove Logo.
#include "input/plan_window.h"
#include "plan/plan_document.h"
#include "plan/plan_keys.h"
#include "plan/plan_logo.h"
#include "shell/dialogs.h"
#include "shell/failure.h"
#include "shell/settings_store.h"

#include <QAction>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>

namespace {

// The company name box gives up this much of its width to the preview.
constexpr int kPreviewWidth = 40;
constexpr int kPreviewGap = 8;

}  // namespace

void PlanWindow::chooseLogo()
{
    const QString file =
        mServices.dialogs.askOpenFileName(QStringLiteral("Choose the Company's Logo"), {PlanLogo::fileFilter()});
    if (!file.isEmpty())
        setLogo(file);
}

void PlanWindow::setLogo(const QString& file)
{
    try {
        storeText(PlanKeys::logo, PlanLogo::adopt(file, PlanLogo::folder(mServices.dataFolder)));
    } catch (const Failure& failure) {
        mServices.dialogs.message(failure.description());
    }
    showLogo();
}

void PlanWindow::removeLogo()
{
    untrapped(QStringLiteral("mnuRemoveLogo_Click"), [this] { storeText(PlanKeys::logo, QString()); });
    showLogo();
}

void PlanWindow::showLogo()
{
    const QString logo = PlanLogo::copyOf(mDocument->text(PlanKeys::logo), PlanLogo::folder(mServices.dataFolder));
    QImage preview;
    if (!logo.isEmpty()) {
        QImageReader reader(logo);
        reader.setScaledSize(reader.size().scaled(mLogoPreview->size(), Qt::KeepAspectRatio));
        preview = reader.read();
    }
    mLogoPreview->setPixmap(QPixmap::fromImage(preview));
    mLogoPreview->setVisible(!preview.isNull());
    QRect box = mCompanyNameBox->geometry();
    box.setRight(mLogoPreview->geometry().right() - (preview.isNull() ? 0 : kPreviewWidth + kPreviewGap));
    mCompanyNameBox->setGeometry(box);
    mRemoveLogoAction->setEnabled(!logo.isEmpty());
}

void PlanWindow::createLogoPreview()
{
    const QRect box = mCompanyNameBox->geometry();
    mLogoPreview = new QLabel(mCompanyNameFrame);
    mLogoPreview->setObjectName(QStringLiteral("logoPreview"));
    mLogoPreview->setGeometry(box.right() + 1 - kPreviewWidth, box.top() - 4, kPreviewWidth, box.height() + 8);
    mLogoPreview->setAlignment(Qt::AlignCenter);
    mLogoPreview->setToolTip(
        QStringLiteral("The company's logo, on the deck's title slide and in every slide's footer"));
    mLogoPreview->hide();
}
