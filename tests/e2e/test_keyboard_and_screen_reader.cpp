// The real program on a private display, used as someone without a mouse or
// with a screen reader uses it: the whole road by keyboard alone, and the
// controls' names and roles as the desktop's accessibility bus tells them.
#include "tests/support/private_engine.h"
#include "tests/support/program_driver.h"
#include "tests/support/program_places.h"

#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <memory>

namespace {

// An accessible object on the bus: the connection that holds it and its path.
struct Accessible {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Accessible& accessible)
{
    argument.beginStructure();
    argument << accessible.service << accessible.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Accessible& accessible)
{
    argument.beginStructure();
    argument >> accessible.service >> accessible.path;
    argument.endStructure();
    return argument;
}

}  // namespace

Q_DECLARE_METATYPE(Accessible)

namespace {

// A D-Bus daemon of the test's own, ended by its process id.
class PrivateBus {
public:
    PrivateBus()
    {
        mDaemon.start("dbus-daemon",
                      {"--session", "--nofork", "--print-address=1", "--address=unix:dir=" + mFolder.path()});
        if (mDaemon.waitForStarted() && mDaemon.waitForReadyRead(10000))
            mAddress = QString::fromLatin1(mDaemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        if (mDaemon.state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(mDaemon.processId()), SIGTERM);
            if (!mDaemon.waitForFinished(5000))
                mDaemon.kill();
            mDaemon.waitForFinished(5000);
        }
    }
    QString address() const { return mAddress; }

private:
    QTemporaryDir mFolder;
    QProcess mDaemon;
    QString mAddress;
};

// "role|name|description" of every accessible on the bus, each application
// first, found from the root of each connection that answers as one.
class AccessibleTree {
public:
    explicit AccessibleTree(const QString& busAddress)
        : mBus(QDBusConnection::connectToBus(busAddress, QStringLiteral("reader")))
    {
    }
    ~AccessibleTree() { QDBusConnection::disconnectFromBus(QStringLiteral("reader")); }

    QStringList read() const
    {
        QStringList tree;
        for (const QString& service : mBus.interface()->registeredServiceNames().value())
            if (service.startsWith(':') && service != mBus.baseService())
                walk({service, QDBusObjectPath("/org/a11y/atspi/accessible/root")}, tree);
        return tree;
    }

private:
    QDBusMessage call(const Accessible& at, const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) const
    {
        QDBusMessage message = QDBusMessage::createMethodCall(at.service, at.path.path(), interface, method);
        message.setArguments(arguments);
        return mBus.call(message, QDBus::Block, 5000);
    }

    QString property(const Accessible& at, const QString& name) const
    {
        const QDBusMessage reply =
            call(at, "org.freedesktop.DBus.Properties", "Get", {"org.a11y.atspi.Accessible", name});
        return reply.arguments().isEmpty() ? QString()
                                           : qdbus_cast<QDBusVariant>(reply.arguments().first()).variant().toString();
    }

    void walk(const Accessible& at, QStringList& tree) const
    {
        const QDBusMessage role = call(at, "org.a11y.atspi.Accessible", "GetRoleName");
        // The registry's desktop holds every application once more.
        if (role.type() != QDBusMessage::ReplyMessage || tree.size() > 2000
            || role.arguments().first().toString() == "desktop frame")
            return;
        tree << QStringList{role.arguments().first().toString(), property(at, "Name"), property(at, "Description")}
                    .join('|');
        const QDBusMessage children = call(at, "org.a11y.atspi.Accessible", "GetChildren");
        if (children.type() == QDBusMessage::ReplyMessage)
            for (const Accessible& child : qdbus_cast<QList<Accessible>>(children.arguments().first()))
                walk(child, tree);
    }

    QDBusConnection mBus;
};

// Debian's screen reader, with the accessibility bus's registry, on the
// test's buses and display, both ended by their process ids. No speech
// server runs (none is started for it, nor one of the machine's used): what
// it says is read from its debug log, where each line it would speak stands
// as SPEECH OUTPUT: '...', written line by line.
class ScreenReader {
public:
    explicit ScreenReader(const QString& accessibilityBus)
    {
        QFile lineByLine(mFolder.filePath("sitecustomize.py"));
        lineByLine.open(QIODevice::WriteOnly);
        lineByLine.write(
            "import builtins, os\n"
            "_open = builtins.open\n"
            "def _line_by_line(file, mode='r', *args, **kwargs):\n"
            "    if file == os.environ.get('SAID_LOG') and 'w' in mode:\n"
            "        kwargs['buffering'] = 1\n"
            "    return _open(file, mode, *args, **kwargs)\n"
            "builtins.open = _line_by_line\n");
        lineByLine.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("AT_SPI_BUS_ADDRESS", accessibilityBus);
        environment.insert("HOME", mFolder.path());
        environment.insert("PYTHONPATH", mFolder.path());
        environment.insert("SAID_LOG", log());
        environment.insert("SPEECHD_CMD", mFolder.filePath("no-speech-server"));
        environment.insert("SPEECHD_ADDRESS", "unix_socket:" + mFolder.filePath("no-speech-server.socket"));
        for (QProcess* process : {&mRegistry, &mReader}) {
            process->setProcessEnvironment(environment);
            process->setStandardOutputFile(QProcess::nullDevice());
            process->setStandardErrorFile(QProcess::nullDevice());
        }
        mRegistry.start("/usr/libexec/at-spi2-registryd", {});
        mReader.start("orca", {"--replace", "--user-prefs", mFolder.filePath("prefs"), "--debug-file", log()});
    }
    ~ScreenReader()
    {
        for (QProcess* process : {&mReader, &mRegistry})
            if (process->state() != QProcess::NotRunning) {
                ::kill(static_cast<pid_t>(process->processId()), SIGTERM);
                if (!process->waitForFinished(5000))
                    process->kill();
                process->waitForFinished(5000);
            }
    }

    // Lines said from now on count; the earlier ones no more.
    void mark() { mMark = said().size(); }
    // Whether a line said since the mark holds part, within timeoutMs.
    bool says(const QString& part, int timeoutMs)
    {
        return QTest::qWaitFor(
            [&] {
                const QStringList lines = said().mid(mMark);
                return std::any_of(lines.cbegin(), lines.cend(),
                                   [&](const QString& line) { return line.contains(part); });
            },
            timeoutMs);
    }
    // Every line said since the mark, for a failure's message.
    QString saidSinceMark() const { return said().mid(mMark).join('\n'); }
    // Whether the screen reader is done with what it was told (it used no
    // processor time for a while), within timeoutMs: keys that reach it
    // while it is busy are lost on their way to the program.
    bool settles(int timeoutMs) { return waitUntilSettled(mReader.processId(), timeoutMs); }

private:
    QString log() const { return mFolder.filePath("said.log"); }
    QStringList said() const
    {
        QFile file(log());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        static const QRegularExpression spoken(R"(SPEECH OUTPUT: '(.*)'\s*\{)");
        QStringList lines;
        for (auto it = spoken.globalMatch(QString::fromUtf8(file.readAll())); it.hasNext();)
            lines << it.next().captured(1);
        return lines;
    }

    QTemporaryDir mFolder;
    QProcess mRegistry;
    QProcess mReader;
    qsizetype mMark = 0;
};

}  // namespace

// What a desktop's accessibility launcher does on its session bus: tells
// applications where the accessibility bus is.
class AccessibilityBusLauncher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Bus")

public:
    explicit AccessibilityBusLauncher(QString address) : mAddress(std::move(address)) {}

public slots:
    QString GetAddress() const { return mAddress; }

private:
    QString mAddress;
};

// Whether accessibility is on, which a screen reader sets as it starts and
// applications read: on.
class AccessibilityStatus : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Status")
    Q_PROPERTY(bool IsEnabled READ on WRITE set)
    Q_PROPERTY(bool ScreenReaderEnabled READ on WRITE set)

public:
    explicit AccessibilityStatus(QObject* launcher) : QDBusAbstractAdaptor(launcher) {}
    bool on() const { return true; }
    void set(bool) {}
};

class KeyboardAndScreenReaderTest : public QObject {
    Q_OBJECT

private:
    PrivateDisplay mDisplay;
    // The desktop's session bus and its accessibility bus, both private.
    PrivateBus mSession;
    PrivateBus mAccessibility;
    // Answered on a thread of its own: the screen reader asks it while the
    // test waits on the screen reader.
    QThread mDesktop;
    AccessibilityBusLauncher* mLauncher = new AccessibilityBusLauncher(mAccessibility.address());
    std::unique_ptr<ScreenReader> mReader;
    ProgramDriver mProgram;

    void typeAsAPerson(QChar typed)
    {
        mProgram.type(typed);
        QTest::qWait(150);
    }

private slots:
    void initTestCase()
    {
        qDBusRegisterMetaType<Accessible>();
        qDBusRegisterMetaType<QList<Accessible>>();
        QVERIFY2(mDisplay.ok(), "Xvfb could not be started");
        QVERIFY2(!mSession.address().isEmpty() && !mAccessibility.address().isEmpty(),
                 "the private buses could not be started");
        new AccessibilityStatus(mLauncher);
        mLauncher->moveToThread(&mDesktop);
        mDesktop.start();
        QDBusConnection session = QDBusConnection::connectToBus(mSession.address(), QStringLiteral("desktop"));
        QVERIFY(session.registerObject("/org/a11y/bus", mLauncher,
                                       QDBusConnection::ExportAllSlots | QDBusConnection::ExportAdaptors));
        QVERIFY(session.registerService("org.a11y.Bus"));
        // The program finds the accessibility bus as on a desktop where a
        // screen reader runs.
        qputenv("DBUS_SESSION_BUS_ADDRESS", mSession.address().toLocal8Bit());
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        mReader = std::make_unique<ScreenReader>(mAccessibility.address());
        QVERIFY2(mReader->says("Screen reader on", 60000), "the screen reader did not start");
        QVERIFY(mProgram.start());
        QVERIFY(mProgram.waitForWindow("Orvendale", 60000));
    }

    void cleanupTestCase()
    {
        if (mProgram.running()) {
            mProgram.signal(SIGTERM);
            mProgram.waitForExit(20000);
        }
        mReader.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
        // Its thread has ended: nothing runs it any more.
        mDesktop.quit();
        mDesktop.wait();
        delete mLauncher;
    }

    // A screen reader finds every control by its role and a name that says
    // what it holds, and a description where one helps.
    void aScreenReaderHearsTheControlsNamesAndRoles()
    {
        const AccessibleTree reader(mAccessibility.address());
        QStringList tree;
        QTRY_VERIFY_WITH_TIMEOUT((tree = reader.read()).filter("|Company name|").size() == 1, 20000);
        for (const char* expected :
             {"push button|Start Creating Template|Makes the slide deck from the plan and shows it",
              "text|Company name|On the title slide and in every slide's footer",
              "text|Plan title|On the title slide, under the company name", "page tab list|Mission Statement|",
              "page tab list|Goals & Objectives|", "page tab|The Team|",
              "text|Mission Statement section|Each line becomes a bullet point", "menu item|Deck|",
              "menu item|Start Creating Template|", "panel|Slide show|The deck's slide show runs here",
              "push button|Save Results|", "push button|< Back|"})
            QVERIFY2(std::any_of(tree.cbegin(), tree.cend(),
                                 [&](const QString& line) { return line.startsWith(QString::fromUtf8(expected)); }),
                     qPrintable(QStringLiteral("%1 is not among:\n%2").arg(expected, tree.join('\n'))));
    }

    // From typing the plan to closing the program, every step by keyboard:
    // fields and sections, the spelling menu, the deck, the show in the
    // viewer and presented, "Save Results" through its dialog, "< Back".
    void theWholeRoadWorksWithTheKeyboardAlone()
    {
        const unsigned long input = mProgram.waitForWindow("Orvendale", 10000);
        mProgram.giveKeyboard(input);
        // The company name box has the keyboard when the window opens.
        mProgram.type("Fjordlight AS");
        mProgram.key("Tab");
        mProgram.type("Light for the fjords");
        // The screen reader says the section box, and the section it moves
        // to, with its first line.
        mReader->mark();
        mProgram.key("Tab");
        QVERIFY2(mReader->says("Mission Statement section", 10000), qPrintable(mReader->saidSinceMark()));
        mProgram.key("ctrl+a");
        mProgram.type("Typed without a mouse");
        mReader->mark();
        mProgram.key("ctrl+Next");
        QVERIFY2(mReader->says("The Team section: CEO", 10000), qPrintable(mReader->saidSinceMark()));
        // At a person's pace: the screen reader says each key, and keys
        // typed faster than it can take are lost on their way to the box.
        for (const QChar typed : QString("The team "))
            typeAsAPerson(typed);
        // Each key from here on once the screen reader is done with the
        // last: with it listening, a key pressed while it is busy is lost,
        // or loses its Alt.
        const auto press = [&](const QString& keys, int windowsThen) {
            mProgram.key(keys);
            if (QTest::qWaitFor([&] { return mProgram.programWindows().size() == windowsThen; }, 10000)
                && mReader->settles(10000))
                return true;
            qWarning("After %s: %d windows; said:\n%s", qPrintable(keys), int(mProgram.programWindows().size()),
                     qPrintable(mReader->saidSinceMark()));
            return false;
        };
        // The menu is a window of its own (the screen tells less: the text
        // cursor blinks), opened on its first item, which is spoken.
        mReader->mark();
        QVERIFY2(press("shift+F10", 2), "Shift+F10 opened no menu");
        QVERIFY2(mReader->says("Spelling Language", 10000), qPrintable(mReader->saidSinceMark()));
        QVERIFY2(press("Escape", 1), "Escape left the menu open");
        // Menus looked into and the Snapshots dialog give the keyboard back
        // to the box, its caret where it was.
        mReader->mark();
        QVERIFY(press("alt+p", 2) && press("Escape", 1) && press("alt+e", 2) && press("Escape", 1)
                && press("Escape", 1));
        typeAsAPerson('!');
        mReader->mark();
        QVERIFY(press("alt+p", 2) && press("s", 2));
        QVERIFY2(mReader->says("Snapshots dialog", 10000), qPrintable(mReader->saidSinceMark()));
        QVERIFY(press("Escape", 1));
        typeAsAPerson('?');
        QFile store(mProgram.storeFile());
        QVERIFY(store.open(QIODevice::ReadOnly));
        const QByteArray stored = store.readAll();
        for (const char* typed :
             {"\"Fjordlight AS\"", "\"Light for the fjords\"", "\"Typed without a mouse\"", "\"The team !?CEO"})
            QVERIFY2(stored.contains(typed), stored.constData());

        // The second section box, then "Start Creating Template".
        mProgram.key("Tab");
        mProgram.key("Tab");
        mProgram.key("space");
        unsigned long viewer = 0;
        const auto viewerAlone = [&] {
            const QList<unsigned long> shown = mProgram.visibleWindows("Orvendale");
            viewer = shown.size() == 1 && shown.first() != input ? shown.first() : 0;
            return viewer != 0;
        };
        QTRY_VERIFY2_WITH_TIMEOUT(viewerAlone(), "the deck did not show in the viewer", 90000);
        const QPoint viewerAt = mProgram.windowOrigin(viewer);
        QTRY_VERIFY_WITH_TIMEOUT(isTitleSlideColour(mProgram.pixel(viewerAt + kSlideSample)), 30000);
        // The show in the frame has the keyboard: Right moves on.
        QTRY_VERIFY_WITH_TIMEOUT(mProgram.keyboardInAnotherProgram(), 10000);
        // Once the engine settled: it drops keys that waited while it was
        // busy showing a slide. The screen reader says the slide reached.
        QVERIFY(waitUntilSettled(mProgram.enginePid(), 10000));
        mReader->mark();
        mProgram.key("Right");
        QTRY_VERIFY_WITH_TIMEOUT(isWhite(mProgram.pixel(viewerAt + kSlideSample)), 10000);
        QVERIFY2(mReader->says("Slide 2 of 12, Mission Statement: Typed without a mouse", 10000),
                 qPrintable(mReader->saidSinceMark()));
        mProgram.key("F5");
        QTRY_VERIFY_WITH_TIMEOUT(isWhite(mProgram.pixel(kScreenLeftEdge)), 10000);
        mProgram.key("Escape");
        QTRY_VERIFY_WITH_TIMEOUT(!isWhite(mProgram.pixel(kScreenLeftEdge)), 10000);

        // Tab leaves the show for "Save Results".
        QTemporaryDir target;
        mProgram.key("Tab");
        mProgram.key("space");
        QCOMPARE(mProgram.answerFileDialog("Output File", target.filePath("by keyboard.pdf")), QString());
        QTRY_VERIFY_WITH_TIMEOUT(mProgram.visibleWindows("Orvendale").size() == 2, 30000);
        mProgram.key("Return");  // "Done."
        QTRY_COMPARE_WITH_TIMEOUT(mProgram.visibleWindows("Orvendale"), QList<unsigned long>({viewer}), 10000);
        QVERIFY(QFile::exists(target.filePath("by keyboard.pdf")));

        // From "Save Results", Tab reaches "< Back".
        mProgram.key("Tab");
        mProgram.key("space");
        QTRY_COMPARE_WITH_TIMEOUT(mProgram.visibleWindows("Orvendale"), QList<unsigned long>({input}), 20000);
        mProgram.key("ctrl+q");
        QVERIFY2(mProgram.waitForExit(30000), "Control+Q did not end the program");
    }
};

QTEST_MAIN(KeyboardAndScreenReaderTest)
#include "test_keyboard_and_screen_reader.moc"
