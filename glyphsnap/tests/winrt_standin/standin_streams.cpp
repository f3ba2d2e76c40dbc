// The stand-in's Base64 decoder, in-memory stream and data writer.
#include "glyphsnap/tests/winrt_standin/standin_object.h"

#include <wincrypt.h>

namespace glyphsnap::standin {
namespace {

class Buffer final : public Object<IBuffer, IStandInBytes> {
  public:
    explicit Buffer(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    HRESULT STDMETHODCALLTYPE get_Capacity(UINT32* value) override {
        *value = static_cast<UINT32>(bytes_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Length(UINT32* value) override { return get_Capacity(value); }
    HRESULT STDMETHODCALLTYPE put_Length(UINT32 /*value*/) override { return E_NOTIMPL; }
    std::vector<std::uint8_t>& Bytes() override { return bytes_; }
    std::size_t Position() override { return 0; }

  private:
    std::vector<std::uint8_t> bytes_;
};

class CryptographicBufferFactory final
    : public Object<IActivationFactory, ICryptographicBufferStatics> {
  public:
    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable** /*instance*/) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE DecodeFromBase64String(HSTRING value, IBuffer** buffer) override {
        UINT32 length = 0;
        const WCHAR* text = WindowsGetStringRawBuffer(value, &length);
        std::vector<std::uint8_t> bytes;
        if (length > 0) {
            DWORD size = 0;
            if (!CryptStringToBinaryW(text, length, CRYPT_STRING_BASE64, nullptr, &size, nullptr,
                                      nullptr)) {
                Log("CryptographicBuffer.DecodeFromBase64String refused");
                return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
            }
            bytes.resize(size);
            CryptStringToBinaryW(text, length, CRYPT_STRING_BASE64, bytes.data(), &size, nullptr,
                                 nullptr);
        }
        Log("CryptographicBuffer.DecodeFromBase64String " + std::to_string(bytes.size()) +
            " bytes");
        return Hand(Make<IBuffer, Buffer>(std::move(bytes)), buffer);
    }

    HRESULT STDMETHODCALLTYPE Compare(IBuffer*, IBuffer*, boolean*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GenerateRandom(UINT32, IBuffer**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GenerateRandomNumber(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateFromByteArray(UINT32, BYTE*, IBuffer**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CopyToByteArray(IBuffer*, UINT32*, BYTE**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecodeFromHexString(HSTRING, IBuffer**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EncodeToHexString(IBuffer*, HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EncodeToBase64String(IBuffer*, HSTRING*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ConvertStringToBinary(HSTRING, INT32, IBuffer**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ConvertBinaryToString(INT32, IBuffer*, HSTRING*) override {
        return E_NOTIMPL;
    }
};

class Stream final : public Object<IRandomAccessStream, IOutputStream, IClosable, IStandInBytes> {
  public:
    ~Stream() override { Log("InMemoryRandomAccessStream released"); }

    HRESULT STDMETHODCALLTYPE get_Size(UINT64* value) override {
        *value = bytes_.size();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Size(UINT64) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetInputStreamAt(UINT64, IInspectable**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetOutputStreamAt(UINT64, IOutputStream**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_Position(UINT64* value) override {
        *value = position_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Seek(UINT64 position) override {
        Log("InMemoryRandomAccessStream.Seek " + std::to_string(position));
        position_ = static_cast<std::size_t>(position);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CloneStream(IRandomAccessStream**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CanRead(boolean* value) override {
        *value = TRUE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CanWrite(boolean* value) override { return get_CanRead(value); }
    HRESULT STDMETHODCALLTYPE WriteAsync(IBuffer*, IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FlushAsync(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Close() override { return S_OK; }
    std::vector<std::uint8_t>& Bytes() override { return bytes_; }
    std::size_t Position() override { return position_; }

  private:
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;  // where the writer appends leaves the position at the end
};

class StreamFactory final : public Object<IActivationFactory> {
  public:
    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable** instance) override {
        Log("InMemoryRandomAccessStream activated");
        *instance = static_cast<IRandomAccessStream*>(new Stream());
        return S_OK;
    }
};

class DataWriter final : public Object<IDataWriter, IClosable> {
  public:
    explicit DataWriter(Ref<IStandInBytes> stream) : stream_(std::move(stream)) {}

    HRESULT STDMETHODCALLTYPE WriteBuffer(IBuffer* buffer) override {
        Ref<IStandInBytes> bytes;
        if (buffer == nullptr || FAILED(buffer->QueryInterface(
                                     IStandInBytes::kIid, reinterpret_cast<void**>(bytes.Put())))) {
            return E_INVALIDARG;
        }
        pending_.insert(pending_.end(), bytes->Bytes().begin(), bytes->Bytes().end());
        Log("DataWriter.WriteBuffer " + std::to_string(bytes->Bytes().size()) + " bytes");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE StoreAsync(IAsyncOperation<UINT32>** operation) override {
        const auto stored = static_cast<UINT32>(pending_.size());
        stream_->Bytes().insert(stream_->Bytes().end(), pending_.begin(), pending_.end());
        pending_.clear();
        Log("DataWriter.StoreAsync " + std::to_string(stored) + " bytes");
        return Hand(Operation<UINT32>::Succeeded(stored), operation);
    }
    HRESULT STDMETHODCALLTYPE Close() override { return S_OK; }

    HRESULT STDMETHODCALLTYPE get_UnstoredBufferLength(UINT32* value) override {
        *value = static_cast<UINT32>(pending_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_UnicodeEncoding(INT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_UnicodeEncoding(INT32) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ByteOrder(INT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ByteOrder(INT32) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteByte(BYTE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteBytes(UINT32, BYTE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteBufferRange(IBuffer*, UINT32, UINT32) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE WriteBoolean(boolean) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteGuid(GUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteInt16(INT16) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteInt32(INT32) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteInt64(INT64) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteUInt16(UINT16) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteUInt32(UINT32) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteUInt64(UINT64) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteSingle(FLOAT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteDouble(DOUBLE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteDateTime(INT64) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteTimeSpan(INT64) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteString(HSTRING, UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MeasureString(HSTRING, UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FlushAsync(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DetachBuffer(IBuffer**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DetachStream(IOutputStream**) override { return E_NOTIMPL; }

  private:
    Ref<IStandInBytes> stream_;
    std::vector<std::uint8_t> pending_;
};

class DataWriterFactory final : public Object<IActivationFactory, IDataWriterFactory> {
  public:
    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDataWriter(IOutputStream* stream,
                                               IDataWriter** writer) override {
        Ref<IStandInBytes> bytes;
        if (stream == nullptr || FAILED(stream->QueryInterface(
                                     IStandInBytes::kIid, reinterpret_cast<void**>(bytes.Put())))) {
            return E_INVALIDARG;
        }
        Log("DataWriter created on the stream");
        return Hand(Make<IDataWriter, DataWriter>(std::move(bytes)), writer);
    }
};

}  // namespace

Ref<IActivationFactory> MakeCryptographicBufferFactory() {
    return Make<IActivationFactory, CryptographicBufferFactory>();
}
Ref<IActivationFactory> MakeInMemoryStreamFactory() {
    return Make<IActivationFactory, StreamFactory>();
}
Ref<IActivationFactory> MakeDataWriterFactory() {
    return Make<IActivationFactory, DataWriterFactory>();
}

}  // namespace glyphsnap::standin
