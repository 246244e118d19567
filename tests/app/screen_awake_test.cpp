// Run on a private session bus (dbus-run-session): first with no screen
// saver on it, then with the stand-in that writes down what it is asked.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>

#include "screen_awake.h"

namespace {
TEST(ScreenAwake, NoScreenSaverOnTheBusIsPassedOver)
{
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
    const ScreenAwake awake;
    EXPECT_FALSE(awake.held());
}

TEST(ScreenAwake, TheInhibitionIsTakenAndReleasedWithItsCookie)
{
    QProcess saver;
    saver.start(QStringLiteral(QUORVANE_FAKE_SCREENSAVER), {});
    ASSERT_TRUE(saver.waitForStarted());
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    // Until the stand-in holds its name (or has died).
    while (!bus->isServiceRegistered(QStringLiteral("org.freedesktop.ScreenSaver")))
        ASSERT_FALSE(saver.waitForFinished(50)) << saver.readAllStandardError().toStdString();

    {
        const ScreenAwake awake;
        EXPECT_TRUE(awake.held());
    }
    QByteArray heard;
    while (!heard.contains("UnInhibit")) {
        ASSERT_TRUE(saver.waitForReadyRead()) << heard.toStdString();
        heard += saver.readAllStandardOutput();
    }
    EXPECT_EQ(heard, "Inhibit Quorvane|Juego en curso 41\nUnInhibit 41\n");
    saver.kill();
    saver.waitForFinished();
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
