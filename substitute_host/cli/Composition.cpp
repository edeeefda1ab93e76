#include "substitute_host/cli/Composition.h"

#include "substitute_host/DemoComposition.h"
#include "substitute_host/FrameSources.h"
#include "substitute_host/PngFrame.h"
#include "substitute_host/Project.h"
#include "substitute_host/Text.h"

namespace glimster::substitute_host::cli {
namespace {

Composition DemoComposition() {
  Project scratch;
  Item& demo = AddDemoComposition(scratch);
  return Composition{demo.name, std::move(*demo.frame), demo.current_time, "demo gradients"};
}

Frame FrameFromPng(const std::filesystem::path& file) {
  try {
    return PngFrame(file, PngColours::kPremultiplied, kLargestSide);
  } catch (const std::runtime_error& error) {
    throw UsageError(std::string("--frame-png: ") + error.what());
  }
}

}  // namespace

Composition ChosenComposition(const Options& options) {
  if (options.frame == FrameSource::kDemo) {
    return DemoComposition();
  }
  const std::optional<std::u16string> name = FromUtf8(options.comp_name);
  if (!name) {
    throw UsageError("--comp-name: the name is not valid UTF-8");
  }
  const A_long width = options.size.width;
  const A_long height = options.size.height;
  if (options.frame == FrameSource::kNoise) {
    return Composition{*name, NoiseFrame(width, height, options.noise_seed), options.time,
                       "noise (seed " + std::to_string(options.noise_seed) + ")"};
  }
  if (options.frame == FrameSource::kPng) {
    return Composition{*name, FrameFromPng(options.frame_png), options.time,
                       "pixels of " + options.frame_png.u8string()};
  }
  return Composition{*name, TestCardFrame(width, height), options.time, "test card"};
}

}  // namespace glimster::substitute_host::cli
