// Failures of sprites, fonts and their device surfaces.
#pragma once

#include "platform/classlib/Exception.h"

namespace Base {

class EGraphicsError : public ClassLib::Exception {
public:
    using Exception::Exception;
};

} // namespace Base
