#include "substitute_host/cli/Composition.h"

#include "substitute_host/DemoComposition.h"
#include "substitute_host/FrameSources.h"
#include "substitute_host/PngFrame.h"
#include "substitute_host/Project.h"
#include "substitute_host/Text.h"

namespace glimster::substitute_host::cli {
namespace {

Composition demoComposition() {
  Project scratch;
  Item& demo = addDemoComposition(scratch);
  return Composition{demo.name, std::move(*demo.frame), demo.currentTime, "demo gradients"};
}

Frame frameFromPng(const std::filesystem::path& file) {
  try {
    return pngFrame(file, PngColours::Premultiplied, kLargestSide);
  } catch (const std::runtime_error& error) {
    throw UsageError(std::string("--frame-png: ") + error.what());
  }
}

}  // namespace

Composition chosenComposition(const Options& options) {
  if (options.frame == FrameSource::Demo) {
    return demoComposition();
  }
  const std::optional<std::u16string> name = fromUtf8(options.compName);
  if (!name) {
    throw UsageError("--comp-name: the name is not valid UTF-8");
  }
  const A_long width = options.size.width;
  const A_long height = options.size.height;
  if (options.frame == FrameSource::Noise) {
    return Composition{*name, noiseFrame(width, height, options.noiseSeed), options.time,
                       "noise (seed " + std::to_string(options.noiseSeed) + ")"};
  }
  if (options.frame == FrameSource::Png) {
    return Composition{*name, frameFromPng(options.framePng), options.time,
                       "pixels of " + options.framePng.u8string()};
  }
  return Composition{*name, testCardFrame(width, height), options.time, "test card"};
}

}  // namespace glimster::substitute_host::cli
