// The stand-in's OCR engine: it reports the bitmap it is given and "recognises" the lines and
// words scripted in the UTF-8 file named by GLYPHSNAP_STANDIN_OCR, read at every call ("|"
// between lines, " " between words; "!no-engine" for a profile without a recognizer, "!fail" for
// a recognition that fails, "!hang" for one that never ends).
#include <fstream>
#include <iterator>
#include <sstream>

#include "glyphsnap/tests/winrt_standin/standin_object.h"

namespace glyphsnap::standin {
namespace {

std::wstring Environment(const wchar_t* name) {
    std::wstring value(4096, L'\0');
    const DWORD length =
        GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    value.resize(length < value.size() ? length : 0);
    return value;
}

std::wstring Script() {
    std::ifstream file(Environment(L"GLYPHSNAP_STANDIN_OCR").c_str(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    if (text.empty()) {
        return {};
    }
    std::wstring wide(text.size(), L'\0');
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                          wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(units > 0 ? units : 0));
    return wide;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    std::wstringstream stream(text);
    for (std::wstring part; std::getline(stream, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

class Word final : public Object<IOcrWord> {
  public:
    explicit Word(std::wstring text) : text_(std::move(text)) {}
    HRESULT STDMETHODCALLTYPE get_Text(HSTRING* value) override {
        return WindowsCreateString(text_.data(), static_cast<UINT32>(text_.size()), value);
    }
    HRESULT STDMETHODCALLTYPE get_BoundingRect(Rect*) override { return E_NOTIMPL; }

  private:
    std::wstring text_;
};

class Line final : public Object<IOcrLine> {
  public:
    explicit Line(const std::wstring& text) {
        std::vector<Ref<IOcrWord>> words;
        for (std::wstring& word : Split(text, L' ')) {
            Ref<IOcrWord> item;
            item.Reset(new Word(std::move(word)));
            words.push_back(std::move(item));
        }
        words_.Reset(new VectorView<IOcrWord>(std::move(words)));
    }
    HRESULT STDMETHODCALLTYPE get_Words(IVectorView<IOcrWord*>** value) override {
        return Hand(words_, value);
    }
    HRESULT STDMETHODCALLTYPE get_Text(HSTRING*) override { return E_NOTIMPL; }

  private:
    Ref<IVectorView<IOcrWord*>> words_;
};

class Result final : public Object<IOcrResult> {
  public:
    explicit Result(const std::wstring& script) {
        std::vector<Ref<IOcrLine>> lines;
        for (const std::wstring& text : Split(script, L'|')) {
            Ref<IOcrLine> line;
            line.Reset(new Line(text));
            lines.push_back(std::move(line));
        }
        lines_.Reset(new VectorView<IOcrLine>(std::move(lines)));
    }
    ~Result() override { Log("OcrResult released"); }
    HRESULT STDMETHODCALLTYPE get_Lines(IVectorView<IOcrLine*>** value) override {
        return Hand(lines_, value);
    }
    HRESULT STDMETHODCALLTYPE get_TextAngle(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Text(HSTRING*) override { return E_NOTIMPL; }

  private:
    Ref<IVectorView<IOcrLine*>> lines_;
};

// What the recognizer sees: the size, and the first and last pixel as blue, green, red, alpha.
std::string Describe(ISoftwareBitmap* bitmap) {
    INT32 width = 0;
    INT32 height = 0;
    bitmap->get_PixelWidth(&width);
    bitmap->get_PixelHeight(&height);
    std::string text = std::to_string(width) + "x" + std::to_string(height);
    Ref<IBitmapBuffer> buffer;
    Ref<IMemoryBuffer> memory;
    Ref<IMemoryBufferReference> reference;
    Ref<IMemoryBufferByteAccess> access;
    BYTE* pixels = nullptr;
    UINT32 size = 0;
    if (FAILED(bitmap->LockBuffer(BitmapBufferAccessMode::Read, buffer.Put())) ||
        FAILED(buffer.As(memory)) || FAILED(memory->CreateReference(reference.Put())) ||
        FAILED(reference.As(access)) || FAILED(access->GetBuffer(&pixels, &size)) || size < 4) {
        return text + " unreadable";
    }
    const auto pixel = [&](std::size_t offset) {
        return std::to_string(pixels[offset]) + "," + std::to_string(pixels[offset + 1]) + "," +
               std::to_string(pixels[offset + 2]) + "," + std::to_string(pixels[offset + 3]);
    };
    return text + " first " + pixel(0) + " last " + pixel(size - 4);
}

class Engine final : public Object<IOcrEngine> {
  public:
    ~Engine() override { Log("OcrEngine released"); }
    HRESULT STDMETHODCALLTYPE RecognizeAsync(ISoftwareBitmap* bitmap,
                                             IAsyncOperation<IOcrResult*>** operation) override {
        Log("OcrEngine.RecognizeAsync " + Describe(bitmap));
        const std::wstring script = Script();
        if (script == L"!fail") {
            return Hand(Operation<IOcrResult*>::Failed(E_FAIL), operation);
        }
        if (script == L"!hang") {
            return Hand(Operation<IOcrResult*>::Held(), operation);
        }
        Ref<IOcrResult> result;
        result.Reset(new Result(script));
        return Hand(Operation<IOcrResult*>::Succeeded(std::move(result)), operation);
    }
    HRESULT STDMETHODCALLTYPE get_RecognizerLanguage(IInspectable**) override { return E_NOTIMPL; }
};

class EngineFactory final : public Object<IActivationFactory, IOcrEngineStatics> {
  public:
    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_MaxImageDimension(UINT32* value) override {
        const std::wstring configured = Environment(L"GLYPHSNAP_STANDIN_MAX_DIMENSION");
        *value = configured.empty() ? 10000 : static_cast<UINT32>(std::stoul(configured));
        Log("OcrEngine.MaxImageDimension " + std::to_string(*value));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE TryCreateFromUserProfileLanguages(IOcrEngine** engine) override {
        Log("OcrEngine.TryCreateFromUserProfileLanguages");
        if (Script() == L"!no-engine") {
            *engine = nullptr;
            return S_OK;
        }
        *engine = new Engine();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_AvailableRecognizerLanguages(IInspectable**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE IsLanguageSupported(IInspectable*, boolean*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TryCreateFromLanguage(IInspectable*, IOcrEngine**) override {
        return E_NOTIMPL;
    }
};

}  // namespace

Ref<IActivationFactory> MakeOcrEngineFactory() {
    return Make<IActivationFactory, EngineFactory>();
}

}  // namespace glyphsnap::standin
