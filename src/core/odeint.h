#pragma once
// Boost.Odeint, as the program's marches take it: its steppers copy their work arrays before the
// first step fills them, which GCC takes for a use of uninitialized values.

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <boost/numeric/odeint.hpp>
#pragma GCC diagnostic pop
