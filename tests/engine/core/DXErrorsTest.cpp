#include "engine/core/DXErrors.h"

#include <gtest/gtest.h>

using namespace Base;
using namespace Win32;

TEST(DXErrors, NamesTakeTheFirstRowWithTheCode) {
    const struct {
        HRESULT code;
        const char* name;
    } cases[] = {
        {0, "OK"},
        {DDERR_OUTOFVIDEOMEMORY, "DDERR_OUTOFVIDEOMEMORY"},
        {DDERR_SURFACELOST, "DDERR_SURFACELOST"},
        {E_FAIL, "DDERR_GENERIC"},
        {E_INVALIDARG, "DDERR_INVALIDPARAMS"},
        {E_OUTOFMEMORY, "DDERR_OUTOFMEMORY"},
        {E_NOTIMPL, "DDERR_UNSUPPORTED"},
        {E_NOINTERFACE, "DIERR_NOINTERFACE"},
        {CLASS_E_NOAGGREGATION, "DIERR_NOAGGREGATION"},
        {E_ACCESSDENIED, "DIERR_HANDLEEXISTS"},
        {HRESULT(0x80070002u), "DIERR_NOTFOUND"},
        {1, "DI_BUFFEROVERFLOW"},
        {D3DERR_TEXTURE_BADSIZE, "D3DERR_TEXTURE_BADSIZE"},
        {DSERR_BUFFERLOST, "DSERR_BUFFERLOST"},
        {E_PENDING, "E_PENDING"},
        {DDERR_NOTINITIALIZED, "DDERR_NOTINITIALIZED"},
        {HRESULT(0x12345678), "???"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(DXErrorName(c.code), c.name) << std::hex << c.code;
}

TEST(DXErrors, ExceptionsCarryTheFormattedNameAndTheCode) {
    const EDirectDrawError error("CreateSurface failed (%s).", DDERR_SURFACELOST);
    EXPECT_EQ(error.Message, "CreateSurface failed (DDERR_SURFACELOST).");
    EXPECT_EQ(error.Code(), DDERR_SURFACELOST);
    const ECreate3DDeviceError device("CreateDevice failed (%s).", E_FAIL);
    const EDirect3DError& asBase = device;
    EXPECT_EQ(asBase.Message, "CreateDevice failed (DDERR_GENERIC).");
    const EDirectXError plain("Create Direct3D failed.");
    EXPECT_EQ(plain.Code(), 0);
    EXPECT_EQ(plain.Message, "Create Direct3D failed.");
}

TEST(DXErrors, DirectPlayNames) {
    EXPECT_EQ(DPErrorName(0), "DP_OK");
    EXPECT_EQ(DPErrorName(DPERR_SESSIONLOST), "DPERR_SESSIONLOST");
    EXPECT_EQ(DPErrorName(E_FAIL), "DPERR_GENERIC");
    EXPECT_EQ(DPErrorName(DPERR_LOGONDENIED), "DPERR_LOGONDENIED");
    EXPECT_EQ(DPErrorName(HRESULT(0x8877FFFFu)), "0x8877FFFF");
    EXPECT_NO_THROW(CheckDPResult(DP_OK));
    try {
        CheckDPResult(DPERR_SESSIONLOST);
        FAIL();
    } catch (const EDirectPlayError& e) {
        EXPECT_EQ(e.Message, "DPERR_SESSIONLOST");
    }
}
