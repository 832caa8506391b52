#include "warehouse/OpenResult.h"

// Compiled into every test program: the guard is on from its start, so the whole suite, on each
// warehouse, proves that no statement starts while another's result is open.
[[maybe_unused]] static const bool guardOn = [] {
    OpenResult::guard(true);
    return true;
}();
