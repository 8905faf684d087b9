#pragma once

// Scripted stand-ins for the program's side effects, shared by the tests.
#include "desktop/skin.h"
#include "shell/dialogs.h"
#include "shell/failure.h"
#include "shell/side_effects.h"

#include <QRegularExpression>
#include <QStringList>

#include <deque>

class FakeDialogs : public Dialogs {
public:
    QStringList errorReports;
    QStringList messages;
    QStringList questions;
    std::deque<bool> answers;  // answers to askYesNo, in order; Yes when none left
    QString saveFileName;      // what the save dialog returns
    QString saveFilter;        // the file type it returns; the first offered when empty
    QStringList saveDialogs;   // "title|filter" of every save dialog shown
    QString openFileName;      // what the open dialog returns
    QStringList openDialogs;   // "title|filter" of every open dialog shown

    void errorReport(const QString& text) override { errorReports << text; }

    // The line numbers the error reports named, in order.
    QList<int> reportedLines() const
    {
        QList<int> lines;
        static const QRegularExpression at(QStringLiteral("at line (\\d+)\\r\\r"));
        for (const QString& report : errorReports)
            lines << at.match(report).captured(1).toInt();
        return lines;
    }
    std::function<void(const QString&)> onMessage;  // told of each message as it shows
    void message(const QString& text) override
    {
        messages << text;
        if (onMessage)
            onMessage(text);
    }
    bool askYesNo(const QString& text) override
    {
        questions << text;
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    SaveChoice askSaveFileName(const QString& title, const QStringList& filters) override
    {
        saveDialogs << title + "|" + filters.join(";;");
        return {saveFileName, saveFilter.isEmpty() ? filters.value(0) : saveFilter};
    }
    QString askOpenFileName(const QString& title, const QStringList& filters) override
    {
        openDialogs << title + "|" + filters.join(";;");
        return openFileName;
    }
};

class FakeProgramEnd : public ProgramEnd {
public:
    int ends = 0;
    void endNow() override { ++ends; }
};

class FakeUrlOpener : public UrlOpener {
public:
    QStringList opened;
    bool fails = false;  // true: no browser can be started
    void open(const QString& url) override
    {
        opened << url;
        if (fails)
            throw Failure(QStringLiteral("The web page %1 could not be opened.").arg(url));
    }
};

class FakeClock : public Clock {
public:
    float now = 3600.0f;
    float step = 0.0f;  // how far the clock moves on at every reading
    float secondsSinceMidnight() override
    {
        const float reading = now;
        now += step;
        return reading;
    }
};

class FakeRandom : public Random {
public:
    std::deque<double> draws;  // values handed out by next(), in order; 0.5 when none left
    QList<float> seeds;
    int failingDraws = 0;  // how many of the next draws fail
    void reseed(float seed) override { seeds << seed; }
    double next() override
    {
        if (failingDraws > 0 && failingDraws--)
            throw Failure(QStringLiteral("The draw failed."));
        if (draws.empty())
            return 0.5;
        const double value = draws.front();
        draws.pop_front();
        return value;
    }
};

class FakeSkin : public Skin {
public:
    QStringList calls;
    int storedOptions = 0x40;
    bool failOnLoad = false;

    void loadSkin(const QString& file, const QString& variant) override
    {
        calls << QStringLiteral("loadSkin %1 '%2'").arg(file, variant);
        if (failOnLoad)
            throw Failure(QStringLiteral("skin broken"));
    }
    int options() const override
    {
        const_cast<FakeSkin*>(this)->calls << QStringLiteral("options");
        return storedOptions;
    }
    void setOptions(int value) override { calls << QStringLiteral("setOptions %1").arg(value); }
    void setApplyToDialogs(bool on) override { calls << QStringLiteral("setApplyToDialogs %1").arg(on); }
    void setEnabled(bool on) override { calls << QStringLiteral("setEnabled %1").arg(on); }
    void applyWindow(QWidget&) override { calls << QStringLiteral("applyWindow"); }
};
