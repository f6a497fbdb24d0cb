#ifndef APPRESOURCES_H
#define APPRESOURCES_H

// Registers the compiled-in resources (":/style/", ":/imgs/", ":/trans/", ...).
// They live in a static library, so the linker would drop them unless someone
// calls this; safe to call more than once.
void initAppResources();

#endif // APPRESOURCES_H
