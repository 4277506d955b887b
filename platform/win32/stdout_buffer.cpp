// Standard output fully buffered, whatever it is connected to.
//
// The trigonometric pass writes one trace record per pixel with printf. The
// C runtime (msvcrt) buffers standard output only when it is a file or a
// pipe; on a character device (NUL, or a terminal under Wine) it writes each
// record on its own, which turns 250,500 records into as many system calls
// (tens of seconds per picture under Wine). A full buffer, set before the
// first output, makes the trace cost the same wherever it goes. Where nothing
// is connected the writes still fail silently.
#include <cstdio>

namespace {

struct StdoutBuffer {
    StdoutBuffer() { std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16); }
};

const StdoutBuffer stdout_buffer;

}  // namespace
