#ifndef VERSION_H
#define VERSION_H

// The product's version, shown in the log header and the about dialog.
constexpr const char* orvalo3Version = "1.0";

#endif // VERSION_H
