#include "mainwindow/winmsg.h"

#include <QCoreApplication>
#include <QString>
#include <QTimer>

QEvent::Type WindowMessage::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool SendMessage(QObject* hWnd, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!hWnd)
        return false;
    WindowMessage msg(message, wParam, lParam);
    return QCoreApplication::sendEvent(hWnd, &msg);
}

namespace {
QString TimerName(unsigned nId) {
    return QStringLiteral("window-timer-%1").arg(nId);
}
} // namespace

bool SetTimer(QObject* hWnd, unsigned nId, unsigned nMilliseconds) {
    if (!hWnd)
        return false;
    auto* timer = hWnd->findChild<QTimer*>(TimerName(nId), Qt::FindDirectChildrenOnly);
    if (!timer) {
        timer = new QTimer(hWnd);
        timer->setObjectName(TimerName(nId));
        QObject::connect(timer, &QTimer::timeout, hWnd,
                         [hWnd, nId] { SendMessage(hWnd, WM_TIMER, nId, 0); });
    }
    timer->start(static_cast<int>(nMilliseconds));
    return true;
}

bool KillTimer(QObject* hWnd, unsigned nId) {
    if (!hWnd)
        return false;
    auto* timer = hWnd->findChild<QTimer*>(TimerName(nId), Qt::FindDirectChildrenOnly);
    if (!timer)
        return false;
    timer->stop();
    timer->deleteLater();
    timer->setObjectName(QString());
    return true;
}
