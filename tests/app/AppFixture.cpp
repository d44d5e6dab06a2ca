#include "AppFixture.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace quorvex::testing { } // namespace quorvex::testing
