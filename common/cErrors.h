// Exception classes shared by every layer: each carries the exact text the user sees.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Base of every error the tool raises; Message() is shown as it stands.
class Exception : public std::exception {
public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string &Message() const noexcept { return FMessage; }
  const char *what() const noexcept override { return FMessage.c_str(); }

  // Where the error was met, where the message does not say it: the place as a
  // message names it ("FILE, line N", or "FILE"), and the line of the data file
  // looked at last (from 1; 0 for none). The reader that meets the error sets it on
  // the way out, so the place outlives the reader.
  void SetPlace(std::string place, int line) {
    FPlace = std::move(place);
    FLine = line;
  }
  const std::string &Place() const noexcept { return FPlace; }
  int Line() const noexcept { return FLine; }
  // The message with its place, as configgen reports it: "MESSAGE (PLACE)", or the
  // message alone where it has none.
  std::string WithPlace() const { return FPlace.empty() ? FMessage : FMessage + " (" + FPlace + ")"; }

private:
  std::string FMessage;
  std::string FPlace;
  int FLine = 0;
};

// A list read outside its range: "List index out of bounds (%d)".
class EListError : public Exception {
public:
  explicit EListError(int index);
  int Index() const noexcept { return FIndex; }

private:
  int FIndex;
};

// A text that is not a valid number: "'%s' is not a valid integer value".
class EConvertError : public Exception {
public:
  explicit EConvertError(const std::string &text);
};

// A text from a file or a command line as a message quotes it: at most Limit
// characters, longer ones cut and followed by "...", so a huge field cannot
// swamp the message.
std::string ShortenForMessage(std::string_view text, size_t limit = 60);
// Text shortened so and put in single quotes.
std::string QuotedForMessage(std::string_view text);
// Names shortened so and joined with ", "; "(none)" for none.
std::string ListForMessage(const std::vector<std::string> &names);
