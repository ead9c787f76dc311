#pragma once

// For tests only; the shipped program never includes this header.

#include "platform/files.h"

namespace vq {

// The steps of replaceFileContents() a test can make fail.
enum class WriteStep { None, Create, Write, Flush, Close, Rename };

namespace detail {
struct InjectedWriteFailure {
    WriteStep step = WriteStep::None;
    int errorNumber = 0;
};
extern InjectedWriteFailure injectedWriteFailure;
// Called by every replacing write once its new file is on the disk, just before it looks whether
// the old one changed meanwhile and takes its place: a test stops a writer there, mid-write.
extern void (*beforeReplacing)();
} // namespace detail

// The next replaceFileContents() fails at the given step as if the platform had reported the
// error number there.
inline void failNextWriteAt(WriteStep step, int errorNumber) {
    detail::injectedWriteFailure = {step, errorNumber};
}

} // namespace vq
