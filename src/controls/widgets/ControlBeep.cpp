#include "ControlBeep.h"

#include <QApplication>

namespace {

std::function<void()> &handler()
{
    static std::function<void()> h;
    return h;
}

} // namespace

namespace ControlBeep {

void beep()
{
    if (handler())
        handler()();
    else
        QApplication::beep();
}

void setHandler(std::function<void()> h)
{
    handler() = std::move(h);
}

} // namespace ControlBeep
