// Failures of the audio streams: bad sound files and reads past their end.
#pragma once

#include "platform/classlib/Exception.h"

namespace Base {

class EAudioStreamError : public ClassLib::Exception {
public:
    using Exception::Exception;
};

} // namespace Base
