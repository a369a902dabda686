// Messages of the shared exception classes.
#include "common/cErrors.h"

EListError::EListError(int index)
    : Exception("List index out of bounds (" + std::to_string(index) + ")"), FIndex(index) {}

EConvertError::EConvertError(const std::string &text)
    : Exception("'" + text + "' is not a valid integer value") {}

std::string ShortenForMessage(std::string_view text, size_t limit) {
  if (text.size() <= limit)
    return std::string(text);
  return std::string(text.substr(0, limit)) + "...";
}

std::string QuotedForMessage(std::string_view text) {
  return "'" + ShortenForMessage(text) + "'";
}

std::string ListForMessage(const std::vector<std::string> &names) {
  std::string result;
  for (const std::string &name : names)
    result += (result.empty() ? "" : ", ") + ShortenForMessage(name);
  return result.empty() ? "(none)" : result;
}
