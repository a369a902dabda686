// Exception classes shared by every layer: each carries the exact text the user sees.
#pragma once

#include <exception>
#include <string>

// Base of every error the tool raises; Message() is shown as it stands.
class Exception : public std::exception {
public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string &Message() const noexcept { return FMessage; }
  const char *what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
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
