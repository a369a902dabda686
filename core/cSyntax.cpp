// Finding a syntax by the name a front end's user gives it.
#include "core/cSyntax.h"

#include "common/cStringList.h"

const TSyntax *FindSyntax(std::string_view name) {
  for (const TSyntax &syntax : kSyntaxes)
    if (CompareText(syntax.CliName, name) == 0)
      return &syntax;
  return nullptr;
}

bool SyntaxServes(const TSyntax &syntax, const TDeviceFamily &family) {
  return syntax.Family != TSyntaxFamily::House || family.BasicSyntaxes;
}

std::string SyntaxRefused(const TSyntax &syntax, std::string_view device, const TDeviceFamily &family) {
  return std::string(syntax.Name) + " serves PIC18 parts only, and " + std::string(device) + " is of the " +
         family.Name + " family";
}

std::string SyntaxNames() {
  std::string names;
  for (const TSyntax &syntax : kSyntaxes)
    names.append(names.empty() ? "" : ", ").append(syntax.CliName);
  return names;
}
