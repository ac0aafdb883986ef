// The event pump: how long work on the one user-interface thread lets the
// front end handle a pending event. The front end installs a hook that
// handles at most one pending event and never blocks; with no hook installed
// (the headless front end) PumpMessages does nothing.
#ifndef VORLAN_PLATFORM_EVENT_PUMP_H
#define VORLAN_PLATFORM_EVENT_PUMP_H

using PumpHook = void (*)(void* context);

namespace event_pump_detail {
// The calling thread's event queue is process-wide, and so is its hook.
extern PumpHook g_hook;
extern void* g_context;
} // namespace event_pump_detail

// Handles at most one pending user-interface event and returns. Called once
// per unit of work, so with no event pending it costs one test.
inline void PumpMessages() {
    if (event_pump_detail::g_hook) [[unlikely]]
        event_pump_detail::g_hook(event_pump_detail::g_context);
}

// Installs hook (null removes it) and returns the previous one.
PumpHook SetPumpHook(PumpHook hook, void* context);

// Installs a hook for the lifetime of the object, then restores the old one.
class CScopedPumpHook {
  public:
    CScopedPumpHook(PumpHook hook, void* context);
    ~CScopedPumpHook();
    CScopedPumpHook(const CScopedPumpHook&) = delete;
    CScopedPumpHook& operator=(const CScopedPumpHook&) = delete;

  private:
    PumpHook m_pOldHook;
    void* m_pOldContext;
};

#endif
