#pragma once
// A descriptor closed on every way out.

#include <unistd.h>

#include <utility>

namespace quorvex {

class TFileDescriptor {
public:
    TFileDescriptor() = default;
    explicit TFileDescriptor(int fd)
        : FFd(fd)
    { }
    TFileDescriptor(TFileDescriptor&& other) noexcept
        : FFd(other.Release())
    { }
    TFileDescriptor& operator=(TFileDescriptor&& other) noexcept
    {
        if (this != &other) {
            if (FFd >= 0) ::close(FFd);
            FFd = other.Release();
        }
        return *this;
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor()
    {
        if (FFd >= 0) ::close(FFd);
    }
    int Get() const { return FFd; }
    bool Valid() const { return FFd >= 0; }
    // Hands the descriptor over to the caller, who closes it.
    int Release() { return std::exchange(FFd, -1); }
    // Closes now and tells whether the close reported no error.
    bool Close()
    {
        const int fd = std::exchange(FFd, -1);
        return ::close(fd) == 0;
    }

private:
    int FFd = -1;
};

} // namespace quorvex
