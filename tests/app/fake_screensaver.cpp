// A stand-in for the desktop's screen saver on a private session bus: takes
// the service's name and writes each Inhibit and UnInhibit it is asked for to
// its standard output, one line each.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QObject>
#include <cstdio>

class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public slots:
    uint Inhibit(const QString& application, const QString& reason)
    {
        std::printf("Inhibit %s|%s 41\n", qPrintable(application), qPrintable(reason));
        return std::fflush(stdout) == 0 ? 41 : 0;
    }
    void UnInhibit(uint cookie)
    {
        std::printf("UnInhibit %u\n", cookie);
        std::fflush(stdout);
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    FakeScreenSaver saver;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &saver, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver")))
        return 1;
    return app.exec();
}

#include "fake_screensaver.moc"
