// Test-only stand-ins for the platform seams: a pump that counts its calls and can
// run queued "input", and a registry wrapper into which failures are injected.
#pragma once

#include "seams/cPlatform.h"

#include <functional>
#include <set>
#include <stdexcept>
#include <string>

class TCountingPump : public IMessagePump {
public:
  void ProcessMessages() override;

  int Calls = 0;
  // Run on every call, as input that was queued when the pump ran.
  std::function<void()> OnPump;
};

// Passes every call on to another registry, failing where a test asks it to.
class TFaultyRegistry : public IRegistry {
public:
  explicit TFaultyRegistry(IRegistry &inner) : FInner(inner) {}

  bool OpenKey(const std::string &path, THandle &key) override;
  bool CreateKey(const std::string &path, THandle &key) override;
  bool QueryValueInfo(THandle key, const std::string &name, uint32_t &type, uint32_t &size) override;
  bool QueryValueData(THandle key, const std::string &name, char *data, uint32_t &size) override;
  bool SetString(THandle key, const std::string &name, const std::string &value) override;
  void CloseKey(THandle key) override;

  bool FailOpen = false;
  bool FailCreate = false;
  // Value names whose SetString returns false, or raises.
  std::set<std::string> FailSet;
  std::set<std::string> ThrowOnSet;
  // Number of QueryValueData calls still to fail.
  int FailDataReads = 0;
  // Calls made, for the order of operations.
  int Opens = 0;
  int Creates = 0;
  int Closes = 0;
  int DataReads = 0;
  std::set<std::string> Written;

private:
  IRegistry &FInner;
};
