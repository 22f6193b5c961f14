#include "screen/frame/filter_hook.h"

namespace screen {

namespace {
std::function<void()>& openHook() {
    static std::function<void()> f;
    return f;
}
std::function<void()>& releaseHook() {
    static std::function<void()> f;
    return f;
}
}  // namespace

void setRequestFilterHooks(std::function<void()> open, std::function<void()> release) {
    openHook() = std::move(open);
    releaseHook() = std::move(release);
}

void openRequestFilter() {
    if (openHook()) openHook()();
}

void releaseRequestFilter() {
    if (releaseHook()) releaseHook()();
}

}  // namespace screen
