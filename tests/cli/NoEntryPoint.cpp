// A shared library that loads fine but is no plug-in: it exports a function,
// just not EntryPointFunc.
extern "C" int GlimsterCliTestNotAnEntryPoint() { return 7; }
