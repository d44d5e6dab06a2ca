#pragma once
// The documents of a run and their HTML files, checked before anything is
// written: no document is written over by HTML, no file is written twice.

#include <string>
#include <vector>

#include "ZtBatchItems.h"

namespace quorvex {

// What forbids the run, one message per conflict, in document order; empty
// when it can go on. A document "-" is standard input, a target "-" standard
// output. Names are compared as files (device and inode, through symbolic
// links), so two spellings of one file are one file.
std::vector<std::string> OutputConflicts(const std::vector<TZtBatchItem>& items);

} // namespace quorvex
