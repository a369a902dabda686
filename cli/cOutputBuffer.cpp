// configgen's standard output, and how a pipe whose reader has gone shows.
#include "cli/cOutputBuffer.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <stdlib.h>
#else
#include <unistd.h>
#endif

namespace {
constexpr size_t kBufferSize = 65536;

// Windows' own codes for a pipe whose reader has gone: ERROR_BROKEN_PIPE (the C
// runtime's EPIPE), and ERROR_NO_DATA ("the pipe is being closed", what Windows
// gives an anonymous pipe) and ERROR_PIPE_NOT_CONNECTED (what Wine gives for a
// Linux pipe), both of which the C runtime gives as EINVAL.
constexpr unsigned long kErrorBrokenPipe = 109;
constexpr unsigned long kErrorNoData = 232;
constexpr unsigned long kErrorPipeNotConnected = 233;

// Whether a write that failed with the C runtime's Error failed because the output
// is a pipe whose reader has gone; SystemError is the system's own code where the
// runtime keeps it (Windows' _doserrno), else 0.
bool IsReaderGone(int error, unsigned long systemError) {
  return error == EPIPE || systemError == kErrorBrokenPipe || systemError == kErrorNoData ||
         systemError == kErrorPipeNotConnected;
}
} // namespace

TOutputBuffer::TOutputBuffer(int descriptor) : FDescriptor(descriptor), FBuffer(kBufferSize) {
  setp(FBuffer.data(), FBuffer.data() + FBuffer.size());
}

void TOutputBuffer::WriteAll(const char *text, size_t size) {
  if (FFailed)
    throw FFailure;
  while (size > 0) {
#ifdef _WIN32
    _doserrno = 0;
    const int piece = size > kBufferSize ? static_cast<int>(kBufferSize) : static_cast<int>(size);
    const int written = _write(FDescriptor, text, static_cast<unsigned>(piece));
    const unsigned long systemError = _doserrno;
#else
    const ssize_t written = write(FDescriptor, text, size);
    const unsigned long systemError = 0;
#endif
    if (written < 0) {
      const int error = errno;
      if (error == EINTR)
        continue;
      FFailed = true;
      FFailure.ReaderGone = IsReaderGone(error, systemError);
      FFailure.Reason = std::strerror(error);
      throw FFailure;
    }
    text += written;
    size -= static_cast<size_t>(written);
  }
}

void TOutputBuffer::Drain() {
  const size_t held = static_cast<size_t>(pptr() - pbase());
  // Whatever happens to the write, the buffer is free again.
  setp(FBuffer.data(), FBuffer.data() + FBuffer.size());
  WriteAll(FBuffer.data(), held);
}

TOutputBuffer::int_type TOutputBuffer::overflow(int_type c) {
  Drain();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

std::streamsize TOutputBuffer::xsputn(const char *text, std::streamsize count) {
  const size_t size = static_cast<size_t>(count);
  if (size <= static_cast<size_t>(epptr() - pptr())) {
    std::memcpy(pptr(), text, size);
    pbump(static_cast<int>(size));
    return count;
  }
  Drain();
  if (size < FBuffer.size()) {
    std::memcpy(pptr(), text, size);
    pbump(static_cast<int>(size));
  } else {
    WriteAll(text, size);
  }
  return count;
}

int TOutputBuffer::sync() {
  Drain();
  return 0;
}
