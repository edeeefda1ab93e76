// The part of Foundation's interface that the naming code uses, for the cross
// build of Glimster.plugin where no macOS SDK is installed. Each declaration
// is Foundation's documented one (class, selector, types, constant value);
// NSObject, the root class, comes from the Objective-C runtime's own header,
// which the toolchain ships. A Mac build never sees this file: it compiles
// against the SDK's Foundation.
#ifndef GLIMSTER_CROSS_FOUNDATION_FOUNDATION_H
#define GLIMSTER_CROSS_FOUNDATION_FOUNDATION_H

#import <objc/NSObject.h>

typedef NSUInteger NSStringEncoding;

// Values of NSStringEncoding.
enum : NSStringEncoding {
  NSUTF16LittleEndianStringEncoding = 0x94000100,
};

@interface NSString : NSObject
- (instancetype)initWithBytes:(const void*)bytes
                       length:(NSUInteger)len
                     encoding:(NSStringEncoding)encoding;
- (instancetype)initWithUTF8String:(const char*)nullTerminatedCString;
- (NSString*)stringByAppendingPathComponent:(NSString*)str;
@property(readonly) const char* UTF8String;
@end

@interface NSAutoreleasePool : NSObject
- (void)drain;
@end

extern "C" NSString* NSHomeDirectory(void);

#endif  // GLIMSTER_CROSS_FOUNDATION_FOUNDATION_H
