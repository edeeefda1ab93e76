// PNG files read with the Windows Imaging Component (under Wine, Wine's own
// PNG codec), independently of the LodePNG code the plug-in uses.
#include <windows.h>
// The imaging component's class and format identifiers are defined here.
#include <initguid.h>
#include <wincodec.h>

#include <utility>

#include "tests/support/PngImages.h"

namespace glimster::test_support {
namespace {

// Holds one COM interface and releases it.
template <class Interface>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;

  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  Interface** out() { return &pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

// COM for the calling thread, for as long as the object lives.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

}  // namespace

std::optional<Rgba8> DecodePng(const std::filesystem::path& file) {
  ComApartment apartment;
  Com<IWICImagingFactory> factory;
  Com<IWICBitmapDecoder> decoder;
  GUID container = {};
  UINT frames = 0;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out()))) ||
      FAILED(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnLoad, decoder.out())) ||
      FAILED(decoder->GetContainerFormat(&container)) ||
      !IsEqualGUID(container, GUID_ContainerFormatPng) || FAILED(decoder->GetFrameCount(&frames)) ||
      frames != 1) {
    return std::nullopt;
  }
  // Straight (not premultiplied) 8-bit blue, green, red, alpha.
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICBitmapSource> converted;
  Rgba8 image;
  if (FAILED(decoder->GetFrame(0, frame.out())) ||
      FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), converted.out())) ||
      FAILED(converted->GetSize(&image.width, &image.height))) {
    return std::nullopt;
  }
  const UINT stride = image.width * 4;
  image.pixels.resize(static_cast<std::size_t>(stride) * image.height);
  if (FAILED(converted->CopyPixels(nullptr, stride, static_cast<UINT>(image.pixels.size()),
                                   image.pixels.data()))) {
    return std::nullopt;
  }
  for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
    std::swap(image.pixels[i], image.pixels[i + 2]);  // blue and red
  }
  return image;
}

}  // namespace glimster::test_support
