#include "platform/event_pump.h"

#include <gtest/gtest.h>

namespace {

void CountCall(void* context) {
    ++*static_cast<int*>(context);
}

TEST(EventPump, NullHookRemovesTheOneInstalled) {
    int calls = 0;
    EXPECT_EQ(SetPumpHook(CountCall, &calls), nullptr);
    PumpMessages();
    EXPECT_EQ(SetPumpHook(nullptr, nullptr), PumpHook{CountCall});
    PumpMessages();
    EXPECT_EQ(calls, 1);
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
