#pragma once
// The steps that every write of this folder shares.

#include <sys/types.h>

#include <string_view>

#include "ZtWriteHooks.h"

namespace quorvex {

// Writes all of `bytes`, going on after short writes and interrupts; false
// with errno set when the system refuses.
bool WriteAll(int fd, std::string_view bytes, const TFileWriteHooks& hooks);
// The reason of the last failed call, never 0: a write that stored nothing
// and reported no error leaves errno as it was.
int LastError();

} // namespace quorvex
