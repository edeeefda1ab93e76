# Windows cross build (filled in later)
