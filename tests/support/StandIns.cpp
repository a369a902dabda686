// Counting pump and failure-injecting registry.
#include "tests/support/StandIns.h"

void TCountingPump::ProcessMessages() {
  ++Calls;
  if (OnPump)
    OnPump();
}

bool TFaultyRegistry::OpenKey(const std::string &path, THandle &key) {
  ++Opens;
  return !FailOpen && FInner.OpenKey(path, key);
}

bool TFaultyRegistry::CreateKey(const std::string &path, THandle &key) {
  ++Creates;
  return !FailCreate && FInner.CreateKey(path, key);
}

bool TFaultyRegistry::QueryValueInfo(THandle key, const std::string &name, uint32_t &type, uint32_t &size) {
  return FInner.QueryValueInfo(key, name, type, size);
}

bool TFaultyRegistry::QueryValueData(THandle key, const std::string &name, char *data, uint32_t &size) {
  ++DataReads;
  if (FailDataReads > 0) {
    --FailDataReads;
    return false;
  }
  return FInner.QueryValueData(key, name, data, size);
}

bool TFaultyRegistry::SetString(THandle key, const std::string &name, const std::string &value) {
  if (ThrowOnSet.count(name) != 0)
    throw std::runtime_error("registry write failed");
  if (FailSet.count(name) != 0)
    return false;
  Written.insert(name);
  return FInner.SetString(key, name, value);
}

void TFaultyRegistry::CloseKey(THandle key) {
  ++Closes;
  FInner.CloseKey(key);
}
