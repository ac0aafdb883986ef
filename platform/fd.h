// Owns one open file descriptor and closes it when it goes.
#ifndef VORLAN_PLATFORM_FD_H
#define VORLAN_PLATFORM_FD_H

#include <unistd.h>
#include <utility>

class CFd {
  public:
    explicit CFd(int fd = -1) : m_fd(fd) {}
    ~CFd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    CFd(CFd&& other) noexcept : m_fd(other.Release()) {}
    CFd& operator=(CFd&& other) noexcept {
        if (this != &other) {
            if (m_fd >= 0)
                ::close(m_fd);
            m_fd = other.Release();
        }
        return *this;
    }
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }

  private:
    int m_fd;
};

#endif
