#include "platform/event_pump.h"

namespace event_pump_detail {
PumpHook g_hook = nullptr;
void* g_context = nullptr;
} // namespace event_pump_detail

PumpHook SetPumpHook(PumpHook hook, void* context) {
    PumpHook old = event_pump_detail::g_hook;
    event_pump_detail::g_hook = hook;
    event_pump_detail::g_context = context;
    return old;
}

CScopedPumpHook::CScopedPumpHook(PumpHook hook, void* context)
    : m_pOldHook(event_pump_detail::g_hook), m_pOldContext(event_pump_detail::g_context) {
    SetPumpHook(hook, context);
}

CScopedPumpHook::~CScopedPumpHook() {
    SetPumpHook(m_pOldHook, m_pOldContext);
}
