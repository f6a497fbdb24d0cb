// Former name of windowtest.h, kept for the tests that include it.
#include "windowtest.h"
