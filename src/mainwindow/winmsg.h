// Window messages between the program's parts: a message number with two
// parameters, delivered to a window (any QObject) on its own thread and
// handled before the call returns. Window timers by id send WM_TIMER with
// the id.
#pragma once

#include "csound/compile.h"

#include <QEvent>
#include <QObject>
#include <cstdint>

enum : unsigned {
    WM_COMMAND = 0x0111,
    WM_TIMER = 0x0113,
    WM_USER = 0x0400,
    // Refills the main window's five file lists; wParam 0, lParam 0.
    WM_REFRESHLISTS = WM_USER + 69,
    WM_RBUTTONDOWN = 0x0204,
};
// The wave-device messages (MM_WOM_DONE, MM_WIM_DATA) are the wave layer's.

// List notifications carried in the high word of a WM_COMMAND wParam.
enum : unsigned { LBN_SELCHANGE = 1, LBN_DBLCLK = 2 };

// The run watch of a Csound performance.
using csound::IDT_RUNWATCH;

class WindowMessage : public QEvent {
public:
    WindowMessage(unsigned message, std::uintptr_t w, std::intptr_t l)
        : QEvent(EventType()), nMessage(message), wParam(w), lParam(l) {}
    static QEvent::Type EventType();

    unsigned nMessage;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

// WM_COMMAND's wParam: the id in the low word, the notification in the high.
constexpr std::uintptr_t MakeCommandParam(unsigned nId, unsigned nCode) {
    return (static_cast<std::uintptr_t>(nCode & 0xFFFF) << 16) | (nId & 0xFFFF);
}

// Delivers the message now, on the caller's thread (the window's).
// Returns whether the window handled it.
bool SendMessage(QObject* hWnd, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

// Starts (or restarts with the new period) the window's timer nId; each
// period the window receives WM_TIMER with wParam nId. On the window's thread.
bool SetTimer(QObject* hWnd, unsigned nId, unsigned nMilliseconds);
// Stops the window's timer nId; false when it was not running.
bool KillTimer(QObject* hWnd, unsigned nId);
