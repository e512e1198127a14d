#include "mainwindow/oneinstance.h"

#include "platform/files/configdir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QWidget>
#include <unistd.h>

namespace {
constexpr int nWaitMs = 3000;
const QByteArray szRaise = "raise\n", szRaised = "raised\n";
} // namespace

QString OneInstance::SocketPath() {
    const QString szRuntime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!QDir::isAbsolutePath(szRuntime) || !QFileInfo(szRuntime).isDir())
        return {};
    QString szDisplay = qEnvironmentVariable("DISPLAY");
    if (szDisplay.isEmpty())
        szDisplay = "wayland-" + qEnvironmentVariable("WAYLAND_DISPLAY");
    szDisplay.replace(QRegularExpression("[^A-Za-z0-9._-]"), "_");
    // The settings folder by a digest of its path: the name stays short.
    const QByteArray digest = QCryptographicHash::hash(QByteArray::fromStdString(ConfigDirectory()),
                                                       QCryptographicHash::Sha1)
                                  .toHex()
                                  .left(12);
    return QDir(szRuntime).filePath(QStringLiteral("tonsmith-%1-%2-%3")
                                        .arg(getuid())
                                        .arg(szDisplay.left(40), QString::fromLatin1(digest)));
}

bool OneInstance::HandOver() {
    const QString szPath = SocketPath();
    if (szPath.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(szPath);
    if (!socket.waitForConnected(nWaitMs))
        return false; // nobody there, or a socket left by a crash
    m_bAnswering = true;
    socket.write(szRaise);
    socket.waitForBytesWritten(nWaitMs);
    // A window that does not answer is not one the user can work with.
    while (socket.bytesAvailable() < szRaised.size() && socket.waitForReadyRead(nWaitMs)) {
    }
    return socket.readAll().startsWith(szRaised);
}

void OneInstance::Listen(QWidget* window) {
    const QString szPath = SocketPath();
    if (szPath.isEmpty() || m_bAnswering)
        return; // a window that took the call but did not answer keeps its socket
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // No one answered on it: what is there was left by a Tonsmith that ended
    // without closing it.
    QLocalServer::removeServer(szPath);
    if (!m_server->listen(szPath))
        return; // then later starts open windows of their own, as before
    connect(m_server, &QLocalServer::newConnection, this, [this, window] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, client, [client, window] {
                if (!client->canReadLine())
                    return;
                if (client->readLine() == szRaise && window) {
                    window->showNormal();
                    window->raise();
                    window->activateWindow();
                    client->write(szRaised);
                }
                client->disconnectFromServer();
            });
        }
    });
}
