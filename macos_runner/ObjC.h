// The Objective-C runtime's side of the stand-in: objects, classes and
// methods as far as the bundle's calls need them. Foundation.cpp defines the
// classes; ObjC.cpp is libobjc (objc_msgSend, objc_alloc, ...).
#pragma once

#include <cstddef>
#include <cstdint>

#include "MachOImage.h"

namespace macos_runner {

struct ObjCObject;

// A class: what the bundle's class references and instances' isa point at.
struct ObjCClass {
  const void* metaclass;  // never read: the bundle sends no message to a class
  const char* name;
  ObjCObject* (*allocate)();               // +alloc; null when out of memory
  ObjCObject* (*initialize)(ObjCObject*);  // -init
  void (*release)(ObjCObject*);            // -release
};

struct ObjCObject {
  const ObjCClass* isa;
};

// A message's arguments after the receiver and the selector: the bundle's
// methods take at most three, all integers or pointers, which objc_msgSend
// receives in the registers a plain function's first arguments come in.
struct MessageArguments {
  std::uintptr_t first, second, third;
};
using Method = std::uintptr_t (*)(ObjCObject* self, MessageArguments arguments);

struct MethodEntry {
  const ObjCClass* receiver_class;
  const char* selector;  // the canonical selector: selector references point here after load
  Method method;
};

// Foundation's methods, one row per class and selector.
extern const MethodEntry kFoundationMethods[];
extern const std::size_t kFoundationMethodCount;

// Prepares the bundle's Objective-C metadata as the runtime does at load:
// each selector reference is pointed at the canonical selector of that name
// (a selector without a method fails the load); constant strings must be
// 8-bit ones; the bundle must define no classes or categories of its own.
void PrepareObjCMetadata(const MachOImage& image);

}  // namespace macos_runner
