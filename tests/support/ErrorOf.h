// The message of the class-library exception an action raises, or "no error".
#pragma once

#include "platform/classlib/Exception.h"

#include <string>

namespace TestSupport {

template <typename Action>
std::string ErrorOf(Action action) {
    try {
        action();
    } catch (const ClassLib::Exception& e) {
        return e.Message;
    }
    return "no error";
}

} // namespace TestSupport
