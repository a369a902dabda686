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
