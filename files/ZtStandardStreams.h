#pragma once
// The process's standard streams as the system numbers them.

namespace quorvex {

inline constexpr int StandardInputDescriptor = 0;
inline constexpr int StandardOutputDescriptor = 1;
inline constexpr int StandardErrorDescriptor = 2;

// Whether the descriptor is a terminal, which is shown progress.
bool IsTerminal(int fd);

} // namespace quorvex
