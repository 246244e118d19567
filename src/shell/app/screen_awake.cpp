#include "screen_awake.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <cstdio>

namespace {
const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
// Desktops export the interface at one path or the other.
const QString kPaths[] = {QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver")};
// A screen saver answers at once; a bus that does not must not hold the start.
constexpr int kReplyTimeoutMs = 2000;

QDBusMessage screenSaverCall(const QString& path, const QString& method, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, kService, method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, kReplyTimeoutMs);
}
}

ScreenAwake::ScreenAwake()
{
    if (!QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr, "quorvane: sin bus de sesión D-Bus; la pantalla puede apagarse durante el juego.\n");
        return;
    }
    QString why;
    for (const QString& path : kPaths) {
        const QDBusMessage reply = screenSaverCall(
            path, QStringLiteral("Inhibit"), {QStringLiteral("Quorvane"), QStringLiteral("Juego en curso")});
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            cookie_ = reply.arguments().constFirst().toUInt();
            path_ = path;
            held_ = true;
            return;
        }
        why = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    }
    std::fprintf(stderr, "quorvane: no se pudo impedir que la pantalla se apague (%s).\n", why.toUtf8().constData());
}

ScreenAwake::~ScreenAwake()
{
    if (held_)
        screenSaverCall(path_, QStringLiteral("UnInhibit"), {cookie_});
}
