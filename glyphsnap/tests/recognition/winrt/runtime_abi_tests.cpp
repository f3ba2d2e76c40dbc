// The instantiations the recognizer calls through carry the identifiers the Windows SDK's own
// headers give them (windows.foundation.h, windows.graphics.imaging.h, windows.media.ocr.h).
#include "glyphsnap/recognition/winrt/abi.h"

namespace glyphsnap::winrt {
namespace {

constexpr bool SameGuid(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) {
        return false;
    }
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i]) {
            return false;
        }
    }
    return true;
}

// The identifiers are computed at compile time, so they are checked there.
static_assert(
    SameGuid(IAsyncOperation<UINT32>::kIid,
             {0xef60385f, 0xbe78, 0x584b, {0xaa, 0xef, 0x78, 0x29, 0xad, 0xa2, 0xb0, 0xde}}),
    "IAsyncOperation<UInt32>");
static_assert(
    SameGuid(IAsyncOperation<ISoftwareBitmap*>::kIid,
             {0xc4a10980, 0x714b, 0x5501, {0x8d, 0xa2, 0xdb, 0xda, 0xcc, 0xe7, 0x0f, 0x73}}),
    "IAsyncOperation<SoftwareBitmap>");
static_assert(
    SameGuid(IAsyncOperation<IOcrResult*>::kIid,
             {0xc7d7118e, 0xae36, 0x59c0, {0xac, 0x76, 0x7b, 0xad, 0xee, 0x71, 0x1c, 0x8b}}),
    "IAsyncOperation<OcrResult>");
static_assert(
    SameGuid(IVectorView<IOcrLine*>::kIid,
             {0x60c76eac, 0x8875, 0x5ddb, {0xa1, 0x9b, 0x65, 0xa3, 0x93, 0x62, 0x79, 0xea}}),
    "IVectorView<OcrLine>");
static_assert(
    SameGuid(IVectorView<IOcrWord*>::kIid,
             {0x805a60c7, 0xdf4f, 0x527c, {0x86, 0xb2, 0xe2, 0x9e, 0x43, 0x9a, 0x83, 0xd2}}),
    "IVectorView<OcrWord>");

}  // namespace
}  // namespace glyphsnap::winrt
