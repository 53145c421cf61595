#include "HelpRequest.h"

#include <utility>

namespace {

HelpRequest::Handler &handler()
{
    static HelpRequest::Handler h;
    return h;
}

} // namespace

namespace HelpRequest {

void setHandler(Handler h)
{
    handler() = std::move(h);
}

bool available()
{
    return bool(handler());
}

void show(int topic)
{
    if (handler())
        handler()(topic);
}

} // namespace HelpRequest
