#ifndef SONGFILES_SAVEFAULTS_H
#define SONGFILES_SAVEFAULTS_H

#include <cerrno>

// Test hook: makes chosen file operations of song saves fail, to show that a
// failed save says so and leaves the song as it was. Only tests include this
// header; nothing in the program arms it, and while it is not armed a save
// pays one test of a flag per operation.
namespace SaveFaults {

enum Operation { Write, Flush, Close, Rename };

// The nth operation of the kind from now on (1: the next one) and the
// following ones up to `times` in all (-1: every one) fail with `error`.
void arm(Operation op, int nth, int times = 1, int error = EIO);
void disarm();

} // namespace SaveFaults

#endif
