// The main window of the window tests, with its scripted prompter and
// temporary folder.

#include "AppFixture.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace quorvex::testing { } // namespace quorvex::testing
