// The message-box registry of the base layer. Until the user interface installs its
// dialog, a message goes to the error stream and the first button of the box is taken
// as the answer, so that tools and tests never wait for a user.
#include "platform/base/MessageBox.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace {

constexpr UINT kButtonMask = 0x0F;
constexpr UINT kAbortRetryIgnore = 0x2;
constexpr UINT kRetryCancel = 0x5;

int FirstButton(UINT type)
{
    switch (type & kButtonMask) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    case kAbortRetryIgnore:
        return IDABORT;
    case kRetryCancel:
        return IDRETRY;
    default:
        return IDOK;
    }
}

int DefaultHandler(const CString& text, UINT type, UINT)
{
    const std::string utf8 = text.ToUtf8();
    std::fprintf(stderr, "%s\n", utf8.c_str());
    std::fflush(stderr);
    return FirstButton(type);
}

std::mutex& HandlerLock()
{
    static std::mutex lock;
    return lock;
}

MessageBoxHandler& CurrentHandler()
{
    static MessageBoxHandler handler = DefaultHandler;
    return handler;
}

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    std::lock_guard<std::mutex> guard(HandlerLock());
    MessageBoxHandler previous = std::move(CurrentHandler());
    CurrentHandler() = handler ? std::move(handler) : MessageBoxHandler(DefaultHandler);
    return previous;
}

int AfxMessageBox(const char* text, UINT type, UINT helpId)
{
    MessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> guard(HandlerLock());
        handler = CurrentHandler();
    }
    // The handler runs outside the lock: a dialog may show further message boxes.
    return handler(CString(text), type, helpId);
}
