// The plan's sections are one table: the template's description follows it.
#include "plan_sections.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

class PlanSectionsTest : public QObject {
    Q_OBJECT

private slots:
    // The template's section slides carry the sections' captions as titles,
    // in the order the generation fills them; every section has a key of its
    // own and a guide.
    void theTemplateDescriptionFollowsTheTable()
    {
        QFile file(QStringLiteral(ORVENDALE_SOURCE_DIR "/assets/business_plan.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonArray slides = QJsonDocument::fromJson(file.readAll()).object().value("sections").toArray();
        QStringList titles;
        for (const QJsonValue& slide : slides)
            titles << slide.toObject().value("title").toString();
        QStringList captions;
        for (const SectionGroup* strip : {&firstSectionGroup(), &secondSectionGroup()}) {
            captions << strip->captions;
            QCOMPARE(strip->guideLines.size(), strip->captions.size());
        }
        QCOMPARE(titles, captions);
        const QStringList keys = allSectionKeys();
        QCOMPARE(keys.size(), captions.size());
        QCOMPARE(QSet<QString>(keys.cbegin(), keys.cend()).size(), keys.size());
    }
};

QTEST_MAIN(PlanSectionsTest)
#include "test_plan_sections.moc"
