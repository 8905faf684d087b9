#include "generator/document_reading.h"

#include "engine/port/presentation_engine.h"
#include "plan/flat_document.h"
#include "plan/markdown_document.h"
#include "plan/plan_import.h"
#include "shell/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>

namespace DocumentReading {

const QStringList& suffixes()
{
    static const QStringList all = {"docx", "doc", "odt", "rtf", "html", "htm", "txt", "md"};
    return all;
}

bool isDocument(const QString& path)
{
    return suffixes().contains(QFileInfo(path).suffix().toLower());
}

bool needsEngine(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("md"), Qt::CaseInsensitive) != 0;
}

namespace {

// The document read, unless it holds no text to import.
ImportedDocument withText(ImportedDocument document, const QString& shown)
{
    if (std::none_of(document.blocks.begin(), document.blocks.end(),
                     [](const DocumentBlock& block) { return !block.text.trimmed().isEmpty(); }))
        throw Failure(QStringLiteral("%1 holds no text to import.").arg(shown));
    return document;
}

}  // namespace

ImportedDocument read(PresentationEngine& engine, const QString& path, const QString& workFolder, AfterReading after)
{
    const QFileInfo file(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!file.exists())
        throw Failure(QStringLiteral("%1 cannot be imported: there is no such file.").arg(shown));
    // A pipe or a device would hold the reading up, or never end.
    if (!file.isFile())
        throw Failure(
            QStringLiteral("%1 cannot be imported: it is no document but a folder, a pipe or a device.").arg(shown));
    if (file.size() > kMostBytes)
        throw Failure(QStringLiteral("%1 cannot be imported: at %2 MB it is larger than the %3 MB a business plan "
                                     "document may have. Save its text without pictures and import that.")
                          .arg(shown)
                          .arg(file.size() / (1024 * 1024))
                          .arg(kMostBytes / (1024 * 1024)));
    if (!needsEngine(path)) {
        QFile markdown(path);
        if (!markdown.open(QIODevice::ReadOnly))
            throw Failure(QStringLiteral("%1 cannot be read: %2.").arg(shown, markdown.errorString()));
        return withText(MarkdownDocument::read(markdown.readAll()), shown);
    }
    const QString flatText = QDir(workFolder).filePath(QStringLiteral("imported.fodt"));
    QFile::remove(flatText);
    const auto removeFlatText = qScopeGuard([&] { QFile::remove(flatText); });
    const std::shared_ptr<PresentationApplication> app = engine.CreateObject();
    // Quit however the reading ends; an engine that went away during it has
    // nothing left to quit, and the reading's own failure is the one told.
    const auto quit = qScopeGuard([&] {
        if (after == AfterReading::Quit) {
            try {
                app->Quit();
            } catch (const Failure&) {
            }
        }
    });
    app->SaveDocumentAsFlatText(path, flatText);
    QFile xml(flatText);
    if (!xml.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("%1 could not be read: the word processor wrote no text.").arg(shown));
    ImportedDocument document;
    try {
        document = FlatDocument::read(xml);
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("%1 could not be read: %2").arg(shown, failure.description()));
    }
    return withText(std::move(document), shown);
}

DefaultImport importWithDefaults(PresentationEngine& engine, const QString& path, const QString& workFolder,
                                 AfterReading after)
{
    const ImportedDocument document = read(engine, path, workFolder, after);
    const QList<PlanImport::Part> parts = PlanImport::parts(document);
    const PlanImport::Result result = PlanImport::sectionTexts(document, parts, PlanImport::Prose::FirstSentences);
    return {PlanImport::planOf(document, parts, result), PlanImport::report(document, parts, result)};
}

}  // namespace DocumentReading
