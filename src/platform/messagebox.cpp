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
    return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(handlerSlot(), std::move(handler));
}
