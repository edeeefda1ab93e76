// libobjc's calls the bundle makes: message sending, allocation, release.
// Messages are looked up in Foundation's method table by the receiver's
// class and the canonical selector.
#include <cstring>

#include "Failure.h"
#include "Imports.h"
#include "ObjC.h"

namespace macos_runner {
namespace {

// A plain function taking the receiver, the selector and three integer
// arguments reads them where objc_msgSend's caller put them, on both
// architectures (see MessageArguments).
std::uintptr_t MsgSend(ObjCObject* self, const char* selector, std::uintptr_t first,
                       std::uintptr_t second, std::uintptr_t third) {
  if (self == nullptr) return 0;  // a message to nil answers nil, 0, NO
  for (std::size_t i = 0; i < kFoundationMethodCount; ++i) {
    const MethodEntry& entry = kFoundationMethods[i];
    if (entry.receiver_class == self->isa && entry.selector == selector)
      return entry.method(self, {first, second, third});
  }
  if (self->isa == nullptr)
    FailUnimplemented("+[%s %s]", reinterpret_cast<const ObjCClass*>(self)->name, selector);
  FailUnimplemented("-[%s %s]", self->isa->name, selector);
}

ObjCObject* Alloc(const ObjCClass* cls) {
  if (cls == nullptr) return nullptr;
  if (cls->allocate == nullptr) FailUnimplemented("+[%s alloc]", cls->name);
  return cls->allocate();
}

ObjCObject* AllocInit(const ObjCClass* cls) {
  ObjCObject* object = Alloc(cls);
  return object == nullptr ? nullptr : cls->initialize(object);
}

void Release(ObjCObject* object) {
  if (object != nullptr) object->isa->release(object);
}

// <objc/runtime.h>'s image sections a class or category of the bundle's own
// would be listed in.
constexpr const char* kClassLists[] = {"__objc_classlist", "__objc_nlclslist", "__objc_catlist",
                                       "__objc_nlcatlist", "__objc_protolist"};
constexpr std::uint32_t kEightBitConstantString = 0x7c8;  // CFString's flags for 8-bit bytes

}  // namespace

void PrepareObjCMetadata(const MachOImage& image) {
  for (const Section& section : image.sections) {
    for (const char* list : kClassLists)
      if (section.name == list && section.size != 0)
        FailLoad("the bundle defines Objective-C classes (%s), which the runner does not implement",
                 list);
    if (section.name == "__objc_selrefs") {
      auto* slots = reinterpret_cast<const char**>(image.At(section.address));
      for (std::size_t i = 0; i < section.size / sizeof *slots; ++i) {
        const MethodEntry* found = nullptr;
        for (std::size_t m = 0; m < kFoundationMethodCount && found == nullptr; ++m)
          if (std::strcmp(kFoundationMethods[m].selector, slots[i]) == 0)
            found = &kFoundationMethods[m];
        if (found == nullptr) FailLoad("selector %s is not implemented", slots[i]);
        slots[i] = found->selector;
      }
    }
    if (section.name == "__cfstring") {
      // struct __NSConstantString: isa, flags, bytes, length.
      const std::uint8_t* entry = image.At(section.address);
      for (std::size_t i = 0; i + 32 <= section.size; i += 32) {
        std::uint32_t flags;
        std::memcpy(&flags, entry + i + 8, sizeof flags);
        if (flags != kEightBitConstantString)
          FailLoad("constant string %zu is not 8-bit (flags 0x%x)", i / 32, flags);
      }
    }
  }
}

ImportList ObjCImports() {
  static const Import kImports[] = {
      {"_objc_msgSend", Address(MsgSend)},
      {"_objc_alloc", Address(Alloc)},
      {"_objc_alloc_init", Address(AllocInit)},
      {"_objc_release", Address(Release)},
  };
  return {"libobjc", kImports, sizeof kImports / sizeof kImports[0]};
}

}  // namespace macos_runner
