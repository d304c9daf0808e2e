// Failures of sprites, fonts and their surfaces, such as a pixel format without a
// conversion rule.
#pragma once

#include "platform/Exception.h"

namespace Base {

class EGraphicsError : public ClassLib::Exception {
public:
    using Exception::Exception;
};

} // namespace Base
