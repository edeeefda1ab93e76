#include "tests/windows/WindowsTestSupport.h"

#include "tests/support/PluginUnderTest.h"

#include <windows.h>
// The imaging component's class and format identifiers are defined here.
#include <initguid.h>
#include <shlobj.h>
#include <wincodec.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace glimster::windows_tests {
namespace {

std::filesystem::path g_plugin_file;

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
  void** OutVoid() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

void check(HRESULT result, const char* step) {
  if (FAILED(result)) {
    char text[160];
    std::snprintf(text, sizeof text, "%s failed: HRESULT 0x%08lX", step,
                  static_cast<unsigned long>(result));
    throw std::runtime_error(text);
  }
}

// COM for the calling thread, for as long as the object lives.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {
    if (result_ != RPC_E_CHANGED_MODE) check(result_, "CoInitializeEx");
  }
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

std::uint8_t ramp(A_long position, A_long extent) {
  return static_cast<std::uint8_t>(extent > 1 ? position * 255 / (extent - 1) : 0);
}

}  // namespace

const std::filesystem::path& PluginFile() { return g_plugin_file; }

void SetPluginFile(std::filesystem::path file) { g_plugin_file = std::move(file); }

HMODULE LoadedPluginModule() { return GetModuleHandleW(g_plugin_file.filename().c_str()); }

std::filesystem::path ShellDesktopFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const HRESULT result =
      SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder);
  check(result, "SHGetFolderPathW(CSIDL_DESKTOPDIRECTORY)");
  return std::filesystem::path(folder);
}

std::vector<std::wstring> EntriesIn(const std::filesystem::path& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().wstring());
  }
  return names;
}

std::vector<std::wstring> EntriesStartingWith(const std::filesystem::path& folder,
                                              const std::wstring& prefix) {
  std::vector<std::wstring> matching;
  for (const std::wstring& name : EntriesIn(folder)) {
    if (name.compare(0, prefix.size(), prefix) == 0) matching.push_back(name);
  }
  return matching;
}

std::wstring WideOf(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::string Utf8Of(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes,
                      nullptr, nullptr);
  return utf8;
}

DecodedImage DecodePngWithWic(const std::filesystem::path& file) {
  ComApartment apartment;
  Com<IWICImagingFactory> factory;
  check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IWICImagingFactory, factory.OutVoid()),
        "CoCreateInstance(CLSID_WICImagingFactory)");
  Com<IWICBitmapDecoder> decoder;
  check(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                           WICDecodeMetadataCacheOnLoad, decoder.out()),
        "IWICImagingFactory::CreateDecoderFromFilename");
  GUID container = {};
  check(decoder->GetContainerFormat(&container), "IWICBitmapDecoder::GetContainerFormat");
  if (!IsEqualGUID(container, GUID_ContainerFormatPng)) {
    throw std::runtime_error("the file is not read as a PNG by the imaging component");
  }
  UINT frames = 0;
  check(decoder->GetFrameCount(&frames), "IWICBitmapDecoder::GetFrameCount");
  if (frames != 1) throw std::runtime_error("the PNG holds more than one frame");
  Com<IWICBitmapFrameDecode> frame;
  check(decoder->GetFrame(0, frame.out()), "IWICBitmapDecoder::GetFrame");
  // Straight (not premultiplied) 8-bit blue, green, red, alpha.
  Com<IWICBitmapSource> converted;
  check(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), converted.out()),
        "WICConvertBitmapSource(32bppBGRA)");

  DecodedImage image;
  check(converted->GetSize(&image.width, &image.height), "IWICBitmapSource::GetSize");
  const UINT stride = image.width * 4;
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(stride) * image.height);
  check(converted->CopyPixels(nullptr, stride, static_cast<UINT>(bgra.size()), bgra.data()),
        "IWICBitmapSource::CopyPixels");
  image.rgba.resize(bgra.size());
  for (std::size_t i = 0; i < bgra.size(); i += 4) {
    image.rgba[i + 0] = bgra[i + 2];
    image.rgba[i + 1] = bgra[i + 1];
    image.rgba[i + 2] = bgra[i + 0];
    image.rgba[i + 3] = bgra[i + 3];
  }
  return image;
}

substitute_host::Frame GradientFrame(A_long width, A_long height, A_long padding) {
  substitute_host::Frame frame(width, height, width * 4 + padding, 0xAB);
  for (A_long y = 0; y < height; ++y) {
    for (A_long x = 0; x < width; ++x) {
      std::uint8_t alpha = 255;
      if (y >= height / 3 && y < 2 * height / 3) alpha = ramp(x, width);  // 0 to 255 across
      if (x == 0 && y == 0) alpha = 0;
      frame.SetPixel(x, y,
                     substitute_host::Argb{alpha, ramp(x, width), ramp(y, height),
                                           static_cast<std::uint8_t>((x * 7 + y * 13) & 0xFF)});
    }
  }
  return frame;
}

std::string ContentsOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ImportPatch::ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement)
    : slot_(nullptr), original_(nullptr) {
  auto* base = reinterpret_cast<std::uint8_t*>(module);
  if (base == nullptr) throw std::runtime_error("no module to patch");
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* descriptor =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       imports.VirtualAddress != 0 && descriptor->Name != 0; ++descriptor) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0) continue;
    auto* names =
        reinterpret_cast<const IMAGE_THUNK_DATA64*>(base + descriptor->OriginalFirstThunk);
    auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + descriptor->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
      if (IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal)) continue;
      const auto* by_name =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function) != 0) continue;
      slot_ = reinterpret_cast<void**>(&addresses->u1.Function);
      DWORD protection = 0;
      VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &protection);
      original_ = *slot_;
      *slot_ = replacement;
      VirtualProtect(slot_, sizeof(void*), protection, &protection);
      return;
    }
  }
  throw std::runtime_error(std::string("the module imports no ") + dll + "!" + function);
}

ImportPatch::~ImportPatch() {
  DWORD protection = 0;
  VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &protection);
  *slot_ = original_;
  VirtualProtect(slot_, sizeof(void*), protection, &protection);
}

}  // namespace glimster::windows_tests

namespace glimster::test_support {

std::filesystem::path PluginUnderTest() { return windows_tests::PluginFile(); }

}  // namespace glimster::test_support
