// Types 10,000 keystrokes into a section of the plan input window while the
// store already holds a 64 KB plan, and prints how long each keystroke took
// in all (editing and write-through) and how long the write-through alone
// takes for the same texts. The bound, a bare durable replace of the bytes
// the store holds, is measured between them, one after each keystroke and
// each write-through, so that both meet the same disk.
#include "desktop/skin.h"
#include "engine/port/presentation_engine.h"
#include "input/plan_window.h"
#include "input/spell_checker.h"
#include "plan/plan_document.h"
#include "shell/dialogs.h"
#include "shell/settings_store.h"
#include "shell/side_effects.h"
#include "shell/system_side_effects.h"
#include "tests/support/fake_engine.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

class SilentDialogs : public Dialogs {
public:
    void errorReport(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void message(const QString&) override {}
    bool askYesNo(const QString&) override { return true; }
    SaveChoice askSaveFileName(const QString&, const QStringList&) override { return {}; }
    QString askOpenFileName(const QString&, const QStringList&) override { return {}; }
};

class NoProgramEnd : public ProgramEnd {
public:
    void endNow() override {}
};

class NoUrls : public UrlOpener {
public:
    void open(const QString&) override {}
};

// The engine is not what is measured here; the installed check's message
// and program end are silent in this benchmark.
void fillPlan(SettingsStore& store)
{
    // Thirteen entries of about 5 KB each, with line breaks, about 64 KB in all.
    const QString paragraph = QStringLiteral("Our growth rests on three markets and a lean team.\r\n");
    QString section;
    while (section.size() < 5000)
        section += paragraph;
    store.saveSetting("Company Name", section);
    store.saveSetting("Business Plan", section);
    for (int k = 0; k < 6; ++k)
        store.saveSetting(QStringLiteral("FirstStatement_%1").arg(k), section);
    for (int k = 0; k < 5; ++k)
        store.saveSetting(QStringLiteral("SecondStatement_%1").arg(k), section);
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(p * values.size()));
    return values[index];
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    SettingsStore store(folder.filePath("Kervanel.json"));
    fillPlan(store);

    SilentDialogs dialogs;
    NoProgramEnd programEnd;
    NoUrls urls;
    SystemClock clock;
    SystemRandom random;
    StyleSheetSkin skin;
    FakeEngine engine;
    const ShellServices services{store,  dialogs, programEnd,    urls,          clock,
                                 random, skin,    folder.path(), folder.path(), folder.filePath("recently-used.xbel")};
    SpellChecker spelling(SpellChecker::systemDictionaryFolders(), folder.filePath("personal-words.txt"));
    PlanWindow form(services, engine, spelling);
    form.load();
    form.show();
    // The dictionary loads once the window is up; the spell-checked round
    // means nothing without one.
    if (!QTest::qWaitFor([&] { return !spelling.language().isEmpty(); }, 10000)) {
        std::fprintf(stderr, "no dictionary loaded: install hunspell-en-us\n");
        return 1;
    }
    auto* box = form.findChild<QPlainTextEdit*>("firstSectionBox");
    box->setFocus();
    const QString opening = box->toPlainText();

    // The bound: the bytes the store holds, written to a temporary file
    // beside it, made durable with one fdatasync, renamed over a copy, and
    // the folder flushed so that the rename is durable too.
    const QByteArray bare = QFile::encodeName(folder.filePath("bare.json"));
    const QByteArray staging = bare + ".new";
    std::vector<double> bareMillis;
    QElapsedTimer timer;
    const auto bareReplace = [&] {
        QFile storeFile(store.filePath());
        storeFile.open(QIODevice::ReadOnly);
        const QByteArray bytes = storeFile.readAll();
        timer.start();
        const int fd = ::open(staging.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        [[maybe_unused]] const auto written = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
        ::fdatasync(fd);
        ::close(fd);
        ::rename(staging.constData(), bare.constData());
        const int dir = ::open(QFile::encodeName(folder.path()).constData(), O_RDONLY | O_DIRECTORY);
        ::fsync(dir);
        ::close(dir);
        bareMillis.push_back(timer.nsecsElapsed() / 1e6);
    };

    // Keystrokes into the section, each stored at once: letters without
    // spelling, then a sentence's words spell-checked as they are typed.
    constexpr int kKeystrokes = 10000;
    const QString sentence = QStringLiteral("Our growth rests on three markets and a lean team. ");
    // Each round types into the section as it opened: a keystroke's work
    // grows with the section's text, and the rounds are compared.
    const auto typeKeystrokes = [&](const std::function<char(int)>& keyAt) {
        box->setPlainText(opening);
        box->moveCursor(QTextCursor::End);
        std::vector<double> millis;
        millis.reserve(kKeystrokes);
        for (int i = 0; i < kKeystrokes; ++i) {
            const char key = (i % 60 == 59) ? '\r' : keyAt(i);
            timer.start();
            if (key == '\r')
                QTest::keyClick(box, Qt::Key_Return);
            else
                QTest::keyClick(box, key);
            millis.push_back(timer.nsecsElapsed() / 1e6);
            bareReplace();
        }
        return millis;
    };
    // Each round against the bare replaces of its own keystrokes: the store
    // file grows from round to round, and so does every write of it.
    const auto bareP99Since = [&](size_t first) {
        return percentile(
            std::vector<double>(bareMillis.begin() + static_cast<std::ptrdiff_t>(first), bareMillis.end()), 0.99);
    };
    const QString language = spelling.language();
    spelling.setLanguage(QString());
    size_t roundStart = bareMillis.size();
    std::vector<double> millis = typeKeystrokes([](int i) { return static_cast<char>('a' + i % 26); });
    std::printf("keystroke with write-through: median %.3f ms, p99 %.3f ms, max %.3f ms\n", percentile(millis, 0.5),
                percentile(millis, 0.99), percentile(millis, 1.0));
    const double keystrokeRatio = percentile(millis, 0.99) / bareP99Since(roundStart);
    spelling.setLanguage(language);
    roundStart = bareMillis.size();
    millis = typeKeystrokes([&](int i) { return sentence.at(i % sentence.size()).toLatin1(); });
    std::printf("spell-checked (%s) keystroke:  median %.3f ms, p99 %.3f ms, max %.3f ms\n", qPrintable(language),
                percentile(millis, 0.5), percentile(millis, 0.99), percentile(millis, 1.0));
    const double spelledRatio = percentile(millis, 0.99) / bareP99Since(roundStart);
    // With the plan kept in a plan file too: a keystroke only sets the file's
    // write going, which comes in the next half second of quiet.
    form.document().saveAs(folder.filePath("plan.orvendale"));
    roundStart = bareMillis.size();
    millis = typeKeystrokes([&](int i) { return sentence.at(i % sentence.size()).toLatin1(); });
    std::printf("with a plan file open:        median %.3f ms, p99 %.3f ms, max %.3f ms\n", percentile(millis, 0.5),
                percentile(millis, 0.99), percentile(millis, 1.0));
    const double planFileRatio = percentile(millis, 0.99) / bareP99Since(roundStart);
    // A hundred writes of the plan file, each after a change, in ms.
    const auto timeFileWrites = [&] {
        std::vector<double> writes;
        for (int i = 0; i < 100; ++i) {
            form.document().setText("Business Plan", QString::number(i));
            timer.start();
            form.document().writeNow();
            writes.push_back(timer.nsecsElapsed() / 1e6);
        }
        return writes;
    };
    const std::vector<double> fileWrites = timeFileWrites();
    std::printf("the plan file's write, after a pause: median %.3f ms, p99 %.3f ms\n", percentile(fileWrites, 0.5),
                percentile(fileWrites, 0.99));
    // With a logo the plan file carries at its cap: a picture of noise, which
    // no compression makes smaller.
    QImage noise(500, 500, QImage::Format_ARGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, QRandomGenerator::global()->generate());
    noise.save(folder.filePath("logo.png"));
    form.setLogo(folder.filePath("logo.png"));
    const std::vector<double> logoWrites = timeFileWrites();
    std::printf("the same with a logo of %lld KB carried in it: median %.3f ms, p99 %.3f ms (%.2f x without)\n",
                static_cast<long long>(QFileInfo(folder.filePath("logo.png")).size() / 1024),
                percentile(logoWrites, 0.5), percentile(logoWrites, 0.99),
                percentile(logoWrites, 0.5) / percentile(fileWrites, 0.5));
    const QFileInfo file(store.filePath());
    std::printf("keystrokes: %d a round, store file at the end: %lld bytes\n", kKeystrokes,
                static_cast<long long>(file.size()));

    // The write-through alone: the store takes the section's whole text again.
    const QString typed = store.getSetting("FirstStatement_0");
    const qsizetype start = typed.size() - kKeystrokes;
    millis.clear();
    roundStart = bareMillis.size();
    for (int i = 1; i <= kKeystrokes; ++i) {
        const QString text = typed.left(start + i);
        timer.start();
        store.saveSetting("FirstStatement_0", text);
        millis.push_back(timer.nsecsElapsed() / 1e6);
        bareReplace();
    }
    std::printf("write-through alone:          median %.3f ms, p99 %.3f ms, max %.3f ms\n", percentile(millis, 0.5),
                percentile(millis, 0.99), percentile(millis, 1.0));
    const double writeRatio = percentile(millis, 0.99) / bareP99Since(roundStart);

    std::printf("bare durable replace:         median %.3f ms, p99 %.3f ms, max %.3f ms\n", percentile(bareMillis, 0.5),
                percentile(bareMillis, 0.99), percentile(bareMillis, 1.0));
    std::printf(
        "p99 against the bare durable replaces of the same round: keystroke %.2f x, spell-checked keystroke %.2f x, "
        "with a plan file open %.2f x, write-through %.2f x (target at most 1.3 x)\n",
        keystrokeRatio, spelledRatio, planFileRatio, writeRatio);
    return 0;
}
