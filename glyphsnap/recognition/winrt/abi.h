// The Windows Runtime interfaces Glyphsnap's recognizer calls, declared at the binary interface:
// every interface with its platform identifier and its methods in their vtable slots, unused
// methods included (their argument types are reduced to what occupies the slot when the call is
// never made). mingw-w64 supplies IUnknown, IInspectable, HSTRING, IActivationFactory, IAsyncInfo
// and AsyncStatus; its windows.foundation.h, windows.storage.streams.h and
// windows.security.cryptography.h do not compile as C++ (enums typedef'd before declaration), so
// the interfaces they would give are declared here too.
//
// Where the facts come from:
// - Windows.Foundation and Windows.Storage.Streams: the Windows SDK's windows.foundation.h and
//   windows.storage.streams.h (MIDL output); IBuffer and IClosable also in mingw-w64's
//   windows.storage.streams.h and windows.foundation.h, ICryptographicBufferStatics in its
//   windows.security.cryptography.h.
// - IMemoryBufferByteAccess: the SDK's memorybuffer.h (learn.microsoft.com,
// "IMemoryBufferByteAccess").
// - Windows.Graphics.Imaging: ISoftwareBitmap and IBitmapBuffer in Wine's
//   include/windows.graphics.imaging.idl; the decoder, frame and transform interfaces in the
//   metadata-generated bindings of microsoft/windows-rs (Windows/Graphics/Imaging/mod.rs).
// - Windows.Media.Ocr: the SDK's windows.media.ocr.h (MIDLRT output).
// - Generic instantiations: computed from their signatures (runtime_iid.h); the generic
//   interfaces' own identifiers and the signature grammar from the Windows Runtime type-system
//   documentation and windows-rs.
#pragma once

#include <windows.h>
#include <activation.h>
#include <asyncinfo.h>
#include <eventtoken.h>
#include <inspectable.h>
#include <winstring.h>

#include <string_view>

#include "glyphsnap/recognition/winrt/runtime_iid.h"

namespace glyphsnap::winrt {

constexpr GUID ToGuid(const RuntimeIid& iid) {
    return GUID{iid.data1,
                iid.data2,
                iid.data3,
                {iid.data4[0], iid.data4[1], iid.data4[2], iid.data4[3], iid.data4[4], iid.data4[5],
                 iid.data4[6], iid.data4[7]}};
}

// The type signature of a type argument: "u4" for UINT32, "rc(Name;{default interface})" for a
// runtime class, passed at the binary interface as a pointer to its default interface.
template <typename T>
struct TypeSignature;

template <>
struct TypeSignature<UINT32> {
    static constexpr std::string_view value = "u4";
};

// ---------------------------------------------------------------------------------------------
// Windows.Foundation

// mingw-w64's asyncinfo.h declares IAsyncInfo but no library of it defines the identifier.
inline constexpr GUID kIidAsyncInfo{
    0x00000036, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IClosable : IInspectable {
    static constexpr GUID kIid{
        0x30d5a829, 0x7fa4, 0x4026, {0x83, 0xbb, 0xd7, 0x5b, 0xae, 0x4e, 0xa9, 0x9e}};
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
};

struct Rect {
    FLOAT X;
    FLOAT Y;
    FLOAT Width;
    FLOAT Height;
};

struct IMemoryBufferReference : IInspectable {
    static constexpr GUID kIid{
        0xfbc4dd29, 0x245b, 0x11e4, {0xaf, 0x98, 0x68, 0x94, 0x23, 0x26, 0x0c, 0xf8}};
    virtual HRESULT STDMETHODCALLTYPE get_Capacity(UINT32* value) = 0;
    // The handler is a TypedEventHandler<IMemoryBufferReference, IInspectable>.
    virtual HRESULT STDMETHODCALLTYPE add_Closed(IUnknown* handler,
                                                 EventRegistrationToken* cookie) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_Closed(EventRegistrationToken cookie) = 0;
};

struct IMemoryBuffer : IInspectable {
    static constexpr GUID kIid{
        0xfbc4dd2a, 0x245b, 0x11e4, {0xaf, 0x98, 0x68, 0x94, 0x23, 0x26, 0x0c, 0xf8}};
    virtual HRESULT STDMETHODCALLTYPE CreateReference(IMemoryBufferReference** reference) = 0;
};

// A COM interface (not IInspectable) that every IMemoryBufferReference of the platform offers.
struct IMemoryBufferByteAccess : IUnknown {
    static constexpr GUID kIid{
        0x5b0d3235, 0x4dba, 0x4d44, {0x86, 0x5e, 0x8f, 0x1d, 0x0e, 0x4f, 0xd0, 0x4d}};
    virtual HRESULT STDMETHODCALLTYPE GetBuffer(BYTE** value, UINT32* capacity) = 0;
};

// The generic interfaces' own identifiers, which open their instantiations' signatures.
inline constexpr std::string_view kAsyncOperationGeneric = "{9fc2b0bb-e446-44e2-aa61-9cab8f636af2}";
inline constexpr std::string_view kAsyncOperationCompletedHandlerGeneric =
    "{fcdcf02c-e5d8-4478-915a-4d90b74b83a5}";
inline constexpr std::string_view kVectorViewGeneric = "{bbe1fa4c-b0e3-4583-baef-1f1b2e483e56}";

template <typename TResult>
struct IAsyncOperation;

template <typename TResult>
struct IAsyncOperationCompletedHandler : IUnknown {
    static constexpr GUID kIid =
        ToGuid(ParameterizedIid({"pinterface(", kAsyncOperationCompletedHandlerGeneric, ";",
                                 TypeSignature<TResult>::value, ")"}));
    virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperation<TResult>* operation,
                                             AsyncStatus status) = 0;
};

template <typename TResult>
struct IAsyncOperation : IInspectable {
    static constexpr GUID kIid = ToGuid(ParameterizedIid(
        {"pinterface(", kAsyncOperationGeneric, ";", TypeSignature<TResult>::value, ")"}));
    virtual HRESULT STDMETHODCALLTYPE
    put_Completed(IAsyncOperationCompletedHandler<TResult>* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    get_Completed(IAsyncOperationCompletedHandler<TResult>** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults(TResult* results) = 0;
};

template <typename T>
struct IVectorView : IInspectable {
    static constexpr GUID kIid = ToGuid(
        ParameterizedIid({"pinterface(", kVectorViewGeneric, ";", TypeSignature<T>::value, ")"}));
    virtual HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, T* item) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) = 0;
    virtual HRESULT STDMETHODCALLTYPE IndexOf(T value, UINT32* index, boolean* found) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMany(UINT32 startIndex, UINT32 capacity, T* items,
                                              UINT32* count) = 0;
};

// ---------------------------------------------------------------------------------------------
// Windows.Storage.Streams

struct IBuffer : IInspectable {
    static constexpr GUID kIid{
        0x905a0fe0, 0xbc53, 0x11df, {0x8c, 0x49, 0x00, 0x1e, 0x4f, 0xc6, 0x86, 0xda}};
    virtual HRESULT STDMETHODCALLTYPE get_Capacity(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Length(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Length(UINT32 value) = 0;
};

struct IOutputStream : IInspectable {
    static constexpr GUID kIid{
        0x905a0fe6, 0xbc53, 0x11df, {0x8c, 0x49, 0x00, 0x1e, 0x4f, 0xc6, 0x86, 0xda}};
    // The operations are IAsyncOperationWithProgress<UINT32, UINT32> and IAsyncOperation<boolean>.
    virtual HRESULT STDMETHODCALLTYPE WriteAsync(IBuffer* buffer, IInspectable** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE FlushAsync(IInspectable** operation) = 0;
};

struct IRandomAccessStream : IInspectable {
    static constexpr GUID kIid{
        0x905a0fe1, 0xbc53, 0x11df, {0x8c, 0x49, 0x00, 0x1e, 0x4f, 0xc6, 0x86, 0xda}};
    virtual HRESULT STDMETHODCALLTYPE get_Size(UINT64* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Size(UINT64 value) = 0;
    // The stream is an IInputStream.
    virtual HRESULT STDMETHODCALLTYPE GetInputStreamAt(UINT64 position, IInspectable** stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOutputStreamAt(UINT64 position,
                                                        IOutputStream** stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Position(UINT64* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Seek(UINT64 position) = 0;
    virtual HRESULT STDMETHODCALLTYPE CloneStream(IRandomAccessStream** stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanRead(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanWrite(boolean* value) = 0;
};

struct IDataWriter : IInspectable {
    static constexpr GUID kIid{
        0x64b89265, 0xd341, 0x4922, {0xb3, 0x8a, 0xdd, 0x4a, 0xf8, 0x80, 0x8c, 0x4e}};
    virtual HRESULT STDMETHODCALLTYPE get_UnstoredBufferLength(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_UnicodeEncoding(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_UnicodeEncoding(INT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ByteOrder(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ByteOrder(INT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteByte(BYTE value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteBytes(UINT32 length, BYTE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteBuffer(IBuffer* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteBufferRange(IBuffer* buffer, UINT32 start,
                                                       UINT32 count) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteBoolean(boolean value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteGuid(GUID value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteInt16(INT16 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteInt32(INT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteInt64(INT64 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteUInt16(UINT16 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteUInt32(UINT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteUInt64(UINT64 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteSingle(FLOAT value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteDouble(DOUBLE value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteDateTime(INT64 value) = 0;  // DateTime: one INT64
    virtual HRESULT STDMETHODCALLTYPE WriteTimeSpan(INT64 value) = 0;  // TimeSpan: one INT64
    virtual HRESULT STDMETHODCALLTYPE WriteString(HSTRING value, UINT32* codeUnitCount) = 0;
    virtual HRESULT STDMETHODCALLTYPE MeasureString(HSTRING value, UINT32* codeUnitCount) = 0;
    virtual HRESULT STDMETHODCALLTYPE StoreAsync(IAsyncOperation<UINT32>** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE FlushAsync(IInspectable** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE DetachBuffer(IBuffer** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE DetachStream(IOutputStream** stream) = 0;
};

struct IDataWriterFactory : IInspectable {
    static constexpr GUID kIid{
        0x338c67c2, 0x8b84, 0x4c2b, {0x9c, 0x50, 0x7b, 0x87, 0x67, 0x84, 0x7a, 0x1f}};
    virtual HRESULT STDMETHODCALLTYPE CreateDataWriter(IOutputStream* stream,
                                                       IDataWriter** writer) = 0;
};

// ---------------------------------------------------------------------------------------------
// Windows.Security.Cryptography

struct ICryptographicBufferStatics : IInspectable {
    static constexpr GUID kIid{
        0x320b7e22, 0x3cb0, 0x4cdf, {0x86, 0x63, 0x1d, 0x28, 0x91, 0x00, 0x65, 0xeb}};
    virtual HRESULT STDMETHODCALLTYPE Compare(IBuffer* first, IBuffer* second, boolean* equal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GenerateRandom(UINT32 length, IBuffer** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GenerateRandomNumber(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFromByteArray(UINT32 length, BYTE* value,
                                                          IBuffer** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyToByteArray(IBuffer* buffer, UINT32* length,
                                                      BYTE** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE DecodeFromHexString(HSTRING value, IBuffer** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE EncodeToHexString(IBuffer* buffer, HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE DecodeFromBase64String(HSTRING value, IBuffer** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE EncodeToBase64String(IBuffer* buffer, HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE ConvertStringToBinary(HSTRING value, INT32 encoding,
                                                            IBuffer** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE ConvertBinaryToString(INT32 encoding, IBuffer* buffer,
                                                            HSTRING* value) = 0;
};

// ---------------------------------------------------------------------------------------------
// Windows.Graphics.Imaging

enum class BitmapPixelFormat : INT32 {
    Unknown = 0,
    Rgba16 = 12,
    Rgba8 = 30,
    Gray16 = 57,
    Gray8 = 62,
    Bgra8 = 87
};
enum class BitmapAlphaMode : INT32 { Premultiplied = 0, Straight = 1, Ignore = 2 };
enum class BitmapBufferAccessMode : INT32 { Read = 0, ReadWrite = 1, Write = 2 };
enum class BitmapInterpolationMode : INT32 { NearestNeighbor = 0, Linear = 1, Cubic = 2, Fant = 3 };
enum class ExifOrientationMode : INT32 { IgnoreExifOrientation = 0, RespectExifOrientation = 1 };
enum class ColorManagementMode : INT32 { DoNotColorManage = 0, ColorManageToSRgb = 1 };

struct BitmapBounds {
    UINT32 X;
    UINT32 Y;
    UINT32 Width;
    UINT32 Height;
};

struct BitmapPlaneDescription {
    INT32 StartIndex;
    INT32 Width;
    INT32 Height;
    INT32 Stride;
};

struct IBitmapTransform : IInspectable {
    static constexpr GUID kIid{
        0xae755344, 0xe268, 0x4d35, {0xad, 0xcf, 0xe9, 0x95, 0xd3, 0x1a, 0x8d, 0x34}};
    virtual HRESULT STDMETHODCALLTYPE get_ScaledWidth(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ScaledWidth(UINT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ScaledHeight(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ScaledHeight(UINT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_InterpolationMode(BitmapInterpolationMode* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_InterpolationMode(BitmapInterpolationMode value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Flip(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Flip(INT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Rotation(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Rotation(INT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Bounds(BitmapBounds* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Bounds(BitmapBounds value) = 0;
};

// Also an IMemoryBuffer and an IClosable.
struct IBitmapBuffer : IInspectable {
    static constexpr GUID kIid{
        0xa53e04c4, 0x399c, 0x438c, {0xb2, 0x8f, 0xa6, 0x3a, 0x6b, 0x83, 0xd1, 0xa1}};
    virtual HRESULT STDMETHODCALLTYPE GetPlaneCount(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPlaneDescription(INT32 index,
                                                          BitmapPlaneDescription* value) = 0;
};

struct ISoftwareBitmap : IInspectable {
    static constexpr GUID kIid{
        0x689e0708, 0x7eef, 0x483f, {0x96, 0x3f, 0xda, 0x93, 0x88, 0x18, 0xe0, 0x73}};
    virtual HRESULT STDMETHODCALLTYPE get_BitmapPixelFormat(BitmapPixelFormat* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BitmapAlphaMode(BitmapAlphaMode* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PixelWidth(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PixelHeight(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DpiX(DOUBLE value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DpiX(DOUBLE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DpiY(DOUBLE value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DpiY(DOUBLE* value) = 0;
    // The buffer is a BitmapBuffer, whose default interface is IBitmapBuffer.
    virtual HRESULT STDMETHODCALLTYPE LockBuffer(BitmapBufferAccessMode mode,
                                                 IBitmapBuffer** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyTo(ISoftwareBitmap* bitmap) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyFromBuffer(IBuffer* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyToBuffer(IBuffer* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReadOnlyView(ISoftwareBitmap** view) = 0;
};

template <>
struct TypeSignature<ISoftwareBitmap*> {
    static constexpr std::string_view value =
        "rc(Windows.Graphics.Imaging.SoftwareBitmap;{689e0708-7eef-483f-963f-da938818e073})";
};

// Every method taking the transform takes the runtime class BitmapTransform, passed as its default
// interface IBitmapTransform.
struct IBitmapFrame : IInspectable {
    static constexpr GUID kIid{
        0x72a49a1c, 0x8081, 0x438d, {0x91, 0xbc, 0x94, 0xec, 0xfc, 0x81, 0x85, 0xc6}};
    virtual HRESULT STDMETHODCALLTYPE GetThumbnailAsync(IInspectable** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BitmapProperties(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BitmapPixelFormat(BitmapPixelFormat* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BitmapAlphaMode(BitmapAlphaMode* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DpiX(DOUBLE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DpiY(DOUBLE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PixelWidth(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PixelHeight(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_OrientedPixelWidth(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_OrientedPixelHeight(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPixelDataAsync(IInspectable** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    GetPixelDataTransformedAsync(BitmapPixelFormat format, BitmapAlphaMode alpha,
                                 IBitmapTransform* transform, ExifOrientationMode exifOrientation,
                                 ColorManagementMode colorManagement, IInspectable** operation) = 0;
};

struct IBitmapFrameWithSoftwareBitmap : IInspectable {
    static constexpr GUID kIid{
        0xfe287c9a, 0x420c, 0x4963, {0x87, 0xad, 0x69, 0x14, 0x36, 0xe0, 0x83, 0x83}};
    virtual HRESULT STDMETHODCALLTYPE
    GetSoftwareBitmapAsync(IAsyncOperation<ISoftwareBitmap*>** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    GetSoftwareBitmapConvertedAsync(BitmapPixelFormat format, BitmapAlphaMode alpha,
                                    IAsyncOperation<ISoftwareBitmap*>** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSoftwareBitmapTransformedAsync(
        BitmapPixelFormat format, BitmapAlphaMode alpha, IBitmapTransform* transform,
        ExifOrientationMode exifOrientation, ColorManagementMode colorManagement,
        IAsyncOperation<ISoftwareBitmap*>** operation) = 0;
};

// BitmapDecoder's default interface; the decoder is also the first frame (IBitmapFrame,
// IBitmapFrameWithSoftwareBitmap).
struct IBitmapDecoder : IInspectable {
    static constexpr GUID kIid{
        0xacef22ba, 0x1d74, 0x4c91, {0x9d, 0xfc, 0x96, 0x20, 0x74, 0x52, 0x33, 0xe6}};
    virtual HRESULT STDMETHODCALLTYPE get_BitmapContainerProperties(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DecoderInformation(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FrameCount(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPreviewAsync(IInspectable** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFrameAsync(UINT32 index, IInspectable** operation) = 0;
};

template <>
struct TypeSignature<IBitmapDecoder*> {
    static constexpr std::string_view value =
        "rc(Windows.Graphics.Imaging.BitmapDecoder;{acef22ba-1d74-4c91-9dfc-9620745233e6})";
};

struct IBitmapDecoderStatics : IInspectable {
    static constexpr GUID kIid{
        0x438ccb26, 0xbcef, 0x4e95, {0xba, 0xd6, 0x23, 0xa8, 0x22, 0xe5, 0x8d, 0x01}};
    virtual HRESULT STDMETHODCALLTYPE get_BmpDecoderId(GUID* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_JpegDecoderId(GUID* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PngDecoderId(GUID* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TiffDecoderId(GUID* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_GifDecoderId(GUID* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_JpegXRDecoderId(GUID* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IcoDecoderId(GUID* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDecoderInformationEnumerator(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateAsync(IRandomAccessStream* stream,
                                                  IAsyncOperation<IBitmapDecoder*>** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    CreateWithIdAsync(GUID decoderId, IRandomAccessStream* stream,
                      IAsyncOperation<IBitmapDecoder*>** operation) = 0;
};

// ---------------------------------------------------------------------------------------------
// Windows.Media.Ocr

struct IOcrWord : IInspectable {
    static constexpr GUID kIid{
        0x3c2a477a, 0x5cd9, 0x3525, {0xba, 0x2a, 0x23, 0xd1, 0xe0, 0xa6, 0x8a, 0x1d}};
    virtual HRESULT STDMETHODCALLTYPE get_BoundingRect(Rect* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Text(HSTRING* value) = 0;
};

template <>
struct TypeSignature<IOcrWord*> {
    static constexpr std::string_view value =
        "rc(Windows.Media.Ocr.OcrWord;{3c2a477a-5cd9-3525-ba2a-23d1e0a68a1d})";
};

struct IOcrLine : IInspectable {
    static constexpr GUID kIid{
        0x0043a16f, 0xe31f, 0x3a24, {0x89, 0x9c, 0xd4, 0x44, 0xbd, 0x08, 0x81, 0x24}};
    virtual HRESULT STDMETHODCALLTYPE get_Words(IVectorView<IOcrWord*>** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Text(HSTRING* value) = 0;
};

template <>
struct TypeSignature<IOcrLine*> {
    static constexpr std::string_view value =
        "rc(Windows.Media.Ocr.OcrLine;{0043a16f-e31f-3a24-899c-d444bd088124})";
};

struct IOcrResult : IInspectable {
    static constexpr GUID kIid{
        0x9bd235b2, 0x175b, 0x3d6a, {0x92, 0xe2, 0x38, 0x8c, 0x20, 0x6e, 0x2f, 0x63}};
    virtual HRESULT STDMETHODCALLTYPE get_Lines(IVectorView<IOcrLine*>** value) = 0;
    // The angle is an IReference<DOUBLE>.
    virtual HRESULT STDMETHODCALLTYPE get_TextAngle(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Text(HSTRING* value) = 0;
};

template <>
struct TypeSignature<IOcrResult*> {
    static constexpr std::string_view value =
        "rc(Windows.Media.Ocr.OcrResult;{9bd235b2-175b-3d6a-92e2-388c206e2f63})";
};

struct IOcrEngine : IInspectable {
    static constexpr GUID kIid{
        0x5a14bc41, 0x5b76, 0x3140, {0xb6, 0x80, 0x88, 0x25, 0x56, 0x26, 0x83, 0xac}};
    virtual HRESULT STDMETHODCALLTYPE RecognizeAsync(ISoftwareBitmap* bitmap,
                                                     IAsyncOperation<IOcrResult*>** operation) = 0;
    // The language is a Windows.Globalization.Language.
    virtual HRESULT STDMETHODCALLTYPE get_RecognizerLanguage(IInspectable** value) = 0;
};

struct IOcrEngineStatics : IInspectable {
    static constexpr GUID kIid{
        0x5bffa85a, 0x3384, 0x3540, {0x99, 0x40, 0x69, 0x91, 0x20, 0xd4, 0x28, 0xa8}};
    virtual HRESULT STDMETHODCALLTYPE get_MaxImageDimension(UINT32* value) = 0;
    // The languages are an IVectorView<Windows.Globalization.Language>.
    virtual HRESULT STDMETHODCALLTYPE get_AvailableRecognizerLanguages(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsLanguageSupported(IInspectable* language,
                                                          boolean* supported) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryCreateFromLanguage(IInspectable* language,
                                                            IOcrEngine** engine) = 0;
    // A null engine, with success, when no language of the user's profile can be recognised.
    virtual HRESULT STDMETHODCALLTYPE TryCreateFromUserProfileLanguages(IOcrEngine** engine) = 0;
};

// The runtime classes the recognizer activates or calls statics of.
inline constexpr std::wstring_view kCryptographicBufferClass =
    L"Windows.Security.Cryptography.CryptographicBuffer";
inline constexpr std::wstring_view kInMemoryRandomAccessStreamClass =
    L"Windows.Storage.Streams.InMemoryRandomAccessStream";
inline constexpr std::wstring_view kDataWriterClass = L"Windows.Storage.Streams.DataWriter";
inline constexpr std::wstring_view kBitmapDecoderClass = L"Windows.Graphics.Imaging.BitmapDecoder";
inline constexpr std::wstring_view kBitmapTransformClass =
    L"Windows.Graphics.Imaging.BitmapTransform";
inline constexpr std::wstring_view kOcrEngineClass = L"Windows.Media.Ocr.OcrEngine";

}  // namespace glyphsnap::winrt
