// One Tonsmith window per user, display and settings folder: a start that
// finds one running asks it to come to the front and ends, so two windows
// never keep two copies of the same settings. The running one listens on a
// local socket in the user's runtime folder; a socket left by one that
// crashed is taken over, and another display or user has a socket of its own.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

class OneInstance : public QObject {
public:
    // The socket for this user, display and settings folder, or empty when
    // there is no runtime folder to keep it in (then every start is alone).
    static QString SocketPath();

    // True when a running Tonsmith answered and was asked to the front.
    bool HandOver();
    // From now on, a later start brings window to the front.
    void Listen(QWidget* window);

private:
    QLocalServer* m_server = nullptr;
    bool m_bAnswering = false; // something took the call
};
