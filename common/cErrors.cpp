// Messages of the shared exception classes.
#include "common/cErrors.h"

EListError::EListError(int index)
    : Exception("List index out of bounds (" + std::to_string(index) + ")"), FIndex(index) {}

EConvertError::EConvertError(const std::string &text)
    : Exception("'" + text + "' is not a valid integer value") {}
