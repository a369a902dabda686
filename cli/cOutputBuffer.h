// configgen's standard output: a buffer over the output's descriptor that tells a
// pipe whose reader has gone (`configgen ... | head -1`) from every other failed write.
#pragma once

#include <streambuf>
#include <string>
#include <vector>

// A write of the output that failed. Not an Exception: nothing on its way up may
// take it for a fault of the data, or report it as one.
struct EOutputFailed {
  // The output is a pipe whose reader has gone: nobody reads what is left, so the
  // run ends there, quietly.
  bool ReaderGone = false;
  // The system's reason ("No space left on device").
  std::string Reason;
};

// Writes to Descriptor in large pieces; the first write that fails raises
// EOutputFailed, and so does every write after it. A stream over it with
// exceptions(badbit) passes the failure on to whoever writes, so the run stops at
// the first output nobody can take.
class TOutputBuffer : public std::streambuf {
public:
  explicit TOutputBuffer(int descriptor);
  TOutputBuffer(const TOutputBuffer &) = delete;
  TOutputBuffer &operator=(const TOutputBuffer &) = delete;

protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char *text, std::streamsize count) override;
  int sync() override;

private:
  // Writes what the buffer holds.
  void Drain();
  // Writes Size bytes at Text, all of them, or raises EOutputFailed.
  void WriteAll(const char *text, size_t size);

  int FDescriptor;
  std::vector<char> FBuffer;
  bool FFailed = false;
  EOutputFailed FFailure;
};
