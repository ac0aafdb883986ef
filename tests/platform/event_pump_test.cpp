#include "platform/event_pump.h"

#include <gtest/gtest.h>

namespace {

void CountCall(void* context) {
    ++*static_cast<int*>(context);
}

TEST(EventPump, WithoutHookDoesNothing) {
    SetPumpHook(nullptr, nullptr);
    PumpMessages(); // must simply return
}

TEST(EventPump, ScopedHookIsCalledOncePerPumpAndRestored) {
    int outer = 0, inner = 0;
    CScopedPumpHook a(CountCall, &outer);
    {
        CScopedPumpHook b(CountCall, &inner);
        PumpMessages();
        PumpMessages();
    }
    PumpMessages();
    EXPECT_EQ(inner, 2);
    EXPECT_EQ(outer, 1);
}

} // namespace
