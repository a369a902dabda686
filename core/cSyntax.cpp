// Finding a syntax by the name configgen gives it.
#include "core/cSyntax.h"

#include "common/cStringList.h"

const TSyntax *FindSyntax(std::string_view name) {
  for (const TSyntax &syntax : kSyntaxes)
    if (CompareText(syntax.CliName, name) == 0)
      return &syntax;
  return nullptr;
}

std::string SyntaxNames() {
  std::string names;
  for (const TSyntax &syntax : kSyntaxes)
    names.append(names.empty() ? "" : ", ").append(syntax.CliName);
  return names;
}
