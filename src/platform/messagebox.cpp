#include "platform/messagebox.h"

#include <cstdio>
#include <utility>

namespace {
MessageBoxHandler& handlerSlot() {
    static MessageBoxHandler handler;
    return handler;
}
} // namespace

int MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    if (auto& h = handlerSlot())
        return h(text, caption, type);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    const unsigned nButtons = type & MB_TYPEMASK;
    if ((type & MB_DEFMASK) == MB_DEFBUTTON2 && nButtons != MB_OK)
        return nButtons == MB_OKCANCEL ? IDCANCEL : IDNO;
    return nButtons == MB_YESNO || nButtons == MB_YESNOCANCEL ? IDYES : IDOK;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(handlerSlot(), std::move(handler));
}
