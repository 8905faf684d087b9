// The real program on a private display, used as someone without a mouse or
// with a screen reader uses it: the whole road by keyboard alone, and the
// controls' names and roles as the desktop's accessibility bus tells them.
#include "tests/support/private_engine.h"
#include "tests/support/program_driver.h"
#include "tests/support/program_places.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

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
        if (role.type() != QDBusMessage::ReplyMessage || tree.size() > 2000)
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

class KeyboardAndScreenReaderTest : public QObject {
    Q_OBJECT

private:
    PrivateDisplay mDisplay;
    // The desktop's session bus and its accessibility bus, both private.
    PrivateBus mSession;
    PrivateBus mAccessibility;
    AccessibilityBusLauncher mLauncher{mAccessibility.address()};
    ProgramDriver mProgram;

private slots:
    void initTestCase()
    {
        qDBusRegisterMetaType<Accessible>();
        qDBusRegisterMetaType<QList<Accessible>>();
        QVERIFY2(mDisplay.ok(), "Xvfb could not be started");
        QVERIFY2(!mSession.address().isEmpty() && !mAccessibility.address().isEmpty(),
                 "the private buses could not be started");
        QDBusConnection session = QDBusConnection::connectToBus(mSession.address(), QStringLiteral("desktop"));
        QVERIFY(session.registerObject("/org/a11y/bus", &mLauncher, QDBusConnection::ExportAllSlots));
        QVERIFY(session.registerService("org.a11y.Bus"));
        // The program finds the accessibility bus as on a desktop where a
        // screen reader runs.
        qputenv("DBUS_SESSION_BUS_ADDRESS", mSession.address().toLocal8Bit());
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        QVERIFY(mProgram.start());
        QVERIFY(mProgram.waitForWindow("Orvendale", 60000));
    }

    void cleanupTestCase()
    {
        if (mProgram.running()) {
            mProgram.signal(SIGTERM);
            mProgram.waitForExit(20000);
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
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
        mProgram.key("Tab");
        mProgram.key("ctrl+a");
        mProgram.type("Typed without a mouse");
        mProgram.key("ctrl+Next");
        mProgram.type("The team ");
        // The menu is a window of its own. (The screen tells less: the text
        // cursor blinks.)
        mProgram.key("shift+F10");
        QTRY_VERIFY2_WITH_TIMEOUT(mProgram.programWindows().size() == 2, "Shift+F10 opened no menu", 5000);
        mProgram.key("Escape");
        QTRY_VERIFY2_WITH_TIMEOUT(mProgram.programWindows().size() == 1, "Escape left the menu open", 5000);
        QFile store(mProgram.storeFile());
        QVERIFY(store.open(QIODevice::ReadOnly));
        const QByteArray stored = store.readAll();
        for (const char* typed :
             {"\"Fjordlight AS\"", "\"Light for the fjords\"", "\"Typed without a mouse\"", "\"The team CEO"})
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
        // busy showing a slide.
        QVERIFY(waitUntilSettled(mProgram.enginePid(), 10000));
        mProgram.key("Right");
        QTRY_VERIFY_WITH_TIMEOUT(isWhite(mProgram.pixel(viewerAt + kSlideSample)), 10000);
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
