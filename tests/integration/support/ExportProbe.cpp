// A library with known exports, to check the dynamic symbol reader against.
extern "C" {

__attribute__((visibility("default"))) int glimster_probe_exported(int value) { return value + 1; }

__attribute__((visibility("default"))) int glimster_probe_also_exported = 7;

__attribute__((visibility("hidden"))) int glimster_probe_hidden(int value) { return value - 1; }

// Calls the hidden function so that it is kept.
__attribute__((visibility("default"))) int glimster_probe_uses_hidden(int value) {
  return glimster_probe_hidden(value);
}
}
