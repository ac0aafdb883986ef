// A temporary file must not outlive its writer, not even one stopped by a
// signal: while a CRemoveOnSignal lives, SIGINT, SIGTERM and SIGHUP remove
// the file and then take their former course (the process ends as it would
// have), and SIGXFSZ is ignored so that writing past the file size limit
// fails with EFBIG, which the writer reports and cleans up after, instead of
// ending the process.
//
// One file is guarded at a time (a second guard made while one lives guards
// nothing); the dispositions are restored when the guard goes. Signals the
// process ignored stay ignored.
#ifndef VORLAN_PLATFORM_REMOVE_ON_SIGNAL_H
#define VORLAN_PLATFORM_REMOVE_ON_SIGNAL_H

#include <string>

class CRemoveOnSignal {
  public:
    explicit CRemoveOnSignal(const std::string& path);
    ~CRemoveOnSignal();
    CRemoveOnSignal(const CRemoveOnSignal&) = delete;
    CRemoveOnSignal& operator=(const CRemoveOnSignal&) = delete;

  private:
    bool m_bArmed = false;
};

#endif
