#include "GlibcRandom.h"

// Built at compile time: no draw can come before it.
constinit GlibcRandom GlibcRandom::sharedInstance;
