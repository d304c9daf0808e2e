// Direct3D 7 structures, states and identifiers, with the values DirectX gives them.
#pragma once

#include "platform/display/DDrawTypes.h"

#include <cstdint>

namespace Win32 {

// Device capabilities (D3DDEVICEDESC7::dwDevCaps).
constexpr uint32_t D3DDEVCAPS_HWTRANSFORMANDLIGHT = 0x10000;
constexpr uint32_t D3DDEVCAPS_HWRASTERIZATION = 0x80000;
// Rasteriser capabilities (D3DPRIMCAPS::dwRasterCaps).
constexpr uint32_t D3DPRASTERCAPS_ZBUFFERLESSHSR = 0x8000;
// Texture capabilities (D3DPRIMCAPS::dwTextureCaps).
constexpr uint32_t D3DPTEXTURECAPS_POW2 = 0x2;
constexpr uint32_t D3DPTEXTURECAPS_ALPHA = 0x4;
constexpr uint32_t D3DPTEXTURECAPS_SQUAREONLY = 0x20;

// Primitive types and the vertex format bits of DrawPrimitive.
constexpr uint32_t D3DPT_TRIANGLEFAN = 6;
constexpr uint32_t D3DFVF_XYZRHW = 0x4;
constexpr uint32_t D3DFVF_DIFFUSE = 0x40;
constexpr uint32_t D3DFVF_SPECULAR = 0x80;
constexpr uint32_t D3DFVF_TEX1 = 0x100;
constexpr uint32_t D3DFVF_TLVERTEX = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

// Render states.
constexpr uint32_t D3DRENDERSTATE_SHADEMODE = 9;
constexpr uint32_t D3DRENDERSTATE_SRCBLEND = 19;
constexpr uint32_t D3DRENDERSTATE_DESTBLEND = 20;
constexpr uint32_t D3DRENDERSTATE_CULLMODE = 22;
constexpr uint32_t D3DRENDERSTATE_DITHERENABLE = 26;
constexpr uint32_t D3DRENDERSTATE_ALPHABLENDENABLE = 27;
constexpr uint32_t D3DRENDERSTATE_SPECULARENABLE = 29;
constexpr uint32_t D3DRENDERSTATE_AMBIENT = 139;
constexpr uint32_t D3DRENDERSTATE_COUNT = 256;

constexpr uint32_t D3DBLEND_ZERO = 1;
constexpr uint32_t D3DBLEND_ONE = 2;
constexpr uint32_t D3DBLEND_SRCALPHA = 5;
constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;

constexpr uint32_t D3DCULL_NONE = 1;
constexpr uint32_t D3DCULL_CW = 2;
constexpr uint32_t D3DCULL_CCW = 3;

constexpr uint32_t D3DSHADE_FLAT = 1;
constexpr uint32_t D3DSHADE_GOURAUD = 2;

// Texture stage states, arguments, addressing and filters.
constexpr uint32_t D3DTSS_COLORARG1 = 2;
constexpr uint32_t D3DTSS_ADDRESS = 12;
constexpr uint32_t D3DTSS_MAGFILTER = 16;
constexpr uint32_t D3DTSS_MINFILTER = 17;
constexpr uint32_t D3DTSS_COUNT = 32;
constexpr uint32_t D3DTA_TEXTURE = 2;
constexpr uint32_t D3DTADDRESS_CLAMP = 3;
constexpr uint32_t D3DTFG_POINT = 1;
constexpr uint32_t D3DTFG_LINEAR = 2;
constexpr uint32_t D3DTFN_POINT = 1;
constexpr uint32_t D3DTFN_LINEAR = 2;

constexpr uint32_t D3DMAXTEXTURESTAGES = 8;

struct D3DPRIMCAPS {
    uint32_t dwSize = 0;
    uint32_t dwMiscCaps = 0;
    uint32_t dwRasterCaps = 0;
    uint32_t dwSrcBlendCaps = 0;
    uint32_t dwDestBlendCaps = 0;
    uint32_t dwTextureCaps = 0;
    uint32_t dwTextureFilterCaps = 0;
};

struct D3DDEVICEDESC7 {
    uint32_t dwDevCaps = 0;
    D3DPRIMCAPS dpcTriCaps;
    uint32_t dwDeviceRenderBitDepth = 0;
    uint32_t dwDeviceZBufferBitDepth = 0;
    uint32_t dwMinTextureWidth = 0;
    uint32_t dwMinTextureHeight = 0;
    uint32_t dwMaxTextureWidth = 0;
    uint32_t dwMaxTextureHeight = 0;
    GUID deviceGUID;
};

struct D3DVIEWPORT7 {
    uint32_t dwX = 0;
    uint32_t dwY = 0;
    uint32_t dwWidth = 0;
    uint32_t dwHeight = 0;
    float dvMinZ = 0.0f;
    float dvMaxZ = 0.0f;
};

// The pre-transformed vertex of format D3DFVF_TLVERTEX (0x1C4).
struct D3DTLVERTEX {
    float sx = 0.0f;
    float sy = 0.0f;
    float sz = 0.0f;
    float rhw = 0.0f;
    uint32_t color = 0;    // diffuse, 0xAARRGGBB
    uint32_t specular = 0; // 0xAARRGGBB
    float tu = 0.0f;
    float tv = 0.0f;
};
static_assert(sizeof(D3DTLVERTEX) == 32);

// Interface and device identifiers.
constexpr GUID IID_IDirectDraw7 = {
    0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};
constexpr GUID IID_IDirect3D7 = {
    0xF5049E77, 0x4861, 0x11D2, {0xA4, 0x07, 0x00, 0xA0, 0xC9, 0x06, 0x29, 0xA8}};
constexpr GUID IID_IDirect3DTnLHalDevice = {
    0xF5049E78, 0x4861, 0x11D2, {0xA4, 0x07, 0x00, 0xA0, 0xC9, 0x06, 0x29, 0xA8}};
constexpr GUID IID_IDirect3DHALDevice = {
    0x84E63DE0, 0x46AA, 0x11CF, {0x81, 0x6F, 0x00, 0x00, 0xC0, 0x20, 0x15, 0x6E}};
constexpr GUID IID_IDirect3DRGBDevice = {
    0xA4665C60, 0x2673, 0x11CF, {0xA3, 0x1A, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};
constexpr GUID IID_IDirect3DMMXDevice = {
    0x881949A1, 0xD6F3, 0x11D0, {0x89, 0xAB, 0x00, 0xA0, 0xC9, 0x05, 0x41, 0x29}};
constexpr GUID IID_IDirect3DRefDevice = {
    0x50936643, 0x13E9, 0x11D1, {0x89, 0xAA, 0x00, 0xA0, 0xC9, 0x05, 0x41, 0x29}};

} // namespace Win32
