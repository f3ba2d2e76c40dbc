// The stand-in's bitmap decoder, transform and software bitmaps, decoding with WIC.
#include "glyphsnap/tests/winrt_standin/standin_object.h"

#include <shlwapi.h>
#include <wincodec.h>

#include <algorithm>
#include <memory>

namespace glyphsnap::standin {
namespace {

// A COM reference of the WIC interfaces, which carry no kIid of ours.
template <typename T>
struct ComReleaser {
    void operator()(T* pointer) const { pointer->Release(); }
};
template <typename T>
using ComOwner = std::unique_ptr<T, ComReleaser<T>>;

class BitmapReference final
    : public Object<IMemoryBufferReference, IMemoryBufferByteAccess, IClosable> {
  public:
    BitmapReference(Ref<IInspectable> owner, std::vector<std::uint8_t>& pixels)
        : owner_(std::move(owner)), pixels_(pixels) {}
    HRESULT STDMETHODCALLTYPE GetBuffer(BYTE** value, UINT32* capacity) override {
        *value = pixels_.data();
        *capacity = static_cast<UINT32>(pixels_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Capacity(UINT32* value) override {
        *value = static_cast<UINT32>(pixels_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE add_Closed(IUnknown*, EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_Closed(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Close() override { return S_OK; }

  private:
    Ref<IInspectable> owner_;  // the bitmap stays while its pixels are referenced
    std::vector<std::uint8_t>& pixels_;
};

class BitmapBuffer final : public Object<IBitmapBuffer, IMemoryBuffer, IClosable> {
  public:
    BitmapBuffer(Ref<IInspectable> owner, std::vector<std::uint8_t>& pixels, INT32 width,
                 INT32 height)
        : owner_(std::move(owner)), pixels_(pixels), width_(width), height_(height) {}
    HRESULT STDMETHODCALLTYPE CreateReference(IMemoryBufferReference** reference) override {
        return Hand(Make<IMemoryBufferReference, BitmapReference>(Share(owner_.Get()), pixels_),
                    reference);
    }
    HRESULT STDMETHODCALLTYPE GetPlaneCount(INT32* value) override {
        *value = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPlaneDescription(INT32 index,
                                                  BitmapPlaneDescription* value) override {
        if (index != 0) {
            return E_INVALIDARG;
        }
        *value = BitmapPlaneDescription{0, width_, height_, width_ * 4};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Close() override { return S_OK; }

  private:
    Ref<IInspectable> owner_;
    std::vector<std::uint8_t>& pixels_;
    INT32 width_;
    INT32 height_;
};

class SoftwareBitmap final : public Object<ISoftwareBitmap, IClosable> {
  public:
    SoftwareBitmap(UINT32 width, UINT32 height, BitmapAlphaMode alpha,
                   std::vector<std::uint8_t> pixels)
        : width_(static_cast<INT32>(width)),
          height_(static_cast<INT32>(height)),
          alpha_(alpha),
          pixels_(std::move(pixels)) {}
    ~SoftwareBitmap() override { Log("SoftwareBitmap released"); }

    HRESULT STDMETHODCALLTYPE get_BitmapPixelFormat(BitmapPixelFormat* value) override {
        *value = BitmapPixelFormat::Bgra8;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_BitmapAlphaMode(BitmapAlphaMode* value) override {
        *value = alpha_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_PixelWidth(INT32* value) override {
        *value = width_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_PixelHeight(INT32* value) override {
        *value = height_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE LockBuffer(BitmapBufferAccessMode mode,
                                         IBitmapBuffer** buffer) override {
        Log(std::string("SoftwareBitmap.LockBuffer ") +
            (mode == BitmapBufferAccessMode::ReadWrite ? "ReadWrite" : "Read"));
        return Hand(
            Make<IBitmapBuffer, BitmapBuffer>(
                Share<IInspectable>(static_cast<ISoftwareBitmap*>(this)), pixels_, width_, height_),
            buffer);
    }
    HRESULT STDMETHODCALLTYPE get_IsReadOnly(boolean* value) override {
        *value = FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_DpiX(DOUBLE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DpiX(DOUBLE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_DpiY(DOUBLE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DpiY(DOUBLE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(ISoftwareBitmap*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyFromBuffer(IBuffer*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyToBuffer(IBuffer*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetReadOnlyView(ISoftwareBitmap**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Close() override { return S_OK; }

  private:
    INT32 width_;
    INT32 height_;
    BitmapAlphaMode alpha_;
    std::vector<std::uint8_t> pixels_;
};

class BitmapTransform final : public Object<IBitmapTransform> {
  public:
    HRESULT STDMETHODCALLTYPE get_ScaledWidth(UINT32* value) override {
        *value = width_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ScaledWidth(UINT32 value) override {
        width_ = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ScaledHeight(UINT32* value) override {
        *value = height_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ScaledHeight(UINT32 value) override {
        height_ = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_InterpolationMode(BitmapInterpolationMode* value) override {
        *value = interpolation_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_InterpolationMode(BitmapInterpolationMode value) override {
        interpolation_ = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Flip(INT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Flip(INT32) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Rotation(INT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Rotation(INT32) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Bounds(BitmapBounds*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Bounds(BitmapBounds) override { return E_NOTIMPL; }

  private:
    UINT32 width_ = 0;
    UINT32 height_ = 0;
    BitmapInterpolationMode interpolation_ = BitmapInterpolationMode::NearestNeighbor;
};

class BitmapTransformFactory final : public Object<IActivationFactory> {
  public:
    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable** instance) override {
        *instance = static_cast<IBitmapTransform*>(new BitmapTransform());
        return S_OK;
    }
};

std::string Names(BitmapAlphaMode alpha) {
    return alpha == BitmapAlphaMode::Premultiplied ? "Premultiplied"
           : alpha == BitmapAlphaMode::Straight    ? "Straight"
                                                   : "Ignore";
}

class BitmapDecoder final
    : public Object<IBitmapDecoder, IBitmapFrame, IBitmapFrameWithSoftwareBitmap> {
  public:
    BitmapDecoder(ComOwner<IWICImagingFactory> wic, ComOwner<IWICBitmapFrameDecode> frame,
                  UINT32 width, UINT32 height)
        : wic_(std::move(wic)), frame_(std::move(frame)), width_(width), height_(height) {}
    ~BitmapDecoder() override { Log("BitmapDecoder released"); }

    HRESULT STDMETHODCALLTYPE get_PixelWidth(UINT32* value) override {
        *value = width_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_PixelHeight(UINT32* value) override {
        *value = height_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE
    GetSoftwareBitmapConvertedAsync(BitmapPixelFormat format, BitmapAlphaMode alpha,
                                    IAsyncOperation<ISoftwareBitmap*>** operation) override {
        Log("BitmapDecoder.GetSoftwareBitmapAsync " + FormatName(format) + " " + Names(alpha) +
            " " + std::to_string(width_) + "x" + std::to_string(height_));
        return Hand(Convert(frame_.get(), width_, height_, alpha), operation);
    }

    HRESULT STDMETHODCALLTYPE GetSoftwareBitmapTransformedAsync(
        BitmapPixelFormat format, BitmapAlphaMode alpha, IBitmapTransform* transform,
        ExifOrientationMode exif, ColorManagementMode color,
        IAsyncOperation<ISoftwareBitmap*>** operation) override {
        UINT32 width = 0;
        UINT32 height = 0;
        BitmapInterpolationMode interpolation{};
        transform->get_ScaledWidth(&width);
        transform->get_ScaledHeight(&height);
        transform->get_InterpolationMode(&interpolation);
        Log("BitmapDecoder.GetSoftwareBitmapAsync " + FormatName(format) + " " + Names(alpha) +
            " " + std::to_string(width) + "x" + std::to_string(height) +
            (interpolation == BitmapInterpolationMode::Linear ? " Linear" : " OtherInterpolation") +
            (exif == ExifOrientationMode::IgnoreExifOrientation ? " IgnoreExifOrientation"
                                                                : " RespectExifOrientation") +
            (color == ColorManagementMode::DoNotColorManage ? " DoNotColorManage"
                                                            : " ColorManageToSRgb"));
        IWICBitmapScaler* scaler = nullptr;
        if (FAILED(wic_->CreateBitmapScaler(&scaler))) {
            return Hand(Operation<ISoftwareBitmap*>::Failed(E_FAIL), operation);
        }
        const ComOwner<IWICBitmapScaler> owner(scaler);
        if (FAILED(scaler->Initialize(frame_.get(), width, height,
                                      WICBitmapInterpolationModeLinear))) {
            return Hand(Operation<ISoftwareBitmap*>::Failed(E_FAIL), operation);
        }
        return Hand(Convert(scaler, width, height, alpha), operation);
    }

    HRESULT STDMETHODCALLTYPE GetSoftwareBitmapAsync(IAsyncOperation<ISoftwareBitmap*>**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_BitmapContainerProperties(IInspectable**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_DecoderInformation(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_FrameCount(UINT32* value) override {
        *value = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPreviewAsync(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFrameAsync(UINT32, IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetThumbnailAsync(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_BitmapProperties(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_BitmapPixelFormat(BitmapPixelFormat*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_BitmapAlphaMode(BitmapAlphaMode*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DpiX(DOUBLE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DpiY(DOUBLE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_OrientedPixelWidth(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_OrientedPixelHeight(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPixelDataAsync(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPixelDataTransformedAsync(BitmapPixelFormat, BitmapAlphaMode,
                                                           IBitmapTransform*, ExifOrientationMode,
                                                           ColorManagementMode,
                                                           IInspectable**) override {
        return E_NOTIMPL;
    }

  private:
    static std::string FormatName(BitmapPixelFormat format) {
        return format == BitmapPixelFormat::Bgra8
                   ? "Bgra8"
                   : "format" + std::to_string(static_cast<int>(format));
    }

    Ref<IAsyncOperation<ISoftwareBitmap*>> Convert(IWICBitmapSource* source, UINT32 width,
                                                   UINT32 height, BitmapAlphaMode alpha) {
        const WICPixelFormatGUID& target = alpha == BitmapAlphaMode::Premultiplied
                                               ? GUID_WICPixelFormat32bppPBGRA
                                               : GUID_WICPixelFormat32bppBGRA;
        IWICBitmapSource* converted = nullptr;
        if (FAILED(WICConvertBitmapSource(target, source, &converted))) {
            return Operation<ISoftwareBitmap*>::Failed(WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT);
        }
        const ComOwner<IWICBitmapSource> owner(converted);
        std::vector<std::uint8_t> pixels(std::size_t{width} * height * 4);
        if (FAILED(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()),
                                         pixels.data()))) {
            return Operation<ISoftwareBitmap*>::Failed(WINCODEC_ERR_BADIMAGE);
        }
        Ref<ISoftwareBitmap> bitmap;
        bitmap.Reset(static_cast<ISoftwareBitmap*>(
            new SoftwareBitmap(width, height, alpha, std::move(pixels))));
        return Operation<ISoftwareBitmap*>::Succeeded(std::move(bitmap));
    }

    ComOwner<IWICImagingFactory> wic_;
    ComOwner<IWICBitmapFrameDecode> frame_;
    UINT32 width_;
    UINT32 height_;
};

class BitmapDecoderFactory final : public Object<IActivationFactory, IBitmapDecoderStatics> {
  public:
    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable**) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE CreateAsync(IRandomAccessStream* stream,
                                          IAsyncOperation<IBitmapDecoder*>** operation) override {
        Ref<IStandInBytes> bytes;
        if (stream == nullptr || FAILED(stream->QueryInterface(
                                     IStandInBytes::kIid, reinterpret_cast<void**>(bytes.Put())))) {
            return E_INVALIDARG;
        }
        const std::size_t position = std::min(bytes->Position(), bytes->Bytes().size());
        const auto* data = bytes->Bytes().data() + position;
        const auto size = static_cast<UINT>(bytes->Bytes().size() - position);
        Ref<IBitmapDecoder> decoder = Decode(data, size);
        if (!decoder) {
            Log("BitmapDecoder.CreateAsync refused " + std::to_string(size) + " bytes");
            return Hand(Operation<IBitmapDecoder*>::Failed(WINCODEC_ERR_COMPONENTNOTFOUND),
                        operation);
        }
        return Hand(Operation<IBitmapDecoder*>::Succeeded(std::move(decoder)), operation);
    }

    HRESULT STDMETHODCALLTYPE get_BmpDecoderId(GUID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_JpegDecoderId(GUID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_PngDecoderId(GUID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_TiffDecoderId(GUID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_GifDecoderId(GUID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_JpegXRDecoderId(GUID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IcoDecoderId(GUID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDecoderInformationEnumerator(IInspectable**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateWithIdAsync(GUID, IRandomAccessStream*,
                                                IAsyncOperation<IBitmapDecoder*>**) override {
        return E_NOTIMPL;
    }

  private:
    static Ref<IBitmapDecoder> Decode(const std::uint8_t* data, UINT size) {
        IWICImagingFactory* wic = nullptr;
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, reinterpret_cast<void**>(&wic)))) {
            return {};
        }
        ComOwner<IWICImagingFactory> factory(wic);
        IStream* memory = SHCreateMemStream(data, size);
        if (memory == nullptr) {
            return {};
        }
        const ComOwner<IStream> memoryOwner(memory);
        IWICBitmapDecoder* decoder = nullptr;
        if (FAILED(wic->CreateDecoderFromStream(memory, nullptr, WICDecodeMetadataCacheOnDemand,
                                                &decoder))) {
            return {};
        }
        const ComOwner<IWICBitmapDecoder> decoderOwner(decoder);
        IWICBitmapFrameDecode* frame = nullptr;
        if (FAILED(decoder->GetFrame(0, &frame))) {
            return {};
        }
        ComOwner<IWICBitmapFrameDecode> frameOwner(frame);
        UINT width = 0;
        UINT height = 0;
        if (FAILED(frame->GetSize(&width, &height))) {
            return {};
        }
        Log("BitmapDecoder.CreateAsync " + std::to_string(width) + "x" + std::to_string(height));
        Ref<IBitmapDecoder> result;
        result.Reset(static_cast<IBitmapDecoder*>(
            new BitmapDecoder(std::move(factory), std::move(frameOwner), width, height)));
        return result;
    }
};

}  // namespace

Ref<IActivationFactory> MakeBitmapDecoderFactory() {
    return Make<IActivationFactory, BitmapDecoderFactory>();
}
Ref<IActivationFactory> MakeBitmapTransformFactory() {
    return Make<IActivationFactory, BitmapTransformFactory>();
}

}  // namespace glyphsnap::standin
