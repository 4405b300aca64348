#pragma once

namespace tarvenol {

// The decimal separator of the user's locale settings, as the environment names them;
// a full stop when they name none, or one the report's plain ASCII cannot hold.
char UserDecimalSeparator();

}  // namespace tarvenol
