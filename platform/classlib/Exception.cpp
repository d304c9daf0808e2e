#include "platform/classlib/Exception.h"

#include <new>

namespace ClassLib {

AnsiString ExceptionMessage(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return "Out of memory";
    return e.what();
}

} // namespace ClassLib
