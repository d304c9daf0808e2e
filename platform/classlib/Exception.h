// The class library's exception hierarchy: every error the engine reports
// carries an English message the player can read.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <exception>

namespace ClassLib {

class Exception : public std::exception {
public:
    explicit Exception(AnsiString message, int helpContext = 0)
        : Message(std::move(message)), HelpContext(helpContext) {}
    const char* what() const noexcept override { return Message.c_str(); }

    AnsiString Message;
    int HelpContext;
};

// Stream failures; EInvalidData (malformed data) derives from it.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("Stream read error") {}
    using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("Stream write error") {}
    using EStreamError::EStreamError;
};

class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class EOutOfMemory : public Exception {
public:
    EOutOfMemory() : Exception("Out of memory") {}
};

class EListError : public Exception {
public:
    using Exception::Exception;
};

// The message of any exception, ours or the standard library's.
AnsiString ExceptionMessage(const std::exception& e);

} // namespace ClassLib
