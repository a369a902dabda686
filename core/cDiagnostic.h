// Diagnostics about a configuration text, as values: the core decides what is
// wrong and how bad it is; the front ends only format and show them.
#pragma once

#include <functional>
#include <string>

enum class TSeverity { Error, Warning, Note };

// "error", "warning" or "note", as compilers write them.
const char *SeverityName(TSeverity severity);

struct TDiagnostic {
  int Line = 0; // the text's line, from 1
  TSeverity Severity = TSeverity::Error;
  std::string Text;
  // The switch and the setting it concerns, where it concerns one.
  std::string Switch;
  std::string Setting;
};

// Receives diagnostics one at a time, in the order they arise.
using TDiagnosticSink = std::function<void(const TDiagnostic &)>;
