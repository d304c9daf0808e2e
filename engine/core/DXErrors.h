// Exceptions for failed DirectX calls: the message names the call and the
// symbolic name of its result code, e.g. "CreateSurface failed (DDERR_SURFACELOST).".
#pragma once

#include "platform/ResultCodes.h"
#include "platform/classlib/Exception.h"

namespace Base {

using ClassLib::AnsiString;
using Win32::HRESULT;

// The DirectX constant name of a result code, or "???".
const char* DXErrorName(HRESULT code);
// The DirectPlay constant name of a result code, or the code as "0x%08X".
AnsiString DPErrorName(HRESULT code);

class EDirectXError : public ClassLib::Exception {
public:
    // format holds one "%s", replaced by DXErrorName(code).
    EDirectXError(const char* format, HRESULT code);
    // A message without a result code; Code() is 0.
    explicit EDirectXError(AnsiString message) : Exception(std::move(message)) {}
    HRESULT Code() const { return FCode; }

private:
    HRESULT FCode = 0;
};

class EDirectDrawError : public EDirectXError {
public:
    using EDirectXError::EDirectXError;
};

class EDirect3DError : public EDirectXError {
public:
    using EDirectXError::EDirectXError;
};

class ECreate3DDeviceError : public EDirect3DError {
public:
    using EDirect3DError::EDirect3DError;
};

class EDirectSoundError : public EDirectXError {
public:
    using EDirectXError::EDirectXError;
};

class EDirectPlayError : public ClassLib::Exception {
public:
    using Exception::Exception;
};

// Raises EDirectPlayError named after code unless code is 0.
void CheckDPResult(HRESULT code);

} // namespace Base
