#include "plan/plan_file.h"

#include "plan/plan_keys.h"
#include "plan/plan_sections.h"
#include "shell/failure.h"
#include "shell/file_utils.h"
#include "shell/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace PlanFile {

namespace {

const QString kFormatKey = QStringLiteral("format");
const QString kFormatName = QStringLiteral("Orvendale plan");
const QString kVersionKey = QStringLiteral("version");
const QString kPlanKey = QStringLiteral("plan");
const QString kAboutKey = QStringLiteral("about");
// Beside the plan, so that files of older versions read as they always did.
const QString kLogoPictureKey = QStringLiteral("logoPicture");

[[noreturn]] void notAPlan(const QString& path, const QString& why)
{
    throw Failure(QStringLiteral("\"%1\" cannot be opened as a plan: %2.").arg(QDir::toNativeSeparators(path), why));
}

}  // namespace

QStringList keys()
{
    return QStringList{PlanKeys::companyName, PlanKeys::planTitle} + allSectionKeys()
           + QStringList{PlanKeys::logo, PlanKeys::design};
}

Texts read(const QString& path)
{
    return parse(path, readBytes(path));
}

QByteArray readBytes(const QString& path)
{
    try {
        return Files::readRegularFile(path, kMostBytes, QStringLiteral("any plan"));
    } catch (const Failure& failure) {
        notAPlan(path, failure.description());
    }
}

Texts parse(const QString& path, const QByteArray& bytes)
{
    if (bytes.size() > kMostBytes)
        notAPlan(path, QStringLiteral("it is far larger than any plan"));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()
        || document.object().value(kFormatKey).toString() != kFormatName)
        notAPlan(path, QStringLiteral("it is not an Orvendale plan file"));
    const QJsonObject root = document.object();
    if (root.value(kVersionKey).toInt() != kVersion)
        notAPlan(path, QStringLiteral("it was written in another version of the plan format (%1) than this program "
                                      "reads (%2)")
                           .arg(root.value(kVersionKey).toVariant().toString())
                           .arg(kVersion));
    const QJsonObject plan = root.value(kPlanKey).toObject();
    Texts texts;
    for (const QString& key : keys()) {
        const QJsonValue value = plan.value(key);
        if (!value.isUndefined() && !value.isString())
            notAPlan(path, QStringLiteral("its \"%1\" is not text").arg(key));
        texts.insert(key, value.toString());
    }
    return texts;
}

Texts storedTexts(const SettingsStore& store)
{
    Texts texts;
    for (const QString& key : keys())
        texts.insert(key, store.getSetting(key));
    return texts;
}

void store(SettingsStore& store, const Texts& texts)
{
    for (auto text = texts.begin(); text != texts.end(); ++text)
        store.saveSetting(text.key(), text.value());
}

QJsonObject about(const QString& path)
{
    try {
        return QJsonDocument::fromJson(readBytes(path)).object().value(kAboutKey).toObject();
    } catch (const Failure&) {
        return {};
    }
}

QByteArray toBytes(const Texts& texts, const QJsonObject& about, const QByteArray& logo)
{
    QJsonObject plan;
    for (const QString& key : keys())
        plan.insert(key, texts.value(key));
    QJsonObject root{{kFormatKey, kFormatName}, {kVersionKey, kVersion}, {kPlanKey, plan}};
    if (!about.isEmpty())
        root.insert(kAboutKey, about);
    if (!logo.isEmpty())
        root.insert(kLogoPictureKey, QString::fromLatin1(logo.toBase64()));
    return QJsonDocument(root).toJson();
}

QByteArray logoPicture(const QByteArray& bytes)
{
    return QByteArray::fromBase64(QJsonDocument::fromJson(bytes).object().value(kLogoPictureKey).toString().toLatin1());
}

QByteArray write(const QString& path, const Texts& texts, const QJsonObject& about, const QByteArray& logo)
{
    const QByteArray bytes = toBytes(texts, about, logo);
    Files::writeReplacing(Files::fileBehindLinks(path), [&](const QString& staging) {
        QFile file(staging);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
            throw Failure(QStringLiteral("\"%1\" could not be written: %2.")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
    });
    return bytes;
}

}  // namespace PlanFile
